#include "core/dados/dia_exemplo.h"

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <utility>
#include <vector>

#include "core/arquivos/arquivo_inteiro.h"
#include "core/dados/esquema.h"
#include "core/texto/ansi.h"
#include "tabela/erro_tabela.h"
#include "tabela/nome_arquivo.h"
#include "tabela/tabela.h"

namespace {

// A record of `largura` columns (0: as long as its last text) holding each
// text at its 1-based column.
std::string reg(int largura, std::initializer_list<std::pair<int, std::string>> campos) {
    std::string l(static_cast<std::size_t>(largura), ' ');
    for (const auto& [coluna, texto] : campos) {
        const auto i = static_cast<std::size_t>(coluna - 1);
        if (l.size() < i + texto.size()) l.resize(i + texto.size(), ' ');
        l.replace(i, texto.size(), texto);
    }
    return l;
}

std::string arquivo(const std::vector<std::string>& linhas) {
    std::string r;
    for (const auto& l : linhas) r += l + "\r\n";
    return r;
}

// A translation rule as the register keeps it.
std::string regra(const char* inicio, const char* fim, std::string esperado, std::string novo) {
    esperado.resize(30, ' ');
    novo.resize(30, ' ');
    return std::string(inicio) + fim + esperado + novo;
}

struct Datas {
    int a, m, d;
    explicit Datas(TData t) { DecodificaData(t, a, m, d); }
    std::string fmt(const char* f) const {
        char b[16];
        std::snprintf(b, sizeof b, f, a, m, d);
        return b;
    }
    std::string aaaammdd() const { return fmt("%04d%02d%02d"); }
    std::string ddmmaa() const {
        char b[8];
        std::snprintf(b, sizeof b, "%02d%02d%02d", d, m, a % 100);
        return b;
    }
    std::string ddmm() const { return ddmmaa().substr(0, 4); }
    std::string barras() const {
        char b[12];
        std::snprintf(b, sizeof b, "%02d/%02d/%04d", d, m, a);
        return b;
    }
};

void alteraClientes(const std::string& dir) {
    const EsquemaTabela& e = EsquemaConvecli();
    Tabela t;
    t.SetDatabaseName(dir);
    t.SetTableName(e.arquivo);
    t.SetExclusive(true);
    if (!e.tag.empty()) {
        t.AddIndexDef(e.tag, e.expressao);
        t.SetIndexName(e.tag);
    }
    t.Open();
    const std::vector<std::pair<const char*, std::vector<std::pair<const char*, std::string>>>> mudancas = {
        // BR's branch 001 had its last return file numbered 41.
        {"BR", {{"CONDETCP1", "001    41"}}},
        // The bank's agreement code of each collection client replaces the
        // client's own code in the header of its remittances, and the
        // returns give the client its code back. Each rule names the text
        // it replaces, in full, as the register requires.
        {"ACME240", {{"CONHEACP1", regra("059", "071", "ACME240000001", "0001234567890")}}},
        {"BETA400",
         {{"CONHEACP1", regra("036", "046", "BETA0000400", "00012345678")},
          {"CONHEACP2", regra("077", "079", "237", "341")},
          {"ULTPASCLI", "2"},
          {"NOMEPLAN", "PLANILHA DO DIA"}}},
        {"RIO240", {{"CONHEACP1", regra("059", "071", "", "0009876543210")}}},
        {"VALE250", {{"CONHEACP1", regra("036", "046", "VALE0000250", "00055566677")}}},
    };
    for (const auto& [codigo, campos] : mudancas) {
        if (!t.Locate("CODCLI", {codigo}))
            throw ErroTabela("CLIENTE DE EXEMPLO NÃO ENCONTRADO: "_ansi + codigo);
        t.Edit();
        for (const auto& [campo, valor] : campos) t.FieldByName(campo).SetAsString(valor);
        t.Post();
    }
}

using Arquivos = std::vector<std::pair<std::string, std::string>>;

// The day and the due dates its files use.
struct DatasDoDia {
    Datas d0, d30, d60, d90;
    std::string dia;  // the day as AAAAMMDD
    explicit DatasDoDia(TData hoje) : d0(hoje), d30(hoje + 30), d60(hoje + 60), d90(hoje + 90), dia(d0.aaaammdd()) {}
};

void junta(Arquivos& arquivos, const std::string& nome, const std::vector<std::string>& linhas) {
    arquivos.emplace_back(nome, arquivo(linhas));
}

// ---- Vendor remittances of the clients

std::string detalheCofap(const std::string& dia, const char* planilha, const char* cnpj, const char* nome,
                         const char* rua, const char* cidade, const char* uf, const char* cep1,
                         const char* cep2, const std::string& vencimento, const char* taxaBanco,
                         const char* principal, const char* taxaFornecedor) {
    return reg(0, {{3, planilha}, {13, cnpj}, {27, nome}, {62, rua}, {97, cidade}, {127, uf},
                   {129, cep1}, {134, "-"}, {135, cep2}, {148, dia}, {156, vencimento},
                   {176, taxaBanco}, {182, principal}, {279, taxaFornecedor}});
}

std::string detalheCelpav(const Datas& d0, const char* planilha, const std::string& vencimento,
                          const char* principal, const char* taxaBanco, const char* taxaFornecedor,
                          const char* nome, const char* cnpj) {
    return reg(0, {{1, planilha}, {12, d0.barras()}, {22, vencimento}, {32, principal},
                   {59, taxaBanco}, {68, taxaFornecedor}, {113, nome}, {154, cnpj},
                   {168, "RUA DO PAPEL 9"}, {208, "MOGI GUACU"}, {228, "SP"}, {230, "13840"},
                   {235, "-"}, {236, "970"}});
}

std::vector<std::string> remessaBr(const DatasDoDia& d) {
    const std::string& dia = d.dia;
    return {reg(250, {{1, "00"}, {3, dia}, {11, "1REMESSA00VENDOR"}, {36, "BRDISTRIB"},
                      {56, "BR DISTRIBUIDORA S.A."}, {89, "BANCO QUOR S/A"}, {104, dia}, {112, "101500"},
                      {118, "000077"}, {124, "BRDIS"}, {245, "000001"}}),
            reg(250, {{1, "02"}, {3, dia}, {11, "0"}, {12, "61064838000133"}, {26, "0123"},
                      {30, "POSTO BOA VIAGEM LTDA"}, {70, "011333344440012"}, {85, "AV PAULISTA"},
                      {125, "1000 SALA 5"}, {143, "01310100"}, {151, "BELA VISTA"}, {166, "SAO PAULO"},
                      {186, "SP"}, {245, "000002"}}),
            reg(250, {{1, "01"}, {3, dia}, {11, dia}, {19, "000004567"}, {28, "0321"}, {32, "0000000"},
                      {48, "0"}, {49, "61064838000133"}, {63, "000000000000000"}, {78, "000000000000000"},
                      {93, "00000000"}, {101, "00002"}, {106, "000000000250075"}, {121, dia},
                      {129, d.d30.aaaammdd()}, {137, "000001250"}, {146, "01"}, {148, "000000000"},
                      {157, "000001450"}, {166, "N"}, {167, "S"}, {168, "PLAN00000000001"},
                      {183, "0000000"}, {190, "0000000000000000"}, {206, d.d30.aaaammdd()}, {214, dia},
                      {222, "1"}, {223, "CONTRATO 123"}, {245, "000003"}}),
            reg(250, {{1, "02"}, {3, dia}, {11, "0"}, {12, "17167412000113"}, {26, "0456"},
                      {30, "AUTO POSTO RIO"}, {70, "021222233330000"}, {85, "RUA DO OUVIDOR"}, {125, "50"},
                      {143, "20040030"}, {151, "CENTRO"}, {166, "RIO DE JANEIRO"}, {186, "RJ"},
                      {245, "000004"}}),
            reg(250, {{1, "01"}, {3, dia}, {11, dia}, {19, "000004567"}, {28, "0321"}, {48, "0"},
                      {49, "17167412000113"}, {63, "000000000000000"}, {78, "000000000000000"},
                      {93, "00000000"}, {101, "00002"}, {106, "000000001000000"}, {121, dia},
                      {129, d.d60.aaaammdd()}, {146, "01"}, {167, "N"}, {168, "PLAN00000000002"},
                      {206, d.d60.aaaammdd()}, {214, dia}, {222, "2"}, {245, "000005"}}),
            reg(250, {{1, "09"}, {3, dia}, {11, "00002"}, {16, "000000001250075"}, {31, "1"},
                      {245, "000006"}})};
}

void remessasVendor(Arquivos& arquivos, const DatasDoDia& d) {
    junta(arquivos, "COFAPREM.TXT",
          {detalheCofap(d.dia, "00001234", "61064838000133", "AUTO PECAS PAULISTA LTDA", "RUA DAS FLORES 100",
                        "SAO PAULO", "SP", "01310", "100", d.d30.aaaammdd(), "01,250", "1.234,56", "1,45"),
           detalheCofap(d.dia, "00001235", "17167412000113", "MECANICA RIO BRANCO S/A", "AV BRASIL 2000",
                        "RIO DE JANEIRO", "RJ", "20040", "002", d.d60.aaaammdd(), "01,350", "10000,00",
                        "1,60")});
    junta(arquivos, "BRREM.TXT", remessaBr(d));
    junta(arquivos, "CELPAVRE.TXT",
          {"CELPAV CELULOSE E PAPEL - REMESSA", "PLANILHA   DATA      VENCIMENTO", "----------",
           detalheCelpav(d.d0, "PL000000001", d.d30.barras(), "000000123456", "001250", "0014500",
                         "PAPELARIA CENTRAL", "33000167000101"),
           detalheCelpav(d.d0, "PL000000002", d.d90.barras(), "000000050000", "001450", "0016500",
                         "GRAFICA NORTE", "61064838000133")});
    junta(arquivos, "WABCOREM.TXT",
          {reg(0, {{4, "123456"}, {18, "00000001000"}}), reg(0, {{4, "654321"}, {18, "00000000550"}})});
}

// ---- The bank's Vendor returns

std::string headerVendor(const std::string& dia, const char* tipo, const char* ident, const char* nome,
                         const char* geracao) {
    return reg(250, {{1, tipo}, {3, dia}, {12, "RETORNO"}, {19, "VENDOR"}, {36, ident}, {56, nome},
                     {89, "BANCO QUOR S/A"}, {118, geracao}, {245, "000001"}});
}

void retornosVendor(Arquivos& arquivos, const DatasDoDia& d) {
    const std::string& dia = d.dia;
    junta(arquivos, "RCOFAP.TXT",
          {headerVendor(dia, "10", "  QUORCOFAP", "COFAP CIA FABRICADORA DE PECAS", "000001"),
           reg(250, {{1, "11"}, {11, "00001234"}, {57, "000000000123456"}, {245, "000002"}}),
           reg(250, {{1, "12"}, {11, "00001234"}, {42, "01"}, {44, dia}, {52, "000000000123456"},
                     {91, "000000000123456"}, {245, "000003"}}),
           reg(250, {{1, "12"}, {11, "00001235"}, {42, "01"}, {44, dia}, {52, "000000001000000"},
                     {91, "000000001000000"}, {245, "000004"}}),
           reg(250, {{1, "19"}, {3, "BANCO"}, {11, "00001"}, {16, "00000"}, {21, "00002"}, {26, "00000"},
                     {31, "00000"}, {36, "000000000123456"}, {51, "000000000000000"},
                     {66, "000000001123456"}, {81, "000000000000000"}, {96, "000000000000000"},
                     {111, "00000"}, {116, "000000000000000"}, {245, "000005"}})});
    junta(arquivos, "RBR.TXT",
          {headerVendor(dia, "10", "QUORBR", "BR DISTRIBUIDORA S.A.", "000001"),
           reg(250, {{1, "11"}, {11, "PLAN0001"}, {57, "000000000250075"}, {242, "001"}, {245, "000002"}}),
           reg(250, {{1, "12"}, {11, "PLAN0002"}, {52, "000000001000000"}, {242, "002"}, {245, "000003"}}),
           reg(250, {{1, "19"}, {3, "BANCOQR1"}, {11, "00001"}, {16, "00000"}, {21, "00001"},
                     {26, "00000"}, {31, "00000"}, {36, "000000000250075"}, {51, "000000000000000"},
                     {66, "000000001000000"}, {81, "000000000000000"}, {96, "000000000000000"},
                     {111, "00000"}, {116, "000000000000000"}, {245, "000004"}})});
    junta(arquivos, "RWABCO.TXT",
          {headerVendor(dia, "40", "QUORWABCO", "WABCO FREIOS LTDA", "000001"),
           reg(250, {{1, "42"}, {11, "123456"}, {30, "000000000001000"}, {245, "000002"}}),
           reg(250, {{1, "42"}, {11, "654321"}, {30, "000000000000550"}, {245, "000003"}}),
           reg(250, {{1, "49"}, {245, "000004"}})});
}

// ---- Collection remittances of the five products

void remessasCobranca(Arquivos& arquivos, const DatasDoDia& d) {
    junta(arquivos, "ACME240.001",
          {reg(240, {{1, "34100000"}, {9, "REMESSA ACME"}, {59, "ACME240000001"}, {73, "ACME COBRANCA 240 LTDA"}}),
           reg(240, {{1, "34100013"}, {14, "P"}, {18, "TITULO 1"}, {120, "000000000015000"}}),
           reg(240, {{1, "34100013"}, {14, "P"}, {18, "TITULO 2"}, {120, "000000000027500"}}),
           reg(240, {{1, "34199999"}, {18, "000004"}})});
    junta(arquivos, "BETA400.001",
          {reg(400, {{1, "01REMESSA01COBRANCA"}, {36, "BETA0000400"}, {47, "BETA COMERCIO 400 S.A."}, {77, "237"},
                     {95, d.d0.ddmmaa()}, {395, "000001"}}),
           reg(400, {{1, "1"}, {71, "TITULO000001"}, {121, d.d30.ddmmaa()}, {127, "0000000015000"},
                     {395, "000002"}}),
           reg(400, {{1, "1"}, {71, "TITULO000002"}, {121, d.d30.ddmmaa()}, {127, "0000000002500"},
                     {395, "000003"}}),
           reg(400, {{1, "1"}, {71, "TITULO000003"}, {121, d.d60.ddmmaa()}, {127, "0000000025000"},
                     {395, "000004"}}),
           reg(400, {{1, "9"}, {395, "000005"}})});
    junta(arquivos, "DELTA.001",
          {reg(400, {{1, "01REMESSA01COBRANCA"}, {30, "QUORDELTA"}, {47, "DELTA DESCONTOS LTDA"},
                     {95, d.d0.ddmmaa()}}),
           reg(400, {{1, "1"}, {50, "DESCONTO DUPLICATA 1"}, {127, "0000000040000"}}),
           reg(400, {{1, "9"}, {395, "000003"}})});
    junta(arquivos, "RIO240.001",
          {reg(240, {{1, "34100000"}, {9, "REMESSA RIO"}, {73, "RIO VENDOR 240 S.A."}}),
           reg(240, {{1, "34100013"}, {14, "P"}, {18, "OPERACAO 1"}, {120, "000000000100000"}}),
           reg(240, {{1, "34199999"}, {18, "000003"}})});
    junta(arquivos, "VALE250.001",
          {reg(250, {{1, "00"}, {12, "REMESSA00VENDOR"}, {36, "VALE0000250"}, {56, "VALE VENDOR 250 LTDA"}}),
           reg(250, {{1, "01"}, {20, "OPERACAO 1"}, {106, "000000000050000"}}),
           reg(250, {{1, "09"}})});
}

// ---- The bank's collection returns, as the bank delivers them later in the
// day: BANCO/1 for the first pass, one per product, and BANCO/2 for the
// second. Kept apart so that the concatenation, which reads every numbered
// file of the directory, does not take them for remittances.

std::string headerCobranca400(const Datas& d0, const char* numero) {
    return reg(400, {{1, "02RETORNO01COBRANCA"}, {36, "00012345678"}, {77, "341"}, {95, d0.ddmmaa()},
                     {109, numero}, {395, "000001"}});
}

std::string detalheCobranca400(const char* titulo, const char* ocorrencia, const char* valor, const char* n) {
    return reg(400, {{1, "1"}, {71, titulo}, {109, ocorrencia}, {153, valor}, {395, n}});
}

void retornosDaPrimeiraPassada(Arquivos& arquivos, const DatasDoDia& d) {
    const std::string ddmm = d.d0.ddmm();
    junta(arquivos, "BANCO/1/RO" + ddmm + ".020",
          {reg(240, {{1, "34100000"}, {9, "RETORNO ACME"}, {59, "0001234567890"}}),
           reg(240, {{1, "34100013"}, {14, "T"}, {16, "06"}, {18, "TITULO 1"}, {120, "000000000015000"}}),
           reg(240, {{1, "34100013"}, {14, "T"}, {16, "02"}, {18, "TITULO 2"}, {120, "000000000027500"}}),
           reg(240, {{1, "34199999"}, {18, "000004"}})});
    junta(arquivos, "BANCO/1/RC" + ddmm + ".020",
          {headerCobranca400(d.d0, "00001"), detalheCobranca400("TITULO000001", "06", "0000000015000", "000002"),
           detalheCobranca400("TITULO000002", "02", "0000000002500", "000003"),
           detalheCobranca400("TITULO000003", "02", "0000000025000", "000004"),
           reg(400, {{1, "9"}, {5, "341"}, {395, "000005"}})});
    junta(arquivos, "BANCO/1/RR" + ddmm + ".020",
          {reg(240, {{1, "34100000"}, {9, "RETORNO RIO"}, {59, "0009876543210"}}),
           reg(240, {{1, "34100013"}, {14, "T"}, {16, "02"}, {18, "OPERACAO 1"}, {120, "000000000100000"}}),
           reg(240, {{1, "34199999"}, {18, "000003"}})});
    junta(arquivos, "BANCO/1/RE" + ddmm + ".020",
          {reg(250, {{1, "10"}, {12, "RETORNO00VENDOR"}, {36, "00055566677"}}),
           reg(250, {{1, "11"}, {20, "OPERACAO 1"}, {106, "000000000050000"}}),
           reg(250, {{1, "19"}})});
    junta(arquivos, "BANCO/1/RD" + ddmm + ".020",
          {reg(400, {{1, "02RETORNO01DESCONTO"}, {30, "QUORDELTA"}, {95, d.d0.ddmmaa()}}),
           reg(400, {{1, "1"}, {50, "DESCONTO DUPLICATA 1"}, {109, "06"}, {127, "0000000040000"}}),
           reg(400, {{1, "9"}, {395, "000003"}})});
}

void retornosDaSegundaPassada(Arquivos& arquivos, const DatasDoDia& d) {
    const std::string ddmm = d.d0.ddmm();
    // BETA400's third title paid.
    junta(arquivos, "BANCO/2/RC" + ddmm + "B.020",
          {headerCobranca400(d.d0, "00002"), detalheCobranca400("TITULO000003", "06", "0000000025000", "000002"),
           reg(400, {{1, "9"}, {5, "341"}, {395, "000003"}})});
    // BETA400's planilha of the day: its paid titles, with the values the
    // consolidation carries into the first return file.
    junta(arquivos, "TEMP/BETA400/PLAN" + ddmm + ".TXT",
          {"0PLANILHA DO DIA " + d.d0.barras(),
           reg(0, {{1, "1TITULO000001"}, {22, "0000000015000"}, {35, "0000000000000"}, {48, "0000000000000"}}),
           reg(0, {{1, "1TITULO000003"}, {22, "0000000025000"}, {35, "0000000000000"}, {48, "0000000000000"}})});
}

// The files of the day: name (relative to the data directory) and contents.
Arquivos arquivosDoDia(TData hoje) {
    const DatasDoDia d(hoje);
    Arquivos arquivos;
    remessasVendor(arquivos, d);
    retornosVendor(arquivos, d);
    remessasCobranca(arquivos, d);
    retornosDaPrimeiraPassada(arquivos, d);
    retornosDaSegundaPassada(arquivos, d);
    return arquivos;
}

}  // namespace

void ConfereDiaDeExemplo(const std::string& dir, TData hoje) {
    for (const auto& [nome, conteudo] : arquivosDoDia(hoje))
        if (ArquivoExiste(ResolveCaminho(JuntaCaminho(dir, nome))))
            throw ErroTabela("O ARQUIVO "_ansi + JuntaCaminho(dir, nome) +
                             " JÁ EXISTE; NADA FOI CRIADO (A INSTALAÇÃO NÃO SUBSTITUI ARQUIVOS)"_ansi);
}

void InstalaDiaDeExemplo(const std::string& dir, TData hoje) {
    ConfereDiaDeExemplo(dir, hoje);
    const Arquivos arquivos = arquivosDoDia(hoje);
    alteraClientes(dir);
    std::error_code ec;
    for (const char* sub : {"TEMP/BETA400", "BANCO/1", "BANCO/2"})
        std::filesystem::create_directories(JuntaCaminho(dir, sub), ec);
    for (const auto& [nome, conteudo] : arquivos) GravaArquivoCompleto(JuntaCaminho(dir, nome), conteudo, false);
}
