#pragma once
// What the report window tests share: a report model and the report engine
// swapped for the test's own.

#include <cstdio>
#include <memory>
#include <string>

#include "report/modelo_relatorio.h"
#include "report/motor_relatorio.h"

// `paginas` pages of 60 lines; line l of page p holds "PAG ppp LIN ll".
inline ModeloRelatorio MODELO_TESTE(int paginas) {
    ModeloRelatorio m;
    m.titulo = "RELATORIO DE TESTE";
    m.paginas.resize(static_cast<std::size_t>(paginas));
    char texto[32];
    for (int p = 0; p < paginas; ++p)
        for (int l = 1; l <= 60; ++l) {
            std::snprintf(texto, sizeof texto, "PAG %03d LIN %02d", p + 1, l);
            m.paginas[static_cast<std::size_t>(p)].Escreve(l, 1, texto);
        }
    return m;
}

// Installs an engine for the life of the object, then the previous one.
class MotorDeTeste {
public:
    explicit MotorDeTeste(std::unique_ptr<MotorRelatorio> motor)
        : anterior_(InstalaMotorDeRelatorio(std::move(motor))) {}
    ~MotorDeTeste() { InstalaMotorDeRelatorio(std::move(anterior_)); }

private:
    std::unique_ptr<MotorRelatorio> anterior_;
};

// What a shell command prints on its standard output.
inline std::string SAIDA_DO_COMANDO(const std::string& comando) {
    std::string r;
    if (FILE* f = ::popen(comando.c_str(), "r")) {
        char buf[65536];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) r.append(buf, n);
        ::pclose(f);
    }
    return r;
}
