// The remittance conversion run in process, with a scripted person: the
// questions and their loops, the register checks, the run log, and the runs
// that must end leaving files and tables as they were.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>

#include "conversion/rem_processa.h"
#include "conversion/remessa_apoio.h"
#include "core/arquivos/erro_arquivo.h"
#include "core/dados/tdmquor.h"
#include "core/texto/ansi.h"
#include "report/toprint.h"
#include "support/geral_teste.h"

namespace {

namespace fs = std::filesystem;

TData hoje() { return CodificaData(2026, 3, 10); }

std::string cofap(const std::string& planilha, const std::string& cnpj,
                  const std::string& principal = "100,00", const std::string& inicio = "20260301") {
    return LinhaFixa().em(3, planilha).em(13, cnpj).em(148, inicio).em(156, "20260415")
        .em(176, "01,500").em(182, principal);
}

class RemessaRun : public ::testing::Test {
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
    // Nothing written, nothing stored; a log only when the run got as far
    // as its totals.
    void confereNadaMudou(const std::string& codigo, const std::string& arquivoBanco,
                          std::size_t logs = 0) {
        EXPECT_FALSE(fs::exists(arquivoBanco));
        EXPECT_TRUE(PENDENTES(".").empty());
        EXPECT_EQ(CAMPO_CLIENTE(".", codigo, "ULTREMBAN"), "0");
        EXPECT_EQ(CAMPO_CLIENTE(".", codigo, "ULTREMCLI"), "0");
        EXPECT_EQ(motor->pdfs.size(), logs);
        for (const auto& e : fs::directory_iterator("."))
            EXPECT_NE(e.path().filename().string()[0], '.') << e.path();
    }
};

}  // namespace

TEST_F(RemessaRun, CodigoDoClientePerguntadoAteSerValidoOuCancelado) {
    GRAVA_ARQUIVO_TESTE("COFAPREM.TXT", ARQUIVO_CRLF({cofap("00000001", "11222333000181")}));
    auto& dl = g.dialogo();
    dl.respostasCodigo = {"   ", "NAOEXISTE", "ACME240", std::nullopt};
    VEN_CONVREMESSA("", false);
    EXPECT_EQ(mensagens(), (std::vector<std::string>{
                               "CÓDIGO DO CLIENTE NÃO FOI INFORMADO."_ansi,
                               "CODIGO DO CLIENTE INFORMADO NÃO LOCALIZADO NA TABELA."_ansi,
                               "CLIENTE INFORMADO NÃO TEM TIPO DE ARQUIVO DEFINIDO."_ansi}));
    EXPECT_EQ(dl.titulosCodigoCliente.size(), 4u);
    EXPECT_EQ(dl.titulosCodigoCliente[0], "Leitura do Arquivo Remessa de Vendor - Conversão"_ansi);
    ASSERT_EQ(dl.perguntas.size(), 1u);
    EXPECT_EQ(dl.perguntas[0].titulo, "Confirma Leitura do Arquivo Remessa ? ");
    EXPECT_EQ(dl.perguntas[0].texto.substr(0, 30), "    Esta funcao ira efetuar a ");
    confereNadaMudou("COFAP", "VCOFAP.TXT");
    EXPECT_FALSE(DMQUOR().TBCONVECLI.Active());

    // From the menu, a valid code: the second question, then the run.
    dl.mensagens.clear();
    dl.perguntas.clear();
    dl.respostasCodigo = {"COFAP"};
    VEN_CONVREMESSA("", false);
    ASSERT_EQ(dl.perguntas.size(), 2u);
    EXPECT_EQ(dl.perguntas[1].texto, "Confirma LEITURA do Arquivo Remessa do cliente ? ");
    EXPECT_EQ(dl.perguntas[1].titulo, "Confirme");
    EXPECT_TRUE(fs::exists("VCOFAP.TXT"));

    // A wrong code on the command line is asked again in the window; no
    // question is asked.
    dl.perguntas.clear();
    dl.respostasCodigo = {"COFAP"};
    VEN_CONVREMESSA("cofap", true);
    EXPECT_TRUE(dl.perguntas.empty());
    EXPECT_EQ(CAMPO_CLIENTE(".", "COFAP", "ULTREMBAN"), "2");
}

TEST_F(RemessaRun, CadastroIncompletoOuArquivoAusenteEncerram) {
    struct Caso {
        const char* codigo;
        std::pair<std::string, std::string> campo;
        std::string mensagem;
    };
    const Caso casos[] = {
        {"COFAP", {"ARQREMBAN", ""}, "NOME DO ARQUIVO REMESSA DO BANCO AINDA NAO INFORMADO"},
        {"BR", {"ARQREMCLI", ""}, "NOME DO ARQUIVO REMESSA DO CLIENTE AINDA NAO INFORMADO"},
        {"CELPAV", {"NUMPROGOP", "0"}, "PROGRAMA OPERACIONAL DO CLIENTE AINDA NAO INFORMADO"},
        {"WABCO", {"NUMPROGOP", "0"}, "CODIGO DA EMPRESA CONSIGNANTE AINDA NAO INFORMADO"},
        {"COFAP", {"ATIVICLI", "0"}, "CODIGO DA ATIVIDADE DO CLIENTE AINDA NAO INFORMADO"},
        {"WABCO", {"ATIVICLI", "0"}, "ARQUIVO REMESSA DO CLIENTE AINDA NAO DISPONIVEL NO MOMENTO"},
        {"BR", {"ARQREMCLI", "VAZIO"}, "ARQUIVO REMESSA DO CLIENTE ESTÁ VAZIO : VAZIO.TXT"_ansi},
        {"BR", {"ARQREMCLI", "SEMHEADER"}, "ARQUIVO REMESSA DO CLIENTE SEM REGISTRO HEADER"},
        {"BR", {"ARQREMCLI", "vbr"},
         "O ARQUIVO REMESSA DO BANCO E O DO CLIENTE TÊM O MESMO NOME (vbr.TXT). CORRIJA O "
         "CADASTRO DO CLIENTE."_ansi},
    };
    GRAVA_ARQUIVO_TESTE("VAZIO.TXT", "");
    GRAVA_ARQUIVO_TESTE("SEMHEADER.TXT", ARQUIVO_CRLF({"01", "09"}));
    for (const Caso& c : casos) {
        const std::string antes = CAMPO_CLIENTE(".", c.codigo, c.campo.first);
        ALTERA_CLIENTE(".", c.codigo, {c.campo});
        g.dialogo().mensagens.clear();
        VEN_CONVREMESSA(c.codigo, true);
        EXPECT_EQ(mensagens(), std::vector<std::string>{c.mensagem}) << c.codigo;
        ALTERA_CLIENTE(".", c.codigo, {{c.campo.first, antes}});
    }
    EXPECT_TRUE(motor->pdfs.empty());
    EXPECT_EQ(oPRINT, nullptr);
}

TEST_F(RemessaRun, DataDeInicioCofapVaziaPedeDeNovo) {
    GRAVA_ARQUIVO_TESTE("COFAPREM.TXT", ARQUIVO_CRLF({cofap("00000001", "11222333000181")}));
    auto& dl = g.dialogo();
    dl.respostasData = {TData{0}, std::nullopt};
    VEN_CONVREMESSA("COFAP", true);
    EXPECT_EQ(mensagens(), std::vector<std::string>{
                               "DATA DE INICIO DO CONTRATO NÃO FOI INFORMADO CORRETAMENTE."_ansi});
    EXPECT_EQ(dl.datasOferecidas, (std::vector<TData>{CodificaData(2026, 3, 1), 0}));
    confereNadaMudou("COFAP", "VCOFAP.TXT");

    // The date typed at the second try is every operation's date.
    dl.respostasData = {TData{0}, CodificaData(2026, 2, 20)};
    VEN_CONVREMESSA("COFAP", true);
    const auto linhas = LINHAS_CRLF(LE_ARQUIVO("VCOFAP.TXT"));
    ASSERT_EQ(linhas.size(), 4u);
    EXPECT_EQ(linhas[2].substr(120, 8), "20260220");
}

// Rejected operations in the log: the files named once, with the
// generations (999999 read wraps to 1, 7 stored gives 8); the first message
// of an operation beside its CNPJ and date, the others under it.
TEST_F(RemessaRun, RelatorioDasOcorrenciasETotais) {
    ALTERA_CLIENTE(".", "COFAP", {{"ULTREMCLI", "999999"}, {"ULTREMBAN", "7"}});
    GRAVA_ARQUIVO_TESTE("COFAPREM.TXT",
                        ARQUIVO_CRLF({cofap("00000001", "11222333000181"),
                                      cofap("00000002", "", "0"),
                                      cofap("00000003", "11222333000181", "-123,45")}));
    VEN_CONVREMESSA("COFAP", true);
    ASSERT_EQ(motor->pdfs.size(), 1u);
    EXPECT_EQ(motor->pdfs[0].first, "ARQUIVO_REMESSA_VENDOR_20260310_123456.PDF");
    const ModeloRelatorio& rel = motor->pdfs[0].second;
    EXPECT_EQ(rel.colunas, 132);
    const auto p = LINHAS_PAGINA(rel, 0);
    const std::string m = BRANCOS(28);
    EXPECT_EQ(p.at(1), BRANCOS(46) + "LEITURA DE ARQUIVO REMESSA DO CLIENTE");
    EXPECT_EQ(p.at(3).substr(0, 42), "Le Cliente / Grava Banco - Hora : 12:34:56");
    ASSERT_GE(p.size(), 18u);
    EXPECT_EQ(std::vector<std::string>(p.begin() + 5, p.begin() + 18),
              (std::vector<std::string>{
                  "                 Data da",
                  "Identificação   operação   Ocorrências"_ansi,
                  "-------------   --------   -----------",
                  "Arquivo Remessa do Cliente : COFAPREM.TXT - Geração lida : 1"_ansi,
                  "Arquivo Remessa do Banco   : VCOFAP.TXT - Geração gravada : 8"_ansi,
                  BRANCOS(16) + "01/03/2026  " + "CNPJ DO CLIENTE NÃO INFORMADO."_ansi,
                  m + "CNPJ/CPF NÃO FOI INFORMADO. OBRIGATÓRIO."_ansi,
                  m + "PRINCIPAL DA OPERAÇÃO NÃO INFORMADO."_ansi,
                  "11222333000181  01/03/2026  " +
                      "O ARQUIVO DO BANCO NÃO COMPORTA O PRINCIPAL DA OPERAÇÃO: -123,45"_ansi,
                  "",
                  "                Total de Registros Lidos :    3",
                  "          Total de Registros Desprezados :    2",
                  "             Total de Registros Gravados :    1",
              }));
    EXPECT_EQ(g.dialogo().mensagens.back().texto,
              "Registros Pesquisados : 3\r\nRegistros desprezados : 2\r\nRegistros Gravados : 1");
    EXPECT_EQ(g.dialogo().mensagens.back().titulo, "Leitura da Remessa.");
    EXPECT_EQ(CAMPO_CLIENTE(".", "COFAP", "ULTREMCLI"), "1");
    EXPECT_EQ(CAMPO_CLIENTE(".", "COFAP", "ULTREMBAN"), "8");
    EXPECT_EQ(PENDENTES(".").size(), 1u);

    // Without irregularities the body is the totals alone.
    GRAVA_ARQUIVO_TESTE("COFAPREM.TXT", ARQUIVO_CRLF({cofap("00000001", "11222333000181")}));
    VEN_CONVREMESSA("COFAP", true);
    const auto q = LINHAS_PAGINA(motor->pdfs.at(1).second, 0);
    // The first line of a page is the one right after the headings.
    EXPECT_EQ(q.at(8), "                Total de Registros Lidos :    1");
}

// A bank file that cannot be written where the register says, or that the
// bank's layout cannot hold, is not written at all, and then nothing else
// changes either: no pending row, no generation number. The log is closed
// before the write, so a file refused there still leaves its run log.
TEST_F(RemessaRun, ArquivoDoBancoImpossivelNaoMudaNada) {
    ALTERA_CLIENTE(".", "COFAP", {{"ARQREMBAN", "SAIDA/VCOFAP"}});
    GRAVA_ARQUIVO_TESTE("COFAPREM.TXT", ARQUIVO_CRLF({cofap("00000001", "11222333000181"),
                                                      cofap("00000002", "")}));
    VEN_CONVREMESSA("COFAP", true);
    ASSERT_EQ(g.dialogo().mensagens.size(), 1u);
    EXPECT_NE(g.dialogo().mensagens[0].texto.find("Nome do arquivo : SAIDA/VCOFAP.TXT"),
              std::string::npos);
    EXPECT_EQ(g.dialogo().mensagens[0].tipo, somERRO);
    // The listing was closed before the write: the operator keeps the
    // rejected operation and the totals.
    confereNadaMudou("COFAP", "SAIDA/VCOFAP.TXT", 1);
    const auto log = LINHAS_PAGINA(motor->pdfs[0].second, 0);
    const auto tem = [&log](const std::string& linha) {
        return std::find(log.begin(), log.end(), linha) != log.end();
    };
    EXPECT_TRUE(tem(BRANCOS(16) + "01/03/2026  " + "CNPJ DO CLIENTE NÃO INFORMADO."_ansi));
    EXPECT_TRUE(tem("                Total de Registros Lidos :    2"));
    EXPECT_TRUE(tem("             Total de Registros Gravados :    1"));

    // 100,000 consignments: one more than the trailer's count holds.
    std::string wabco;
    for (int i = 0; i < 100000; ++i) wabco += "   000001        00000000100\r\n";
    GRAVA_ARQUIVO_TESTE("WABCOREM.TXT", wabco);
    g.dialogo().mensagens.clear();
    VEN_CONVREMESSA("WABCO", true);
    EXPECT_EQ(mensagens(), std::vector<std::string>{
                               "O ARQUIVO DO BANCO NÃO COMPORTA 100000 OPERAÇÕES (NO MÁXIMO 99999 "
                               "POR ARQUIVO).\r\nNENHUM ARQUIVO FOI GRAVADO. DIVIDA O ARQUIVO DO "
                               "CLIENTE EM ARQUIVOS MENORES E CONVERTA CADA UM."_ansi});
    confereNadaMudou("WABCO", "VWABCO.TXT", 2);

    // A Celpav file of header lines only has nothing to write (and the
    // unnamed file the run was writing into goes too).
    GRAVA_ARQUIVO_TESTE("CELPAVRE.TXT", ARQUIVO_CRLF({"A", "B", "C"}));
    VEN_CONVREMESSA("CELPAV", true);
    EXPECT_EQ(g.dialogo().mensagens.back().texto,
              "Registros Pesquisados : 3\r\nRegistros desprezados : 3\r\nRegistros Gravados : 0");
    EXPECT_FALSE(fs::exists("VCELPAV.TXT"));
    EXPECT_EQ(CAMPO_CLIENTE(".", "CELPAV", "ULTREMBAN"), "0");
    for (const auto& e : fs::directory_iterator("."))
        EXPECT_NE(e.path().filename().string()[0], '.') << e.path();
}

// The disk fills up while the bank file is written as its records come:
// the run goes on to its listing, then says so, and nothing is kept.
TEST_F(RemessaRun, DiscoCheioAoGravarOArquivoDoBanco) {
    std::vector<std::string> linhas;
    for (int i = 1; i <= 400; ++i) {
        char planilha[16];
        std::snprintf(planilha, sizeof planilha, "%08d", i);
        linhas.push_back(cofap(planilha, "11222333000181"));
    }
    GRAVA_ARQUIVO_TESTE("COFAPREM.TXT", ARQUIVO_CRLF(linhas));
    struct rlimit antes {};
    ::getrlimit(RLIMIT_FSIZE, &antes);
    struct rlimit limite = antes;
    limite.rlim_cur = 64 * 1024;  // the tables are smaller; the bank file is not
    ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limite);
    EXPECT_THROW(
        try { VEN_CONVREMESSA("COFAP", true); } catch (const ErroArquivo& e) {
            EXPECT_NE(std::string(e.what()).find("ERRO AO GRAVAR O ARQUIVO "_ansi), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("VCOFAP.TXT : "), std::string::npos) << e.what();
            throw;
        },
        ErroArquivo);
    ::setrlimit(RLIMIT_FSIZE, &antes);
    ::signal(SIGXFSZ, SIG_DFL);
    confereNadaMudou("COFAP", "VCOFAP.TXT", 1);
}

// A bank file name that a directory holds is refused before the client file
// is read: nothing is written, nothing stored.
TEST_F(RemessaRun, NomeDoBancoQueEDiretorioRecusado) {
    fs::create_directory("SAIDA.TXT");
    ALTERA_CLIENTE(".", "COFAP", {{"ARQREMBAN", "SAIDA"}});
    GRAVA_ARQUIVO_TESTE("COFAPREM.TXT", ARQUIVO_CRLF({cofap("00000001", "11222333000181")}));
    VEN_CONVREMESSA("COFAP", true);
    ASSERT_EQ(mensagens().size(), 1u);
    EXPECT_NE(mensagens()[0].find("ARQREMBAN DO CLIENTE COFAP"), std::string::npos) << mensagens()[0];
    EXPECT_TRUE(fs::is_empty("SAIDA.TXT"));
    EXPECT_TRUE(PENDENTES(".").empty());
    EXPECT_EQ(CAMPO_CLIENTE(".", "COFAP", "ULTREMBAN"), "0");
}
