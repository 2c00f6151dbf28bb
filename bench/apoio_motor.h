#pragma once
// Pieces the benchmark programs share to set the motor up: a report engine
// that drops the run logs (the figures are about the data files), and the
// stored form of a translation rule for the example clients.

#include <string>

#include "report/motor_relatorio.h"

namespace apoio_bench {

struct MotorDescarta : MotorRelatorio {
    bool Fecha(const ModeloRelatorio&) override { return true; }
    void GravaPdf(const ModeloRelatorio&, const std::string&) override {}
    std::string ImpressoraAtual() override { return ""; }
    void SetupImpressora() override {}
    int ImpressorasInstaladas() override { return 0; }
    int ImpressorasDisponiveis() override { return 0; }
};

// Start and end in three characters, expected and replacement texts in 30.
inline std::string regra(const char* ini, const char* fim, std::string esperado, std::string novo) {
    esperado.resize(30, ' ');
    novo.resize(30, ' ');
    return std::string(ini) + fim + esperado + novo;
}

}  // namespace apoio_bench
