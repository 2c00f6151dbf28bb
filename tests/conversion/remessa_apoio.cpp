#include "conversion/remessa_apoio.h"

#include <gtest/gtest.h>

#include "core/dados/esquema.h"
#include "core/dados/instalacao.h"
#include "tabela/tabela.h"

namespace {

void abre(Tabela& t, const std::string& dir, const EsquemaTabela& e) {
    t.SetDatabaseName(dir);
    t.SetTableName(e.arquivo);
    t.Open();
}

}  // namespace

void DADOS_DE_EXEMPLO(const std::string& dir, TData hoje) { InstalaDiretorioDeDados(dir, true, hoje); }

void ALTERA_CLIENTE(const std::string& dir, const std::string& codigo,
                    const std::vector<std::pair<std::string, std::string>>& campos) {
    Tabela t;
    abre(t, dir, EsquemaConvecli());
    ASSERT_TRUE(t.Locate("CODCLI", {codigo})) << codigo;
    t.Edit();
    for (const auto& [campo, valor] : campos) t.FieldByName(campo).SetAsString(valor);
    t.Post();
}

std::string CAMPO_CLIENTE(const std::string& dir, const std::string& codigo,
                          const std::string& campo) {
    Tabela t;
    abre(t, dir, EsquemaConvecli());
    if (!t.Locate("CODCLI", {codigo})) return "?";
    return t.FieldByName(campo).AsString();
}

std::vector<std::string> PENDENTES(const std::string& dir) {
    Tabela t;
    abre(t, dir, EsquemaConvepen());
    std::vector<std::string> r;
    for (t.First(); !t.Eof(); t.Next()) {
        std::string l;
        for (const char* c : {"CODCLI", "NUMPED", "CGCCLI", "DTREMESSA", "DTRETORNO"})
            l += (l.empty() ? "" : "|") + t.FieldByName(c).AsString();
        r.push_back(l);
    }
    return r;
}

LinhaFixa& LinhaFixa::em(int coluna, const std::string& texto) {
    const auto i = static_cast<std::size_t>(coluna - 1);
    if (s_.size() < i + texto.size()) s_.resize(i + texto.size(), ' ');
    s_.replace(i, texto.size(), texto);
    return *this;
}

std::string ARQUIVO_CRLF(const std::vector<std::string>& linhas) {
    std::string r;
    for (const auto& l : linhas) r += l + "\r\n";
    return r;
}

std::vector<std::string> LINHAS_CRLF(const std::string& conteudo) {
    std::vector<std::string> r;
    std::size_t ini = 0;
    while (ini < conteudo.size()) {
        const auto fim = conteudo.find("\r\n", ini);
        if (fim == std::string::npos) {
            ADD_FAILURE() << "last line without CR LF";
            r.push_back(conteudo.substr(ini));
            break;
        }
        const std::string l = conteudo.substr(ini, fim - ini);
        EXPECT_EQ(l.find_first_of("\r\n"), std::string::npos) << "stray line end in: " << l;
        r.push_back(l);
        ini = fim + 2;
    }
    return r;
}

std::string BRANCOS(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

std::vector<std::string> LINHAS_PAGINA(const ModeloRelatorio& m, std::size_t pagina) {
    std::vector<std::string> r;
    for (std::string l : m.paginas.at(pagina).linhas) {
        while (!l.empty() && l.back() == ' ') l.pop_back();
        r.push_back(l);
    }
    return r;
}
