// Many searches each followed by an edit, in blocks: the file ends byte for
// byte as Locate, Edit and Post one search at a time leave it (over more
// than one block, sparse and neighbouring records, a record found twice,
// a key held by two records, deleted and missing ones), and what the engine
// cannot do safely in a block (a record another object holds, a record
// changed or deleted since the order was read, a search that is no seek) is
// left to the caller without waiting.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/diretorio_temporario.h"
#include "tabela/tabela.h"

namespace {

using Localizado = Tabela::Localizado;

void abre(Tabela& t, const std::string& dir) {
    t.SetDatabaseName(dir);
    t.SetTableName("CONVEPEN");
    t.AddIndexDef("CONVEPEN", "CODCLI + NUMPED");
    t.SetIndexName("CONVEPEN");
    t.Open();
}

// Planilhas 0 .. n-1 of client A, N = planilha % 100.
void cria(const std::string& dir, int n) {
    CriaTabela(dir + "/CONVEPEN.DBF", ListaDeCampos("CODCLI,CHARACTER,15,0;NUMPED,CHARACTER,15,0;N,NUMERIC,8,0;"));
    Tabela t;
    abre(t, dir);
    t.IniciaLote();
    for (int i = 0; i < n; ++i) {
        t.Append();
        t.FieldByName("CODCLI").SetAsString("A");
        t.FieldByName("NUMPED").SetAsString(std::to_string(i));
        t.FieldByName("N").SetAsInteger(i % 100);
        t.Post();
    }
    t.EncerraLote();
}

struct Busca {
    std::string cli, ped;
};

std::vector<Localizado> editaEmBloco(Tabela& t, const std::vector<Busca>& buscas,
                                     const std::function<void(std::size_t)>& altera,
                                     const std::string& campos = "CODCLI;NUMPED") {
    return t.EditaLocalizados(
        campos, buscas.size(),
        [&](std::size_t i, std::vector<ValorBusca>& v) {
            if (campos != "NUMPED") v.emplace_back(buscas[i].cli);
            v.emplace_back(buscas[i].ped);
        },
        altera);
}

// What the caller does with a search left to it.
bool editaUmaVez(Tabela& t, const Busca& b, const std::function<void()>& altera) {
    if (!t.Locate("CODCLI;NUMPED", {b.cli, b.ped})) return false;
    t.Edit();
    altera();
    t.Post();
    return true;
}

}  // namespace

TEST(TabelaEdicaoEmBloco, ArquivoIgualAoDeUmaBuscaPorVez) {
    DiretorioTemporario emBloco, umAUm;
    cria(emBloco.Caminho(), 20000);
    {
        Tabela t;
        abre(t, emBloco.Caminho());
        t.Append();  // planilha 5 twice: the search finds the first
        t.FieldByName("CODCLI").SetAsString("A");
        t.FieldByName("NUMPED").SetAsString("5");
        t.Post();
        ASSERT_TRUE(t.Locate("CODCLI;NUMPED", {"A", "7"}));
        t.Delete();
    }
    for (const char* f : {"CONVEPEN.DBF", "CONVEPEN.CDX"})
        std::filesystem::copy_file(emBloco / f, umAUm / f);

    std::vector<Busca> buscas{{"A", "19999"}, {"A", "3"}, {"A", "5"}, {"A", "7"}, {"A", "3 "},
                              {"B", "1"},     {"A", std::string(20, '9')}};
    for (int p = 100; p < 20000; p += 500) buscas.push_back({"A", std::to_string(p)});
    for (int p = 9000; p < 18000; ++p) buscas.push_back({"A", std::to_string(p)});  // over a block
    buscas.push_back({"A", "42"});
    // Each edit depends on the one before on the same record; one in four
    // leaves the bytes as they were.
    auto altera = [](Tabela& t, std::size_t i) {
        Campo& n = t.FieldByName("N");
        n.SetAsInteger(i % 4 == 0 ? n.AsInteger() : n.AsInteger() * 3 + static_cast<long long>(i % 5));
    };

    Tabela t;
    abre(t, emBloco.Caminho());
    const std::vector<Localizado> r = editaEmBloco(t, buscas, [&](std::size_t i) { altera(t, i); });
    ASSERT_EQ(r.size(), buscas.size());
    std::vector<bool> achados;
    for (std::size_t i = 0; i < buscas.size(); ++i)
        achados.push_back(r[i] == Localizado::Editado ||
                          (r[i] == Localizado::Adiado && editaUmaVez(t, buscas[i], [&] { altera(t, i); })));
    Tabela u;
    abre(u, umAUm.Caminho());
    for (std::size_t i = 0; i < buscas.size(); ++i)
        EXPECT_EQ(achados[i], editaUmaVez(u, buscas[i], [&] { altera(u, i); }))
            << buscas[i].cli << "/" << buscas[i].ped;
    EXPECT_EQ(r[3], Localizado::Ausente);  // deleted
    EXPECT_EQ(r[6], Localizado::Adiado);   // longer than the field: no seek
    EXPECT_EQ(t.RecNo(), u.RecNo());       // on the record of the last search
    EXPECT_EQ(t.FieldByName("N").AsInteger(), u.FieldByName("N").AsInteger());
    // Fields that are no prefix of the order's key: all left to the caller.
    for (const Localizado l : editaEmBloco(t, {{"5", ""}}, [](std::size_t) {}, "NUMPED"))
        EXPECT_EQ(l, Localizado::Adiado);
    t.Close();
    u.Close();
    // The change counter (header bytes 24-27) counts edits, which are fewer.
    auto semContador = [](std::string dbf) { return dbf.replace(24, 4, 4, '\0'); };
    EXPECT_EQ(semContador(LE_ARQUIVO(emBloco / "CONVEPEN.DBF")), semContador(LE_ARQUIVO(umAUm / "CONVEPEN.DBF")));
    EXPECT_EQ(LE_ARQUIVO(emBloco / "CONVEPEN.CDX"), LE_ARQUIVO(umAUm / "CONVEPEN.CDX"));
}

// Two other objects of the table, as two other workstations: one holds a
// record; the other, while the first block is being edited, changes the
// key of a record of the second block and deletes another there.
TEST(TabelaEdicaoEmBloco, OQueOutroSeguraOuMudouFicaParaOChamador) {
    DiretorioTemporario d;
    cria(d.Caminho(), 10000);
    Tabela t, segura, muda;
    abre(t, d.Caminho());
    abre(segura, d.Caminho());
    abre(muda, d.Caminho());
    ASSERT_TRUE(segura.Locate("CODCLI;NUMPED", {"A", "100"}));
    segura.Edit();

    std::vector<Busca> buscas;
    for (int p = 0; p < 10000; ++p) buscas.push_back({"A", std::to_string(p)});
    bool mudou = false;
    const std::vector<Localizado> r = editaEmBloco(t, buscas, [&](std::size_t) {
        if (!mudou) {
            mudou = true;
            ASSERT_TRUE(muda.Locate("CODCLI;NUMPED", {"A", "9500"}));
            muda.Edit();
            muda.FieldByName("NUMPED").SetAsString("X9500");
            muda.Post();
            ASSERT_TRUE(muda.Locate("CODCLI;NUMPED", {"A", "9600"}));
            muda.Delete();
        }
        t.FieldByName("N").SetAsInteger(t.FieldByName("N").AsInteger() + 1000);
    });
    EXPECT_EQ(r[100], Localizado::Adiado);
    EXPECT_EQ(r[9500], Localizado::Adiado);
    EXPECT_EQ(r[9600], Localizado::Adiado);
    int editados = 0;
    for (const Localizado l : r) editados += l == Localizado::Editado;
    EXPECT_EQ(editados, 10000 - 3);

    // The order was mended: the searches the caller does find what is there.
    EXPECT_FALSE(t.Locate("CODCLI;NUMPED", {"A", "9500"}));
    EXPECT_FALSE(t.Locate("CODCLI;NUMPED", {"A", "9600"}));
    ASSERT_TRUE(t.Locate("CODCLI;NUMPED", {"A", "X9500"}));
    EXPECT_EQ(t.FieldByName("N").AsInteger(), 0);
    segura.Cancel();
    ASSERT_TRUE(muda.Locate("CODCLI;NUMPED", {"A", "100"}));
    EXPECT_EQ(muda.FieldByName("N").AsInteger(), 0);
    ASSERT_TRUE(muda.Locate("CODCLI;NUMPED", {"A", "9999"}));
    EXPECT_EQ(muda.FieldByName("N").AsInteger(), 1099);
    EXPECT_EQ(muda.RecordCount(), 9999);
}
