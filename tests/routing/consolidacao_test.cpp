// The pass step: a client's parked Cobrança 400 returns joined into its
// first and second return files, compared byte for byte with records
// written here field by field; the planilha reconciliation, and the
// refusals that keep the parked files and the planilha for a later pass.

#include <gtest/gtest.h>

#include <filesystem>

#include "core/texto/ansi.h"
#include "routing/ambiente_concatenacao.h"
#include "routing/tarqsegrega.h"
#include "tabela/nome_arquivo.h"

namespace {

using Linhas = std::vector<std::string>;
namespace fs = std::filesystem;

const std::string dez(10, ' ');
const std::string zeros12(12, '0');

std::string header(const char* marca, const char* data, const char* numero, const char* meio,
                   const char* cauda) {
    return LINHA(400, {{1, "02RETORNO01COBRANCA"}, {27, marca}, {95, data}, {101, marca},
                       {109, numero}, {114, meio}, {380, "XXXXXX"}, {386, cauda}});
}

std::string detalhe(const char* titulo, const char* ocorrencia, const char* valor,
                    const char* numero = "999999") {
    return LINHA(400, {{1, "1"}, {71, titulo}, {109, ocorrencia}, {153, valor}, {395, numero}});
}

void estaciona(const std::string& caminho, const Linhas& linhas) {
    fs::create_directories(fs::path(caminho).parent_path());
    GRAVA_ARQUIVO_TESTE(caminho, TEXTO(linhas));
}

bool temLinha(const std::string& log, const std::string& linha) {
    return log.find(LINHA(120, {{1, linha}}) + "\r\n") != std::string::npos;
}

}  // namespace

// Three passes of one day: the latest date and the smallest number go to
// both files, the details to the files whose lists hold their codes,
// renumbered, and the trailers count them by bucket.
TEST(Consolidacao, TresPassadasEmDoisArquivos) {
    AmbienteConcatenacao a;
    a.Cliente("CEDRO", "C", "", {{"ARQRETCLI", "EMPRESA.RET"}, {"DIRTEMP", "TEMP/CEDRO"},
                                 {"ULTPASCLI", "0"}, {"CODCOBLIQ", "02,06"}, {"CODCOBCON", "TODOS"}});
    a.Cliente("PINHO", "C", "", {{"ARQRETCLI", "PINHO.RET"}, {"DIRTEMP", "TEMP/PINHO"},
                                 {"ULTPASCLI", "1"}, {"CODCOBLIQ", "TODOS"}});
    const std::string d1 = detalhe("TITULO000001", "02", "0000000000100");
    const std::string d2 = detalhe("TITULO000002", "06", "0000000000250");
    const std::string d3 = detalhe("TITULO000003", "10", "0000000001000");
    const std::string d4 = detalhe("TITULO000004", "13", "0000000000007");
    const std::string d5 = detalhe("TITULO000005", "09", "0000000000005");
    const std::string d6 = detalhe("TITULO000006", "02", "0000000000020");
    estaciona("TEMP/CEDRO/RC090000.001", {header("H1", "081219", "00412", "MEIO1", "CAUDA1"), d1, d2,
                                          LINHA(400, {{1, "9TRAILER1"}, {395, "000004"}})});
    estaciona("TEMP/CEDRO/RC100000.002", {header("H2", "091219", "00398", "MEIO2", "CAUDA2"), d3, d4,
                                          LINHA(400, {{1, "9TRAILER2"}})});
    estaciona("TEMP/CEDRO/rc110000.003", {header("H3", "071219", "00405", "MEIO3", "CAUDA3"), d5, d6,
                                          LINHA(400, {{1, "9TRAILER3"}})});
    // Not parked returns by their names: never read, never deleted.
    for (const char* outro : {"PLAN0912.TXT", "NOTAS.TXT", "RC.999", "RC.000"})
        GRAVA_ARQUIVO_TESTE(std::string("TEMP/CEDRO/") + outro, "0\r\n1\r\n9\r\n");
    estaciona("TEMP/PINHO/RC090000.001", {header("P", "091219", "00001", "", ""), d1, LINHA(400, {{1, "9"}})});

    SEGREGA_RETORNOS(0);
    EXPECT_EQ(a.Mensagens(), Linhas{});

    const std::string h1 = LINHA(400, {{1, "02RETORNO01COBRANCA"}, {27, "H3"}, {95, "091219"}, {101, "H3"},
                                       {109, "00398"}, {114, "MEIO3"}, {380, "091219"}, {386, "CAUDA3"}});
    const std::string h2 = LINHA(400, {{1, "02RETORNO01COBRANCA"}, {27, "H3"}, {95, "091219"}, {101, "H3"},
                                       {109, "00399"}, {114, "MEIO3"}, {380, "091219"}, {386, "CAUDA3"}});
    EXPECT_EQ(LE_ARQUIVO("EMPRESA.RT1"),
              TEXTO({h1, detalhe("TITULO000001", "02", "0000000000100", "000002"),
                     detalhe("TITULO000002", "06", "0000000000250", "000003"),
                     detalhe("TITULO000006", "02", "0000000000020", "000004"),
                     LINHA(400, {{1, "9TRAILER3"}, {40, "00000398"},
                                 {58, "00002"}, {63, "000000000120"},
                                 {75, "000000000250"}, {87, "00001"},
                                 {92, zeros12}, {104, "00000"}, {109, zeros12},
                                 {121, "00000"}, {126, zeros12},
                                 {138, "00000"}, {143, zeros12},
                                 {155, "00000"}, {160, zeros12},
                                 {172, "00000"}, {177, zeros12},
                                 {363, "000000000000000"}, {378, "00000000"}, {395, "000005"}})}));
    // Occurrence 10 is counted at 104-108 with its amount at 92-103 and
    // again at 109-120; 09 is written but counted nowhere.
    EXPECT_EQ(LE_ARQUIVO("EMPRESA.RT2"),
              TEXTO({h2, detalhe("TITULO000001", "02", "0000000000100", "000002"),
                     detalhe("TITULO000002", "06", "0000000000250", "000003"),
                     detalhe("TITULO000003", "10", "0000000001000", "000004"),
                     detalhe("TITULO000004", "13", "0000000000007", "000005"),
                     detalhe("TITULO000005", "09", "0000000000005", "000006"),
                     detalhe("TITULO000006", "02", "0000000000020", "000007"),
                     LINHA(400, {{1, "9TRAILER3"}, {40, "00000399"},
                                 {58, "00002"}, {63, "000000000120"},
                                 {75, "000000000250"}, {87, "00001"},
                                 {92, "000000001000"}, {104, "00001"}, {109, "000000001000"},
                                 {121, "00001"}, {126, "000000000007"},
                                 {138, "00000"}, {143, zeros12},
                                 {155, "00000"}, {160, zeros12},
                                 {172, "00000"}, {177, zeros12},
                                 {363, "000000000000000"}, {378, "00000000"}, {395, "000008"}})}));

    EXPECT_EQ(ENTRADAS("TEMP/CEDRO"), (Linhas{"NOTAS.TXT", "PLAN0912.TXT", "RC.000", "RC.999"}));
    EXPECT_EQ(ENTRADAS("TEMP/PINHO"), Linhas{"RC090000.001"});
    EXPECT_FALSE(ArquivoExiste("PINHO.RT1"));
    const std::string log = LE_ARQUIVO("CV091234.LOG");
    EXPECT_TRUE(temLinha(log, dez + "EMPRESA.RT1 - 1o. Arquivo Retorno Gravado com sucesso"));
    EXPECT_TRUE(temLinha(log, dez + "EMPRESA.RT2 - 2o. Arquivo Retorno Gravado com sucesso"));
    EXPECT_TRUE(temLinha(log, "Arquivos de Cobrança 400 gravados:    2"_ansi));
    const Linhas impresso = a.Log();
    EXPECT_EQ(Linhas(impresso.begin(), impresso.begin() + 2),
              (Linhas{"    EMPRESA.RT1   1o. Arquivo Retorno Gravado com sucesso",
                      "    EMPRESA.RT2   2o. Arquivo Retorno Gravado com sucesso"}));
}

namespace {

// A client with a planilha: its paid titles (06) must be in the planilha,
// and every title of the planilha in its first file.
struct ComPlanilha {
    AmbienteConcatenacao a;
    ComPlanilha() {
        a.Cliente("CEDRO", "C", "", {{"ARQRETCLI", "EMPRESA"}, {"DIRTEMP", "TEMP/CEDRO"}, {"ULTPASCLI", "4"},
                                     {"CODCOBLIQ", "06"}, {"CODCOBCON", "TODOS"}, {"NOMEPLAN", "SIM"}});
        estaciona("TEMP/CEDRO/RC090000.001",
                  {header("H", "091219", "00010", "", ""), detalhe("TITULO000002", "06", "0000000000250"),
                   detalhe("TITULO000007", "06", "0000000000400"), detalhe("TITULO000001", "02", "0000000000100"),
                   LINHA(400, {{1, "9"}})});
    }
    std::string planilha(const Linhas& titulos) {
        Linhas l{"0PLANILHA DO DIA 09/12/2019"};
        for (const std::string& t : titulos) l.push_back(t);
        return TEXTO(l);
    }
    const std::string p2 = LINHA_CURTA({{1, "1TITULO000002"}, {22, "0000000000300"}, {35, "AAAAAAAAAAAAA"},
                                        {48, "BBBBBBBBBBBBB"}});
    const std::string p7 = LINHA_CURTA({{1, "1TITULO000007"}, {22, "0000000001000"}, {35, "CCCCCCCCCCCCC"},
                                        {48, "DDDDDDDDDDDDD"}});
    const std::string p9 = LINHA_CURTA({{1, "1TITULO000009"}, {22, "0000000000001"}});
};

}  // namespace

TEST(Consolidacao, PlanilhaConferidaCompletaOPrimeiroArquivo) {
    ComPlanilha c;
    GRAVA_ARQUIVO_TESTE("TEMP/CEDRO/PLAN0912.TXT", c.planilha({c.p2, c.p7}));
    SEGREGA_RETORNOS(4);
    EXPECT_EQ(c.a.Mensagens(), Linhas{});
    const std::string rt1 = LE_ARQUIVO("EMPRESA.RT1");
    ASSERT_EQ(rt1.size(), 402u * 4);
    EXPECT_EQ(rt1.substr(402, 402 * 2),
              TEXTO({LINHA(400, {{1, "1"}, {71, "TITULO000002"}, {109, "06"}, {153, "0000000000250"},
                                 {189, "AAAAAAAAAAAAA"}, {241, "BBBBBBBBBBBBB"}, {254, "0000000000300"},
                                 {296, "091219"}, {395, "000002"}}),
                     LINHA(400, {{1, "1"}, {71, "TITULO000007"}, {109, "06"}, {153, "0000000000400"},
                                 {189, "CCCCCCCCCCCCC"}, {241, "DDDDDDDDDDDDD"}, {254, "0000000001000"},
                                 {296, "091219"}, {395, "000003"}})}));
    // The second file is not reconciled.
    EXPECT_EQ(LE_ARQUIVO("EMPRESA.RT2").substr(402, 402),
              TEXTO({detalhe("TITULO000002", "06", "0000000000250", "000002")}));
    EXPECT_EQ(ENTRADAS("TEMP/CEDRO"), Linhas{});
    const std::string log = LE_ARQUIVO("CV091234.LOG");
    EXPECT_TRUE(temLinha(log, "Cedente: CEDRO - Referencia: 09/12/19 - Planilha: PLAN0912.TXT"));
    EXPECT_TRUE(temLinha(log, dez + "- Concluído com sucesso. Títulos lidos: 3 - Valor da operação: "_ansi +
                                  std::string(13, ' ') + "13,00"));
}

// Whatever refuses the reconciliation, nothing is written and the parked
// files and the planilha wait; the next pass with a right planilha closes
// the day.
TEST(Consolidacao, PlanilhaRecusadaGuardaTudoParaOutraPassada) {
    ComPlanilha c;
    const std::string pre = dez + "- ";
    SEGREGA_RETORNOS(4);
    std::string log = LE_ARQUIVO("CV091234.LOG");
    EXPECT_TRUE(temLinha(log, pre + "Planilha já convertida não localizada."_ansi));

    const std::string irregular = c.planilha({c.p2, c.p9});
    GRAVA_ARQUIVO_TESTE("TEMP/CEDRO/PLAN0912.TXT", irregular);
    c.a.g.hora = {12, 36, 0};
    SEGREGA_RETORNOS(4);
    log = LE_ARQUIVO("CV091236.LOG");
    const std::string cinco(5, ' ');
    for (const std::string& linha :
         {std::string("Cedente: CEDRO - Referencia: 09/12/19 - Planilha: PLAN0912.TXT"),
          pre + "Retorno não encontrado na planilha - Título: TITULO000007"_ansi,
          pre + "Planilha não encontrado no Retorno - Título: TITULO000009"_ansi,
          pre + "Processamento interrompido com irregularidade na planilha.",
          cinco + pre + " Títulos lidos no Retorno: 2"_ansi, cinco + pre + "Títulos lidos na planilha: 3"_ansi,
          cinco + pre + "Irregularidas encontradas: 2"})
        EXPECT_TRUE(temLinha(log, linha)) << linha;
    EXPECT_TRUE(temLinha(log, "Arquivos de Cobrança 400 gravados:    0"_ansi));
    EXPECT_FALSE(ArquivoExiste("EMPRESA.RT1"));
    EXPECT_FALSE(ArquivoExiste("EMPRESA.RT2"));
    EXPECT_EQ(ENTRADAS("TEMP/CEDRO"), (Linhas{"PLAN0912.TXT", "RC090000.001"}));
    EXPECT_EQ(LE_ARQUIVO("TEMP/CEDRO/PLAN0912.TXT"), irregular);
    for (const auto& nome : ENTRADAS(".")) EXPECT_EQ(nome.find(".parcial"), std::string::npos) << nome;

    GRAVA_ARQUIVO_TESTE("TEMP/CEDRO/PLAN0912.TXT", c.planilha({c.p2, c.p7}));
    c.a.g.hora = {12, 37, 0};
    SEGREGA_RETORNOS(4);
    EXPECT_TRUE(ArquivoExiste("EMPRESA.RT1"));
    EXPECT_TRUE(ArquivoExiste("EMPRESA.RT2"));
    EXPECT_EQ(ENTRADAS("TEMP/CEDRO"), Linhas{});
    EXPECT_EQ(c.a.Mensagens(), Linhas{});
}
