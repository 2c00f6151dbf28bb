// The real program, without a screen, converting small bank return files of
// Cofap, BR and Wabco clients in a data directory of its own. The client
// files are compared byte for byte with records written out here by hand
// from the layouts, field by field; the pending rows and the generation
// numbers are read back from the tables.

#include <gtest/gtest.h>
#include <sys/wait.h>

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

std::string brancos(int n) { return BRANCOS(n); }
std::string zeros(int n) { return std::string(static_cast<std::size_t>(n), '0'); }

class RetornoE2E : public ::testing::Test {
protected:
    DiretorioTemporario raiz;
    std::string dados = raiz / "dados";

    void SetUp() override { DADOS_DE_EXEMPLO(dados, CodificaData(2026, 3, 10)); }

    Execucao converte(const std::string& codigo, const std::string& data = "20260310") {
        const std::string erros = raiz / "erros.txt";
        const std::string comando = "cd '" + dados + "' && CONVERSOR_SEM_JANELA=1 CONVERSOR_DATA=" +
                                    data + " '" CONVERSOR_BIN "/conversor' CONVERTE_RETORNO " +
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

    std::vector<std::string> lidas(const std::string& nome) {
        return LINHAS_CRLF(LE_ARQUIVO(dados + "/" + nome));
    }

    int pdfs() const {
        int n = 0;
        for (const auto& e : fs::directory_iterator(dados)) {
            const std::string nome = e.path().filename();
            n += nome.rfind("ARQUIVO_RETORNO_VENDOR_", 0) == 0 && e.path().extension() == ".PDF";
        }
        return n;
    }

    // A run that went through: status 0 and its run log as a PDF file, or,
    // without a report engine, status 1 for the PDF alone.
    void confereSucesso(const Execucao& e) {
        if (pdfs() > 0) {
            EXPECT_EQ(e.status, 0) << e.erros;
            return;
        }
        EXPECT_EQ(e.status, 1) << e.erros;
        EXPECT_NE(e.erros.find("Arquivo: ARQUIVO_RETORNO_VENDOR_"), std::string::npos) << e.erros;
    }

    void pendente(const std::string& numped, const std::string& cgccli) {
        Tabela t;
        t.SetDatabaseName(dados);
        t.SetTableName("CONVEPEN.DBF");
        t.Open();
        t.Append();
        t.FieldByName("CODCLI").SetAsString("COFAP");
        t.FieldByName("NUMPED").SetAsString(numped);
        t.FieldByName("CGCCLI").SetAsString(cgccli);
        t.FieldByName("DTREMESSA").SetAsDate(CodificaData(2026, 3, 2));
        t.Post();
    }
};

void confereLarguras(const std::vector<std::string>& linhas, std::size_t largura) {
    for (const auto& l : linhas) EXPECT_EQ(l.size(), largura) << l;
}

// Bank header of a Vendor return: type, return marker, identification,
// company name, generation.
std::string headerBanco(const char* tipo, const char* ident, const char* nome, const char* geracao) {
    return LinhaFixa()
        .em(1, tipo).em(3, "20260310").em(12, "RETORNO").em(19, "VENDOR").em(36, ident)
        .em(56, nome).em(89, "BANCO QUOR S/A").em(118, geracao).em(124, "DADOS HEADER")
        .em(245, "000001");
}

}  // namespace

// Cofap: header, a "11" (control of the bank, not the client's), a "12" for a
// pending planilha, a "14" for a planilha never sent, trailer. Read 5,
// skipped 2, control 2, considered 1. The pending row gets the return date;
// the same return converted again is refused by its generation.
TEST_F(RetornoE2E, CofapPendenteEPlanilhaInexistente) {
    ALTERA_CLIENTE(dados, "COFAP", {{"ULTRETBAN", "0"}, {"ULTRETCLI", "999"}});
    pendente("00001234", "60701190000104");
    grava("RCOFAP.TXT",
          {headerBanco("10", "  QUORCOFAP", "COFAP CIA FABRICADORA DE PECAS", "000001"),
           LinhaFixa().em(1, "11").em(11, "00001234").em(57, "000000000050000").em(245, "000002"),
           // planilha, instalment 3, date 05/03/2026, value 123,45, paid 124,00
           LinhaFixa().em(1, "12").em(11, "00001234").em(42, "03").em(44, "20260305")
               .em(52, "000000000012345").em(91, "000000000012400").em(245, "000003"),
           LinhaFixa().em(1, "14").em(11, "00009999").em(42, "01").em(44, "20260301")
               .em(52, "20260309").em(62, "000000000020000").em(77, "000000000020000")
               .em(245, "000004"),
           // "11": 1 record, 500,00; "13": none; "14": 1 record, 200,00
           LinhaFixa().em(1, "19").em(3, "BANCO").em(11, "00001").em(16, "00000").em(21, "00001")
               .em(26, "00000").em(31, "00000").em(36, "000000000050000")
               .em(96, "000000000000000").em(111, "00001").em(116, "000000000020000")
               .em(245, "000005")});

    const Execucao e = converte("COFAP");
    confereSucesso(e);
    const std::vector<std::string> esperado = {
        // fixed (26), 11 zeros, 9 zeros, company name (30), "275", bank (15),
        // file date, "01600BPI", filler (283), generation (1 after 999), sequence
        "02RETORNO01COBRANCA       " "00000000000" "000000000" "COFAP CIA FABRICADORA DE PECAS"
        "275" "BANCO QUOR S/A " "100326" "01600BPI" + brancos(283) + "001" "000001",
        // "102", supplier CNPJ, identification (20), filler (10), buyer CNPJ of
        // the pending row, blank, 11 zeros, filler (34), "5", occurrence "02",
        // payment date, planilha (10), 11 zeros, filler (9), due date, value
        // 123,45 (13), "000", "00000", "NP", 13 zeros twice, 13 blanks, 13
        // zeros twice, discount, paid 124,00, interest, fine, filler (3),
        // payment date, filler (84), file date, generation, sequence
        "102" "11222333000181" "QUORCOFAP           " + brancos(10) + "60701190000104" " "
        "00000000000" + brancos(34) + "5" "02" "050326" "00001234  " "00000000000" + brancos(9) +
            "050326" "0000000012345" "000" "00000" "NP" + zeros(13) + zeros(13) + brancos(13) +
            zeros(13) + zeros(13) + "0000000000000" "0000000012400" "0000000000000"
            "0000000000000" + brancos(3) + "050326" + brancos(84) + "100326" "001" "000002",
        // "9", details (8), total paid (14), filler (8), 354 zeros, file date,
        // generation, sequence
        "9" "00000001" "00000000012400" + brancos(8) + zeros(354) + "100326" "001" "000003",
    };
    const auto linhas = lidas("COFAPRET.TXT");
    EXPECT_EQ(linhas, esperado);
    confereLarguras(linhas, 400);
    EXPECT_EQ(CAMPO_CLIENTE(dados, "COFAP", "ULTRETBAN"), "1");
    EXPECT_EQ(CAMPO_CLIENTE(dados, "COFAP", "ULTRETCLI"), "1");
    EXPECT_EQ(PENDENTES(dados), (std::vector<std::string>{
                                    "COFAP|00001234|60701190000104|02/03/2026|10/03/2026"}));

    // Again, the next day: generation 1 is no longer the one expected.
    const std::string antes = LE_ARQUIVO(dados + "/COFAPRET.TXT");
    const Execucao e2 = converte("COFAP", "20260311");
    EXPECT_EQ(e2.status, 1);
    EXPECT_NE(e2.erros.find("ARQUIVO RETORNO INFORMADO AO SISTEMA NãO CORRESPONTE AO ESPERADO.\n"
                            " Arquivo esperado : 2\nArquivo informado : 1"),
              std::string::npos)
        << e2.erros;
    EXPECT_EQ(LE_ARQUIVO(dados + "/COFAPRET.TXT"), antes);
    EXPECT_EQ(CAMPO_CLIENTE(dados, "COFAP", "ULTRETBAN"), "1");
    EXPECT_EQ(CAMPO_CLIENTE(dados, "COFAP", "ULTRETCLI"), "1");
    EXPECT_EQ(pdfs(), 1);
}

// Cofap "13" records carry their date at 42-49, over the instalment number,
// whose first digits (the century) then pass the instalment check. The "13"
// with situation "2" is a payment; the one with "1" is skipped and its
// pending row stays unanswered.
TEST_F(RetornoE2E, CofapRegistro13DatadoNaColuna42) {
    ALTERA_CLIENTE(dados, "COFAP", {{"ULTRETBAN", "0"}, {"ULTRETCLI", "0"}});
    pendente("00005678", "60701190000104");
    pendente("00005679", "60701190000104");
    grava("RCOFAP.TXT",
          {headerBanco("10", "  QUORCOFAP", "COFAP CIA FABRICADORA DE PECAS", "000001"),
           LinhaFixa().em(1, "13").em(11, "00005678").em(42, "20260307")
               .em(52, "000000000030000").em(67, "000000000000150").em(85, "2").em(245, "000002"),
           LinhaFixa().em(1, "13").em(11, "00005679").em(42, "20260308")
               .em(52, "000000000040000").em(85, "1").em(245, "000003"),
           LinhaFixa().em(1, "19").em(3, "BANCO").em(11, "00000").em(16, "00000").em(21, "00000")
               .em(26, "00000").em(31, "00002").em(36, "000000000000000")
               .em(96, "000000000070000").em(111, "00000").em(116, "000000000000000")
               .em(245, "000004")});

    const Execucao e = converte("COFAP");
    confereSucesso(e);
    const std::vector<std::string> esperado = {
        "02RETORNO01COBRANCA       " "00000000000" "000000000" "COFAP CIA FABRICADORA DE PECAS"
        "275" "BANCO QUOR S/A " "100326" "01600BPI" + brancos(283) + "001" "000001",
        // occurrence "09", payment and due date 07/03/2026, value = paid
        // 300,00, interest 1,50
        "102" "11222333000181" "QUORCOFAP           " + brancos(10) + "60701190000104" " "
        "00000000000" + brancos(34) + "5" "09" "070326" "00005678  " "00000000000" + brancos(9) +
            "070326" "0000000030000" "000" "00000" "NP" + zeros(13) + zeros(13) + brancos(13) +
            zeros(13) + zeros(13) + "0000000000000" "0000000030000" "0000000000150"
            "0000000000000" + brancos(3) + "070326" + brancos(84) + "100326" "001" "000002",
        "9" "00000001" "00000000030000" + brancos(8) + zeros(354) + "100326" "001" "000003",
    };
    EXPECT_EQ(lidas("COFAPRET.TXT"), esperado);
    EXPECT_EQ(PENDENTES(dados),
              (std::vector<std::string>{"COFAP|00005678|60701190000104|02/03/2026|10/03/2026",
                                        "COFAP|00005679|60701190000104|02/03/2026|"}));
}

// BR: branches 001 (configured, last generation 41) and 002 (not
// configured), converted on 8 December: one file per branch with the bank's
// header (the branch's generation in it), the branch's records as read and a
// trailer recomputed for the branch, numbered from 000001.
TEST_F(RetornoE2E, BRDuasFiliais) {
    ALTERA_CLIENTE(dados, "BR", {{"CONDETCP1", "001    41"}, {"ULTRETCLI", "5"}});
    const std::string header = headerBanco("10", "QUORBR", "BR DISTRIBUIDORA S.A.", "000077");
    // type, planilha, amount at 57 ("11", "21"), at 52 ("12", "22", "13"), at
    // 77 ("14"); branch at 242, the bank's sequence at 245
    const std::string r11 = LinhaFixa().em(1, "11").em(11, "PLAN0001").em(57, "000000000010000")
                                .em(242, "001").em(245, "000002");
    const std::string r12 = LinhaFixa().em(1, "12").em(11, "PLAN0002").em(52, "000000000005000")
                                .em(242, "002").em(245, "000003");
    const std::string r21 = LinhaFixa().em(1, "21").em(11, "PLAN0003").em(57, "000000000003000")
                                .em(242, "001").em(245, "000004");
    const std::string r13 = LinhaFixa().em(1, "13").em(11, "PLAN0004").em(52, "000000000002000")
                                .em(85, "2").em(242, "002").em(245, "000005");
    const std::string r14 = LinhaFixa().em(1, "14").em(11, "PLAN0005").em(77, "000000000001000")
                                .em(242, "001").em(245, "000006");
    const std::string trailer =
        LinhaFixa().em(1, "19").em(3, "BANCOQR1").em(11, "00001").em(16, "00001").em(21, "00001")
            .em(26, "00000").em(31, "00001").em(36, "000000000010000").em(51, "000000000003000")
            .em(66, "000000000005000").em(81, "000000000000000").em(96, "000000000002000")
            .em(111, "00001").em(116, "000000000001000").em(131, "DADOS DO BANCO NO TRAILLER")
            .em(245, "000007");
    grava("RBR.TXT", {header, r11, r12, r21, r13, r14, trailer});

    const Execucao e = converte("BR", "20261208");
    confereSucesso(e);
    // The bank's header with the generation in 118-123 and the sequence.
    auto headerFilial = [](const char* geracao) {
        return "10" "20260310" " " "RETORNO" "VENDOR" + brancos(11) + "QUORBR" + brancos(14) +
               "BR DISTRIBUIDORA S.A." + brancos(12) + "BANCO QUOR S/A" + brancos(15) + geracao +
               "DADOS HEADER" + brancos(109);
    };
    const std::vector<std::string> filial1 = {
        headerFilial("000042") + "000001",
        "11" + brancos(8) + "PLAN0001" + brancos(38) + "000000000010000" + brancos(170) + "001" +
            "000002",
        "21" + brancos(8) + "PLAN0003" + brancos(38) + "000000000003000" + brancos(170) + "001" +
            "000003",
        "14" + brancos(8) + "PLAN0005" + brancos(58) + "000000000001000" + brancos(150) + "001" +
            "000004",
        // "19" and the bank's 8 columns; counts of 11, 21, 12, 22, 13; totals
        // of 11, 21, 12, 22, 13; count and total of 14; bank columns 131-244
        "19" "BANCOQR1" "00001" "00001" "00000" "00000" "00000" "000000000010000"
        "000000000003000" "000000000000000" "000000000000000" "000000000000000" "00001"
        "000000000001000" "DADOS DO BANCO NO TRAILLER" + brancos(88) + "000005",
    };
    const std::vector<std::string> filial2 = {
        headerFilial("000001") + "000001",
        "12" + brancos(8) + "PLAN0002" + brancos(33) + "000000000005000" + brancos(175) + "002" +
            "000002",
        "13" + brancos(8) + "PLAN0004" + brancos(33) + "000000000002000" + brancos(18) + "2" +
            brancos(156) + "002" + "000003",
        "19" "BANCOQR1" "00000" "00000" "00001" "00000" "00001" "000000000000000"
        "000000000000000" "000000000005000" "000000000000000" "000000000002000" "00000"
        "000000000000000" "DADOS DO BANCO NO TRAILLER" + brancos(88) + "000004",
    };
    const auto l1 = lidas("R0812001.TXT");
    const auto l2 = lidas("R0812002.TXT");
    EXPECT_EQ(l1, filial1);
    EXPECT_EQ(l2, filial2);
    confereLarguras(l1, 250);
    confereLarguras(l2, 250);
    EXPECT_EQ(CAMPO_CLIENTE(dados, "BR", "ULTRETBAN"), "77");
    EXPECT_EQ(CAMPO_CLIENTE(dados, "BR", "ULTRETCLI"), "1");  // branch 002, the last one
    EXPECT_EQ(CAMPO_CLIENTE(dados, "BR", "CONDETCP1").substr(0, 9), "001    42");

    // Converted again: branch 001 moves on, 002 stays at 1.
    confereSucesso(converte("BR", "20261208"));
    EXPECT_EQ(lidas("R0812001.TXT").at(0).substr(117, 6), "000043");
    EXPECT_EQ(lidas("R0812002.TXT").at(0).substr(117, 6), "000001");
}

// Wabco: consignment header "40", a "41" passed over, two payment records
// and the "49" trailer; any generation is accepted and stored.
TEST_F(RetornoE2E, WabcoPagamentos) {
    ALTERA_CLIENTE(dados, "WABCO", {{"NUMPROGOP", "7"}, {"ULTRETBAN", "3"}, {"ULTRETCLI", "4"}});
    grava("RWABCO.TXT",
          {headerBanco("40", "QUORWABCO", "WABCO FREIOS LTDA", "000555"),
           LinhaFixa().em(1, "41").em(11, "999999").em(30, "000000000099999").em(245, "000002"),
           "",  // no payment
           LinhaFixa().em(1, "42").em(11, "123456").em(30, "000000000001234").em(245, "000003"),
           LinhaFixa().em(1, "42").em(11, "000077").em(30, "000000123456789").em(245, "000004"),
           LinhaFixa().em(1, "49").em(245, "000005")});
    const Execucao e = converte("WABCO");
    confereSucesso(e);
    // consignor (3), planilha (6), "567", "00000", amount paid (11)
    EXPECT_EQ(lidas("WABCORET.TXT"), (std::vector<std::string>{
                                         "007" "123456" "567" "00000" "00000001234",
                                         "007" "000077" "567" "00000" "00123456789",
                                     }));
    EXPECT_EQ(CAMPO_CLIENTE(dados, "WABCO", "ULTRETBAN"), "555");
    EXPECT_EQ(CAMPO_CLIENTE(dados, "WABCO", "ULTRETCLI"), "0");
}

// A trailer that disagrees with the records: the message with both sides,
// nothing written, no run log, the tables as they were.
TEST_F(RetornoE2E, TotaisDoTraillerNaoBatem) {
    grava("RBR.TXT",
          {headerBanco("10", "QUORBR", "BR DISTRIBUIDORA S.A.", "000001"),
           LinhaFixa().em(1, "11").em(57, "000000000005000").em(242, "001"),
           LinhaFixa().em(1, "11").em(57, "000000000005000").em(242, "001"),
           LinhaFixa().em(1, "19").em(11, "00003").em(36, "000000000010000")});
    const Execucao e = converte("BR");
    EXPECT_EQ(e.status, 1);
    // Totals in the picture "@E 999,999,999,999.99" (18 columns), counts in
    // "@E 99,999" (6 columns).
    EXPECT_NE(e.erros.find("TOTAL INFORMADO NO TRAILLER NÃO BATE COM O OBTIDO NA LEITURA.\n"
                           "Reg. 11 - Total informado : " + brancos(12) + "100,00 - " + brancos(5) +
                           "3\n" "               Total lido : " + brancos(12) + "100,00 - " +
                           brancos(5) + "2\nReg. 13 - Total informado : " + brancos(14) + "0,00"),
              std::string::npos)
        << e.erros;
    EXPECT_FALSE(fs::exists(dados + "/R1003001.TXT"));
    EXPECT_EQ(pdfs(), 0);
    EXPECT_EQ(CAMPO_CLIENTE(dados, "BR", "ULTRETBAN"), "0");
}
