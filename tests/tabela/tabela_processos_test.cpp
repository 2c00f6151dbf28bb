// Several processes on one table, as several workstations share a data
// directory: record locks, exclusive opens, concurrent appends.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>

#include "support/diretorio_temporario.h"
#include "support/processo_filho.h"
#include "tabela/tabela.h"

namespace {

void cria(const DiretorioTemporario& d) {
    CriaTabela(d / "CONVEPEN.DBF",
                ListaDeCampos("CODCLI,CHARACTER,15,0;NUMPED,CHARACTER,15,0;N,NUMERIC,8,0;"));
}

void abre(Tabela& t, const DiretorioTemporario& d, bool exclusiva = false) {
    t.SetDatabaseName(d.Caminho());
    t.SetTableName("CONVEPEN");
    t.SetExclusive(exclusiva);
    t.AddIndexDef("CONVEPEN", "CODCLI + NUMPED");
    t.SetIndexName("CONVEPEN");
    t.Open();
}

void inclui(Tabela& t, const std::string& cli, const std::string& ped, int n = 0) {
    t.Append();
    t.FieldByName("CODCLI").SetAsString(cli);
    t.FieldByName("NUMPED").SetAsString(ped);
    t.FieldByName("N").SetAsInteger(n);
    t.Post();
}

}  // namespace

TEST(TabelaProcessos, EditEsperaOutroProcessoSoltarORegistro) {
    DiretorioTemporario d;
    cria(d);
    {
        Tabela t;
        abre(t, d);
        inclui(t, "A", "1");
        inclui(t, "B", "1");
    }
    ProcessoFilho filho([&](const CanalProcesso& c) {
        Tabela t;
        abre(t, d);
        if (!t.Locate("CODCLI", {"A"})) return 1;
        t.Edit();
        t.FieldByName("N").SetAsInteger(7);
        c.Envia('E');  // holding record 1
        c.Recebe();
        t.Post();
        c.Envia('P');
        c.Recebe();
        return 0;
    });
    ASSERT_EQ(filho.Canal().Recebe(), 'E');
    Tabela t;
    abre(t, d);
    ASSERT_TRUE(t.Locate("CODCLI", {"A"}));
    EXPECT_THROW(t.Edit(), ErroRegistroBloqueado);
    ASSERT_TRUE(t.Locate("CODCLI", {"B"}));
    EXPECT_NO_THROW(t.Edit());  // another record is free
    t.Cancel();
    filho.Canal().Envia('1');
    ASSERT_EQ(filho.Canal().Recebe(), 'P');
    ASSERT_TRUE(t.Locate("CODCLI", {"A"}));
    t.Edit();  // free now; and the edit starts from what the other process wrote
    EXPECT_EQ(t.FieldByName("N").AsInteger(), 7);
    t.FieldByName("N").SetAsInteger(t.FieldByName("N").AsInteger() + 1);
    t.Post();
    filho.Canal().Envia('2');
    EXPECT_EQ(filho.Espera(), 0);
    t.Close();
    abre(t, d);
    ASSERT_TRUE(t.Locate("CODCLI", {"A"}));
    EXPECT_EQ(t.FieldByName("N").AsInteger(), 8);
}

TEST(TabelaProcessos, AberturaExclusivaRecusadaEnquantoOutroUsa) {
    DiretorioTemporario d;
    cria(d);
    ProcessoFilho filho([&](const CanalProcesso& c) {
        Tabela t;
        abre(t, d);
        c.Envia('A');
        c.Recebe();
        return 0;
    });
    ASSERT_EQ(filho.Canal().Recebe(), 'A');
    Tabela ex;
    EXPECT_THROW(abre(ex, d, true), ErroTabelaEmUso);
    EXPECT_FALSE(ex.Active());
    Tabela comp;
    EXPECT_NO_THROW(abre(comp, d));  // shared beside shared is fine
    comp.Close();
    filho.Canal().Envia('F');
    EXPECT_EQ(filho.Espera(), 0);
    EXPECT_NO_THROW(abre(ex, d, true));
    // While held exclusively, nobody else opens it, not even shared.
    ProcessoFilho outro([&](const CanalProcesso&) {
        Tabela t;
        try {
            abre(t, d);
        } catch (const ErroTabelaEmUso&) {
            return 0;
        }
        return 1;
    });
    EXPECT_EQ(outro.Espera(), 0);
}

TEST(TabelaProcessos, InclusoesSimultaneasFicamTodas) {
    DiretorioTemporario d;
    cria(d);
    const int porProcesso = 1500;
    auto inclusor = [&](const std::string& cli) {
        return [&, cli](const CanalProcesso& c) {
            Tabela t;
            abre(t, d);
            c.Recebe();  // start together
            for (int i = 0; i < porProcesso; ++i) inclui(t, cli, std::to_string(i), i);
            return 0;
        };
    };
    ProcessoFilho a(inclusor("A")), b(inclusor("B"));
    Tabela t;
    abre(t, d);
    a.Canal().Envia('x');
    b.Canal().Envia('x');
    // This process appends too, and must see the others' records as it walks.
    for (int i = 0; i < 200; ++i) inclui(t, "C", std::to_string(i), i);
    ASSERT_EQ(a.Espera(), 0);
    ASSERT_EQ(b.Espera(), 0);
    std::set<std::string> vistos;
    for (t.First(); !t.Eof(); t.Next())
        EXPECT_TRUE(vistos
                        .insert(t.FieldByName("CODCLI").AsString() + "/" +
                                t.FieldByName("NUMPED").AsString())
                        .second);
    EXPECT_EQ(vistos.size(), static_cast<std::size_t>(2 * porProcesso + 200));
    EXPECT_EQ(t.RecordCount(), 2 * porProcesso + 200);
    EXPECT_TRUE(t.Locate("CODCLI;NUMPED", {"B", "1499"}));
    t.Close();
    // The header count agrees with the file: header + records + end mark.
    const std::string bytes = LE_ARQUIVO(d / "CONVEPEN.DBF");
    const std::size_t cab = 32 + 3 * 32 + 1;
    EXPECT_EQ(bytes.size(), cab + (2 * porProcesso + 200) * (1 + 15 + 15 + 8) + 1);
    EXPECT_EQ(bytes.back(), '\x1A');
}

TEST(TabelaProcessos, ExclusaoDeOutroProcessoSomeDaNavegacao) {
    DiretorioTemporario d;
    cria(d);
    Tabela t;
    abre(t, d);
    inclui(t, "A", "1");
    inclui(t, "B", "1");
    inclui(t, "C", "1");
    ASSERT_TRUE(t.Locate("CODCLI", {"A"}));
    ProcessoFilho filho([&](const CanalProcesso&) {
        Tabela o;
        abre(o, d);
        if (!o.Locate("CODCLI", {"B"})) return 1;
        o.Delete();
        if (!o.Locate("CODCLI", {"C"})) return 2;
        o.Edit();
        o.FieldByName("CODCLI").SetAsString("0");
        o.Post();
        return 0;
    });
    ASSERT_EQ(filho.Espera(), 0);
    std::vector<std::string> vistos;
    for (t.First(); !t.Eof(); t.Next()) vistos.push_back(t.FieldByName("CODCLI").AsString());
    EXPECT_EQ(vistos, (std::vector<std::string>{"0", "A"}));
}

TEST(TabelaProcessos, TabelaSomenteLeituraRecusaEdicaoSemEsperar) {
    DiretorioTemporario d;
    cria(d);
    {
        Tabela t;
        abre(t, d);
        inclui(t, "A", "1");
    }
    ::chmod((d / "CONVEPEN.DBF").c_str(), 0444);
    ::chmod(d.Caminho().c_str(), 0755);
    // As root, permissions do not bite: drop to an ordinary user in a child.
    ProcessoFilho filho([&](const CanalProcesso&) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 3;
        Tabela t;
        abre(t, d);
        if (!t.SomenteLeitura()) return 4;
        try {
            t.Edit();
        } catch (const ErroRegistroBloqueado&) {
            return 5;
        } catch (const ErroTabela&) {
            return 0;
        }
        return 6;
    });
    EXPECT_EQ(filho.Espera(), 0);
}

// Appends in batches: nothing of a batch is seen before it is written, all
// of it after; it is written when full, by any other operation and at its
// end; it lands after what another process appended meanwhile; and the file
// is the one single appends would have made.
TEST(TabelaProcessos, InclusoesEmLoteAparecemPorInteiro) {
    DiretorioTemporario d, unitario;
    cria(d);
    cria(unitario);
    Tabela lote, outro;
    abre(lote, d);
    abre(outro, d);
    lote.IniciaLote();
    for (int i = 0; i < 3; ++i) inclui(lote, "L", std::to_string(i), i);
    EXPECT_EQ(lote.RecNo(), 0u);
    EXPECT_EQ(outro.PhysicalRecordCount(), 0);
    inclui(outro, "O", "0");  // lands before the batch
    // Any other operation of the batch's table writes it first.
    EXPECT_TRUE(lote.Locate("CODCLI;NUMPED", {"L", "2"}));
    EXPECT_EQ(lote.RecNo(), 4u);
    EXPECT_EQ(outro.PhysicalRecordCount(), 4);
    const int cheio = static_cast<int>(Tabela::kLoteRegistros);
    for (int i = 3; i < 3 + cheio; ++i) inclui(lote, "L", std::to_string(i), i);
    EXPECT_EQ(outro.PhysicalRecordCount(), 4 + cheio);  // a full batch goes by itself
    for (int i = 3 + cheio; i < 10 + cheio; ++i) inclui(lote, "L", std::to_string(i), i);
    EXPECT_EQ(outro.PhysicalRecordCount(), 4 + cheio);
    lote.EncerraLote();
    EXPECT_EQ(outro.PhysicalRecordCount(), 11 + cheio);
    lote.Close();
    outro.Close();

    Tabela t;
    abre(t, unitario);
    inclui(t, "O", "0");
    for (int i = 0; i < 10 + cheio; ++i) inclui(t, "L", std::to_string(i), i);
    t.Close();
    // The same records in the same order, one at a time: the same bytes,
    // index file included.
    EXPECT_EQ(LE_ARQUIVO(d / "CONVEPEN.DBF"), LE_ARQUIVO(unitario / "CONVEPEN.DBF"));
    EXPECT_EQ(LE_ARQUIVO(d / "CONVEPEN.CDX"), LE_ARQUIVO(unitario / "CONVEPEN.CDX"));
}
