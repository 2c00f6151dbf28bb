// The engine keeps the .CDX files of its tables complete and current, so
// that other xBase tools opening the same directory find sound indexes.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>

#include "core/texto/ansi.h"
#include "support/cdx_leitor_teste.h"
#include "support/diretorio_temporario.h"
#include "support/processo_filho.h"
#include "tabela/tabela.h"

namespace {

const char* kChave = "CODCLI + NUMPED";

void abre(Tabela& t, const DiretorioTemporario& d, bool exclusiva = false) {
    t.SetDatabaseName(d.Caminho());
    t.SetTableName("CONVEPEN");
    t.SetExclusive(exclusiva);
    t.AddIndexDef("CONVEPEN", kChave);
    t.SetIndexName("CONVEPEN");
    t.Open();
}

void inclui(Tabela& t, const std::string& cli, const std::string& ped) {
    t.Append();
    t.FieldByName("CODCLI").SetAsString(cli);
    t.FieldByName("NUMPED").SetAsString(ped);
    t.Post();
}

std::string chave(const std::string& cli, const std::string& ped) {
    std::string c = cli, p = ped;
    c.resize(15, ' ');
    p.resize(15, ' ');
    return c + p;
}

// (key, record) pairs the one tag of a CDX holds, read independently.
std::vector<std::pair<std::string, std::uint32_t>> entradas(const std::string& arquivo,
                                                           const std::string& tag) {
    const CdxArquivoTeste cdx = LeCdxParaTeste(arquivo);
    for (const auto& t : cdx.tags)
        if (t.tag == tag) {
            std::vector<std::pair<std::string, std::uint32_t>> r;
            for (const auto& e : t.arvore.entradas) r.emplace_back(e.chave, e.registro);
            return r;
        }
    ADD_FAILURE() << "tag " << tag << " ausente de " << arquivo;
    return {};
}

unsigned char flagDbf(const DiretorioTemporario& d) {
    return static_cast<unsigned char>(LE_ARQUIVO(d / "CONVEPEN.DBF")[28]);
}

}  // namespace

TEST(TabelaCdx, IndiceNoDiscoAcompanhaCadaExecucao) {
    DiretorioTemporario d;
    CriaTabela(d / "CONVEPEN.DBF", ListaDeCampos("CODCLI,CHARACTER,15,0;NUMPED,CHARACTER,15,0;"));
    {
        Tabela t;
        abre(t, d);
        // Opening a table whose tag is known but whose index is missing
        // creates the index and declares it in the DBF header.
        EXPECT_EQ(flagDbf(d) & 0x01, 0x01);
        EXPECT_TRUE(entradas(d / "CONVEPEN.CDX", "CONVEPEN").empty());
        inclui(t, "B", "2");
        inclui(t, "A", "1");
        inclui(t, "C", "3");
        inclui(t, "A", "0");
        ASSERT_TRUE(t.Locate("CODCLI;NUMPED", {"C", "3"}));
        t.Delete();
        ASSERT_TRUE(t.Locate("CODCLI;NUMPED", {"B", "2"}));
        t.Edit();
        t.FieldByName("CODCLI").SetAsString("0");
        t.Post();
    }
    const auto depois = entradas(d / "CONVEPEN.CDX", "CONVEPEN");
    EXPECT_EQ(depois, (std::vector<std::pair<std::string, std::uint32_t>>{
                          {chave("0", "2"), 1}, {chave("A", "0"), 4}, {chave("A", "1"), 2}}));
    const CdxArquivoTeste cdx = LeCdxParaTeste(d / "CONVEPEN.CDX");
    ASSERT_EQ(cdx.tags.size(), 1u);
    EXPECT_EQ(cdx.tags[0].arvore.cabecalho.expressao, kChave);
    EXPECT_EQ(cdx.tags[0].arvore.cabecalho.tamanhoChave, 30);

    // Pack renumbers the records: the index follows.
    {
        Tabela t;
        abre(t, d, true);
        t.Pack();
    }
    EXPECT_EQ(entradas(d / "CONVEPEN.CDX", "CONVEPEN"),
              (std::vector<std::pair<std::string, std::uint32_t>>{
                  {chave("0", "2"), 1}, {chave("A", "0"), 3}, {chave("A", "1"), 2}}));
}

TEST(TabelaCdx, IndiceDanificadoNaoImpedeAberturaEERefeito) {
    DiretorioTemporario d;
    CriaTabela(d / "CONVEPEN.DBF", ListaDeCampos("CODCLI,CHARACTER,15,0;NUMPED,CHARACTER,15,0;"));
    {
        Tabela t;
        abre(t, d);
        inclui(t, "X", "1");
    }
    ::unlink((d / "CONVEPEN.CDX").c_str());
    GRAVA_ARQUIVO_TESTE(d / "convepen.cdx", std::string(700, '\x55'));
    std::vector<std::string> avisos;
    DefineAvisoDaTabela([&](const std::string& a) { avisos.push_back(a); });
    Tabela t;
    abre(t, d);
    DefineAvisoDaTabela(nullptr);
    ASSERT_EQ(avisos.size(), 1u);
    EXPECT_NE(avisos[0].find("DANIFICADO"), std::string::npos);
    EXPECT_TRUE(t.Locate("CODCLI", {"X"}));
    EXPECT_EQ(entradas(d / "convepen.cdx", "CONVEPEN"),
              (std::vector<std::pair<std::string, std::uint32_t>>{{chave("X", "1"), 1}}));
}

TEST(TabelaCdx, TagsDeUmIndiceAlheioSaoConhecidas) {
    DiretorioTemporario d;
    CriaTabela(d / "FORA.DBF", ListaDeCampos("NOME,CHARACTER,8,0;DIA,DATE,8,0;"));
    {
        Tabela t;
        t.SetDatabaseName(d.Caminho());
        t.SetTableName("FORA");
        t.Open();
        for (const char* n : {"ZECA", "ANA", "MARIA"}) {
            t.Append();
            t.FieldByName("NOME").SetAsString(n);
            t.Post();
        }
        t.CreateIndex("", "PORNOME", "NOME");
        t.CreateIndex("", "PORDIA", "DTOS(DIA)+NOME");
    }
    // A new table object, told nothing, finds both tags in the file.
    Tabela t;
    t.SetDatabaseName(d.Caminho());
    t.SetTableName("FORA");
    t.Open();
    ASSERT_EQ(t.IndexDefs().size(), 2u);
    t.SetIndexName("PORNOME");
    std::vector<std::string> nomes;
    for (t.First(); !t.Eof(); t.Next()) nomes.push_back(t.FieldByName("NOME").AsString());
    EXPECT_EQ(nomes, (std::vector<std::string>{"ANA", "MARIA", "ZECA"}));
    const CdxArquivoTeste cdx = LeCdxParaTeste(d / "FORA.CDX");
    ASSERT_EQ(cdx.tags.size(), 2u);
    EXPECT_EQ(cdx.tags[0].tag, "PORDIA");
    EXPECT_EQ(cdx.tags[0].arvore.cabecalho.expressao, "DTOS(DIA)+NOME");
}

TEST(TabelaCdx, IndiceEmArquivoSeparado) {
    DiretorioTemporario d;
    CriaTabela(d / "TABAUX01.DBF", ListaDeCampos("DADOS1,CHARACTER,20,0;"));
    Tabela t;
    t.SetDatabaseName(d.Caminho());
    t.SetTableName("TABAUX01");
    t.SetExclusive(true);
    t.Open();
    for (const char* n : {"c", "a", "b"}) {
        t.Append();
        t.FieldByName("DADOS1").SetAsString(n);
        t.Post();
    }
    t.CreateIndex(d / "INDAUX01.CDX", "INDAUX01", "DADOS1");
    t.SetIndexName("INDAUX01");
    t.First();
    EXPECT_EQ(t.FieldByName("DADOS1").AsString(), "a");
    t.Close();
    EXPECT_EQ(entradas(d / "INDAUX01.CDX", "INDAUX01").size(), 3u);
    EXPECT_FALSE(LE_ARQUIVO(d / "TABAUX01.DBF")[28] & 0x01);  // no structural index
    EXPECT_TRUE(LE_ARQUIVO(d / "TABAUX01.CDX").empty());
}

// An index file found current and then only edited outside its keys is
// left as it is at closing (no rewrite); a key edited, or records another
// process appended and never indexed (it died before closing), and it is
// rewritten.
TEST(TabelaCdx, IndiceEmDiaSoEhReescritoQuandoAsChavesMudam) {
    DiretorioTemporario d;
    CriaTabela(d / "CONVEPEN.DBF", ListaDeCampos("CODCLI,CHARACTER,15,0;NUMPED,CHARACTER,15,0;N,NUMERIC,4,0;"));
    {
        Tabela t;
        abre(t, d);
        inclui(t, "A", "1");
        inclui(t, "B", "2");
    }
    auto inode = [&] {
        struct stat st {};
        ::stat((d / "CONVEPEN.CDX").c_str(), &st);
        return st.st_ino;
    };
    auto edita = [&](Tabela& t, const char* cli, const char* campo, const char* valor) {
        ASSERT_TRUE(t.Locate("CODCLI", {cli}));
        t.Edit();
        t.FieldByName(campo).SetAsString(valor);
        t.Post();
    };
    const auto antes = inode();
    {
        Tabela t;
        abre(t, d);
        edita(t, "A", "N", "7");
    }
    EXPECT_EQ(inode(), antes);
    {
        Tabela t;
        abre(t, d);
        edita(t, "B", "CODCLI", "0");
    }
    EXPECT_NE(inode(), antes);
    EXPECT_EQ(entradas(d / "CONVEPEN.CDX", "CONVEPEN"),
              (std::vector<std::pair<std::string, std::uint32_t>>{{chave("0", "2"), 2}, {chave("A", "1"), 1}}));

    Tabela t;
    abre(t, d);
    edita(t, "A", "N", "8");
    ProcessoFilho morre([&](const CanalProcesso&) {
        Tabela o;
        abre(o, d);
        inclui(o, "C", "3");
        ::_exit(0);  // without closing: its record never reaches the index file
        return 1;
    });
    ASSERT_EQ(morre.Espera(), 0);
    t.Close();
    EXPECT_EQ(entradas(d / "CONVEPEN.CDX", "CONVEPEN"),
              (std::vector<std::pair<std::string, std::uint32_t>>{
                  {chave("0", "2"), 2}, {chave("A", "1"), 1}, {chave("C", "3"), 3}}));
}
