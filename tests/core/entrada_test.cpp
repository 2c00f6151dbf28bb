// Start-up check, schema change, reorganisation and command-line dispatch.

#include <gtest/gtest.h>
#include <unistd.h>

#include <map>

#include "core/dados/esquema.h"
#include "core/dados/instalacao.h"
#include "core/dados/tdmquor.h"
#include "core/partida/linha_comando.h"
#include "core/partida/reorganizacao.h"
#include "core/partida/tproentrada.h"
#include "core/texto/ansi.h"
#include "support/cdx_leitor_teste.h"
#include "support/geral_teste.h"
#include "support/processo_filho.h"
#include "tabela/nome_arquivo.h"
#include "tabela/tabela.h"

namespace {

// The installation table as a 2.1x installation had it: the Cobrança
// columns under their old names, no Cobrança 240 columns.
void criaInstalacaoAntiga(const std::string& versao) {
    std::vector<DefCampo> campos;
    for (DefCampo c : EsquemaConveins().campos) {
        if (c.nome == "ARQREMC24" || c.nome == "SEQREMC24") continue;
        if (c.nome == "ARQREMC40") c.nome = "ARQREMCOB";
        if (c.nome == "SEQREMC40") c.nome = "SEQREMCOB";
        campos.push_back(c);
    }
    ::unlink("CONVEINS.DBF");
    CriaTabela("CONVEINS.DBF", campos);
    Tabela t;
    t.SetTableName("CONVEINS.DBF");
    t.Open();
    t.Append();
    t.FieldByName("VERSAO").SetAsString(versao);
    t.FieldByName("ARQREMCOB").SetAsString("CB40DDMM.NN");
    t.FieldByName("SEQREMCOB").SetAsInteger(42);
    t.FieldByName("DIRCOPIA").SetAsString("COPIA");
    t.Post();
}

void incluiClienteExcluido() {
    Tabela& t = DMQUOR().TBCONVECLI;
    t.Open();
    t.Append();
    t.FieldByName("CODCLI").SetAsString("EXCLUIDO");
    t.Post();
    t.Delete();
    t.Close();
}

// Lengths of a DBF's header and record, from its header bytes.
std::pair<std::size_t, std::size_t> medidas(const std::string& dbf) {
    const auto b = [&](std::size_t i) { return static_cast<std::size_t>(static_cast<unsigned char>(dbf.at(i))); };
    return {b(8) | b(9) << 8, b(10) | b(11) << 8};
}

// The client table cut after its third record, in the middle of the fourth
// (9 announced, 3 present); answers the client codes in physical order as
// they were before.
std::vector<std::string> cortaClientes() {
    std::vector<std::string> codigos;
    {
        Tabela t;
        t.SetTableName("CONVECLI");
        t.Open();
        for (t.First(); !t.Eof(); t.Next()) codigos.push_back(t.FieldByName("CODCLI").AsString());
    }
    const std::string inteiro = LE_ARQUIVO("CONVECLI.DBF");
    const auto [cabecalho, registro] = medidas(inteiro);
    GRAVA_ARQUIVO_TESTE("CONVECLI.DBF", inteiro.substr(0, cabecalho + 3 * registro + registro / 2));
    return codigos;
}

std::map<std::string, std::string> conteudoDoDiretorio() {
    std::map<std::string, std::string> r;
    for (const std::string& nome : ENTRADAS()) r[nome] = LE_ARQUIVO(nome);
    return r;
}

std::string versao() {
    Tabela t;
    t.SetTableName("CONVEINS");
    t.Open();
    return t.FieldByName("VERSAO").AsString();
}

}  // namespace

TEST(Entrada, VersaoAtualNaoMudaNada) {
    GeralDeTeste g;
    DiretorioDeTrabalho d;
    InstalaDiretorioDeDados(".", true, g.geral().DATADIA);
    const std::string antes = LE_ARQUIVO("CONVEINS.DBF");
    TproENTRADA().PRO_ENTRADA(kVERSAO_SISTEMA);
    EXPECT_EQ(LE_ARQUIVO("CONVEINS.DBF"), antes);
    EXPECT_TRUE(g.dialogo().mensagens.empty());
    EXPECT_EQ(g.geral().KVERSAO_ATUAL, "2.20.4");
    // The wait cursor was shown and taken away again.
    ASSERT_FALSE(g.dialogo().cursores.empty());
    EXPECT_FALSE(g.dialogo().cursores.back());
}

TEST(Entrada, VersaoAntigaTrocaEsquemaEReorganiza) {
    GeralDeTeste g;
    DiretorioDeTrabalho d;
    InstalaDiretorioDeDados(".", true, g.geral().DATADIA);
    criaInstalacaoAntiga("2.10");
    // An index beside the installation table is set aside during the
    // change and found again afterwards.
    GRAVA_ARQUIVO_TESTE("CONVEINS.CDX", "indice antigo");
    GRAVA_ARQUIVO_TESTE("CONVEINS.INDAUX", "resto de outra vez");
    GRAVA_ARQUIVO_TESTE("CONVETAX.NTX", "indice de outro formato");
    incluiClienteExcluido();

    TproENTRADA().PRO_ENTRADA(kVERSAO_SISTEMA);

    Tabela t;
    t.SetTableName("CONVEINS");
    t.Open();
    EXPECT_EQ(t.FieldByName("VERSAO").AsString(), "2.20");
    EXPECT_EQ(t.FieldByName("ARQREMC40").AsString(), "CB40DDMM.NN");
    EXPECT_EQ(t.FieldByName("SEQREMC40").AsInteger(), 42);
    EXPECT_EQ(t.FieldByName("DIRCOPIA").AsString(), "COPIA");
    EXPECT_EQ(t.FieldByName("ARQREMC24").AsString(), "");
    EXPECT_EQ(t.FindField("ARQREMCOB"), nullptr);
    t.Close();
    EXPECT_EQ(LE_ARQUIVO("CONVEINS.CDX"), "indice antigo");
    EXPECT_FALSE(ArquivoExiste("CONVEINS.INDAUX"));
    EXPECT_FALSE(ArquivoExiste("CONVETAX.NTX"));

    ASSERT_EQ(g.dialogo().mensagens.size(), 1u);
    EXPECT_EQ(g.dialogo().mensagens[0].texto, "Reorganização concluída com sucesso"_ansi);
    EXPECT_EQ(g.dialogo().mensagens[0].tipo, somSUCESSO);
    EXPECT_TRUE(g.dialogo().perguntas.empty());  // no question at start-up

    // The deleted client is gone and the rebuilt index holds the rest.
    Tabela cli;
    cli.SetTableName("CONVECLI");
    cli.Open();
    EXPECT_EQ(cli.PhysicalRecordCount(), 9);
    cli.Close();
    const CdxArquivoTeste cdx = LeCdxParaTeste(ResolveNoDiretorio(".", "CONVECLI.CDX"));
    ASSERT_EQ(cdx.tags.size(), 1u);
    EXPECT_EQ(cdx.tags[0].tag, "CONVECLI");
    EXPECT_EQ(cdx.tags[0].arvore.entradas.size(), 9u);

    // The next start finds the version current.
    g.dialogo().mensagens.clear();
    TproENTRADA().PRO_ENTRADA(kVERSAO_SISTEMA);
    EXPECT_TRUE(g.dialogo().mensagens.empty());
}

TEST(Entrada, VersaoAntigaComColunasNovasSoGravaVersao) {
    GeralDeTeste g;
    DiretorioDeTrabalho d;
    InstalaDiretorioDeDados(".", false, g.geral().DATADIA);
    {
        Tabela t;
        t.SetTableName("CONVEINS");
        t.Open();
        t.Edit();
        t.FieldByName("VERSAO").SetAsString("2.19");
        t.Post();
    }
    TproENTRADA e;
    e.PRO_ENTRADA(kVERSAO_SISTEMA);
    EXPECT_FALSE(e.ISTEMVERSAO);
    EXPECT_TRUE(e.STRINGSQL.empty());
    EXPECT_EQ(versao(), "2.20");
    ASSERT_EQ(g.dialogo().mensagens.size(), 1u);
}

TEST(Entrada, SemTabelaDeInstalacaoOErroChegaAoChamador) {
    GeralDeTeste g;
    DiretorioDeTrabalho d;
    EXPECT_THROW(TproENTRADA().PRO_ENTRADA(kVERSAO_SISTEMA), ErroTabela);
    EXPECT_FALSE(g.dialogo().cursores.back());  // the cursor is not left waiting
}

TEST(Reorganizacao, RespostaNaoNaoTocaEmNada) {
    GeralDeTeste g;
    DiretorioDeTrabalho d;
    InstalaDiretorioDeDados(".", true, g.geral().DATADIA);
    incluiClienteExcluido();
    GRAVA_ARQUIVO_TESTE("CONVETAX.NTX", "x");
    const std::string antes = LE_ARQUIVO("CONVECLI.DBF");
    g.dialogo().respostasSimNao.push_back(false);
    ARQ_REORGANIZA(opcCOM_CONFIRMACAO);
    ASSERT_EQ(g.dialogo().perguntas.size(), 1u);
    EXPECT_EQ(g.dialogo().perguntas[0].titulo, "Confirma Reorganização dos Arquivos ? "_ansi);
    EXPECT_TRUE(g.dialogo().perguntas[0].padraoSim);
    EXPECT_EQ(LE_ARQUIVO("CONVECLI.DBF"), antes);
    EXPECT_TRUE(ArquivoExiste("CONVETAX.NTX"));
    EXPECT_TRUE(g.dialogo().mensagens.empty());

    g.dialogo().respostasSimNao.push_back(true);
    ARQ_REORGANIZA(opcCOM_CONFIRMACAO);
    EXPECT_FALSE(ArquivoExiste("CONVETAX.NTX"));
    EXPECT_EQ(g.dialogo().mensagens.size(), 1u);
    // The data module's table is usable as before.
    Tabela& cli = DMQUOR().TBCONVECLI;
    cli.Open();
    EXPECT_FALSE(cli.Exclusive());
    EXPECT_EQ(cli.IndexName(), "CONVECLI");
    EXPECT_TRUE(cli.Locate("CODCLI", {"WABCO"}));
    cli.Close();
}

TEST(Reorganizacao, TabelaEmUsoNaoPerdeOIndice) {
    GeralDeTeste g;
    DiretorioDeTrabalho d;
    InstalaDiretorioDeDados(".", true, g.geral().DATADIA);
    const std::string caminho = d.caminho();
    ProcessoFilho outro([&](const CanalProcesso& c) {
        Tabela t;
        t.SetDatabaseName(caminho);
        t.SetTableName("CONVECLI");
        t.Open();
        c.Envia('A');
        c.Recebe();
        return 0;
    });
    ASSERT_EQ(outro.Canal().Recebe(), 'A');
    const std::string indice = LE_ARQUIVO("CONVECLI.CDX");
    EXPECT_THROW(ARQ_REORGANIZA(opcSEM_CONFIRMACAO), ErroTabelaEmUso);
    EXPECT_EQ(LE_ARQUIVO("CONVECLI.CDX"), indice);
    outro.Canal().Envia('F');
    EXPECT_EQ(outro.Espera(), 0);
    Tabela& cli = DMQUOR().TBCONVECLI;
    EXPECT_FALSE(cli.Exclusive());
}

// A client table cut short: repaired only after the operator says so, the
// file as it was kept under a backup name that replaces no earlier copy,
// the records still in the file kept, and the index rebuilt over them.
TEST(Reorganizacao, TabelaIncompletaReparadaQuandoConfirmado) {
    GeralDeTeste g;
    DiretorioDeTrabalho d;
    InstalaDiretorioDeDados(".", true, g.geral().DATADIA);
    const std::vector<std::string> codigos = cortaClientes();
    ASSERT_EQ(codigos.size(), 9u);
    const std::string curto = LE_ARQUIVO("CONVECLI.DBF");
    GRAVA_ARQUIVO_TESTE("CONVECLI.DBF.ANT", "copia de outra vez");
    g.dialogo().respostasSimNao = {true, true};

    ARQ_REORGANIZA(opcCOM_CONFIRMACAO);

    ASSERT_EQ(g.dialogo().perguntas.size(), 2u);
    const auto& p = g.dialogo().perguntas[1];
    EXPECT_EQ(p.titulo, "Confirma Reparo da Tabela ? ");
    EXPECT_FALSE(p.padraoSim);  // nobody at the terminal: not repaired
    EXPECT_NE(p.texto.find("CONVECLI.DBF ESTÁ INCOMPLETA: O CABEÇALHO ANUNCIA 9 REGISTROS E O ARQUIVO TEM 3."_ansi),
              std::string::npos)
        << p.texto;
    EXPECT_EQ(LE_ARQUIVO("CONVECLI.DBF.ANT"), "copia de outra vez");
    EXPECT_EQ(LE_ARQUIVO("CONVECLI.DBF.ANT2"), curto);
    ASSERT_EQ(g.dialogo().mensagens.size(), 2u);
    EXPECT_NE(g.dialogo().mensagens[0].texto.find(
                  " FOI REPARADA: O CABEÇALHO ANUNCIA AGORA 3 REGISTROS. O ARQUIVO ORIGINAL FOI GUARDADO EM "_ansi),
              std::string::npos)
        << g.dialogo().mensagens[0].texto;
    EXPECT_NE(g.dialogo().mensagens[0].texto.find("CONVECLI.DBF.ANT2."), std::string::npos);
    EXPECT_EQ(g.dialogo().mensagens[1].texto, "Reorganização concluída com sucesso"_ansi);
    EXPECT_EQ(g.dialogo().ErrosMostrados(), 0);

    // The three records as they were, their count in the header, the end mark.
    const std::string reparado = LE_ARQUIVO("CONVECLI.DBF");
    const auto [cabecalho, registro] = medidas(curto);
    ASSERT_EQ(reparado.size(), cabecalho + 3 * registro + 1);
    EXPECT_EQ(reparado.substr(cabecalho, 3 * registro), curto.substr(cabecalho, 3 * registro));
    EXPECT_EQ(reparado.substr(4, 4), std::string("\x03\0\0\0", 4));
    EXPECT_EQ(reparado.back(), '\x1A');
    const CdxArquivoTeste cdx = LeCdxParaTeste(ResolveNoDiretorio(".", "CONVECLI.CDX"));
    ASSERT_EQ(cdx.tags.size(), 1u);
    EXPECT_EQ(cdx.tags[0].arvore.entradas.size(), 3u);
    Tabela& cli = DMQUOR().TBCONVECLI;
    cli.Open();
    EXPECT_EQ(cli.IndexName(), "CONVECLI");
    EXPECT_EQ(cli.RecordCount(), 3);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(cli.Locate("CODCLI", {codigos[i]})) << codigos[i];
    EXPECT_FALSE(cli.Locate("CODCLI", {codigos[3]}));
    cli.Close();
}

// Declined, or unattended (the start-up's reorganisation takes the default
// Não): no file changes, and the error says the table was not repaired.
TEST(Reorganizacao, TabelaIncompletaNaoReparadaSemConfirmacao) {
    GeralDeTeste g;
    DiretorioDeTrabalho d;
    InstalaDiretorioDeDados(".", true, g.geral().DATADIA);
    cortaClientes();
    GRAVA_ARQUIVO_TESTE("CONVETAX.NTX", "x");
    const auto antes = conteudoDoDiretorio();
    const auto recusa = [&](TopcCONFIRMA opcao) {
        try {
            ARQ_REORGANIZA(opcao);
            ADD_FAILURE() << "reorganised a table cut short";
        } catch (const ErroTabelaIncompleta& e) {
            const std::string texto = e.what();
            EXPECT_NE(texto.find("ESTÁ INCOMPLETA: O CABEÇALHO ANUNCIA 9 REGISTROS E O ARQUIVO TEM 3.\r\n"
                                 "A TABELA NÃO FOI REPARADA."_ansi),
                      std::string::npos)
                << texto;
        }
        EXPECT_EQ(conteudoDoDiretorio(), antes);
        EXPECT_FALSE(g.dialogo().perguntas.back().resposta);
    };
    g.dialogo().respostasSimNao = {true, false};
    recusa(opcCOM_CONFIRMACAO);
    EXPECT_EQ(g.dialogo().perguntas.size(), 2u);
    recusa(opcSEM_CONFIRMACAO);
    EXPECT_EQ(g.dialogo().perguntas.size(), 3u);
    EXPECT_TRUE(g.dialogo().mensagens.empty());
    EXPECT_FALSE(DMQUOR().TBCONVECLI.Exclusive());
}

TEST(LinhaComando, PedidosEMensagens) {
    GeralDeTeste g;
    std::vector<std::string> chamadas;
    SolicitacoesSistema s;
    s.CONCATENA_REMESSAS = [&] { chamadas.push_back("REMESSA"); };
    s.SEGREGA_RETORNOS = [&](int p) { chamadas.push_back("RETORNO " + std::to_string(p)); };
    s.VEN_CONVREMESSA = [&](const std::string& c, bool l) {
        chamadas.push_back("CR[" + c + "]" + (l ? "L" : "M"));
    };
    auto roda = [&](std::vector<std::string> a) { return DespachaLinhaDeComando(a, s); };

    EXPECT_FALSE(roda({"remessa"}));
    ASSERT_EQ(g.dialogo().mensagens.size(), 1u);
    EXPECT_EQ(g.dialogo().mensagens[0].titulo, "Acione novamente com a opção correta."_ansi);
    EXPECT_EQ(g.dialogo().mensagens[0].tipo, somERRO);
    EXPECT_EQ(g.dialogo().mensagens[0].texto.substr(0, 60),
              "Não identificada a opção que foi solicitada. Poderá ser :\r\n\r\n"_ansi.substr(0, 60));

    EXPECT_TRUE(roda({"RETORNO"}));
    EXPECT_TRUE(roda({"RETORNO", "X"}));
    EXPECT_TRUE(roda({"RETORNO", "99"}));
    EXPECT_FALSE(roda({"RETORNO", "100"}));
    EXPECT_FALSE(roda({"RETORNO", "-1"}));
    EXPECT_EQ(g.dialogo().mensagens.back().texto,
              "NÚMERO DA PASSADA INFORMADO PARA SEGREGACAO NÃO ESTÁ PREVISTA.\r\n"
              "Deverá estar entre o intervalo de 0 a 99."_ansi);
    EXPECT_TRUE(roda({"REMESSA", "ignorado"}));
    EXPECT_TRUE(roda({"CONVERTE_REMESSA"}));
    EXPECT_TRUE(roda({"CONVERTE_REMESSA", "  "}));
    EXPECT_TRUE(roda({"CONVERTE_REMESSA", "COFAP"}));
    EXPECT_EQ(chamadas, (std::vector<std::string>{"RETORNO 0", "RETORNO 0", "RETORNO 99", "REMESSA",
                                                  "CR[]M", "CR[  ]M", "CR[COFAP]L"}));
    // A run this version lacks says so instead of doing nothing silently.
    const auto antes = g.dialogo().mensagens.size();
    EXPECT_TRUE(roda({"CONVERTE_RETORNO", "BR"}));
    EXPECT_EQ(g.dialogo().mensagens.size(), antes + 1);
    EXPECT_EQ(g.dialogo().ErrosMostrados(), 4);
}
