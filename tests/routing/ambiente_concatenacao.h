#pragma once
// A data directory for the concatenation tests: the four tables in a
// temporary working directory, a fixed day (9 December 2026) and clock, a
// report engine that keeps what it is given, and helpers that write client
// files and registers the way a test reads best.

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "report/motor_relatorio.h"
#include "support/geral_teste.h"

// Keeps the reports it receives; PDF files are not written.
struct MotorDeTeste : MotorRelatorio {
    std::vector<ModeloRelatorio> pdfs;
    std::vector<std::string> nomesPdf;
    bool Fecha(const ModeloRelatorio&) override { return true; }
    void GravaPdf(const ModeloRelatorio& m, const std::string& arquivo) override {
        pdfs.push_back(m);
        nomesPdf.push_back(arquivo);
    }
    std::string ImpressoraAtual() override { return ""; }
    void SetupImpressora() override {}
    int ImpressorasInstaladas() override { return 0; }
    int ImpressorasDisponiveis() override { return 0; }
};

// A line of `tamanho` blanks holding each text at its 1-based position.
std::string LINHA(int tamanho, std::initializer_list<std::pair<int, std::string>> campos);
// A line as a client may send it: the texts at their positions, with no
// blanks after the last one.
std::string LINHA_CURTA(std::initializer_list<std::pair<int, std::string>> campos);
// Lines joined, each followed by the line end.
std::string TEXTO(const std::vector<std::string>& linhas, const char* fim = "\r\n");
// Stored form of a translation rule: start and end in three characters
// each, expected and replacement texts in 30 each.
std::string REGRA(const char* inicio, const char* fim, std::string esperado, std::string novo);

class AmbienteConcatenacao {
public:
    AmbienteConcatenacao();
    ~AmbienteConcatenacao();

    GeralDeTeste g{CodificaData(2026, 12, 9)};
    DiretorioDeTrabalho d;
    MotorDeTeste* motor;

    // Installation record fields (texts and numbers by name).
    void Instalacao(std::initializer_list<std::pair<const char*, std::string>> textos,
                    std::initializer_list<std::pair<const char*, int>> numeros = {});
    std::string TextoInstalacao(const char* campo);
    long long NumeroInstalacao(const char* campo) { return std::stoll(TextoInstalacao(campo)); }
    // The five bank file names, the holding directory GUARDA (created), the
    // last day 0812 and the counters given.
    void InstalacaoPadrao(int seqC24 = 3, int seqC40 = 7);
    void Cliente(const char* codigo, const char* tipo, const char* arqremcli,
                 std::initializer_list<std::pair<const char*, std::string>> regras = {});

    // Messages shown, as "texto" lines.
    std::vector<std::string> Mensagens() const;
    // Body lines of the log (from line 8 of each page, trailing blanks cut).
    std::vector<std::string> Log() const;

private:
    std::unique_ptr<MotorRelatorio> anterior_;
};
