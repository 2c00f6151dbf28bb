// The real program, without a screen, converting one small client file per
// client type in a data directory of its own. The bank file is compared byte
// for byte with records written out here by hand from the layouts, field by
// field; the pending rows and the generation numbers are read back from the
// tables.
//
// The run log goes to a PDF file when the report engine is there; without it
// the program says it could not write the PDF, and that must be the only
// complaint.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "conversion/remessa_apoio.h"
#include "core/texto/ansi.h"
#include "support/diretorio_temporario.h"
#include "tabela/tabela.h"

namespace {

namespace fs = std::filesystem;

struct Execucao {
    int status = -1;
    std::string erros;  // the error output, UTF-8
};

class RemessaE2E : public ::testing::Test {
protected:
    DiretorioTemporario raiz;
    std::string dados = raiz / "dados";

    void SetUp() override { DADOS_DE_EXEMPLO(dados, CodificaData(2026, 3, 10)); }

    Execucao converte(const std::string& codigo, const std::string& data = "20260310") {
        const std::string erros = raiz / "erros.txt";
        const std::string comando = "cd '" + dados + "' && CONVERSOR_SEM_JANELA=1 CONVERSOR_DATA=" +
                                    data + " '" CONVERSOR_BIN "/conversor' CONVERTE_REMESSA " +
                                    codigo + " </dev/null 2>'" + erros + "'";
        const int r = std::system(comando.c_str());
        Execucao e;
        e.status = WIFEXITED(r) ? WEXITSTATUS(r) : -1;
        e.erros = LE_ARQUIVO(erros);
        return e;
    }

    void grava(const std::string& nome, const std::vector<std::string>& linhas) {
        GRAVA_ARQUIVO_TESTE(dados + "/" + nome, ARQUIVO_CRLF(linhas));
    }

    std::vector<std::string> pdfs() const {
        std::vector<std::string> r;
        for (const auto& e : fs::directory_iterator(dados))
            if (e.path().extension() == ".PDF") r.push_back(e.path().filename());
        return r;
    }

    // A run that went through: status 0, or, without a report engine, 1 for
    // the run log's PDF alone.
    void confereSucesso(const Execucao& e) {
        if (!pdfs().empty()) {
            EXPECT_EQ(e.status, 0) << e.erros;
            return;
        }
        EXPECT_EQ(e.status, 1) << e.erros;
        const std::string pdf = "ARQUIVO AUXILIAR PARA A REMESSA DO PDF.\nArquivo: ARQUIVO_REMESSA_VENDOR_";
        EXPECT_NE(e.erros.find(pdf), std::string::npos) << e.erros;
        std::size_t avisos = 0;
        for (auto p = e.erros.find("ATEN"); p != std::string::npos; p = e.erros.find("ATEN", p + 1))
            ++avisos;
        EXPECT_EQ(avisos, 1u) << e.erros;
    }

    // The bank file's lines. The header's processing time (columns 112-117)
    // is the clock's: it must be a time of day, and is then taken into the
    // expected header.
    std::vector<std::string> arquivoBanco(const std::string& nome, std::vector<std::string>& esperado,
                                          bool horaDoRelogio = true) {
        std::vector<std::string> l = LINHAS_CRLF(LE_ARQUIVO(dados + "/" + nome));
        if (horaDoRelogio && !l.empty() && l[0].size() >= 117 && !esperado.empty()) {
            const std::string hora = l[0].substr(111, 6);
            EXPECT_EQ(hora.find_first_not_of("0123456789"), std::string::npos) << hora;
            EXPECT_LT(hora.substr(0, 2), "24");
            esperado[0].replace(111, 6, hora);
        }
        return l;
    }
};

// Every record: 250 columns.
void confereLarguras(const std::vector<std::string>& linhas) {
    for (const auto& l : linhas) EXPECT_EQ(l.size(), 250u) << l;
}

std::string brancos(int n) { return BRANCOS(n); }

}  // namespace

// Cofap: two good operations and one without CNPJ nor principal; equalisation
// "D" (depends on the rates); generation 41 stored, 42 written. Run twice: the
// pending rows are refreshed, not doubled, and a return date stays.
TEST_F(RemessaE2E, CofapArquivoPendentesEGeracoes) {
    ALTERA_CLIENTE(dados, "COFAP", {{"TIPEQUCLI", "D"}, {"ULTREMBAN", "41"}, {"ULTREMCLI", "6"}});
    auto cofap = [](const char* planilha, const char* cnpj, const char* nome, const char* rua,
                    const char* cidade, const char* uf, const char* cep1, const char* cep2,
                    const char* vencimento, const char* taxaBanco, const char* principal,
                    const char* taxaFornecedor) {
        return LinhaFixa()
            .em(3, planilha).em(13, cnpj).em(27, nome).em(62, rua).em(97, cidade).em(127, uf)
            .em(129, cep1).em(134, "-").em(135, cep2)
            .em(148, "20260301")  // contract start date, offered by the first line
            .em(156, vencimento).em(176, taxaBanco).em(182, principal).em(279, taxaFornecedor)
            .str();
    };
    grava("COFAPREM.TXT",
          {cofap("00001234", "11222333000181", "COMPRADOR UM LTDA", "RUA DAS FLORES 100",
                 "SAO PAULO", "SP", "01310", "100", "20260415", "01,500", "1.234,56", "1,5000001"),
           cofap("00001235", "60701190000104", "COMPRADOR DOIS S/A", "AV BRASIL 2000",
                 "RIO DE JANEIRO", "RJ", "20040", "002", "20260510", "2,000", "10000,00", "1,75"),
           cofap("00001236", "", "SEM CNPJ", "RUA X", "SANTOS", "SP", "11000", "000", "20260510",
                 "2,000", "", "1,75")});

    const Execucao e = converte("COFAP");
    confereSucesso(e);
    EXPECT_NE(e.erros.find("Registros Pesquisados : 3\nRegistros desprezados : 1\nRegistros Gravados : 2"),
              std::string::npos)
        << e.erros;

    std::vector<std::string> esperado = {
        // type, processing date, "1REMESSA00", product (15), client ident (20),
        // company name (30), filler (3), bank (15), reference date (never after
        // 31/12/2019), time, generation, legend, filler (116), sequence
        "00" "20260310" "1REMESSA00" "VENDOR         " "QUORCOFAP           "
        "COFAP CIA FABRICADORA DE PECAS" "   " "BANCO QUOR S/A " "20191231" "000000" "000042"
        "COFAP" + brancos(116) + "000001",
        // type, processing date, "0", CNPJ (14), activity (4), name (40),
        // phone (15 zeros), street (40), number (8 zeros, 10 blanks), CEP (8),
        // district (15), city (20), state, filler (57), sequence
        "02" "20260310" "0" "11222333000181" "0001" "COMPRADOR UM LTDA" + brancos(23) +
            "000000000000000" "RUA DAS FLORES 100" + brancos(22) + "00000000" + brancos(10) +
            "01310100" + brancos(15) + "SAO PAULO" + brancos(11) + "SP" + brancos(57) + "000002",
        // type, processing date, movement date (today), agreement (9), branch (4),
        // "0000000", filler (9), "0", CNPJ, two guarantors (15 zeros each),
        // authorisation (8 zeros), programme (5), principal x100 (15),
        // operation date (the start date), due date, bank rate x1000 (9),
        // instalments (2), 9 zeros, supplier rate x1000 (9), "N",
        // equalisation (1.5 and 1.5000001 agree to 6 decimals: N), planilha (15),
        // 7 zeros, 16 zeros, first instalment date, contract data (31 blanks),
        // sequence
        "01" "20260310" "20260310" "000000001" "0001" "0000000" + brancos(9) + "0"
        "11222333000181" "000000000000000" "000000000000000" "00000000" "00001"
        "000000000123456" "20260301" "20260415" "000001500" "01" "000000000" "000001500" "N" "N"
        "00001234       " "0000000" "0000000000000000" "20260415" + brancos(31) + "000003",
        "02" "20260310" "0" "60701190000104" "0001" "COMPRADOR DOIS S/A" + brancos(22) +
            "000000000000000" "AV BRASIL 2000" + brancos(26) + "00000000" + brancos(10) +
            "20040002" + brancos(15) + "RIO DE JANEIRO" + brancos(6) + "RJ" + brancos(57) + "000004",
        // as above; rates 2,000 and 1,75 differ: equalisation S
        "01" "20260310" "20260310" "000000001" "0001" "0000000" + brancos(9) + "0"
        "60701190000104" "000000000000000" "000000000000000" "00000000" "00001"
        "000000001000000" "20260301" "20260510" "000002000" "01" "000000000" "000001750" "N" "S"
        "00001235       " "0000000" "0000000000000000" "20260510" + brancos(31) + "000005",
        // type, processing date, operations (5), total principal x100 (15), "1",
        // filler (213), sequence
        "09" "20260310" "00002" "000000001123456" "1" + brancos(213) + "000006",
    };
    const auto linhas = arquivoBanco("VCOFAP.TXT", esperado);
    EXPECT_EQ(linhas, esperado);
    confereLarguras(linhas);
    EXPECT_EQ(CAMPO_CLIENTE(dados, "COFAP", "ULTREMCLI"), "7");
    EXPECT_EQ(CAMPO_CLIENTE(dados, "COFAP", "ULTREMBAN"), "42");
    EXPECT_EQ(PENDENTES(dados), (std::vector<std::string>{
                                    "COFAP|00001234|11222333000181|10/03/2026|",
                                    "COFAP|00001235|60701190000104|10/03/2026|",
                                }));

    // The first operation was answered by the bank meanwhile.
    {
        Tabela t;
        t.SetDatabaseName(dados);
        t.SetTableName("CONVEPEN.DBF");
        t.Open();
        ASSERT_TRUE(t.Locate("CODCLI;NUMPED", {"COFAP", "00001234"}));
        t.Edit();
        t.FieldByName("DTRETORNO").SetAsDate(CodificaData(2026, 3, 10));
        t.Post();
    }
    const Execucao e2 = converte("COFAP", "20260311");
    EXPECT_NE(e2.erros.find("Registros Gravados : 2"), std::string::npos) << e2.erros;
    EXPECT_EQ(CAMPO_CLIENTE(dados, "COFAP", "ULTREMCLI"), "8");
    EXPECT_EQ(CAMPO_CLIENTE(dados, "COFAP", "ULTREMBAN"), "43");
    EXPECT_EQ(PENDENTES(dados), (std::vector<std::string>{
                                    "COFAP|00001234|11222333000181|11/03/2026|10/03/2026",
                                    "COFAP|00001235|60701190000104|11/03/2026|",
                                }));
    const std::string segundo = LE_ARQUIVO(dados + "/VCOFAP.TXT");
    EXPECT_EQ(segundo.substr(117, 6), "000043");
    EXPECT_EQ(segundo.substr(2, 8), "20260311");
}

// Every operation rejected: no bank file, nothing pending, the generation
// numbers stay, and the final message says none was written.
TEST_F(RemessaE2E, CofapTodasRejeitadas) {
    grava("COFAPREM.TXT",
          {LinhaFixa().em(3, "00000001").em(13, "11222333000180").em(148, "20260301")
               .em(156, "20260415").em(176, "01,500").em(182, "100,00"),
           LinhaFixa().em(3, "00000002").em(13, "11222333000181").em(156, "20260415")});
    const Execucao e = converte("COFAP");
    confereSucesso(e);
    EXPECT_NE(e.erros.find("Registros Pesquisados : 2\nRegistros desprezados : 2\nRegistros Gravados : 0"),
              std::string::npos)
        << e.erros;
    EXPECT_FALSE(fs::exists(dados + "/VCOFAP.TXT"));
    EXPECT_TRUE(PENDENTES(dados).empty());
    EXPECT_EQ(CAMPO_CLIENTE(dados, "COFAP", "ULTREMCLI"), "0");
    EXPECT_EQ(CAMPO_CLIENTE(dados, "COFAP", "ULTREMBAN"), "0");
}

namespace {

// A BR file is in the bank's layout already: header, client, operation and
// the client's own trailer, with the client's sequence numbers.
std::vector<std::string> arquivoBR(const char* produtoSegunda) {
    const std::string header = LinhaFixa()
        .em(1, "00").em(3, "20260309").em(11, "1REMESSA00VENDOR").em(36, "BRDISTRIB")
        .em(56, "BR DISTRIBUIDORA S.A.").em(89, "BANCO QUOR S/A").em(104, "20260301")
        .em(112, "101500").em(118, "000077").em(124, "BRDIS").em(245, "000001");
    const std::string cliente1 = LinhaFixa()
        .em(1, "02").em(3, "20260309").em(11, "0").em(12, "11222333000181").em(26, "0123")
        .em(30, "POSTO BOA VIAGEM LTDA").em(70, "011333344440012").em(85, "AV PAULISTA")
        .em(125, "1000 SALA 5").em(143, "01310100").em(151, "BELA VISTA").em(166, "SAO PAULO")
        .em(186, "SP").em(245, "000002");
    // Rates in the file (columns 137 and 157) are never read.
    const std::string operacao1 = LinhaFixa()
        .em(1, "01").em(3, "20260309").em(11, "20260305").em(19, "000004567").em(28, "0321")
        .em(32, "0000000").em(48, "0").em(49, "11222333000181").em(63, "123456789012345")
        .em(78, "000000000000000").em(93, "AUT00001").em(101, "00002").em(106, "000000000250075")
        .em(121, "20260305").em(129, "20260404").em(137, "000009999").em(146, "03")
        .em(148, "000000000").em(157, "000009999").em(166, "N").em(167, "S")
        .em(168, "PLAN00000000001").em(183, "0000000").em(190, "0000000000000000")
        .em(206, "20260404").em(214, "20260305").em(222, "1").em(223, "CONTRATO 123")
        .em(245, "000003");
    const std::string cliente2 = LinhaFixa()
        .em(1, "02").em(3, "20260309").em(11, "0").em(12, "60701190000104").em(26, "0456")
        .em(30, "AUTO POSTO RIO").em(70, "021222233330000").em(85, "RUA DO OUVIDOR")
        .em(125, "50").em(143, "20040030").em(151, "CENTRO").em(166, "RIO DE JANEIRO")
        .em(186, "RJ").em(245, "000004");
    const std::string operacao2 = LinhaFixa()
        .em(1, "01").em(3, "20260309").em(11, "20260306").em(19, "000004567").em(28, "0321")
        .em(48, "0").em(49, "60701190000104").em(63, "000000000000000").em(78, "000000000000000")
        .em(93, "00000000").em(101, "00002").em(106, "000000001000000").em(121, "20260306")
        .em(129, "20260430").em(146, "01").em(167, "N").em(168, "PLAN00000000002")
        .em(206, "20260430").em(214, "20260305").em(222, produtoSegunda).em(245, "000005");
    const std::string trailer = LinhaFixa()
        .em(1, "09").em(3, "20260309").em(11, "00002").em(16, "000000001250075").em(31, "1")
        .em(245, "000006");
    return {header, cliente1, operacao1, cliente2, operacao2, trailer};
}

}  // namespace

// BR: the header's generation and time are the client's own; rates come
// from the rate table (product 1 for 30 days, product 2 for 56 days: the
// 60-day row); the client's trailer produces nothing, the system writes its
// own.
TEST_F(RemessaE2E, BRComHeaderClientesOperacoesETrailer) {
    grava("BRREM.TXT", arquivoBR("2"));
    const Execucao e = converte("BR");
    confereSucesso(e);
    EXPECT_NE(e.erros.find("Registros Pesquisados : 6\nRegistros desprezados : 0\nRegistros Gravados : 6"),
              std::string::npos)
        << e.erros;
    std::vector<std::string> esperado = {
        // header from the client's: processing date, ident, name, reference
        // date, time 10:15:00, generation 77, legend
        "00" "20260309" "1REMESSA00" "VENDOR         " "BRDISTRIB           "
        "BR DISTRIBUIDORA S.A.         " "   " "BANCO QUOR S/A " "20260301" "101500" "000077"
        "BRDIS" + brancos(116) + "000001",
        // type, processing date, "0", CNPJ, activity, name (40), phone (15),
        // street (40), number and complement (18), CEP, district (15), city (20),
        // state, filler (57), sequence
        "02" "20260309" "0" "11222333000181" "0123" "POSTO BOA VIAGEM LTDA" + brancos(19) +
            "011333344440012" "AV PAULISTA" + brancos(29) + "1000 SALA 5" + brancos(7) +
            "01310100" "BELA VISTA" + brancos(5) + "SAO PAULO" + brancos(11) + "SP" + brancos(57) +
            "000002",
        // type, processing date, movement date, agreement 4567 (9), branch 321
        // (4), "0000000", filler (9), "0", CNPJ, guarantors, authorisation,
        // programme, principal 2500,75, operation date, due date, bank rate
        // 1,25 (product 1, 30 days), instalments, 9 zeros, supplier rate 1,45,
        // "N", equalisation from the file, planilha, 7 zeros, 16 zeros, first
        // instalment, contract data (31), sequence
        "01" "20260309" "20260305" "000004567" "0321" "0000000" + brancos(9) + "0"
        "11222333000181" "123456789012345" "000000000000000" "AUT00001" "00002"
        "000000000250075" "20260305" "20260404" "000001250" "03" "000000000" "000001450" "N" "S"
        "PLAN00000000001" "0000000" "0000000000000000" "20260404"
        "202603051CONTRATO 123" + brancos(10) + "000003",
        "02" "20260309" "0" "60701190000104" "0456" "AUTO POSTO RIO" + brancos(26) +
            "021222233330000" "RUA DO OUVIDOR" + brancos(26) + "50" + brancos(16) + "20040030"
            "CENTRO" + brancos(9) + "RIO DE JANEIRO" + brancos(6) + "RJ" + brancos(57) + "000004",
        // product 2, 56 days: the 60-day row, 1,20 and 1,40
        "01" "20260309" "20260306" "000004567" "0321" "0000000" + brancos(9) + "0"
        "60701190000104" "000000000000000" "000000000000000" "00000000" "00002"
        "000000001000000" "20260306" "20260430" "000001200" "01" "000000000" "000001400" "N" "N"
        "PLAN00000000002" "0000000" "0000000000000000" "20260430" "202603052" + brancos(22) +
            "000005",
        // processing date of the last operation, 2 operations, 12500,75
        "09" "20260309" "00002" "000000001250075" "1" + brancos(213) + "000006",
    };
    const auto linhas = arquivoBanco("VBR.TXT", esperado, false);
    EXPECT_EQ(linhas, esperado);
    confereLarguras(linhas);
    EXPECT_EQ(CAMPO_CLIENTE(dados, "BR", "ULTREMCLI"), "1");
    EXPECT_EQ(CAMPO_CLIENTE(dados, "BR", "ULTREMBAN"), "77");
    EXPECT_TRUE(PENDENTES(dados).empty());
}

// A BR operation whose product has no rate ends the run at once: the
// lookup's message, no bank file (not even a temporary one), no run log, the
// generation numbers unchanged.
TEST_F(RemessaE2E, BROperacaoSemTaxa) {
    grava("BRREM.TXT", arquivoBR("3"));
    const Execucao e = converte("BR");
    EXPECT_EQ(e.status, 1);
    EXPECT_NE(e.erros.find("DATA/PRODUTO/DIAS : 05/03/2026-3- 56"), std::string::npos) << e.erros;
    EXPECT_EQ(e.erros.find("Registros"), std::string::npos) << e.erros;
    std::vector<std::string> nomes;
    for (const auto& x : fs::directory_iterator(dados))
        if (x.is_regular_file()) nomes.push_back(x.path().filename());
    std::sort(nomes.begin(), nomes.end());
    EXPECT_EQ(nomes, (std::vector<std::string>{"BRREM.TXT", "CONVECLI.CDX", "CONVECLI.DBF",
                                               "CONVEINS.DBF", "CONVEPEN.CDX", "CONVEPEN.DBF",
                                               "CONVETAX.CDX", "CONVETAX.DBF"}));
    EXPECT_EQ(CAMPO_CLIENTE(dados, "BR", "ULTREMCLI"), "0");
    EXPECT_EQ(CAMPO_CLIENTE(dados, "BR", "ULTREMBAN"), "0");
}

// Celpav: three header lines, then operations with their own dates and
// scaled amounts; one with a wrong CNPJ check digit is skipped. The
// reference date is the earliest operation date.
TEST_F(RemessaE2E, CelpavCabecalhosEOperacoes) {
    auto celpav = [](const char* planilha, const char* data, const char* vencimento,
                     const char* principal, const char* taxaBanco, const char* taxaFornecedor,
                     const char* nome, const char* cnpj) {
        return LinhaFixa()
            .em(1, planilha).em(12, data).em(22, vencimento).em(32, principal).em(59, taxaBanco)
            .em(68, taxaFornecedor).em(113, nome).em(154, cnpj).em(168, "RUA DO PAPEL 9")
            .em(208, "MOGI GUACU").em(228, "SP").em(230, "13840").em(235, "-").em(236, "970")
            .str();
    };
    grava("CELPAVRE.TXT",
          {"CELPAV CELULOSE E PAPEL - REMESSA", "PLANILHA   DATA      VENCIMENTO", "----------",
           celpav("PL000000001", "15/02/2019", "15/03/2019", "000000123456", "001500", "0017500",
                  "PAPELARIA CENTRAL", "33000167000101"),
           celpav("PL000000002", "10/01/2019", "10/02/2019", "000000010000", "002000", "0020000",
                  "ERRADA", "33000167000102"),
           celpav("PL000000003", "20/01/2019", "20/04/2019", "000000050000", "001000", "0011000",
                  "GRAFICA NORTE", "11222333000181")});
    const Execucao e = converte("CELPAV");
    confereSucesso(e);
    EXPECT_NE(e.erros.find("Registros Pesquisados : 6\nRegistros desprezados : 4\nRegistros Gravados : 2"),
              std::string::npos)
        << e.erros;
    std::vector<std::string> esperado = {
        // reference date: the earliest operation date of the file, the
        // rejected line's included (10/01/2019)
        "00" "20260310" "1REMESSA00" "VENDOR         " "QUORCELPAV          "
        "CELPAV CELULOSE E PAPEL       " "   " "BANCO QUOR S/A " "20190110" "000000" "000001"
        "CELPA" + brancos(116) + "000001",
        "02" "20260310" "0" "33000167000101" "0001" "PAPELARIA CENTRAL" + brancos(23) +
            "000000000000000" "RUA DO PAPEL 9" + brancos(26) + "00000000" + brancos(10) +
            "13840970" + brancos(15) + "MOGI GUACU" + brancos(10) + "SP" + brancos(57) + "000002",
        // movement and operation date from the line; principal 1234,56; rates
        // 1,500 and 1,7500; register's equalisation N; planilha after 4 blanks
        "01" "20260310" "20190215" "000000001" "0001" "0000000" + brancos(9) + "0"
        "33000167000101" "000000000000000" "000000000000000" "00000000" "00001"
        "000000000123456" "20190215" "20190315" "000001500" "01" "000000000" "000001750" "N" "N"
        "    PL000000001" "0000000" "0000000000000000" "20190315" + brancos(31) + "000003",
        "02" "20260310" "0" "11222333000181" "0001" "GRAFICA NORTE" + brancos(27) +
            "000000000000000" "RUA DO PAPEL 9" + brancos(26) + "00000000" + brancos(10) +
            "13840970" + brancos(15) + "MOGI GUACU" + brancos(10) + "SP" + brancos(57) + "000004",
        "01" "20260310" "20190120" "000000001" "0001" "0000000" + brancos(9) + "0"
        "11222333000181" "000000000000000" "000000000000000" "00000000" "00001"
        "000000000050000" "20190120" "20190420" "000001000" "01" "000000000" "000001100" "N" "N"
        "    PL000000003" "0000000" "0000000000000000" "20190420" + brancos(31) + "000005",
        "09" "20260310" "00002" "000000000173456" "1" + brancos(213) + "000006",
    };
    const auto linhas = arquivoBanco("VCELPAV.TXT", esperado);
    EXPECT_EQ(linhas, esperado);
    confereLarguras(linhas);
    EXPECT_EQ(CAMPO_CLIENTE(dados, "CELPAV", "ULTREMCLI"), "1");
    EXPECT_EQ(CAMPO_CLIENTE(dados, "CELPAV", "ULTREMBAN"), "1");
    EXPECT_TRUE(PENDENTES(dados).empty());
}

// Wabco: consignment variant, nothing validated; the client file's
// generation is not counted.
TEST_F(RemessaE2E, WabcoConsignacao) {
    ALTERA_CLIENTE(dados, "WABCO", {{"ULTREMBAN", "999999"}, {"ULTREMCLI", "5"}});
    grava("WABCOREM.TXT", {LinhaFixa().em(4, "123456").em(18, "00000001000"),
                           LinhaFixa().em(4, "654321").em(18, "00000000550")});
    const Execucao e = converte("WABCO");
    confereSucesso(e);
    std::vector<std::string> esperado = {
        // "40", processing date, "1REMESSA00", product, ident, name, filler,
        // bank, reference date (today), time, generation (1 after 999999), legend
        "40" "20260310" "1REMESSA00" "CONSIGNACAO    " "QUORWABCO           "
        "WABCO FREIOS LTDA             " "   " "BANCO QUOR S/A " "20260310" "000000" "000001"
        "WABCO" + brancos(116) + "000001",
        // "41", consignor (3), planilha "000000"+6, movement date, "01", "01",
        // principal x100 (15), "1", 8 zeros, principal again, 5, 6 and 8 zeros,
        // filler (154), sequence
        "41" "001" "000000123456   " "20260310" "01" "01" "000000000001000" "1" "00000000"
        "000000000001000" "00000" "000000" "00000000" + brancos(154) + "000002",
        "41" "001" "000000654321   " "20260310" "01" "01" "000000000000550" "1" "00000000"
        "000000000000550" "00000" "000000" "00000000" + brancos(154) + "000003",
        // "49", consignor, "1", count and total twice, zeros, filler (158)
        "49" "001" "1" "00002" "000000000001550" "00002" "000000000001550" "00000"
        "000000000000000" "00000" "000000000000000" + brancos(158) + "000004",
    };
    const auto linhas = arquivoBanco("VWABCO.TXT", esperado);
    EXPECT_EQ(linhas, esperado);
    confereLarguras(linhas);
    EXPECT_EQ(CAMPO_CLIENTE(dados, "WABCO", "ULTREMCLI"), "0");
    EXPECT_EQ(CAMPO_CLIENTE(dados, "WABCO", "ULTREMBAN"), "1");
}
