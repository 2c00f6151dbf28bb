#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/texto/ansi.h"
#include "support/diretorio_temporario.h"
#include "tabela/instrucao_sql.h"
#include "tabela/tabela.h"

namespace {

const char* kPendentes = "CODCLI,CHARACTER,15,0;NUMPED,CHARACTER,15,0;DTRETORNO,DATE,8,0;"
                         "DTREMESSA,DATE,8,0;CGCCLI,CHARACTER,14,0;VALOR,NUMERIC,13,2;";

void abre(Tabela& t, const DiretorioTemporario& d, const std::string& nome, bool exclusiva = false,
          const std::string& tag = "") {
    t.SetDatabaseName(d.Caminho());
    t.SetTableName(nome);
    t.SetExclusive(exclusiva);
    t.AddIndexDef("CONVEPEN", "CODCLI + NUMPED");
    t.SetIndexName(tag);
    t.Open();
}

void inclui(Tabela& t, const std::string& cli, const std::string& ped, double valor = 0) {
    t.Append();
    t.FieldByName("CODCLI").SetAsString(cli);
    t.FieldByName("NUMPED").SetAsString(ped);
    t.FieldByName("VALOR").SetAsFloat(valor);
    t.Post();
}

std::vector<std::string> percorre(Tabela& t) {
    std::vector<std::string> r;
    for (t.First(); !t.Eof(); t.Next())
        r.push_back(t.FieldByName("CODCLI").AsString() + "/" + t.FieldByName("NUMPED").AsString());
    return r;
}

}  // namespace

TEST(Tabela, ValoresDeCadaTipoVoltamComoForamGravados) {
    DiretorioTemporario d;
    CriaTabela(d / "TIPOS.DBF",
                ListaDeCampos("NOME,CHARACTER,10,0;QTD,NUMERIC,4,0;TAXA,NUMERIC,12,6;"
                                   "DIA,DATE,8,0;"));
    {
        Tabela t;
        t.SetDatabaseName(d.Caminho());
        t.SetTableName("tipos");  // name resolved without regard to case
        t.Open();
        EXPECT_TRUE(t.IsEmpty());
        t.Append();
        t.FieldByName("NOME").SetAsString("AÇÚCAR  "_ansi);
        t.FieldByName("QTD").SetAsInteger(-123);
        t.FieldByName("TAXA").SetAsFloat(12345.678901);
        t.FieldByName("DIA").SetAsDate(CodificaData(2019, 3, 5));
        t.Post();
        t.Append();  // an empty record: blanks everywhere
        t.Post();
        EXPECT_THROW(t.FieldByName("NOME").SetAsString("X"), ErroTabela);  // not editing
        t.Edit();
        EXPECT_THROW(t.FieldByName("QTD").SetAsInteger(12345), ErroTabela);  // does not fit N(4)
        t.Cancel();
    }
    Tabela t;
    t.SetDatabaseName(d.Caminho());
    t.SetTableName("TIPOS.DBF");
    t.Open();
    ASSERT_EQ(t.RecordCount(), 2);
    EXPECT_EQ(t.FieldByName("NOME").AsString(), "AÇÚCAR"_ansi);
    EXPECT_EQ(t.FieldByName("QTD").AsInteger(), -123);
    EXPECT_DOUBLE_EQ(t.FieldByName("TAXA").AsFloat(), 12345.678901);
    EXPECT_EQ(t.FieldByName("DIA").AsString(), "05/03/2019");
    EXPECT_EQ(t.FieldByName("TAXA").Bruto(), "12345.678901");
    t.Next();
    EXPECT_EQ(t.FieldByName("NOME").AsString(), "");
    EXPECT_EQ(t.FieldByName("DIA").AsDate(), 0);
    EXPECT_EQ(t.FieldByName("QTD").AsInteger(), 0);
    EXPECT_EQ(t.FindField("NADA"), nullptr);
    EXPECT_THROW(t.FieldByName("NADA"), ErroTabela);
    EXPECT_EQ(t.FieldCount(), 4);
    EXPECT_EQ(t.FieldDef(3).nome, "TAXA");
    EXPECT_EQ(t.FieldDef(3).decimais, 6);

    // The file itself: dBase III, ANSI code page, exact count, end mark.
    const std::string bytes = LE_ARQUIVO(d / "TIPOS.DBF");
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x03);
    EXPECT_EQ(static_cast<unsigned char>(bytes[29]), 0x03);
    EXPECT_EQ(bytes[4], 2);
    EXPECT_EQ(bytes.back(), '\x1A');
    EXPECT_EQ(bytes.size(), 32u + 4 * 32 + 1 + 2 * (1 + 10 + 4 + 12 + 8) + 1);
}

TEST(Tabela, OrdemDoIndiceBuscaEExclusao) {
    DiretorioTemporario d;
    CriaTabela(d / "CONVEPEN.DBF", ListaDeCampos(kPendentes));
    Tabela t;
    abre(t, d, "CONVEPEN", false, "CONVEPEN");
    inclui(t, "B", "2");
    inclui(t, "A", "9");
    inclui(t, "B", "1");
    inclui(t, "A", "10");
    inclui(t, "C", "1");
    // Keys compare as blank-padded bytes: "10" sorts before "9".
    EXPECT_EQ(percorre(t), (std::vector<std::string>{"A/10", "A/9", "B/1", "B/2", "C/1"}));

    EXPECT_TRUE(t.Locate("CODCLI; NUMPED", {"B", "2"}));
    EXPECT_EQ(t.RecNo(), 1u);
    EXPECT_TRUE(t.Locate("CODCLI", {"B"}));  // a prefix of the key: first in key order
    EXPECT_EQ(t.FieldByName("NUMPED").AsString(), "1");
    EXPECT_FALSE(t.Locate("CODCLI;NUMPED", {"B", "3"}));
    EXPECT_EQ(t.FieldByName("NUMPED").AsString(), "1");  // a failed search keeps the cursor
    EXPECT_TRUE(t.Locate("NUMPED", {"10"}));               // not a prefix: walks the order
    EXPECT_EQ(t.FieldByName("CODCLI").AsString(), "A");
    EXPECT_FALSE(t.Locate("CODCLI", {"b"}));  // case matters
    EXPECT_FALSE(t.Locate("CODCLI", {"A234567890123456"}));  // longer than the field

    // Changing a key moves the record in the order.
    ASSERT_TRUE(t.Locate("CODCLI;NUMPED", {"C", "1"}));
    t.Edit();
    t.FieldByName("CODCLI").SetAsString("0");
    t.Post();
    EXPECT_EQ(percorre(t).front(), "0/1");

    // Deleting while walking: the cursor moves on, nothing is skipped.
    for (t.First(); !t.Eof();) {
        if (t.FieldByName("CODCLI").AsString() == "A") t.Delete();
        else t.Next();
    }
    EXPECT_EQ(percorre(t), (std::vector<std::string>{"0/1", "B/1", "B/2"}));
    EXPECT_EQ(t.RecordCount(), 3);
    EXPECT_EQ(t.PhysicalRecordCount(), 5);
    EXPECT_FALSE(t.Locate("CODCLI;NUMPED", {"A", "9"}));
    EXPECT_THROW(t.Pack(), ErroTabela);  // only exclusively
    t.Close();

    abre(t, d, "CONVEPEN", true, "CONVEPEN");
    t.Pack();
    EXPECT_EQ(t.PhysicalRecordCount(), 3);
    EXPECT_EQ(percorre(t), (std::vector<std::string>{"0/1", "B/1", "B/2"}));
    t.SetIndexName("");  // physical order after pack keeps the original order
    EXPECT_EQ(percorre(t), (std::vector<std::string>{"B/2", "B/1", "0/1"}));
    t.Zap();
    EXPECT_TRUE(t.IsEmpty());
    EXPECT_TRUE(t.Eof());
}

TEST(Tabela, ChaveComDataENumeroEDuplicadas) {
    DiretorioTemporario d;
    CriaTabela(d / "CONVETAX.DBF",
                ListaDeCampos("DATINITAX,DATE,8,0;DIASTAX,NUMERIC,3,0;PRODTAX,CHARACTER,1,0;"));
    Tabela t;
    t.SetDatabaseName(d.Caminho());
    t.SetTableName("CONVETAX");
    t.AddIndexDef("CONVETAX", "DTOS( DATINITAX ) + PRODTAX + STR( DIASTAX, 3 )");
    t.SetIndexName("CONVETAX");
    t.Open();
    auto inclui = [&](int a, int m, int dd, const char* p, int dias) {
        t.Append();
        t.FieldByName("DATINITAX").SetAsDate(CodificaData(a, m, dd));
        t.FieldByName("PRODTAX").SetAsString(p);
        t.FieldByName("DIASTAX").SetAsInteger(dias);
        t.Post();
    };
    inclui(2020, 1, 2, "A", 100);
    inclui(2019, 12, 31, "A", 30);
    inclui(2020, 1, 2, "A", 30);
    inclui(2020, 1, 2, "A", 30);  // same key twice: both kept, in record order
    std::vector<std::uint32_t> ordem;
    for (t.First(); !t.Eof(); t.Next()) ordem.push_back(t.RecNo());
    EXPECT_EQ(ordem, (std::vector<std::uint32_t>{2, 3, 4, 1}));
    EXPECT_TRUE(t.Locate("DATINITAX;PRODTAX", {CodificaData(2020, 1, 2), "A"}));
    EXPECT_EQ(t.RecNo(), 3u);
    EXPECT_TRUE(t.Locate("DATINITAX;PRODTAX;DIASTAX", {CodificaData(2020, 1, 2), "A", 100}));
    EXPECT_EQ(t.RecNo(), 1u);
    EXPECT_THROW(t.SetIndexName("OUTRA"), ErroTabela);
}

TEST(Tabela, ErrosNomeiamOArquivo) {
    DiretorioTemporario d;
    Tabela t;
    t.SetDatabaseName(d.Caminho());
    t.SetTableName("FALTA");
    try {
        t.Open();
        FAIL();
    } catch (const ErroTabela& e) {
        EXPECT_NE(std::string(e.what()).find("FALTA.DBF"), std::string::npos);
    }
    GRAVA_ARQUIVO_TESTE(d / "LIXO.DBF", std::string("\x03garbage that is no table", 26));
    t.SetTableName("LIXO");
    EXPECT_THROW(t.Open(), ErroTabela);
    EXPECT_FALSE(t.Active());
    EXPECT_THROW(CriaTabela(d / "X.DBF", ListaDeCampos("A,CHARACTER,300,0;")), ErroTabela);
    const mode_t antes = ::umask(022);
    CriaTabela(d / "X.DBF", ListaDeCampos("A,CHARACTER,3,0;"));
    ::umask(antes);
    // Other workstations' users open what this one creates.
    struct stat st {};
    ASSERT_EQ(::stat((d / "X.DBF").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    EXPECT_THROW(CriaTabela(d / "x.dbf", ListaDeCampos("A,CHARACTER,3,0;")), ErroTabela);
}

// A file shorter than its header says (a copy cut off, a full disk) would
// open with the missing records silently gone; it is refused, naming the
// counts, and left as it is. A missing end mark or bytes beyond the last
// record are no such damage.
TEST(Tabela, ArquivoMaisCurtoQueOCabecalhoNaoAbre) {
    DiretorioTemporario d;
    CriaTabela(d / "CONVEPEN.DBF", ListaDeCampos(kPendentes));
    {
        Tabela t;
        abre(t, d, "CONVEPEN");
        for (int i = 1; i <= 9; ++i) inclui(t, "C" + std::to_string(i), "1");
    }
    const std::string inteiro = LE_ARQUIVO(d / "CONVEPEN.DBF");
    const std::size_t cabecalho = 32 + 6 * 32 + 1, registro = 1 + 15 + 15 + 8 + 8 + 14 + 13;
    ASSERT_EQ(inteiro.size(), cabecalho + 9 * registro + 1);
    const std::string caminho = d / "CONVEPEN.DBF";

    const std::pair<std::size_t, std::string> cortes[] = {
        {cabecalho + 3 * registro + 20, "3."},  // part of a fourth record
        {cabecalho + 3 * registro, "3."},
        {cabecalho + 8 * registro + 1, "8."},  // one byte of the ninth
        {cabecalho, "0."},
    };
    for (const auto& [tamanho, presentes] : cortes) {
        const std::string curto = inteiro.substr(0, tamanho);
        GRAVA_ARQUIVO_TESTE(caminho, curto);
        Tabela t;
        try {
            abre(t, d, "CONVEPEN");
            ADD_FAILURE() << "opened a table cut at " << tamanho;
        } catch (const ErroTabelaIncompleta& e) {
            EXPECT_EQ(std::string(e.what()), "A TABELA "_ansi + caminho +
                                                 " ESTÁ INCOMPLETA: O CABEÇALHO ANUNCIA 9 REGISTROS E O ARQUIVO TEM "_ansi +
                                                 presentes);
            EXPECT_EQ(e.Caminho(), caminho);
            EXPECT_EQ(e.Anunciados(), 9u);
            EXPECT_EQ(e.Presentes(), std::stoul(presentes));
        }
        EXPECT_FALSE(t.Active());
        // Structure changes read every record: refused the same way.
        InstrucaoSQL sql;
        sql.SetDatabaseName(d.Caminho());
        sql.SetSQL("ALTER TABLE CONVEPEN ADD COLUMN NOVA CHAR(2)");
        EXPECT_THROW(sql.ExecSQL(), ErroTabelaIncompleta);
        EXPECT_EQ(LE_ARQUIVO(caminho), curto);
        // Nobody was left holding the file.
        Tabela ex;
        EXPECT_THROW(abre(ex, d, "CONVEPEN", true), ErroTabelaIncompleta);
    }

    GRAVA_ARQUIVO_TESTE(caminho, inteiro.substr(0, inteiro.size() - 1));
    Tabela t;
    abre(t, d, "CONVEPEN");
    EXPECT_EQ(t.RecordCount(), 9);
    t.Close();
    GRAVA_ARQUIVO_TESTE(caminho, inteiro + std::string(registro + 7, 'x'));
    abre(t, d, "CONVEPEN");
    EXPECT_EQ(t.RecordCount(), 9);
}
