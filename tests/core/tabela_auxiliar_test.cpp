#include <gtest/gtest.h>

#include <filesystem>

#include "core/obr_edita.h"
#include "core/tabela_auxiliar.h"
#include "core/texto/ansi.h"
#include "support/geral_teste.h"
#include "tabela/nome_arquivo.h"

namespace {

std::vector<std::string> codigosEmOrdem(Tabela& t) {
    std::vector<std::string> r;
    for (t.First(); !t.Eof(); t.Next()) r.push_back(t.FieldByName("CODIGO").AsString());
    return r;
}

void acrescenta(Tabela& t, const std::string& codigo, double valor) {
    t.Append();
    t.FieldByName("CODIGO").SetAsString(codigo);
    t.FieldByName("VALOR").SetAsFloat(valor);
    t.Post();
}

}  // namespace

TEST(ObrNomeAuxiliar, NoventaENoveSobrasSaoApagadas) {
    DiretorioDeTrabalho dir;
    std::string nome;
    GRAVA_ARQUIVO_TESTE("indaux01.cdx", "");  // names are taken in any case
    OBR_NOMEAUXILIAR(0, nome);
    EXPECT_EQ(nome, "INDAUX02.CDX");
    for (int n = 2; n <= 99; ++n) {
        OBR_NOMEAUXILIAR(0, nome);
        GRAVA_ARQUIVO_TESTE(nome, "");
    }
    GRAVA_ARQUIVO_TESTE("OUTRO.CDX", "");
    OBR_NOMEAUXILIAR(0, nome);
    EXPECT_EQ(nome, "INDAUX01.CDX");
    EXPECT_EQ(ENTRADAS(), std::vector<std::string>{"OUTRO.CDX"});
}

TEST(ObrNomeAuxiliar, TabelaAbertaPorOutroNaoEApagada) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    std::string nome;
    for (int n = 1; n <= 99; ++n) {
        OBR_NOMEAUXILIAR(1, nome);
        CriaTabela(nome, ListaDeCampos("A,CHARACTER,1,0;"));
    }
    Tabela emUso;  // another run's staging table, open
    emUso.SetTableName("TABAUX05.DBF");
    emUso.Open();
    OBR_NOMEAUXILIAR(1, nome);
    EXPECT_EQ(nome, "TABAUX01.DBF");
    EXPECT_EQ(ENTRADAS(), std::vector<std::string>{"TABAUX05.DBF"});
}

TEST(TauxTabela, TemporariaComIndiceSomeNoFim) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    {
        TauxTABELA aux;
        aux.ADDCAMPO("CODIGO", tipCHAR, 6, 0);
        aux.ADDCAMPO("VALOR", tipNUME, 13, 2);
        aux.ADDCAMPO("DATA", tipDATE, 8, 0);
        ASSERT_TRUE(aux.CRIATABELA("CODIGO", ""));
        EXPECT_TRUE(aux.JA_CRIOU_TABELA_AUXILIAR);
        EXPECT_TRUE(aux.oARQAUX.Exclusive());
        EXPECT_EQ(aux.oARQAUX.IndexName(), "INDAUX01");
        acrescenta(aux.oARQAUX, "C", 3);
        acrescenta(aux.oARQAUX, "A", 1.5);
        acrescenta(aux.oARQAUX, "B", 2);
        EXPECT_EQ(codigosEmOrdem(aux.oARQAUX), (std::vector<std::string>{"A", "B", "C"}));
        EXPECT_EQ(ENTRADAS(), (std::vector<std::string>{"INDAUX01.CDX", "TABAUX01.DBF"}));

        aux.RECRIAINDICE("STR( VALOR, 13, 2 )");
        EXPECT_EQ(aux.oARQAUX.IndexName(), "INDAUX02");
        EXPECT_EQ(codigosEmOrdem(aux.oARQAUX), (std::vector<std::string>{"A", "B", "C"}));

        EXPECT_TRUE(aux.VERIFICA_SE_TEM_REGISTROS());
        aux.LIMPAAUXILIAR();
        EXPECT_FALSE(aux.VERIFICA_SE_TEM_REGISTROS());
        ASSERT_EQ(t.dialogo().mensagens.size(), 1u);
        EXPECT_EQ(t.dialogo().mensagens[0].texto,
                  "NENHUM REGISTRO DISPONÍVEL PARA A SOLICITAÇÃO EFETUADA."_ansi);
    }
    EXPECT_TRUE(ENTRADAS().empty());
}

TEST(TauxTabela, NomeadaFicaNoDisco) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    GRAVA_ARQUIVO_TESTE("SAIDA.CDX", "indice de uma tabela antiga");
    {
        TauxTABELA aux("SAIDA");
        aux.ADDCAMPO("CODIGO", tipCHAR, 6, 0);
        aux.ADDCAMPO("VALOR", tipNUME, 5, 0);
        ASSERT_TRUE(aux.CRIATABELA("CODIGO", "SAIDA"));
        acrescenta(aux.oARQAUX, "X", 1);
    }
    // The named table stays, without the old table's index; the index whose
    // name was chosen here goes.
    EXPECT_EQ(ENTRADAS(), std::vector<std::string>{"SAIDA.DBF"});
    TauxTABELA outra;
    ASSERT_TRUE(outra.ABRETABELAAUX("saida.dbf"));
    EXPECT_EQ(outra.oARQAUX.RecordCount(), 1);
}

TEST(TauxTabela, CopiaDeEstruturaEIdaEVoltaPelaTabelaDeEstrutura) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    CriaTabela("MODELO.DBF",
                ListaDeCampos("CODCLI,CHARACTER,15,0;VALOR,NUMERIC,13,2;DATA,DATE,8,0;"));
    Tabela modelo;
    modelo.SetTableName("MODELO");

    TauxTABELA copia;
    EXPECT_FALSE(copia.CRIATABELA(modelo, "", ""));  // the model is not open
    ASSERT_EQ(t.dialogo().mensagens.size(), 1u);
    EXPECT_EQ(t.dialogo().mensagens[0].titulo, "Erro de tratamento de arquivo");
    const std::string& texto = t.dialogo().mensagens[0].texto;
    EXPECT_EQ(texto.substr(0, texto.find('\n') + 1),
              "NÃO FOI POSSÍVEL CRIAR O ARQUIVO : TABAUX01.DBF - COM A MESMA ESTRUTURA DO "
              "ARQUIVO : MODELO\n"_ansi);

    modelo.Open();
    ASSERT_TRUE(copia.CRIATABELA(modelo, "CODCLI", ""));
    EXPECT_EQ(copia.oARQAUX.FieldCount(), 3);

    TauxTABELA estrutura;
    ASSERT_TRUE(estrutura.CRIATABCOMESTRUTURA(modelo, "", ""));
    Tabela& e = estrutura.oARQAUX;
    EXPECT_EQ(e.RecordCount(), 3);
    EXPECT_EQ(e.FieldByName("FIELD_NAME").AsString(), "CODCLI");  // left on the first row
    e.Next();
    EXPECT_EQ(e.FieldByName("FIELD_TYPE").AsString(), "N");
    EXPECT_EQ(e.FieldByName("FIELD_LEN").AsInteger(), 13);
    EXPECT_EQ(e.FieldByName("FIELD_DEC").AsInteger(), 2);
    e.Delete();  // a deleted row is packed away and gives no column

    TauxTABELA refeita;
    ASSERT_TRUE(refeita.CRIATABAPARTIRDAESTRUTURA(e, "", "REFEITA"));
    const auto& defs = refeita.oARQAUX.FieldDefs();
    ASSERT_EQ(defs.size(), 2u);
    EXPECT_EQ(defs[0].nome, "CODCLI");
    EXPECT_EQ(defs[0].tipo, 'C');
    EXPECT_EQ(defs[0].tamanho, 15);
    EXPECT_EQ(defs[1].nome, "DATA");
    EXPECT_EQ(defs[1].tipo, 'D');
}

TEST(ObrEdita, EsperaOOutroSoltarORegistro) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    CriaTabela("CONVEINS.DBF", ListaDeCampos("VERSAO,CHARACTER,4,0;"));
    Tabela outraEstacao, esta;
    for (Tabela* tb : {&outraEstacao, &esta}) {
        tb->SetTableName("CONVEINS");
        tb->Open();
    }
    outraEstacao.Edit();  // an empty table gets its record and holds it
    outraEstacao.FieldByName("VERSAO").SetAsString("2.20");
    outraEstacao.Post();
    outraEstacao.Edit();
    esta.First();
    // The other workstation posts while this one waits its third time.
    t.geral().DefineEspera([&](int ms) {
        t.esperas.push_back(ms);
        if (t.esperas.size() == 3) outraEstacao.Post();
    });
    OBR_EDITA(esta);
    EXPECT_EQ(t.esperas, (std::vector<int>{200, 200, 200}));
    EXPECT_EQ(esta.State(), EstadoTabela::Editando);
    esta.Cancel();

    // Any other refusal would never end by waiting: it reaches the caller.
    Tabela fechada;
    fechada.SetTableName("CONVEINS");
    t.esperas.clear();
    EXPECT_THROW(OBR_EDITA(fechada), ErroTabela);
    EXPECT_TRUE(t.esperas.empty());
}
