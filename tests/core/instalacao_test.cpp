#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "core/dados/esquema.h"
#include "core/dados/instalacao.h"
#include "core/dados/tdmquor.h"
#include "support/diretorio_temporario.h"
#include "tabela/nome_arquivo.h"

TEST(Instalacao, CriaAsQuatroTabelasERecusaSobrescrever) {
    DiretorioTemporario d;
    const std::string dir = d / "dados/novo";
    const TData hoje = CodificaData(2026, 12, 9);
    InstalaDiretorioDeDados(dir, true, hoje);
    for (const EsquemaTabela* e : EsquemasDasTabelas()) {
        Tabela t;
        t.SetDatabaseName(dir);
        t.SetTableName(e->arquivo);
        t.Open();
        ASSERT_EQ(t.FieldDefs().size(), e->campos.size()) << e->arquivo;
        for (std::size_t i = 0; i < e->campos.size(); ++i) {
            EXPECT_EQ(t.FieldDefs()[i].nome, e->campos[i].nome);
            EXPECT_EQ(t.FieldDefs()[i].tamanho, e->campos[i].tamanho);
        }
    }
    Tabela ins;
    ins.SetDatabaseName(dir);
    ins.SetTableName("CONVEINS");
    ins.Open();
    EXPECT_EQ(ins.RecordCount(), 1);
    EXPECT_EQ(ins.FieldByName("VERSAO").AsString(), "2.20");
    ins.Close();

    // The data module's tags work on the installed tables.
    Tabela cli;
    cli.SetDatabaseName(dir);
    cli.SetTableName("CONVECLI.DBF");
    cli.AddIndexDef(EsquemaConvecli().tag, EsquemaConvecli().expressao);
    cli.SetIndexName("CONVECLI");
    cli.Open();
    std::set<std::string> tipos;
    std::string anterior;
    for (cli.First(); !cli.Eof(); cli.Next()) {
        const std::string cod = cli.FieldByName("CODCLI").AsString();
        EXPECT_LT(anterior, cod);
        anterior = cod;
        tipos.insert(cli.FieldByName("TIPOEMP").AsString());
        EXPECT_EQ(cli.FieldByName("DATAINC").AsDate(), hoje);
    }
    EXPECT_EQ(tipos, (std::set<std::string>{"1", "2", "3", "4", "A", "C", "D", "R", "V"}));
    cli.Close();
    // Each indexed table has its structural index, declared in its header.
    for (const EsquemaTabela* e : EsquemasDasTabelas()) {
        const bool temIndice = ArquivoExiste(dir + "/" + e->tag + ".CDX");
        EXPECT_EQ(temIndice, !e->tag.empty()) << e->arquivo;
        EXPECT_EQ(LE_ARQUIVO(dir + "/" + e->arquivo)[28] & 0x01, temIndice ? 1 : 0) << e->arquivo;
    }

    // A second installation over it touches nothing.
    const std::string antes = LE_ARQUIVO(dir + "/CONVECLI.DBF");
    EXPECT_THROW(InstalaDiretorioDeDados(dir, false, hoje), ErroTabela);
    EXPECT_EQ(LE_ARQUIVO(dir + "/CONVECLI.DBF"), antes);

    std::ostringstream s;
    MostraTabelasDoDiretorio(dir, s);
    EXPECT_NE(s.str().find("CODCLI=COFAP"), std::string::npos);
}

TEST(Instalacao, UmaTabelaJaPresenteImpedeTudo) {
    DiretorioTemporario d;
    GRAVA_ARQUIVO_TESTE(d / "convetax.dbf", "qualquer coisa");
    EXPECT_THROW(InstalaDiretorioDeDados(d.Caminho(), false, 1), ErroTabela);
    EXPECT_FALSE(ArquivoExiste(d / "CONVEINS.DBF"));
    EXPECT_EQ(LE_ARQUIVO(d / "convetax.dbf"), "qualquer coisa");
}
