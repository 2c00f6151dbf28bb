#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "core/texto/ansi.h"
#include "support/geral_teste.h"

TEST(GeralMensagem, SomDoTipoETituloPadrao) {
    GeralDeTeste t;
    t.geral().MENSAGEM("ARQUIVO GRAVADO.", somSUCESSO);
    t.geral().MENSAGEM("FALHOU.", somERRO);
    t.geral().MENSAGEM("FALHOU.", somERRO, "Erro de tratamento de arquivo");
    const auto& m = t.dialogo().mensagens;
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].titulo, "Aviso...");
    EXPECT_EQ(m[1].titulo, "Atenção..."_ansi);
    EXPECT_EQ(m[2].titulo, "Erro de tratamento de arquivo");
    EXPECT_EQ(t.dialogo().tons[0], (std::vector<Tom>{{261, 65}, {0, 30}, {392, 345}}));
    EXPECT_EQ(t.dialogo().ErrosMostrados(), 2);
}

TEST(GeralConfirma, TituloEBotaoPadrao) {
    GeralDeTeste t;
    auto& d = t.dialogo();
    d.respostasSimNao = {std::nullopt, std::nullopt, std::nullopt, std::nullopt, false};
    EXPECT_TRUE(OBR_CONFIRMA("Posiciona?", "S_Posicionamento do Formulário"_ansi));
    EXPECT_FALSE(OBR_CONFIRMA("Posiciona?", "N_Posicionamento do Formulário"_ansi));
    EXPECT_FALSE(OBR_CONFIRMA("Exclui?", "N"));
    EXPECT_TRUE(OBR_CONFIRMA("Sai?", "Confirma Leitura ? "));
    EXPECT_FALSE(OBR_CONFIRMA("Sai?", "S"));  // the person chose Não
    ASSERT_EQ(d.perguntas.size(), 5u);
    EXPECT_EQ(d.perguntas[0].titulo, "Posicionamento do Formulário"_ansi);
    EXPECT_EQ(d.perguntas[1].titulo, "Posicionamento do Formulário"_ansi);
    EXPECT_EQ(d.perguntas[2].titulo, "Confirme");
    EXPECT_EQ(d.perguntas[3].titulo, "Confirma Leitura ? ");
    EXPECT_EQ(d.tons.front(), TonsDoSom(somSIMNAO));
}

TEST(GeralContador, PercentualContagemECancela) {
    GeralDeTeste t;
    auto& g = t.geral();
    g.CONTADOR_INICIALIZA(3, true, "Listagem");
    g.CONTADOR_SO_CONTA();
    EXPECT_EQ(g.Contador().LBLPROGRESSO, "33%");
    g.CONTADOR_SO_CONTA();
    EXPECT_EQ(g.Contador().LBLPROGRESSO, "67%");
    g.CONTADOR_SO_CONTA();
    g.CONTADOR_SO_CONTA();  // past the end: counted, the bar stays full
    EXPECT_EQ(g.Contador().KTOTALGERAL, 4);
    EXPECT_EQ(g.Contador().posicao, 3);
    g.CONTADOR_ENCERRA();

    g.CONTADOR_INICIALIZA(0, false, "Zero");
    EXPECT_EQ(t.dialogo().contador.back().rotulo, "100%");  // kept until the first step
    g.CONTADOR_SO_CONTA();
    EXPECT_EQ(g.Contador().KTOTALGERAL, 1);
    EXPECT_EQ(g.Contador().LBLPROGRESSO, "100%");  // a total of 0 moves nothing
    g.CONTADOR_ENCERRA();

    t.dialogo().cancelaNaAtualizacao = 2;
    g.CONTADOR_INICIALIZA(8, true, "Run");
    EXPECT_FALSE(g.ContadorPorFuncao(prgSO_CONTA));
    EXPECT_EQ(g.Contador().LBLPROGRESSO, "13%");  // 12.5 rounds away from zero
    EXPECT_TRUE(g.ContadorPorFuncao(prgSO_CONTA));
    EXPECT_TRUE(g.ContadorPorFuncao(prgSO_INTERROMPE));
    EXPECT_EQ(g.Contador().KTOTALGERAL, 2);  // reading the flag does not count
    g.CONTADOR_ENCERRA();
    EXPECT_TRUE(g.FLAGINTERROMPE);
    g.CONTADOR_INICIALIZA(8, true, "Run");
    EXPECT_FALSE(g.FLAGINTERROMPE);
    EXPECT_EQ(t.dialogo().cursores, (std::vector<bool>{true, false, true, false, true, false, true}));
}

TEST(GeralDataDia, VariavelDeAmbienteFixaODia) {
    ::setenv("CONVERSOR_DATA", "20191231", 1);
    TmvGERAL fixo(std::make_unique<DialogoRoteirizado>());
    EXPECT_EQ(fixo.DATADIA, CodificaData(2019, 12, 31));
    EXPECT_EQ(fixo.ERRO_CONVERSOR_DATA, "");
    ::setenv("CONVERSOR_DATA", "20190230", 1);
    TmvGERAL errado(std::make_unique<DialogoRoteirizado>());
    EXPECT_NE(errado.ERRO_CONVERSOR_DATA, "");
    ::unsetenv("CONVERSOR_DATA");
    TmvGERAL hoje(std::make_unique<DialogoRoteirizado>());
    EXPECT_EQ(errado.DATADIA, hoje.DATADIA);
}

TEST(GeralDiretorios, CriaCaminhoComPaisEMuda) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    auto& g = t.geral();
    EXPECT_TRUE(g.EMP_DIRCRIA("RET/2019/DEZ"));
    EXPECT_TRUE(std::filesystem::is_directory("RET/2019/DEZ"));
    EXPECT_TRUE(g.EMP_DIRCRIA("RET/2019/DEZ"));  // already there
    EXPECT_TRUE(g.EMP_DIRCRIA(dir.caminho() + "/ABS/X"));
    GRAVA_ARQUIVO_TESTE("ARQ", "x");
    EXPECT_FALSE(g.EMP_DIRCRIA("ARQ/SUB"));  // a file stands in the way

    EXPECT_TRUE(g.EMP_DIRMUDA("RET"));
    std::string atual;
    g.RECUPERA_DIRCOMPLETOsemDRIVE(atual);
    EXPECT_EQ(atual, std::filesystem::canonical(dir.caminho() + "/RET").string());
    EXPECT_FALSE(g.EMP_DIRMUDA("NAO-EXISTE"));
}

TEST(GeralRenomeia, NuncaSubstituiUmArquivoExistente) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    auto& g = t.geral();
    GRAVA_ARQUIVO_TESTE("conveins.cdx", "indice");
    GRAVA_ARQUIVO_TESTE("CONVEINS.INDAUX", "antigo");
    EXPECT_FALSE(g.OBR_RENOMEIAARQ("CONVEINS.CDX", "CONVEINS.INDAUX"));
    EXPECT_FALSE(g.OBR_RENOMEIAARQ("CONVEINS.CDX", "conveins.indaux"));  // same name, other case
    EXPECT_EQ(LE_ARQUIVO("CONVEINS.INDAUX"), "antigo");
    EXPECT_EQ(LE_ARQUIVO("conveins.cdx"), "indice");

    ::unlink("CONVEINS.INDAUX");
    EXPECT_TRUE(g.OBR_RENOMEIAARQ("CONVEINS.CDX", "CONVEINS.INDAUX"));  // found in any case
    EXPECT_EQ(ENTRADAS(), std::vector<std::string>{"CONVEINS.INDAUX"});
    ::mkdir("DESTINO", 0777);
    EXPECT_TRUE(g.OBR_RENOMEIAARQ("CONVEINS.INDAUX", "DESTINO/MOVIDO"));
    EXPECT_EQ(LE_ARQUIVO("DESTINO/MOVIDO"), "indice");
    EXPECT_FALSE(g.OBR_RENOMEIAARQ("NAO-EXISTE", "OUTRO"));
}
