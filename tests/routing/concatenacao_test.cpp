// The concatenation run on a data directory: client files of the five
// products in, bank files out, compared byte for byte with files written
// here line by line.

#include <gtest/gtest.h>

#include "core/texto/ansi.h"
#include "routing/ambiente_concatenacao.h"
#include "routing/sequencia_remessa.h"
#include "routing/tarqconcatena.h"
#include "tabela/nome_arquivo.h"
#include "tabela/tabela.h"

namespace {

using Linhas = std::vector<std::string>;

}  // namespace

TEST(Concatenacao, CincoProdutosTraduzidosMovidosERegistrados) {
    AmbienteConcatenacao a;
    a.InstalacaoPadrao(/*SEQREMC24*/ 3, /*SEQREMC40*/ 7);
    a.Cliente("ACME", "A", "ACME",
              {{"CONHEACP1", REGRA("059", "071", "", "0001234567890")},
               {"CONDETCP1", REGRA(" 14", " 14", "P", "Q")}});
    a.Cliente("BETA", "C", "BETA",
              {{"CONHEACP1", REGRA("036", "046", "", "00012345678")},
               {"CONHEACP2", REGRA("077", "079", "", "341")},
               {"CONDETCP1", REGRA("020", "037", "ABC", "XYZ")},
               {"CONDETCP2", "063065"}});  // positions only, as the register leaves it
    a.Cliente("GAMA", "C", "GAMA");
    a.Cliente("DELTA", "D", "DELTA", {{"CONHEACP2", REGRA("077", "079", "", "341")}});
    a.Cliente("RIO", "R", "RIO", {{"CONHEACP1", REGRA("059", "071", "", "0009876543210")}});
    a.Cliente("VALE", "V", "VALE", {{"CONDETCP1", REGRA("101", "105", "", "77777")}});
    a.Cliente("COFAP", "1", "COFAPREM");

    const std::string acme = TEXTO({
        LINHA(240, {{1, "34100000"}, {9, "HEADER ACME"}, {59, "CLIENTE ACME"}}),
        LINHA(240, {{1, "34100013"}, {14, "P"}, {18, "TITULO 1"}}),
        LINHA(240, {{1, "34100013"}, {14, "R"}, {18, "TITULO 2"}}),
        LINHA(240, {{1, "34199999"}, {18, "000004"}}),
    });
    const std::string beta1 = TEXTO({
        LINHA(400, {{1, "01REMESSA01COBRANCA"}, {20, "EMPRESA BETA"}, {77, "237"}, {95, "091226"}}),
        LINHA(400, {{1, "1"}, {20, "ABC"}, {63, "999"}, {110, "DOC001"}}),
        LINHA(400, {{1, "1"}, {20, "ABD"}, {63, "888"}, {110, "DOC002"}}),
        LINHA(400, {{1, "9"}, {5, "000"}, {395, "000004"}}),
    });
    // Sent from another system: lower-case name, LF line ends, no trailing
    // blanks.
    const std::string beta2 = TEXTO({LINHA_CURTA({{1, "01REMESSA01COBRANCA"}, {77, "104"}}),
                                     LINHA_CURTA({{1, "1"}, {20, "ABC"}}), "9"},
                                    "\n");
    const std::string delta = TEXTO({
        LINHA(400, {{1, "01REMESSA01COBRANCA"}, {77, "237"}}),
        LINHA(400, {{1, "1"}, {20, "ABC"}}),
        LINHA(400, {{1, "9"}, {5, "000"}}),
    });
    const std::string rio = TEXTO({
        LINHA(240, {{1, "34100000"}, {59, "RIO"}}),
        LINHA(240, {{1, "34100013"}, {59, "RIO"}}),
        LINHA(240, {{1, "34199999"}}),
    });
    const std::string vale = TEXTO({
        LINHA(250, {{1, "00"}, {12, "REMESSA00VENDOR"}}),
        LINHA(250, {{1, "01"}, {101, "12345"}}),
        LINHA(250, {{1, "01"}, {20, "X"}}),
        LINHA(250, {{1, "09"}}),
    });
    const std::string gama = TEXTO({LINHA(400, {{1, "02RETORNO02COBRANCA"}}), LINHA(400, {{1, "9"}})});
    const std::string outro = TEXTO({"QUALQUER COISA"});
    GRAVA_ARQUIVO_TESTE("ACME.001", acme);
    GRAVA_ARQUIVO_TESTE("BETA.001", beta1);
    GRAVA_ARQUIVO_TESTE("beta.002", beta2);
    GRAVA_ARQUIVO_TESTE("BETA.003", "");
    GRAVA_ARQUIVO_TESTE("GAMA.001", gama);
    GRAVA_ARQUIVO_TESTE("delta.001", delta);
    GRAVA_ARQUIVO_TESTE("RIO.001", rio);
    GRAVA_ARQUIVO_TESTE("VALE.001", vale);
    // Not remittances by their names: never read, never in the log.
    GRAVA_ARQUIVO_TESTE("BETA.000", beta1);
    GRAVA_ARQUIVO_TESTE("BETA.TXT", beta1);
    GRAVA_ARQUIVO_TESTE("BETA", beta1);
    // Remittance names of no concatenation client.
    GRAVA_ARQUIVO_TESTE("NOVO.001", outro);
    GRAVA_ARQUIVO_TESTE("COFAPREM.001", outro);

    CONCATENA_REMESSAS();

    EXPECT_EQ(a.Mensagens(), Linhas{});

    // Numbers: Cobrança 240 starts the new day at 01 and stores today's date,
    // so Cobrança 400 continues its own counter (7 + 1); Vendor 250, Vendor
    // 240 and Desconto share that counter and its number.
    EXPECT_EQ(LE_ARQUIVO("C24091201"),
              TEXTO({
                  LINHA(240, {{1, "34100000"}, {9, "HEADER ACME"}, {59, "0001234567890"}}),
                  LINHA(240, {{1, "34100013"}, {14, "Q"}, {18, "TITULO 1"}}),
                  LINHA(240, {{1, "34100013"}, {14, "R"}, {18, "TITULO 2"}}),
                  LINHA(240, {{1, "34199999"}, {18, "000004"}}),
              }));
    // Each client file whole, in name order; the bank code of the header
    // goes to each trailer.
    EXPECT_EQ(LE_ARQUIVO("CB4091208"),
              TEXTO({
                  LINHA(400, {{1, "01REMESSA01COBRANCA"}, {20, "EMPRESA BETA"}, {36, "00012345678"},
                              {77, "341"}, {95, "091226"}}),
                  LINHA(400, {{1, "1"}, {20, "XYZ"}, {63, "999"}, {110, "DOC001"}}),
                  LINHA(400, {{1, "1"}, {20, "ABD"}, {63, "888"}, {110, "DOC002"}}),
                  LINHA(400, {{1, "9"}, {5, "341"}, {395, "000004"}}),
                  LINHA(400, {{1, "01REMESSA01COBRANCA"}, {36, "00012345678"}, {77, "341"}}),
                  LINHA(400, {{1, "1"}, {20, "XYZ"}}),
                  LINHA(400, {{1, "9"}, {5, "341"}}),
              }));
    EXPECT_EQ(LE_ARQUIVO("VEN091208"),
              TEXTO({
                  LINHA(250, {{1, "00"}, {12, "REMESSA00VENDOR"}}),
                  LINHA(250, {{1, "01"}, {101, "77777"}}),
                  LINHA(250, {{1, "01"}, {20, "X"}, {101, "77777"}}),
                  LINHA(250, {{1, "09"}}),
              }));
    EXPECT_EQ(LE_ARQUIVO("V24091208"),
              TEXTO({
                  LINHA(240, {{1, "34100000"}, {59, "0009876543210"}}),
                  LINHA(240, {{1, "34100013"}, {59, "RIO"}}),
                  LINHA(240, {{1, "34199999"}}),
              }));
    // Desconto takes the header rule but carries no bank code.
    EXPECT_EQ(LE_ARQUIVO("DES091208"),
              TEXTO({
                  LINHA(400, {{1, "01REMESSA01COBRANCA"}, {77, "341"}}),
                  LINHA(400, {{1, "1"}, {20, "ABC"}}),
                  LINHA(400, {{1, "9"}, {5, "000"}}),
              }));
    EXPECT_EQ(a.NumeroInstalacao("SEQREMC24"), 1);
    EXPECT_EQ(a.NumeroInstalacao("SEQREMC40"), 8);
    EXPECT_EQ(a.TextoInstalacao("ULTDATCOB"), "0912");

    // Files read are in the holding directory as they were; the others stay.
    EXPECT_EQ(ENTRADAS("GUARDA"),
              (Linhas{"ACME.001", "BETA.001", "BETA.002", "DELTA.001", "RIO.001", "VALE.001"}));
    EXPECT_EQ(LE_ARQUIVO("GUARDA/ACME.001"), acme);
    EXPECT_EQ(LE_ARQUIVO("GUARDA/BETA.001"), beta1);
    EXPECT_EQ(LE_ARQUIVO("GUARDA/BETA.002"), beta2);
    EXPECT_EQ(LE_ARQUIVO("GUARDA/DELTA.001"), delta);
    EXPECT_EQ(LE_ARQUIVO("GUARDA/RIO.001"), rio);
    EXPECT_EQ(LE_ARQUIVO("GUARDA/VALE.001"), vale);
    for (const char* fica : {"BETA.003", "GAMA.001", "BETA.000", "BETA.TXT", "BETA", "NOVO.001",
                             "COFAPREM.001"})
        EXPECT_TRUE(ArquivoExiste(fica)) << fica;
    EXPECT_EQ(LE_ARQUIVO("GAMA.001"), gama);

    ASSERT_EQ(a.motor->nomesPdf, Linhas{"ARQUIVO_REMESSA_CONCATENACAO_20261209_123456.PDF"});
    const ModeloRelatorio& log = a.motor->pdfs.at(0);
    EXPECT_EQ(log.colunas, 80);
    ASSERT_EQ(log.paginas.size(), 1u);
    EXPECT_EQ(log.paginas[0].linhas.at(3).substr(0, 41), "Le Cliente / Grava Banco - Hora: 12:34:56");
    EXPECT_EQ(log.paginas[0].linhas.at(5), "   Arquivo       Ocorrência"_ansi);
    EXPECT_EQ(log.paginas[0].linhas.at(6), "   -------       ----------");
    EXPECT_EQ(a.Log(),
              (Linhas{
                  "LEITURA DOS ARQUIVOS DE COBRANCA 240 - Arquivo Remessa do Banco: C24091201",
                  "--------------------------------",
                  "",
                  "    ACME.001  Lido com sucesso",
                  "",
                  "LEITURA DOS ARQUIVOS DE COBRANCA 400 - Arquivo Remessa do Banco: CB4091208",
                  "--------------------------------",
                  "",
                  "    BETA.001  Lido com sucesso",
                  "    BETA.002  Lido com sucesso",
                  "    BETA.003  NENHUMA OPERAÇÃO DISPONÍVEL PARA LEITURA NO ARQUIVO REMESSA."_ansi,
                  "    GAMA.001  NAO IDENTIFICADO O HEADER DO ARQUIVO COBRANCA/DESCONTO",
                  "",
                  "LEITURA DOS ARQUIVOS DE VENDOR 250 - Arquivo Remessa do Banco: VEN091208",
                  "------------------------------",
                  "",
                  "    VALE.001  Lido com sucesso",
                  "",
                  "LEITURA DOS ARQUIVOS DE VENDOR 240 - Arquivo Remessa do Banco: V24091208",
                  "------------------------------",
                  "",
                  "    RIO.001  Lido com sucesso",
                  "",
                  "LEITURA DOS ARQUIVOS DE DESCONTO 400 - Arquivo Remessa do Banco: DES091208",
                  "--------------------------------",
                  "",
                  "    DELTA.001  Lido com sucesso",
                  "",
                  "ARQUIVOS SEM CADASTRAMENTO DE CLIENTE :",
                  "-------------------------------------",
                  "",
                  "    COFAPREM.001  SEM CLIENTE DEFINIDO",
                  "    NOVO.001  SEM CLIENTE DEFINIDO",
                  "",
                  "          Total de Arquivos de Cobranca 240: 1",
                  "          Total de Arquivos de Cobranca 400: 4",
                  "          Total de Arquivos de Vendor 250..: 1",
                  "          Total de Arquivos de Vendor 240..: 1",
                  "          Total de Arquivos de Desconto 400: 1",
                  "          Arquivos nao identificados.......: 2",
              }));
}

TEST(Concatenacao, NumeroDoArquivoNoDia) {
    AmbienteConcatenacao a;
    a.InstalacaoPadrao(/*SEQREMC24*/ 3, /*SEQREMC40*/ 7);
    a.Cliente("BETA", "C", "BETA");
    const std::string remessa =
        TEXTO({LINHA(400, {{1, "01REMESSA01COBRANCA"}}), LINHA(400, {{1, "9"}})});

    // A new day (last file on 08/12) starts at 01; Cobrança 240 keeps its
    // counter.
    GRAVA_ARQUIVO_TESTE("BETA.001", remessa);
    CONCATENA_REMESSAS();
    EXPECT_EQ(LE_ARQUIVO("CB4091201"), remessa);
    EXPECT_EQ(a.NumeroInstalacao("SEQREMC40"), 1);
    EXPECT_EQ(a.NumeroInstalacao("SEQREMC24"), 3);
    EXPECT_EQ(a.TextoInstalacao("ULTDATCOB"), "0912");

    // The same day goes on counting.
    GRAVA_ARQUIVO_TESTE("BETA.002", remessa);
    CONCATENA_REMESSAS();
    EXPECT_EQ(LE_ARQUIVO("CB4091202"), remessa);
    EXPECT_EQ(LE_ARQUIVO("CB4091201"), remessa);
    EXPECT_EQ(a.NumeroInstalacao("SEQREMC40"), 2);

    // After 99 the count starts again at 01, on the same day or another.
    for (const char* ultimo : {"0912", "0101"}) {
        a.Instalacao({{"ULTDATCOB", ultimo}}, {{"SEQREMC40", 99}});
        ::remove("CB4091201");
        GRAVA_ARQUIVO_TESTE("BETA.003", remessa);
        CONCATENA_REMESSAS();
        EXPECT_EQ(LE_ARQUIVO("CB4091201"), remessa) << ultimo;
        EXPECT_EQ(a.NumeroInstalacao("SEQREMC40"), 1) << ultimo;
    }

    // A name without "NN" takes no number; only the first "DDMM" is the day.
    a.Instalacao({{"ARQREMC40", "RDDMM.DDMM"}}, {{"SEQREMC40", 5}});
    GRAVA_ARQUIVO_TESTE("BETA.004", remessa);
    CONCATENA_REMESSAS();
    EXPECT_EQ(LE_ARQUIVO("R0912.DDMM"), remessa);
    EXPECT_EQ(a.NumeroInstalacao("SEQREMC40"), 5);
    EXPECT_EQ(a.Mensagens(), Linhas{});
}

// Two workstations on a new day: the second reserves its number while the
// first is still writing its file. It must see that the day's numbering has
// begun, or both files would be 01 and the second would replace the first.
TEST(Concatenacao, SegundaEstacaoNoMesmoDiaTomaOProximoNumero) {
    AmbienteConcatenacao a;
    a.InstalacaoPadrao(/*SEQREMC24*/ 3, /*SEQREMC40*/ 7);
    Tabela primeira, segunda;
    for (Tabela* t : {&primeira, &segunda}) {
        t->SetDatabaseName(".");
        t->SetTableName("CONVEINS.DBF");
        t->Open();
        t->First();
    }
    EXPECT_EQ(ReservaSequencia(primeira, "SEQREMC40", "0912"), 1);
    EXPECT_EQ(ReservaSequencia(segunda, "SEQREMC40", "0912"), 2);
    EXPECT_EQ(a.TextoInstalacao("ULTDATCOB"), "0912");
}
