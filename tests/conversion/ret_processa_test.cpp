// The return conversion run in process, with a scripted person: the
// questions and the client-code loop, the run log, the branch codes that
// cannot name a file, and the runs that must end leaving files and tables as
// they were.

#include <gtest/gtest.h>

#include <filesystem>

#include "conversion/remessa_apoio.h"
#include "conversion/ret_processa.h"
#include "core/dados/tdmquor.h"
#include "core/texto/ansi.h"
#include "report/toprint.h"
#include "support/geral_teste.h"
#include "tabela/tabela.h"

namespace {

namespace fs = std::filesystem;

TData hoje() { return CodificaData(2026, 3, 10); }

std::string header(const char* tipo, const char* ident, const char* geracao) {
    return LinhaFixa().em(1, tipo).em(12, "RETORNO").em(36, ident).em(56, "NOME DO BANCO")
        .em(118, geracao);
}

// A BR record "12" (outside the trailer check) of a branch.
std::string br12(const std::string& filial) {
    return LinhaFixa().em(1, "12").em(52, "000000000001000").em(242, filial);
}

std::string trailerVazio() { return LinhaFixa().em(1, "19").em(11, "00000"); }

class RetornoRun : public ::testing::Test {
protected:
    GeralDeTeste g{hoje()};
    DiretorioDeTrabalho d;
    std::unique_ptr<MotorRelatorio> motorAnterior;
    MotorGuardaRelatorios* motor = nullptr;

    void SetUp() override {
        auto m = std::make_unique<MotorGuardaRelatorios>();
        motor = m.get();
        motorAnterior = InstalaMotorDeRelatorio(std::move(m));
        DADOS_DE_EXEMPLO(".", hoje());
    }
    void TearDown() override { InstalaMotorDeRelatorio(std::move(motorAnterior)); }

    std::vector<std::string> mensagens() {
        std::vector<std::string> r;
        for (const auto& m : g.dialogo().mensagens) r.push_back(m.texto);
        return r;
    }
    void pendente(const std::string& numped) {
        Tabela t;
        t.SetTableName("CONVEPEN.DBF");
        t.Open();
        t.Append();
        t.FieldByName("CODCLI").SetAsString("COFAP");
        t.FieldByName("NUMPED").SetAsString(numped);
        t.FieldByName("CGCCLI").SetAsString("60701190000104");
        t.Post();
    }
    // Only the tables and the files the test wrote; no log.
    void confereNadaGravado(const std::vector<std::string>& arquivosDoTeste) {
        std::vector<std::string> esperado = {"CONVECLI.CDX", "CONVECLI.DBF", "CONVEINS.DBF",
                                             "CONVEPEN.CDX", "CONVEPEN.DBF", "CONVETAX.CDX",
                                             "CONVETAX.DBF", "COPIA",        "TEMP"};
        esperado.insert(esperado.end(), arquivosDoTeste.begin(), arquivosDoTeste.end());
        std::sort(esperado.begin(), esperado.end());
        EXPECT_EQ(ENTRADAS(), esperado);
        EXPECT_TRUE(motor->pdfs.empty());
        EXPECT_EQ(oPRINT, nullptr);
    }
};

}  // namespace

TEST_F(RetornoRun, CodigoDoClientePerguntadoAteSerValidoOuCancelado) {
    ALTERA_CLIENTE(".", "WABCO", {{"ARQRETBAN", ""}});
    auto& dl = g.dialogo();
    dl.respostasCodigo = {"   ", "NAOEXISTE", "CELPAV", "WABCO", std::nullopt};
    VEN_CONVRETORNO("", false);
    EXPECT_EQ(mensagens(),
              (std::vector<std::string>{
                  "CÓDIGO DO CLIENTE NÃO FOI INFORMADO."_ansi,
                  "CÓDIGO DO CLIENTE INFORMADO NÃO LOCALIZADO NA TABELA.\r\nCódigo informado : NAOEXISTE"_ansi,
                  "CLIENTE INFORMADO NÃO TEM TIPO DE ARQUIVO DEFINIDO."_ansi,
                  "NOME DO ARQUIVO RETORNO DO BANCO AINDA NÃO INFORMADO."_ansi}));
    ASSERT_EQ(dl.titulosCodigoCliente.size(), 5u);
    EXPECT_EQ(dl.titulosCodigoCliente[0], "Leitura do Arquivo Retorno de Vendor - Conversão"_ansi);
    ASSERT_EQ(dl.perguntas.size(), 1u);
    EXPECT_EQ(dl.perguntas[0].titulo, "Confirma Leitura do Arquivo Retorno ? ");
    EXPECT_FALSE(DMQUOR().TBCONVECLI.Active());

    // From the menu with a valid code: the second question, answered No.
    dl.mensagens.clear();
    dl.perguntas.clear();
    GRAVA_ARQUIVO_TESTE("RBR.TXT", ARQUIVO_CRLF({header("10", "", "000001"), trailerVazio()}));
    dl.respostasCodigo = {"BR"};
    dl.respostasSimNao = {true, false};
    VEN_CONVRETORNO("", false);
    ASSERT_EQ(dl.perguntas.size(), 2u);
    EXPECT_EQ(dl.perguntas[1].texto, "Confirma LEITURA do Arquivo Retorno de Vendor ? ");
    EXPECT_EQ(dl.perguntas[1].titulo, "Confirme");
    EXPECT_TRUE(mensagens().empty());
    confereNadaGravado({"RBR.TXT"});
}

// Every way a run ends before its pass: a message, no file, no log, the
// client record as it was.
TEST_F(RetornoRun, ArquivoDoBancoRecusadoNaoMudaNada) {
    ALTERA_CLIENTE(".", "COFAP", {{"ULTRETBAN", "41"}});
    struct Caso {
        const char* codigo;
        std::vector<std::string> linhas;  // none: no file at all
        std::string mensagem;
    };
    const std::string bom = header("10", "QUORCOFAP", "000042");
    const Caso casos[] = {
        {"COFAP", {}, "ARQUIVO RETORNO DO BANCO NÃO ENCONTRADO : RCOFAP.TXT"_ansi},
        {"COFAP", {""}, "ARQUIVO RETORNO DO BANCO SEM O REGISTRO HEADER."},
        {"WABCO", {header("10", "", "000001")}, "ARQUIVO RETORNO DO BANCO SEM O REGISTRO HEADER."},
        {"BR", {LinhaFixa().em(1, "10").em(12, "REMESSA")},
         "ARQUIVO LIDO NÃO IDENTIFICADO COMO RETORNO PELO HEADER."_ansi},
        {"COFAP", {header("10", "QUORCOFAP", "000041")},
         "ARQUIVO RETORNO INFORMADO AO SISTEMA NãO CORRESPONTE AO ESPERADO.\r\n Arquivo esperado : "
         "42\r\nArquivo informado : 41"_ansi},
        {"COFAP", {bom, LinhaFixa().em(1, "13").em(52, "000000000001000")},
         "ARQUIVO RETORNO DO BANCO SEM O REGISTRO TRAILLER."},
    };
    for (const Caso& c : casos) {
        g.dialogo().mensagens.clear();
        const std::string arquivo = std::string("R") + c.codigo + ".TXT";
        fs::remove(arquivo);
        if (!c.linhas.empty()) GRAVA_ARQUIVO_TESTE(arquivo, ARQUIVO_CRLF(c.linhas));
        VEN_CONVRETORNO(c.codigo, true);
        EXPECT_EQ(mensagens(), std::vector<std::string>{c.mensagem}) << c.codigo;
        confereNadaGravado(c.linhas.empty() ? std::vector<std::string>{}
                                            : std::vector<std::string>{arquivo});
        fs::remove(arquivo);
    }
    GRAVA_ARQUIVO_TESTE("RCOFAP.TXT", "");
    VEN_CONVRETORNO("COFAP", true);
    EXPECT_EQ(mensagens().back(), "ARQUIVO RETORNO DO BANCO ESTÁ VAZIO : RCOFAP.TXT"_ansi);
    EXPECT_EQ(CAMPO_CLIENTE(".", "COFAP", "ULTRETBAN"), "41");
    EXPECT_EQ(CAMPO_CLIENTE(".", "COFAP", "ULTRETCLI"), "0");

    // The client's file named as the bank's would overwrite what it is read from.
    ALTERA_CLIENTE(".", "WABCO", {{"ARQRETCLI", "rwabco"}});
    GRAVA_ARQUIVO_TESTE("RWABCO.TXT", ARQUIVO_CRLF({header("40", "", "000001"), "49"}));
    VEN_CONVRETORNO("WABCO", true);
    EXPECT_EQ(mensagens().back(), "O ARQUIVO RETORNO DO CLIENTE E O DO BANCO TÊM O MESMO NOME "
                                  "(RWABCO.TXT). CORRIJA O CADASTRO DO CLIENTE."_ansi);
}

// The log of a Cofap run: the heading with the generation read, a record
// with two irregularities (the first beside its planilha, kind and
// instalment, the second under it), a "14" without pending row ("PREVIA"),
// the totals. Nothing is accepted: no client file, the generations stay.
TEST_F(RetornoRun, RelatorioCofapSemNenhumaParcelaAceita) {
    GRAVA_ARQUIVO_TESTE(
        "RCOFAP.TXT",
        ARQUIVO_CRLF({header("10", "QUORCOFAP", "000001"),
                      // "./" is a blank planilha number, as every blank field
                      LinhaFixa().em(1, "12").em(11, "./").em(52, "000000000001000"),
                      LinhaFixa().em(1, "14").em(11, "00009999").em(42, "07"),
                      LinhaFixa().em(1, "13").em(11, "00001111").em(42, "01").em(85, "1"),
                      LinhaFixa().em(1, "19").em(31, "00001").em(111, "00001")}));
    VEN_CONVRETORNO("COFAP", true);
    ASSERT_EQ(motor->pdfs.size(), 1u);
    EXPECT_EQ(motor->pdfs[0].first, "ARQUIVO_RETORNO_VENDOR_20260310_123456.PDF");
    const auto p = LINHAS_PAGINA(motor->pdfs[0].second, 0);
    ASSERT_EQ(p.size(), 16u);
    EXPECT_EQ(p.at(1), BRANCOS(47) + "LEITURA DO RETORNO DO BANCO - VENDOR");
    const std::string titulo =
        "Le Banco / Grava Cliente - Hora : 12:34:56Arquivo Retorno do Banco   : RCOFAP.TXT"
        " - Geração lida : 1"_ansi;
    EXPECT_EQ(p.at(3).substr(0, titulo.size() + 1), titulo + " ");
    const std::string m = BRANCOS(35);
    EXPECT_EQ(std::vector<std::string>(p.begin() + 5, p.end()),
              (std::vector<std::string>{
                  "                Tipo  de",
                  "No. Planilha    registro   Parcela  Irregularidades",
                  "------------    --------   -------  ---------------",
                  "./" + BRANCOS(15) + "INVALIDO     0    " + "NÚMERO DA PLANILHA NÃO INFORMADO."_ansi,
                  m + "NÚMERO DA PARCELA NÃO INFORMADO."_ansi,
                  "00009999" + BRANCOS(9) + "PREVIA       7    PLANILHA INEXISTENTE NO REMESSAS PENDENTES.",
                  "",
                  "                 Total de Registros Lidos : 5",
                  "           Total de Registros Desprezados : 3",
                  "           Total de Registros de controle : 2",
                  "          Total de Registros Considerados : 0",
              }));
    EXPECT_TRUE(mensagens().empty());
    EXPECT_FALSE(fs::exists("COFAPRET.TXT"));
    EXPECT_EQ(CAMPO_CLIENTE(".", "COFAP", "ULTRETBAN"), "0");
}

// A Cofap client file that cannot be written: the writer's message, and
// then neither the generations nor the pending rows move, so the same return
// is accepted again once the directory exists.
TEST_F(RetornoRun, ArquivoDoClienteNaoGravadoNaoAvancaGeracoes) {
    ALTERA_CLIENTE(".", "COFAP", {{"ARQRETCLI", "SAIDA/COFAPRET"}});
    pendente("00001234");
    GRAVA_ARQUIVO_TESTE(
        "RCOFAP.TXT",
        ARQUIVO_CRLF({header("10", "QUORCOFAP", "000001"),
                      LinhaFixa().em(1, "13").em(11, "00001234").em(42, "20260305")
                          .em(52, "000000000001000").em(85, "2"),
                      LinhaFixa().em(1, "19").em(31, "00001").em(96, "000000000001000")}));
    VEN_CONVRETORNO("COFAP", true);
    ASSERT_EQ(mensagens().size(), 1u);
    EXPECT_NE(mensagens()[0].find("Nome do arquivo : SAIDA/COFAPRET.TXT"), std::string::npos);
    EXPECT_EQ(CAMPO_CLIENTE(".", "COFAP", "ULTRETBAN"), "0");
    EXPECT_EQ(CAMPO_CLIENTE(".", "COFAP", "ULTRETCLI"), "0");
    EXPECT_EQ(PENDENTES(".").at(0), "COFAP|00001234|60701190000104||");

    fs::create_directory("SAIDA");
    g.dialogo().mensagens.clear();
    VEN_CONVRETORNO("COFAP", true);
    EXPECT_TRUE(mensagens().empty());
    const auto linhas = LINHAS_CRLF(LE_ARQUIVO("SAIDA/COFAPRET.TXT"));
    ASSERT_EQ(linhas.size(), 3u);
    // A "13" taken: occurrence 09, its date, amount paid equal to the value.
    EXPECT_EQ(linhas[1].substr(108, 8), "09050326");
    EXPECT_EQ(linhas[1].substr(152, 13), "0000000001000");
    EXPECT_EQ(linhas[1].substr(253, 13), "0000000001000");
    EXPECT_EQ(CAMPO_CLIENTE(".", "COFAP", "ULTRETBAN"), "1");
    EXPECT_EQ(PENDENTES(".").at(0), "COFAP|00001234|60701190000104||10/03/2026");
}

// Branch codes come from the bank's file. One with a directory separator or
// a control character, or one that differs from another only in letter
// case, gets no file and a line in the log; the other branches are
// converted, and the run ends with an error message naming the refused ones.
TEST_F(RetornoRun, FilialQueNaoPodeNomearArquivoERecusada) {
    fs::create_directory("R1003");
    const std::string controle = std::string("0") + '\x01' + "2";
    GRAVA_ARQUIVO_TESTE("RBR.TXT", ARQUIVO_CRLF({header("10", "", "000009"), br12("001"),
                                                  br12("/AB"), br12(controle), br12("abc"),
                                                  br12("ABC"), trailerVazio()}));
    VEN_CONVRETORNO("BR", true);
    EXPECT_TRUE(fs::exists("R1003001.TXT"));
    EXPECT_TRUE(fs::exists("R1003abc.TXT"));
    EXPECT_TRUE(fs::is_empty("R1003"));
    // tables, sample directories, bank file, R1003, two files
    EXPECT_EQ(ENTRADAS().size(), 7u + 2 + 1 + 1 + 2);

    const std::string recusas[] = {
        "FILIAL /AB SEM ARQUIVO RETORNO: O CÓDIGO DA FILIAL CONTÉM UM SEPARADOR DE DIRETÓRIO. "
        "NENHUM ARQUIVO FOI GRAVADO PARA ELA."_ansi,
        "FILIAL 0[01]2 SEM ARQUIVO RETORNO: O CÓDIGO DA FILIAL CONTÉM UM CARACTERE DE CONTROLE. "
        "NENHUM ARQUIVO FOI GRAVADO PARA ELA."_ansi,
        "FILIAL ABC SEM ARQUIVO RETORNO: O ARQUIVO R1003ABC.TXT JÁ FOI GRAVADO PARA OUTRA FILIAL "
        "NESTA CONVERSÃO. NENHUM ARQUIVO FOI GRAVADO PARA ELA."_ansi,
    };
    ASSERT_EQ(g.dialogo().mensagens.size(), 1u);
    EXPECT_EQ(g.dialogo().mensagens[0].tipo, somERRO);
    EXPECT_EQ(mensagens()[0], recusas[0] + "\r\n" + recusas[1] + "\r\n" + recusas[2] + "\r\n");

    ASSERT_EQ(motor->pdfs.size(), 1u);
    std::vector<std::string> log;
    for (std::size_t i = 0; i < motor->pdfs[0].second.paginas.size(); ++i)
        for (const auto& l : LINHAS_PAGINA(motor->pdfs[0].second, i)) log.push_back(l);
    for (const std::string& r : recusas)
        EXPECT_NE(std::find(log.begin(), log.end(), r), log.end()) << r;
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "Arquivo Retorno do Cliente : R1003001.TXT - Geração gravada : 1"_ansi),
              log.end());
    EXPECT_EQ(log.back(), BRANCOS(10) + "      Total de Filiais gravadas : 2");
    EXPECT_EQ(CAMPO_CLIENTE(".", "BR", "ULTRETBAN"), "9");
}

// A bank file of two batches (header, details, trailer, twice): each branch
// file keeps both batches, each trailer counting its own batch, numbered
// through, with one generation for the file. A branch whose records come
// after the last trailer gets no file.
TEST_F(RetornoRun, BRComDoisLotesGuardaOsDoisNoArquivoDaFilial) {
    ALTERA_CLIENTE(".", "BR", {{"CONDETCP1", "001     5"}});
    GRAVA_ARQUIVO_TESTE("RBR.TXT", ARQUIVO_CRLF({header("10", "", "000003"), br12("001"),
                                                  trailerVazio(), header("10", "", "000003"),
                                                  br12("001"), br12("001"), br12("002"),
                                                  trailerVazio(), br12("003")}));
    VEN_CONVRETORNO("BR", true);
    const auto l = LINHAS_CRLF(LE_ARQUIVO("R1003001.TXT"));
    ASSERT_EQ(l.size(), 7u);
    for (std::size_t i = 0; i < l.size(); ++i)
        EXPECT_EQ(l[i].substr(244), "00000" + std::to_string(i + 1));
    EXPECT_EQ(l[0].substr(117, 6), "000006");
    EXPECT_EQ(l[3].substr(117, 6), "000006");
    // Count and total of the "12" records of each batch (columns 21-25, 66-80).
    EXPECT_EQ(l[2].substr(20, 5) + l[2].substr(65, 15), "00001000000000001000");
    EXPECT_EQ(l[6].substr(20, 5) + l[6].substr(65, 15), "00002000000000002000");
    EXPECT_EQ(LINHAS_CRLF(LE_ARQUIVO("R1003002.TXT")).size(), 5u);
    EXPECT_FALSE(fs::exists("R1003003.TXT"));
    ASSERT_EQ(mensagens().size(), 1u);
    EXPECT_NE(mensagens()[0].find("FILIAL 003 SEM ARQUIVO RETORNO: H"), std::string::npos);
    EXPECT_EQ(CAMPO_CLIENTE(".", "BR", "CONDETCP1").substr(0, 9), "001     6");
}
