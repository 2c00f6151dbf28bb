#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "core/ansi.h"
#include "core/obr_edita.h"
#include "core/tabela/erro_tabela.h"
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
    ASSERT_EQ(t.dialogo().tons.size(), 3u);
    EXPECT_EQ(t.dialogo().tons[0], (std::vector<Tom>{{261, 65}, {0, 30}, {392, 345}}));
    EXPECT_EQ(t.dialogo().tons[1], SOM_TONS(somERRO));
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
    EXPECT_TRUE(d.perguntas[0].padraoSim);
    EXPECT_EQ(d.perguntas[1].titulo, "Posicionamento do Formulário"_ansi);
    EXPECT_FALSE(d.perguntas[1].padraoSim);
    EXPECT_EQ(d.perguntas[2].titulo, "Confirme");
    EXPECT_EQ(d.perguntas[3].titulo, "Confirma Leitura ? ");
    EXPECT_TRUE(d.perguntas[3].padraoSim);
    EXPECT_EQ(d.tons.front(), SOM_TONS(somSIMNAO));
}

TEST(GeralContador, PercentualArredondadoEContagem) {
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
    EXPECT_EQ(g.Contador().LBLPROGRESSO, "100%");
    g.CONTADOR_ENCERRA();

    g.CONTADOR_INICIALIZA(8, false, "Outra");
    // The label keeps the last counter's text until the first step.
    EXPECT_EQ(t.dialogo().contador.back().rotulo, "100%");
    g.CONTADOR_SO_CONTA();
    EXPECT_EQ(g.Contador().LBLPROGRESSO, "13%");  // 12.5 rounds away from zero
    g.CONTADOR_ENCERRA();
    EXPECT_EQ(t.dialogo().cursores, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(t.dialogo().contador.front().titulo, "Listagem");
    EXPECT_TRUE(t.dialogo().contador.front().comCancela);
}

TEST(GeralContador, TotalZeroSoConta) {
    GeralDeTeste t;
    auto& g = t.geral();
    g.CONTADOR_INICIALIZA(0, false, "Zero");
    g.CONTADOR_SO_CONTA();
    g.CONTADOR_SO_CONTA();
    EXPECT_EQ(g.Contador().KTOTALGERAL, 2);
    EXPECT_EQ(g.Contador().posicao, 0);
    EXPECT_EQ(g.Contador().LBLPROGRESSO, "0%");
}

TEST(GeralContador, CancelaValeAteONovoContador) {
    GeralDeTeste t;
    auto& g = t.geral();
    t.dialogo().cancelaNaAtualizacao = 2;
    g.CONTADOR_INICIALIZA(10, true, "Run");
    EXPECT_FALSE(g.CONTADOR_FUNCAO(prgSO_CONTA));
    EXPECT_TRUE(g.CONTADOR_FUNCAO(prgSO_CONTA));
    EXPECT_TRUE(g.CONTADOR_FUNCAO(prgSO_INTERROMPE));
    EXPECT_EQ(g.Contador().KTOTALGERAL, 2);  // reading the flag does not count
    g.CONTADOR_ENCERRA();
    EXPECT_TRUE(g.FLAGINTERROMPE);
    g.CONTADOR_INICIALIZA(10, true, "Run");
    EXPECT_FALSE(g.FLAGINTERROMPE);
}

TEST(GeralDataDia, VariavelDeAmbienteFixaODia) {
    ::setenv("CONVERSOR_DATA", "20191231", 1);
    TmvGERAL fixo(std::make_unique<DialogoRoteirizado>());
    EXPECT_EQ(fixo.DATADIA, DATA_CODIFICA(2019, 12, 31));
    EXPECT_EQ(fixo.ERRO_CONVERSOR_DATA, "");
    EXPECT_FALSE(fixo.MODOTESTE);

    ::setenv("CONVERSOR_DATA", "20190230", 1);
    TmvGERAL errado(std::make_unique<DialogoRoteirizado>());
    EXPECT_NE(errado.ERRO_CONVERSOR_DATA, "");
    ::unsetenv("CONVERSOR_DATA");
    TmvGERAL hoje(std::make_unique<DialogoRoteirizado>());
    EXPECT_EQ(errado.DATADIA, hoje.DATADIA);
    EXPECT_NE(hoje.DATADIA, 0);
}

TEST(GeralInstala, DevolveOAnterior) {
    auto proprio = std::make_unique<TmvGERAL>(std::make_unique<DialogoRoteirizado>());
    TmvGERAL* p = proprio.get();
    auto anterior = GERAL_INSTALA(std::move(proprio));
    EXPECT_EQ(&GERAL(), p);
    auto devolvido = GERAL_INSTALA(std::move(anterior));
    EXPECT_EQ(devolvido.get(), p);
}

TEST(GeralDiretorios, CriaCaminhoComPais) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    EXPECT_TRUE(t.geral().EMP_DIRCRIA("RET/2019/DEZ"));
    EXPECT_TRUE(std::filesystem::is_directory("RET/2019/DEZ"));
    EXPECT_TRUE(t.geral().EMP_DIRCRIA("RET/2019/DEZ"));  // already there
    EXPECT_TRUE(t.geral().EMP_DIRCRIA(dir.caminho() + "/ABS/X"));
    EXPECT_TRUE(std::filesystem::is_directory("ABS/X"));
    GRAVA_ARQUIVO_TESTE("ARQ", "x");
    EXPECT_FALSE(t.geral().EMP_DIRCRIA("ARQ/SUB"));  // a file stands in the way
    EXPECT_FALSE(t.geral().EMP_DIRCRIA(""));
}

TEST(GeralDiretorios, MudaERecuperaODiretorio) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    ::mkdir("SUB", 0777);
    EXPECT_TRUE(t.geral().EMP_DIRMUDA("SUB"));
    std::string atual, comDrive;
    t.geral().RECUPERA_DIRCOMPLETOsemDRIVE(atual);
    t.geral().DIRCOMPLETOCOMDRIVE(comDrive);
    EXPECT_EQ(atual, std::filesystem::canonical(dir.caminho() + "/SUB").string());
    EXPECT_EQ(comDrive, atual);
    EXPECT_FALSE(t.geral().EMP_DIRMUDA("NAO-EXISTE"));
    EXPECT_EQ(std::filesystem::current_path().string(), atual);
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
    EXPECT_EQ(LE_ARQUIVO("CONVEINS.INDAUX"), "indice");
    EXPECT_FALSE(std::filesystem::exists("conveins.cdx"));

    ::mkdir("DESTINO", 0777);
    EXPECT_TRUE(g.OBR_RENOMEIAARQ("CONVEINS.INDAUX", "DESTINO/MOVIDO"));
    EXPECT_EQ(LE_ARQUIVO("DESTINO/MOVIDO"), "indice");
    EXPECT_FALSE(g.OBR_RENOMEIAARQ("NAO-EXISTE", "OUTRO"));
}

TEST(ObrEdita, EsperaSoEnquantoORegistroEstaPreso) {
    GeralDeTeste t;
    int tentativas = 0;
    OBR_EDITA_COM([&] {
        if (++tentativas < 4) throw ErroRegistroBloqueado("REGISTRO EM USO");
    });
    EXPECT_EQ(tentativas, 4);
    EXPECT_EQ(t.esperas, (std::vector<int>{200, 200, 200}));

    // Any other refusal would never end by waiting: it reaches the caller.
    t.esperas.clear();
    EXPECT_THROW(OBR_EDITA_COM([] { throw ErroTabela("TABELA SOMENTE LEITURA"); }), ErroTabela);
    EXPECT_THROW(OBR_EDITA_COM([] { throw ErroTabelaEmUso("EM USO EXCLUSIVO"); }),
                 ErroTabelaEmUso);
    EXPECT_TRUE(t.esperas.empty());
}
