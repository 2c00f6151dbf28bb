// Tables written by the engine open in other xBase tools, and tables written
// by them open in the engine. The other tools are Debian's python3-dbf and
// python3-dbfread (installed by scripts/test), run through the system Python.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "core/texto/ansi.h"
#include "support/diretorio_temporario.h"
#include "support/processo_filho.h"
#include "tabela/instrucao_sql.h"
#include "tabela/tabela.h"

namespace {

// Runs a Python script with the system interpreter; returns its output.
std::string python(const DiretorioTemporario& d, const std::string& script) {
    GRAVA_ARQUIVO_TESTE(d / "script.py", script);
    const std::string cmd = "cd '" + d.Caminho() + "' && /usr/bin/python3 script.py 2>&1";
    std::string saida;
    if (FILE* p = ::popen(cmd.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) saida.append(buf, n);
        ::pclose(p);
    }
    return saida;
}

}  // namespace

TEST(TabelaInteroperabilidade, OutraFerramentaLeOQueOMotorGrava) {
    DiretorioTemporario d;
    CriaTabela(d / "CONVECLI.DBF",
                ListaDeCampos("CODCLI,CHARACTER,15,0;NOMEEMP,CHARACTER,30,0;"
                                   "ULTREMBAN,NUMERIC,6,0;TAXA,NUMERIC,12,6;DATAINC,DATE,8,0;"));
    {
        Tabela t;
        t.SetDatabaseName(d.Caminho());
        t.SetTableName("CONVECLI");
        t.Open();
        t.Append();
        t.FieldByName("CODCLI").SetAsString("COFAP");
        t.FieldByName("NOMEEMP").SetAsString("INDÚSTRIA SÃO JOÃO"_ansi);
        t.FieldByName("ULTREMBAN").SetAsInteger(999999);
        t.FieldByName("TAXA").SetAsFloat(-1.5);
        t.FieldByName("DATAINC").SetAsDate(CodificaData(2026, 12, 9));
        t.Post();
        t.Append();
        t.FieldByName("CODCLI").SetAsString("APAGADO");
        t.Post();
        t.Delete();
        t.Append();
        t.FieldByName("CODCLI").SetAsString("BR");
        t.Post();
    }
    const std::string saida = python(d, R"(
import dbfread
for r in dbfread.DBF('CONVECLI.DBF', encoding='cp1252'):
    print('|'.join(repr(v) for v in r.values()))
)");
    EXPECT_EQ(saida,
              "'COFAP'|'INDÚSTRIA SÃO JOÃO'|999999|-1.5|datetime.date(2026, 12, 9)\n"
              "'BR'|''|None|None|None\n");
}

TEST(TabelaInteroperabilidade, MotorLeEAlteraOQueOutraFerramentaGrava) {
    DiretorioTemporario d;
    const std::string saida = python(d, R"(
import dbf, datetime
t = dbf.Table('fora.dbf', 'NOME C(10); VALOR N(10,2); DIA D; ATIVO L', codepage='cp1252', dbf_type='db3')
t.open(dbf.READ_WRITE)
t.append(('ação', 1234.5, datetime.date(2019, 3, 5), True))
t.append(('apagado', 0, None, False))
t.append(('outro', -2.25, None, False))
dbf.delete(t[1])
t.close()
print('ok')
)");
    ASSERT_EQ(saida, "ok\n");
    {
        Tabela t;
        t.SetDatabaseName(d.Caminho());
        t.SetTableName("FORA.DBF");
        t.Open();
        ASSERT_EQ(t.RecordCount(), 2);
        EXPECT_EQ(t.FieldByName("NOME").AsString(), "ação"_ansi);
        EXPECT_DOUBLE_EQ(t.FieldByName("VALOR").AsFloat(), 1234.5);
        EXPECT_EQ(t.FieldByName("DIA").AsDate(), CodificaData(2019, 3, 5));
        EXPECT_EQ(t.FieldByName("ATIVO").AsString(), "T");
        t.Next();
        EXPECT_EQ(t.FieldByName("NOME").AsString(), "outro");
        EXPECT_DOUBLE_EQ(t.FieldByName("VALOR").AsFloat(), -2.25);
        t.Edit();
        t.FieldByName("VALOR").SetAsFloat(7.75);
        t.Post();
        t.Append();
        t.FieldByName("NOME").SetAsString("novo");
        t.FieldByName("DIA").SetAsDate(CodificaData(2026, 1, 31));
        t.Post();
    }
    EXPECT_EQ(python(d, R"(
import dbf
t = dbf.Table('fora.dbf')
t.open(dbf.READ_ONLY)
for r in t:
    if not dbf.is_deleted(r):
        print(r.nome.strip(), r.valor, r.dia)
)"),
              "ação 1234.5 2019-03-05\noutro 7.75 None\nnovo None 2026-01-31\n");
}

TEST(TabelaInteroperabilidade, CabecalhoVisualFoxProComCamposEstranhos) {
    // A VFP table: 263-byte back-link after the descriptors, integer and
    // memo fields. Fields are found through the header length.
    std::string h(32, '\0');
    h[0] = 0x30;
    const int n = 4;
    const int cab = 32 + 32 * n + 1 + 263;
    h[8] = static_cast<char>(cab & 0xFF);
    h[9] = static_cast<char>(cab >> 8);
    const int reg = 1 + 6 + 4 + 4 + 8;
    h[10] = static_cast<char>(reg);
    h[4] = 1;
    auto campo = [](const char* nome, char tipo, int tam, int dec) {
        std::string c(32, '\0');
        std::copy(nome, nome + std::strlen(nome), c.begin());
        c[11] = tipo;
        c[16] = static_cast<char>(tam);
        c[17] = static_cast<char>(dec);
        return c;
    };
    h += campo("CODIGO", 'C', 6, 0) + campo("QTD", 'I', 4, 0) + campo("NOTAS", 'M', 4, 0) +
         campo("PRECO", 'N', 8, 2);
    h += '\x0D';
    h += std::string(263, '\0');
    std::string r = " ABC123";
    r += std::string("\x05\x00\x00\x00", 4);
    r += std::string("\x00\x00\x00\x00", 4);
    r += "   12.50";
    DiretorioTemporario d;
    GRAVA_ARQUIVO_TESTE(d / "vfp.dbf", h + r + "\x1A");
    Tabela t;
    t.SetDatabaseName(d.Caminho());
    t.SetTableName("VFP");
    t.Open();
    EXPECT_EQ(t.FieldByName("CODIGO").AsString(), "ABC123");
    EXPECT_DOUBLE_EQ(t.FieldByName("PRECO").AsFloat(), 12.5);
    EXPECT_EQ(t.FieldCount(), 4);
    EXPECT_NO_THROW(t.FieldByName("NOTAS").AsString());
}

TEST(TabelaInteroperabilidade, AlterTableRenomeiaMantendoDados) {
    DiretorioTemporario d;
    CriaTabela(d / "CONVEINS.DBF",
                ListaDeCampos("VERSAO,CHARACTER,4,0;ARQREMCOB,CHARACTER,12,0;"
                                   "SEQREMCOB,NUMERIC,2,0;DIRCOPIA,CHARACTER,40,0;"));
    {
        Tabela t;
        t.SetDatabaseName(d.Caminho());
        t.SetTableName("CONVEINS");
        t.Open();
        t.Append();
        t.FieldByName("VERSAO").SetAsString("2.10");
        t.FieldByName("ARQREMCOB").SetAsString("CB0101.REM");
        t.FieldByName("SEQREMCOB").SetAsInteger(7);
        t.FieldByName("DIRCOPIA").SetAsString("COPIA");
        t.Post();
    }
    InstrucaoSQL sql;
    sql.SetDatabaseName(d.Caminho());
    sql.SetSQL("ALTER TABLE CONVEINS ADD COLUMN ARQREMC24 CHAR(12) ADD COLUMN SEQREMC24 NUMERIC(2,0) "
               "ALTER COLUMN ARQREMCOB ARQREMC40 CHAR(12) ALTER COLUMN SEQREMCOB SEQREMC40 NUMERIC(2,0) ");
    {
        // Refused while another process has the table open; nothing changes.
        ProcessoFilho filho([&](const CanalProcesso& c) {
            Tabela t;
            t.SetDatabaseName(d.Caminho());
            t.SetTableName("CONVEINS");
            t.Open();
            c.Envia('A');
            c.Recebe();
            return 0;
        });
        ASSERT_EQ(filho.Canal().Recebe(), 'A');
        EXPECT_THROW(sql.ExecSQL(), ErroTabelaEmUso);
        filho.Canal().Envia('F');
        EXPECT_EQ(filho.Espera(), 0);
    }
    sql.ExecSQL();
    Tabela t;
    t.SetDatabaseName(d.Caminho());
    t.SetTableName("conveins.dbf");
    t.Open();
    EXPECT_EQ(t.FindField("ARQREMCOB"), nullptr);
    EXPECT_EQ(t.FieldByName("ARQREMC40").AsString(), "CB0101.REM");
    EXPECT_EQ(t.FieldByName("SEQREMC40").AsInteger(), 7);
    EXPECT_EQ(t.FieldByName("DIRCOPIA").AsString(), "COPIA");
    EXPECT_EQ(t.FieldByName("ARQREMC24").AsString(), "");
    EXPECT_EQ(t.FieldByName("SEQREMC24").Size(), 2);
    EXPECT_EQ(t.FieldDef(2).nome, "ARQREMC40");  // renamed in place
    t.Close();
    // A second run of the same statement fails cleanly: the old column is gone.
    EXPECT_THROW(sql.ExecSQL(), ErroTabela);
    t.Open();
    EXPECT_EQ(t.FieldByName("SEQREMC40").AsInteger(), 7);
}
