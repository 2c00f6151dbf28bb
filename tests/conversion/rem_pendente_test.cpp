// The pending rows of a whole file, written in batches, leave the table
// byte for byte as one call per operation does: rows already there are
// refreshed in place (their return date kept), new planilhas appended in the
// order they first appear, a planilha repeated in the file written once with
// its last CNPJ, another client's row of the same planilha untouched.

#include <gtest/gtest.h>

#include "conversion/rem_pendente.h"
#include "core/dados/esquema.h"
#include "support/diretorio_temporario.h"
#include "support/geral_teste.h"
#include "tabela/tabela.h"

namespace {

void prepara(const std::string& dir) {
    CriaTabela(dir + "/CONVEPEN.DBF", EsquemaConvepen().campos);
    Tabela t;
    t.SetDatabaseName(dir);
    t.SetTableName("CONVEPEN");
    t.AddIndexDef("CONVEPEN", "CODCLI + NUMPED");
    t.SetIndexName("CONVEPEN");
    t.Open();
    for (const auto& [cli, ped] : {std::pair{"COFAP", "00000002"}, {"OUTRO", "00000003"}, {"COFAP", "00000005"}}) {
        t.Append();
        t.FieldByName("CODCLI").SetAsString(cli);
        t.FieldByName("NUMPED").SetAsString(ped);
        t.FieldByName("CGCCLI").SetAsString("99999999999999");
        t.FieldByName("DTREMESSA").SetAsDate(46000);
        t.FieldByName("DTRETORNO").SetAsDate(46010);
        t.Post();
    }
}

}  // namespace

TEST(RemPendentes, EmLotesComoUmaChamadaPorOperacao) {
    DiretorioTemporario umAUm, emLotes;
    const std::vector<OperacaoPendente> arquivo{
        {"00000001", "11111111111111"}, {"00000002", "22222222222222"}, {"00000003", "33333333333333"},
        {"00000001 ", "44444444444444"}, {"00000005", "55555555555555"}, {"00000002", "66666666666666"},
        {"00000007", "77777777777777"}, {"00000001", "88888888888888"}};
    for (const std::string& dir : {umAUm.Caminho(), emLotes.Caminho()}) {
        prepara(dir);
        Tabela t;
        t.SetDatabaseName(dir);
        t.SetTableName("CONVEPEN");
        t.AddIndexDef("CONVEPEN", "CODCLI + NUMPED");
        t.SetIndexName("CONVEPEN");
        t.Open();
        if (dir == umAUm.Caminho())
            for (const OperacaoPendente& op : arquivo) REM_PENDENTE(t, "COFAP", op.numped, op.cgccli, 46100);
        else
            RegistraPendentes(t, "COFAP", arquivo, 46100);
        t.Close();
    }
    // The change counter (header bytes 24-27) counts edits, which are fewer.
    auto semContador = [](std::string dbf) { return dbf.replace(24, 4, 4, '\0'); };
    EXPECT_EQ(semContador(LE_ARQUIVO(emLotes / "CONVEPEN.DBF")), semContador(LE_ARQUIVO(umAUm / "CONVEPEN.DBF")));
    EXPECT_EQ(LE_ARQUIVO(emLotes / "CONVEPEN.CDX"), LE_ARQUIVO(umAUm / "CONVEPEN.CDX"));
    // Three rows before, three new planilhas after.
    Tabela t;
    t.SetDatabaseName(emLotes.Caminho());
    t.SetTableName("CONVEPEN");
    t.Open();
    EXPECT_EQ(t.RecordCount(), 6);
}

// A row another workstation holds is waited for, as one call per operation
// waits for it, and refreshed once free; the rest is as without it.
TEST(RemPendentes, LinhaSeguraPorOutraEstacaoEEsperada) {
    DiretorioTemporario umAUm, comEspera;
    const std::vector<OperacaoPendente> arquivo{
        {"00000002", "22222222222222"}, {"00000004", "44444444444444"}, {"00000005", "55555555555555"}};
    auto abre = [](Tabela& t, const std::string& dir) {
        t.SetDatabaseName(dir);
        t.SetTableName("CONVEPEN");
        t.AddIndexDef("CONVEPEN", "CODCLI + NUMPED");
        t.SetIndexName("CONVEPEN");
        t.Open();
    };
    for (const std::string& dir : {umAUm.Caminho(), comEspera.Caminho()}) prepara(dir);
    {
        Tabela t;
        abre(t, umAUm.Caminho());
        for (const OperacaoPendente& op : arquivo) REM_PENDENTE(t, "COFAP", op.numped, op.cgccli, 46100);
    }
    GeralDeTeste geral;
    Tabela outra, t;
    abre(outra, comEspera.Caminho());
    ASSERT_TRUE(outra.Locate("CODCLI;NUMPED", {"COFAP", "00000005"}));
    outra.Edit();
    int esperas = 0;
    geral.geral().DefineEspera([&](int) {
        if (++esperas == 2) outra.Cancel();
    });
    abre(t, comEspera.Caminho());
    RegistraPendentes(t, "COFAP", arquivo, 46100);
    t.Close();
    EXPECT_GE(esperas, 2);
    auto semContador = [](std::string dbf) { return dbf.replace(24, 4, 4, '\0'); };
    EXPECT_EQ(semContador(LE_ARQUIVO(comEspera / "CONVEPEN.DBF")), semContador(LE_ARQUIVO(umAUm / "CONVEPEN.DBF")));
}
