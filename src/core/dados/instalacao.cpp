#include "core/dados/instalacao.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "core/dados/esquema.h"
#include "core/texto/ansi.h"
#include "tabela/nome_arquivo.h"
#include "tabela/tabela.h"

namespace {

struct Cliente {
    const char* codigo;
    const char* tipo;
    const char* nome;
    const char* cnpj;
    const char* arqRemCli;
    const char* arqRetCli;
    const char* arqRemBan;
    const char* arqRetBan;
};

// One client of each company type.
const Cliente kClientes[] = {
    {"COFAP", "1", "COFAP CIA FABRICADORA DE PECAS", "11222333000181", "COFAPREM", "COFAPRET",
     "VCOFAP", "RCOFAP"},
    {"BR", "2", "BR DISTRIBUIDORA S.A.", "60701190000104", "BRREM", "BRRET", "VBR", "RBR"},
    {"CELPAV", "3", "CELPAV CELULOSE E PAPEL", "33000167000101", "CELPAVRE", "CELPAVRT", "VCELPAV",
     "RCELPAV"},
    {"WABCO", "4", "WABCO FREIOS LTDA", "45990181000189", "WABCOREM", "WABCORET", "VWABCO",
     "RWABCO"},
    {"ACME240", "A", "ACME COBRANCA 240 LTDA", "61064838000133", "ACME240", "ACME240", "", ""},
    {"BETA400", "C", "BETA COMERCIO 400 S.A.", "17167412000113", "BETA400", "BETA400", "", ""},
    {"DELTA", "D", "DELTA DESCONTOS LTDA", "02558157000162", "DELTA", "DELTA", "", ""},
    {"RIO240", "R", "RIO VENDOR 240 S.A.", "04196935000146", "RIO240", "RIO240", "", ""},
    {"VALE250", "V", "VALE VENDOR 250 LTDA", "59104422000150", "VALE250", "VALE250", "", ""},
};

void preencheInstalacao(Tabela& t, bool exemplo) {
    t.Append();
    t.FieldByName("VERSAO").SetAsString(kVersaoBanco);
    t.FieldByName("PRAZOPEN").SetAsInteger(30);
    for (const char* c : {"SEQREMVEN", "SEQREMDES", "SEQREMV24", "SEQREMC40", "SEQREMC24"})
        t.FieldByName(c).SetAsInteger(0);
    if (exemplo) {
        t.FieldByName("DIRCOPIA").SetAsString("COPIA");
        t.FieldByName("ARQREMC24").SetAsString("CB24DDMM.NN");
        t.FieldByName("ARQREMC40").SetAsString("CB40DDMM.NN");
        t.FieldByName("ARQREMVEN").SetAsString("VD25DDMM.NN");
        t.FieldByName("ARQREMV24").SetAsString("VD24DDMM.NN");
        t.FieldByName("ARQREMDES").SetAsString("DS40DDMM.NN");
    }
    t.Post();
}

void preencheClientes(Tabela& t, TData hoje) {
    t.IniciaLote();
    for (const Cliente& c : kClientes) {
        t.Append();
        t.FieldByName("CODCLI").SetAsString(c.codigo);
        t.FieldByName("TIPOEMP").SetAsString(c.tipo);
        t.FieldByName("NOMEEMP").SetAsString(c.nome);
        t.FieldByName("CGCFOR").SetAsString(c.cnpj);
        t.FieldByName("DATAINC").SetAsDate(hoje);
        t.FieldByName("ARQREMCLI").SetAsString(c.arqRemCli);
        t.FieldByName("ARQRETCLI").SetAsString(c.arqRetCli);
        t.FieldByName("ARQREMBAN").SetAsString(c.arqRemBan);
        t.FieldByName("ARQRETBAN").SetAsString(c.arqRetBan);
        for (const char* n : {"ULTREMBAN", "ULTRETBAN", "ULTREMCLI", "ULTRETCLI", "ULTPASCLI"})
            t.FieldByName(n).SetAsInteger(0);
        t.FieldByName("ATIVICLI").SetAsInteger(1);
        t.FieldByName("NUMPROGOP").SetAsInteger(1);
        t.FieldByName("AGEFOR").SetAsString("0001");
        t.FieldByName("NUMCONV").SetAsString("000000001");
        t.FieldByName("IDENTEMP").SetAsString(std::string("QUOR") + c.codigo);
        t.FieldByName("LEGENINS").SetAsString(std::string(c.codigo).substr(0, 5));
        t.FieldByName("TIPEQUCLI").SetAsString("N");
        if (*c.tipo == 'C') {
            t.FieldByName("DIRTEMP").SetAsString("TEMP/BETA400");
            t.FieldByName("CODCOBLIQ").SetAsString("06");
            t.FieldByName("CODCOBCON").SetAsString("TODOS");
        }
        t.Post();
    }
    t.EncerraLote();
}

void preencheTaxas(Tabela& t, TData hoje) {
    int ano, mes, dia;
    DecodificaData(hoje, ano, mes, dia);
    const TData inicio = CodificaData(ano, 1, 1);
    const TData fim = CodificaData(ano, 12, 31);
    struct Taxa { const char* produto; int dias; double banco, fornecedor; };
    const Taxa taxas[] = {{"1", 30, 1.25, 1.45}, {"1", 60, 1.35, 1.55}, {"1", 90, 1.45, 1.65},
                          {"2", 30, 1.10, 1.30}, {"2", 60, 1.20, 1.40}};
    t.IniciaLote();
    for (const Taxa& x : taxas) {
        t.Append();
        t.FieldByName("DATINITAX").SetAsDate(inicio);
        t.FieldByName("DATFINTAX").SetAsDate(fim);
        t.FieldByName("DIASTAX").SetAsInteger(x.dias);
        t.FieldByName("PRODTAX").SetAsString(x.produto);
        t.FieldByName("TAXABAN").SetAsFloat(x.banco);
        t.FieldByName("TAXAFOR").SetAsFloat(x.fornecedor);
        t.FieldByName("DATAINC").SetAsDate(hoje);
        t.Post();
    }
    t.EncerraLote();
}

void abre(Tabela& t, const std::string& dir, const EsquemaTabela& e) {
    t.SetDatabaseName(dir);
    t.SetTableName(e.arquivo);
    t.SetExclusive(true);
    if (!e.tag.empty()) {
        t.AddIndexDef(e.tag, e.expressao);
        t.SetIndexName(e.tag);
    }
    t.Open();
}

}  // namespace

void InstalaDiretorioDeDados(const std::string& diretorio, bool exemplo, TData hoje) {
    std::error_code ec;
    std::filesystem::create_directories(diretorio, ec);
    struct stat st {};
    if (::stat(diretorio.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        throw ErroTabela("NÃO FOI POSSÍVEL CRIAR O DIRETÓRIO "_ansi + diretorio +
                         (ec ? ": " + ec.message() : std::string()));
    for (const EsquemaTabela* e : EsquemasDasTabelas()) {
        const std::string existente = ResolveNoDiretorio(diretorio, e->arquivo);
        if (ArquivoExiste(existente))
            throw ErroTabela("A TABELA "_ansi + existente +
                             " JÁ EXISTE; NADA FOI CRIADO (A INSTALAÇÃO NÃO SUBSTITUI TABELAS)"_ansi);
    }
    std::vector<std::string> criadas;
    try {
        for (const EsquemaTabela* e : EsquemasDasTabelas()) {
            const std::string caminho = JuntaCaminho(diretorio, e->arquivo);
            CriaTabela(caminho, e->campos);
            criadas.push_back(caminho);
            if (!e->tag.empty()) {
                criadas.push_back(JuntaCaminho(diretorio, EmMaiusculas(e->tag) + ".CDX"));
                Tabela t;
                t.SetDatabaseName(diretorio);
                t.SetTableName(e->arquivo);
                t.SetExclusive(true);
                t.Open();
                t.CreateIndex("", e->tag, e->expressao);
            }
        }
        Tabela t;
        abre(t, diretorio, EsquemaConveins());
        preencheInstalacao(t, exemplo);
        t.Close();
        if (exemplo) {
            Tabela c;
            abre(c, diretorio, EsquemaConvecli());
            preencheClientes(c, hoje);
            c.Close();
            Tabela x;
            abre(x, diretorio, EsquemaConvetax());
            preencheTaxas(x, hoje);
            x.Close();
            std::filesystem::create_directories(JuntaCaminho(diretorio, "COPIA"), ec);
            std::filesystem::create_directories(JuntaCaminho(diretorio, "TEMP/BETA400"), ec);
        }
    } catch (...) {
        for (const auto& c : criadas) ::unlink(c.c_str());
        throw;
    }
}

void MostraTabelasDoDiretorio(const std::string& diretorio, std::ostream& saida) {
    for (const EsquemaTabela* e : EsquemasDasTabelas()) {
        Tabela t;
        t.SetDatabaseName(diretorio);
        t.SetTableName(e->arquivo);
        if (!e->tag.empty()) {
            t.AddIndexDef(e->tag, e->expressao);
            t.SetIndexName(e->tag);
        }
        t.Open();
        saida << t.CaminhoArquivo() << ": " << t.RecordCount() << " registro(s)"
              << (e->tag.empty() ? std::string() : ", ordem " + e->tag + " (" + e->expressao + ")")
              << "\n";
        for (t.First(); !t.Eof(); t.Next()) {
            saida << "  ";
            bool primeiro = true;
            for (const DefCampo& d : t.FieldDefs()) {
                const std::string v = t.FieldByName(d.nome).AsString();
                if (v.empty()) continue;
                saida << (primeiro ? "" : " | ") << d.nome << "=" << v;
                primeiro = false;
            }
            saida << "\n";
        }
    }
}
