// The segregation run on a data directory: bank returns of the five
// products, several clients each, split into client files compared byte for
// byte with lines written here field by field; the backup of each bank
// file, the parking of Cobrança 400 returns, the log file and the report.

#include <gtest/gtest.h>

#include <filesystem>

#include "core/texto/ansi.h"
#include "routing/ambiente_concatenacao.h"
#include "routing/tarqsegrega.h"
#include "tabela/nome_arquivo.h"

namespace {

using Linhas = std::vector<std::string>;

// The log file as it must be on disk: 120 columns and CR LF per line.
std::string LOG(const Linhas& linhas) {
    Linhas l;
    for (const std::string& t : linhas) l.push_back(LINHA(120, {{1, t}}));
    return TEXTO(l);
}

const std::string dez(10, ' ');

}  // namespace

TEST(Segregacao, CincoProdutosVariosClientesCadaUm) {
    AmbienteConcatenacao a;
    a.Cliente("ACME", "A", "", {{"ARQRETCLI", "ACME.RET"},
                                {"CONHEACP1", REGRA("059", "071", "", "0001234567890")},
                                {"CONDETCP1", REGRA(" 14", " 14", "P", "Q")}});
    a.Cliente("AMORA", "A", "", {{"ARQRETCLI", "AMORA.RET"},
                                 {"CONHEACP1", REGRA("059", "071", "", "0001234567891")}});
    a.Cliente("BETA", "C", "", {{"ARQRETCLI", "BETA.RET"},
                                {"CONHEACP1", REGRA("036", "046", "", "00012345678")},
                                {"CONHEACP2", REGRA("077", "079", "237", "341")},
                                {"CONDETCP1", REGRA("020", "037", "ABC", "XYZ")},
                                {"DIRTEMP", "TEMP\\BETA"}, {"ULTPASCLI", "5"},
                                {"CODCOBLIQ", "06"}, {"CODCOBCON", "TODOS"}});
    a.Cliente("DELTA", "D", "", {{"ARQRETCLI", "DELTA.RET"}, {"IDENTEMP", "DELTA12345678"}});
    a.Cliente("GAMA", "C", "", {{"ARQRETCLI", "GAMA.RET"},
                                {"CONHEACP1", REGRA("036", "046", "", "00098765432")}});
    a.Cliente("RIO", "R", "", {{"ARQRETCLI", "RIO.RET"},
                               {"CONHEACP1", REGRA("059", "071", "", "0009876543210")},
                               {"CONDETCP1", REGRA("059", "071", "RIO", "0009876543210")}});
    // Same identity as BETA: another product's client, and a later client
    // of the same product; neither gets BETA's blocks.
    a.Cliente("VALE", "V", "", {{"ARQRETCLI", "VALE.RET"},
                                {"CONHEACP1", REGRA("036", "046", "", "00012345678")},
                                {"CONDETCP1", REGRA("101", "105", "12345", "77777")}});
    a.Cliente("ZETA", "C", "", {{"ARQRETCLI", "ZETA.RET"},
                                {"CONHEACP1", REGRA("036", "046", "", "00012345678")}});

    const Linhas ro = {
        LINHA(240, {{1, "34100000"}, {59, "0001234567890"}, {100, "HEADER ACME"}}),
        LINHA(240, {{1, "34100013"}, {14, "Q"}, {18, "TITULO 1"}}),
        LINHA(240, {{1, "34100013"}, {14, "R"}, {18, "TITULO 2"}}),
        LINHA(240, {{1, "34199999"}, {18, "000004"}}),
        LINHA(240, {{1, "34100000"}, {59, "0001234567891"}}),
        LINHA(240, {{1, "34100013"}, {14, "Q"}}),
        LINHA(240, {{1, "34199999"}}),
        LINHA(240, {{1, "34100000"}, {59, "0009999999999"}}),
        LINHA(240, {{1, "34100013"}, {18, "DE NINGUEM"}}),
        LINHA(240, {{1, "34199999"}}),
    };
    const Linhas rc = {
        LINHA(400, {{1, "02RETORNO01COBRANCA"}, {36, "00012345678"}, {77, "341"}, {95, "091226"}}),
        LINHA(400, {{1, "1"}, {20, "XYZ"}, {109, "06"}}),
        LINHA(400, {{1, "1"}, {20, "XYW"}, {109, "02"}}),
        LINHA(400, {{1, "9"}, {5, "341"}, {395, "000004"}}),
        LINHA(400, {{1, "02RETORNO01COBRANCA"}, {36, "00098765432"}, {77, "341"}}),
        LINHA(400, {{1, "1"}, {20, "XYZ"}}),
        LINHA(400, {{1, "9"}, {5, "341"}}),
        LINHA(400, {{1, "02RETORNO01COBRANCA"}, {36, "55555555555"}}),
        LINHA(400, {{1, "9"}}),
    };
    // Vendor 240: one client twice; the earlier run's file is replaced.
    const Linhas rr = {
        LINHA(240, {{1, "34100000"}, {59, "0009876543210"}}),
        LINHA(240, {{1, "34100013"}, {59, "0009876543210"}}),
        LINHA(240, {{1, "34199999"}}),
        LINHA(240, {{1, "34100000"}, {59, "0009876543210"}, {100, "SEGUNDO"}}),
        LINHA(240, {{1, "34100013"}, {59, "OUTRO"}}),
        LINHA(240, {{1, "34199999"}}),
    };
    const Linhas re = {
        LINHA(250, {{1, "10"}, {36, "00012345678"}}),
        LINHA(250, {{1, "11"}, {101, "77777"}}),
        LINHA(250, {{1, "11"}, {101, "77778"}}),
        LINHA(250, {{1, "19"}}),
    };
    // DELTA has no detail rule: its lines go as the bank sent them, except
    // that every record is the record length, blank-filled.
    const Linhas rd = {LINHA(400, {{1, "0"}, {30, "DELTA123456"}}), LINHA(400, {{1, "1"}, {50, "DESCONTO"}}),
                       LINHA_CURTA({{1, "1"}, {50, "CURTA"}}), LINHA(400, {{1, "1"}, {60, "TAB"}, {400, "\t"}}),
                       LINHA(400, {{1, "1"}, {50, "DEPOIS"}}), LINHA(400, {{1, "9"}, {5, "000"}})};
    GRAVA_ARQUIVO_TESTE("RO0912.020", TEXTO(ro));
    GRAVA_ARQUIVO_TESTE("rc0912.020", TEXTO(rc, "\n"));
    GRAVA_ARQUIVO_TESTE("RC0913.020", TEXTO({rc[0], rc[1], rc[3]}));
    GRAVA_ARQUIVO_TESTE("RR0912.020", TEXTO(rr));
    GRAVA_ARQUIVO_TESTE("RE0912.020", TEXTO(re));
    GRAVA_ARQUIVO_TESTE("RD0912.020", TEXTO(rd));
    GRAVA_ARQUIVO_TESTE("RX0912.020", "OUTRO BANCO\r\n");
    GRAVA_ARQUIVO_TESTE("RC0912.021", "NAO E RETORNO\r\n");
    GRAVA_ARQUIVO_TESTE("RC0912", "NAO E RETORNO\r\n");
    GRAVA_ARQUIVO_TESTE("rc0912.ant", "BACKUP ANTERIOR\r\n");
    GRAVA_ARQUIVO_TESTE("RIO.RET", "RETORNO DE ONTEM\r\n");

    SEGREGA_RETORNOS(3);
    EXPECT_EQ(a.Mensagens(), Linhas{});

    EXPECT_EQ(LE_ARQUIVO("ACME.RET"),
              TEXTO({
                  LINHA(240, {{1, "34100000"}, {59, "0001234567890"}, {100, "HEADER ACME"}}),
                  LINHA(240, {{1, "34100013"}, {14, "P"}, {18, "TITULO 1"}}),
                  LINHA(240, {{1, "34100013"}, {14, "R"}, {18, "TITULO 2"}}),
                  LINHA(240, {{1, "34199999"}, {18, "000004"}}),
              }));
    EXPECT_EQ(LE_ARQUIVO("AMORA.RET"), TEXTO({ro[4], ro[5], ro[6]}));
    // The bank code the header rule put back goes into the trailer; GAMA has
    // no such rule and keeps the bank's trailer.
    EXPECT_EQ(ENTRADAS("TEMP/BETA"), Linhas{"RC123456.001"});
    EXPECT_EQ(LE_ARQUIVO("TEMP/BETA/RC123456.001"),
              TEXTO({
                  LINHA(400, {{1, "02RETORNO01COBRANCA"}, {36, "00012345678"}, {77, "237"}, {95, "091226"}}),
                  LINHA(400, {{1, "1"}, {20, "ABC"}, {109, "06"}}),
                  LINHA(400, {{1, "1"}, {20, "XYW"}, {109, "02"}}),
                  LINHA(400, {{1, "9"}, {5, "237"}, {395, "000004"}}),
              }));
    EXPECT_FALSE(ArquivoExiste("BETA.RET"));
    EXPECT_EQ(LE_ARQUIVO("GAMA.RET"), TEXTO({rc[4], rc[5], rc[6]}));
    EXPECT_EQ(LE_ARQUIVO("RIO.RET"),
              TEXTO({
                  LINHA(240, {{1, "34100000"}, {59, "0009876543210"}}),
                  LINHA(240, {{1, "34100013"}, {59, "RIO"}}),
                  LINHA(240, {{1, "34199999"}}),
                  LINHA(240, {{1, "34100000"}, {59, "0009876543210"}, {100, "SEGUNDO"}}),
                  LINHA(240, {{1, "34100013"}, {59, "OUTRO"}}),
                  LINHA(240, {{1, "34199999"}}),
              }));
    EXPECT_EQ(LE_ARQUIVO("VALE.RET"), TEXTO({re[0], LINHA(250, {{1, "11"}, {101, "12345"}}), re[2], re[3]}));
    EXPECT_EQ(LE_ARQUIVO("DELTA.RET"), TEXTO({rd[0], rd[1], LINHA(400, {{1, "1"}, {50, "CURTA"}}),
                                              LINHA(400, {{1, "1"}, {60, "TAB"}}), rd[4], rd[5]}));
    EXPECT_FALSE(ArquivoExiste("ZETA.RET"));

    // Each bank file split is its own backup now, the older backup replaced;
    // the others stay for later runs.
    EXPECT_EQ(LE_ARQUIVO("RO0912.ANT"), TEXTO(ro));
    EXPECT_EQ(LE_ARQUIVO("RC0912.ANT"), TEXTO(rc, "\n"));
    EXPECT_EQ(LE_ARQUIVO("RR0912.ANT"), TEXTO(rr));
    EXPECT_EQ(LE_ARQUIVO("RE0912.ANT"), TEXTO(re));
    EXPECT_EQ(LE_ARQUIVO("RD0912.ANT"), TEXTO(rd));
    for (const char* fora : {"RO0912.020", "rc0912.020", "RR0912.020", "RE0912.020", "RD0912.020", "rc0912.ant"})
        EXPECT_FALSE(ArquivoExiste(fora)) << fora;
    for (const char* fica : {"RC0913.020", "RX0912.020", "RC0912.021", "RC0912"})
        EXPECT_TRUE(ArquivoExiste(fica)) << fica;

    const std::string log = LOG({
        "*****   INICIO DA SEGREGAÇÃO DO RETORNO   *****"_ansi,
        "Data: 09/12/2026 - 12:34:56 - Passada:  3 - Arquivo: CV091234.LOG",
        "LEITURA DO ARQUIVO DE COBRANÇA 240 - Arquivo Retorno do Banco: RO0912.020"_ansi,
        dez + "ACME.RET - Gravado com sucesso",
        dez + "AMORA.RET - Gravado com sucesso",
        dez + "0009999999999 - CLIENTE SEM DEFINIÇÃO PARA ESTE TIPO DE ARQUIVO."_ansi,
        "LEITURA DO ARQUIVO DE COBRANÇA 400 - Arquivo Retorno do Banco: RC0912.020"_ansi,
        dez + "BETA.RET - Gravado com sucesso",
        dez + "BETA.RET - Movido para diretorio temporario",
        dez + "GAMA.RET - Gravado com sucesso",
        dez + "55555555555 - CLIENTE SEM DEFINIÇÃO PARA ESTE TIPO DE ARQUIVO."_ansi,
        "LEITURA DO ARQUIVO DE VENDOR 240 - Arquivo Retorno do Banco: RR0912.020",
        dez + "RIO.RET - Gravado com sucesso",
        dez + "RIO.RET - Gravado com sucesso - junto ao bloco anterior",
        "LEITURA DO ARQUIVO DE VENDOR 250 - Arquivo Retorno do Banco: RE0912.020",
        dez + "VALE.RET - Gravado com sucesso",
        "LEITURA DO ARQUIVO DE DESCONTO 400 - Arquivo Retorno do Banco: RD0912.020",
        dez + "DELTA.RET - Gravado com sucesso",
        "ARQUIVOS NÃO IDENTIFICADOS NO PROCESSAMENTO :"_ansi,
        dez + "RC0913.020 - NÃO CONSIDERADO NESTE PROCESSAMENTO."_ansi,
        dez + "RX0912.020 - NÃO CONSIDERADO NESTE PROCESSAMENTO."_ansi,
        "Arquivos de Cobrança 240 gravados:    2"_ansi,
        "Arquivos de Cobrança 400 gravados:    2"_ansi,
        "Arquivos de Vendor 250 gravados..:    1",
        "Arquivos de Vendor 240 gravados..:    2",
        "Arquivos de Desconto gravados....:    1",
        "Arquivos não identificados.......:    2"_ansi,
        "*****   SEGREGAÇÃO DO RETORNO JÁ CONCLUÍDA   *****"_ansi,
    });
    EXPECT_EQ(LE_ARQUIVO("CV091234.LOG"), log);

    ASSERT_EQ(a.motor->nomesPdf, Linhas{"ARQUIVO_RETORNO_SEGREGACAO_20261209_123456.PDF"});
    const ModeloRelatorio& relatorio = a.motor->pdfs.at(0);
    EXPECT_EQ(relatorio.colunas, 80);
    EXPECT_EQ(relatorio.paginas.at(0).linhas.at(3).substr(0, 41), "Le Banco / Grava Cliente - Hora: 12:34:56");
    EXPECT_EQ(relatorio.paginas.at(0).linhas.at(5), "   Arquivo/Cliente       Ocorrência"_ansi);
    const Linhas impresso = a.Log();
    const Linhas inicio(impresso.begin(), impresso.begin() + 9);
    EXPECT_EQ(inicio, (Linhas{
                          "LEITURA DO ARQUIVO DE COBRANÇA 240 - Arquivo Retorno do Banco: RO0912.020"_ansi,
                          "------------------------------",
                          "",
                          "    ACME.RET      Gravado com sucesso",
                          "    AMORA.RET     Gravado com sucesso",
                          "    0009999999999 CLIENTE SEM DEFINIÇÃO PARA ESTE TIPO DE ARQUIVO."_ansi,
                          "",
                          "LEITURA DO ARQUIVO DE COBRANÇA 400 - Arquivo Retorno do Banco: RC0912.020"_ansi,
                          "------------------------------",
                      }));
    const Linhas fim(impresso.end() - 12, impresso.end());
    EXPECT_EQ(fim, (Linhas{
                       "ARQUIVOS NÃO IDENTIFICADOS NO PROCESSAMENTO:"_ansi,
                       "-------------------------------------------",
                       "",
                       "    RC0913.020    NÃO CONSIDERADO NESTE PROCESSAMENTO."_ansi,
                       "    RX0912.020    NÃO CONSIDERADO NESTE PROCESSAMENTO."_ansi,
                       "",
                       "          Arquivos de Cobrança 240 gravados: 2"_ansi,
                       "          Arquivos de Cobrança 400 gravados: 2"_ansi,
                       "          Arquivos de Vendor 250 gravados..: 1",
                       "          Arquivos de Vendor 240 gravados..: 2",
                       "          Arquivos de Desconto gravados....: 1",
                       "          Arquivos não identificados.......: 2"_ansi,
                   }));

    // The next run, BETA's last pass, a few minutes later: the second
    // Cobrança 400 file is split and BETA's day is consolidated from both
    // parked returns.
    a.g.hora = {12, 40, 0};
    SEGREGA_RETORNOS(5);
    EXPECT_EQ(a.Mensagens(), Linhas{});
    EXPECT_FALSE(ArquivoExiste("RC0913.020"));
    EXPECT_TRUE(ArquivoExiste("RC0913.ANT"));
    EXPECT_EQ(ENTRADAS("TEMP/BETA"), Linhas{});
    const std::string detalhe06 = LINHA(400, {{1, "1"}, {20, "ABC"}, {109, "06"}});
    EXPECT_EQ(LE_ARQUIVO("BETA.RT1").substr(402, 402 * 2),
              TEXTO({detalhe06.substr(0, 394) + "000002", detalhe06.substr(0, 394) + "000003"}));
    const std::string log2 = LE_ARQUIVO("CV091240.LOG");
    for (const std::string& linha : {dez + "BETA.RET - Movido para diretorio temporario",
                                     dez + "BETA.RT1 - 1o. Arquivo Retorno Gravado com sucesso",
                                     dez + "BETA.RT2 - 2o. Arquivo Retorno Gravado com sucesso",
                                     "Arquivos de Cobrança 400 gravados:    3"_ansi})
        EXPECT_NE(log2.find(LINHA(120, {{1, linha}})), std::string::npos) << linha;
}

// Two runs in the same minute share a log file name: the second run's lines
// follow the first run's.
TEST(Segregacao, DuasExecucoesNoMesmoMinutoNaoPerdemOLog) {
    AmbienteConcatenacao a;
    SEGREGA_RETORNOS(0);
    const std::string primeiro = LE_ARQUIVO("CV091234.LOG");
    ASSERT_EQ(primeiro.size(), 122u * 9);
    a.g.hora = {12, 34, 59};
    SEGREGA_RETORNOS(1);
    const std::string ambos = LE_ARQUIVO("CV091234.LOG");
    ASSERT_EQ(ambos.size(), 122u * 18);
    EXPECT_EQ(ambos.substr(0, primeiro.size()), primeiro);
    EXPECT_EQ(ambos.substr(primeiro.size() + 122, 122),
              LINHA(120, {{1, "Data: 09/12/2026 - 12:34:59 - Passada:  1 - Arquivo: CV091234.LOG"}}) + "\r\n");
    // A run with nothing to do still reports its zero totals.
    EXPECT_EQ(a.motor->pdfs.size(), 2u);
}
