#pragma once
// What the remittance tests share: a data directory with the sample clients,
// changes to one client's register, client-file lines laid out by column,
// and a report engine that keeps what it is given.

#include <string>
#include <utility>
#include <vector>

#include "core/texto/calendario.h"
#include "report/motor_relatorio.h"

// The four tables with the sample clients (COFAP, BR, CELPAV, WABCO, ...) and
// the sample rates of `hoje`'s year, in `dir`.
void DADOS_DE_EXEMPLO(const std::string& dir, TData hoje);
// Sets fields of one client record; values as text, numbers included.
void ALTERA_CLIENTE(const std::string& dir, const std::string& codigo,
                    const std::vector<std::pair<std::string, std::string>>& campos);
// A field of one client record, as text.
std::string CAMPO_CLIENTE(const std::string& dir, const std::string& codigo,
                          const std::string& campo);

// Pending rows of a data directory, as "CODCLI|NUMPED|CGCCLI|DTREMESSA|DTRETORNO"
// in physical order.
std::vector<std::string> PENDENTES(const std::string& dir);

// A line of a client file, built by placing texts at 1-based columns.
class LinhaFixa {
public:
    LinhaFixa& em(int coluna, const std::string& texto);
    const std::string& str() const { return s_; }
    operator std::string() const { return s_; }

private:
    std::string s_;
};

// Lines joined with CR LF after each.
std::string ARQUIVO_CRLF(const std::vector<std::string>& linhas);
// The lines of a CR LF file; fails the test on a line end of another kind.
std::vector<std::string> LINHAS_CRLF(const std::string& conteudo);

std::string BRANCOS(int n);

// Keeps every report it is asked to print or to write as PDF.
struct MotorGuardaRelatorios : MotorRelatorio {
    std::vector<ModeloRelatorio> fechados;
    std::vector<std::pair<std::string, ModeloRelatorio>> pdfs;
    bool Fecha(const ModeloRelatorio& m) override {
        fechados.push_back(m);
        return true;
    }
    void GravaPdf(const ModeloRelatorio& m, const std::string& arquivo) override {
        pdfs.emplace_back(arquivo, m);
    }
    std::string ImpressoraAtual() override { return ""; }
    void SetupImpressora() override {}
    int ImpressorasInstaladas() override { return 0; }
    int ImpressorasDisponiveis() override { return 0; }
};

// Text lines of a report page, blanks on the right removed.
std::vector<std::string> LINHAS_PAGINA(const ModeloRelatorio& m, std::size_t pagina);
