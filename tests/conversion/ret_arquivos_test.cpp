// The bank return file's checks and the client records built from it, on
// their own: header checks, totals of several trailers, the branch list, and
// the Cofap record of a "14" field by field.

#include <gtest/gtest.h>

#include "conversion/remessa_apoio.h"
#include "conversion/ret_arquivo_banco.h"
#include "conversion/ret_arquivo_cliente.h"
#include "core/texto/ansi.h"
#include "support/geral_teste.h"

namespace {

std::string headerCofap(const std::string& ident, const char* geracao) {
    return LinhaFixa().em(1, "10").em(12, "RETORNO").em(36, ident).em(118, geracao);
}

std::string trailer(const char* qtd11, const char* total11, const char* qtd14 = "00000",
                    const char* total14 = "000000000000000") {
    return LinhaFixa().em(1, "19").em(11, qtd11).em(31, "00000").em(36, total11)
        .em(96, "000000000000000").em(111, qtd14).em(116, total14);
}

}  // namespace

TEST(RetornoBanco, HeaderConferidoNaOrdem) {
    // Identification with blanks around it, expected generation: passes.
    EXPECT_EQ(ConfereHeaderDoRetorno(headerCofap("   QUORCOFAP", "000042"), "1", "QUORCOFAP", 42), "");
    EXPECT_EQ(ConfereHeaderDoRetorno(headerCofap("QUORCOFAP", "000042"), "1", "QUORCOFAP", 1),
              "ARQUIVO RETORNO INFORMADO AO SISTEMA NãO CORRESPONTE AO ESPERADO.\r\n Arquivo "
              "esperado : 1\r\nArquivo informado : 42"_ansi);
    EXPECT_EQ(ConfereHeaderDoRetorno(headerCofap("OUTRA", "000042"), "1", "QUORCOFAP", 42),
              "IDENTIFICAÇÃO DA EMPRESA NÃO BATE COM O INFORMADO NO HEADER.\r\nInformado no "
              "Header : OUTRA               \r\nTabela de Clientes - Identificação : QUORCOFAP"_ansi);
    // BR and Wabco compare neither; Wabco's header is "40".
    EXPECT_EQ(ConfereHeaderDoRetorno(headerCofap("OUTRA", "000007"), "2", "QUORBR", 1), "");
    EXPECT_EQ(ConfereHeaderDoRetorno(headerCofap("OUTRA", "000007"), "4", "QUORWABCO", 1),
              "ARQUIVO RETORNO DO BANCO SEM O REGISTRO HEADER.");
    EXPECT_EQ(GeracaoDoHeader(headerCofap("", "000007")), 7);
}

TEST(RetornoBanco, TraillersSomadosEComparadosComOsRegistros) {
    const std::string r11 = LinhaFixa().em(1, "11").em(57, "000000000005000");
    const std::string r14 = LinhaFixa().em(1, "14").em(77, "000000000000123");
    // Two trailers, each for part of the file.
    EXPECT_EQ(ConfereTotaisDoRetorno(LeTotaisDoRetorno(
                  {headerCofap("", "1"), r11, trailer("00001", "000000000005000"), r11, r14,
                   trailer("00001", "000000000005000", "00001", "000000000000123")},
                  false)),
              "");
    EXPECT_EQ(ConfereTotaisDoRetorno(LeTotaisDoRetorno({headerCofap("", "1"), r11, r11}, false)),
              "ARQUIVO RETORNO DO BANCO SEM O REGISTRO TRAILLER.");
    // Wabco's "49" informs nothing: it passes only without "11", "13", "14".
    EXPECT_EQ(ConfereTotaisDoRetorno(LeTotaisDoRetorno({"40", "42", "49"}, false)), "");
    EXPECT_NE(ConfereTotaisDoRetorno(LeTotaisDoRetorno({"40", r11, "49"}, false)), "");
}

// More records than the message's pictures hold: the difference is still
// found, and the message shows the numbers instead of asterisks.
TEST(RetornoBanco, ContagensAlemDaFiguraAindaDiferem) {
    std::vector<std::string> linhas = {headerCofap("", "1")};
    const std::string r13 = LinhaFixa().em(1, "13").em(52, "000000000000001");
    linhas.insert(linhas.end(), 100001, r13);
    for (int i = 0; i < 2; ++i)  // 2 x 50,000 = 100,000 informed
        linhas.push_back(LinhaFixa().em(1, "19").em(31, "50000").em(96, "000000000050000"));
    const std::string m = ConfereTotaisDoRetorno(LeTotaisDoRetorno(linhas, false));
    EXPECT_NE(m.find("Reg. 13 - Total informado : " + BRANCOS(10) + "1.000,00 -     100.000\r\n" +
                     "               Total lido : " + BRANCOS(10) + "1.000,01 -     100.001"),
              std::string::npos)
        << m;
    EXPECT_EQ(m.find('*'), std::string::npos);
}

TEST(RetornoBanco, FiliaisNaOrdemDaPrimeiraAparicao) {
    auto det = [](const char* f) { return LinhaFixa().em(1, "12").em(242, f).str(); };
    const auto t = LeTotaisDoRetorno({LinhaFixa().em(1, "10").em(242, "999"), det("001"), det("002"),
                                 "", det("001"), LinhaFixa().em(1, "19").em(242, "888")},
                                true);
    EXPECT_EQ(t.filiais, (std::vector<std::string>{"001", "002"}));
}

// A "14" (payment after due date) in Cofap's record: both dates, the value,
// paid, discount, interest and fine each in its own columns.
TEST(RetornoCliente, ParcelaCofapDeUmRegistro14) {
    GeralDeTeste g(CodificaData(2026, 3, 10));
    const std::string r = LinhaFixa()
        .em(1, "14").em(11, "00004321").em(42, "02").em(44, "20260228").em(52, "20260305")
        .em(62, "000000000100000").em(77, "000000000101550").em(92, "000000000001000")
        .em(107, "000000000000800").em(122, "000000000000250");
    const TvenPARCELACOFAP p = LeParcelaCofap(r);
    const TvenDADOSCOFAP d{"11222333000181", "QUORCOFAP", "NOME", CodificaData(2026, 3, 10), 7};
    const TvenREGRETORNO reg = ParcelaCofap(d, p, "60701190000104");
    ASSERT_TRUE(reg.falhas.empty());
    const std::string& c = reg.conteudo;
    ASSERT_EQ(c.size(), 394u);
    EXPECT_EQ(c.substr(108, 2), "06");                 // occurrence
    EXPECT_EQ(c.substr(110, 6), "050326");             // payment date
    EXPECT_EQ(c.substr(116, 10), "00004321  ");        // planilha
    EXPECT_EQ(c.substr(146, 6), "280226");             // due date
    EXPECT_EQ(c.substr(152, 13), "0000000100000");     // value
    EXPECT_EQ(c.substr(240, 13), "0000000000250");     // discount
    EXPECT_EQ(c.substr(253, 13), "0000000101550");     // paid
    EXPECT_EQ(c.substr(266, 13), "0000000001000");     // late interest
    EXPECT_EQ(c.substr(279, 13), "0000000000800");     // fine
    EXPECT_EQ(c.substr(391, 3), "007");                // generation

    // Fifteen digits in the bank's field, thirteen in the client's.
    const TvenREGRETORNO grande =
        ParcelaCofap(d, LeParcelaCofap(LinhaFixa().em(1, "12").em(11, "1").em(42, "01")
                                                    .em(91, "123456789012345")),
                         "60701190000104");
    EXPECT_EQ(grande.falhas,
              std::vector<std::string>{"O ARQUIVO DO CLIENTE NÃO COMPORTA O VALOR PAGO: 123456789012345"_ansi});
}
