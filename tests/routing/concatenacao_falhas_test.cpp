// The concatenation when things go wrong: settings missing, files that
// cannot be moved or read, a bank file that cannot be written. Whatever
// happens, a client file is either in the working directory and out of every
// bank file, or in the holding directory and in exactly one bank file.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "core/dados/tdmquor.h"
#include "core/espera_limitada.h"
#include "core/texto/ansi.h"
#include "report/toprint.h"
#include "routing/ambiente_concatenacao.h"
#include "routing/tarqconcatena.h"
#include "support/processo_filho.h"
#include "tabela/nome_arquivo.h"

namespace {

using Linhas = std::vector<std::string>;

const std::string& remessaBeta() {
    static const std::string r = TEXTO({LINHA(400, {{1, "01REMESSA01COBRANCA"}, {77, "237"}}),
                                        LINHA(400, {{1, "1"}, {20, "ABC"}}),
                                        LINHA(400, {{1, "9"}, {5, "000"}})});
    return r;
}

bool contem(const Linhas& linhas, const std::string& linha) {
    return std::find(linhas.begin(), linhas.end(), linha) != linhas.end();
}

}  // namespace

TEST(ConcatenacaoFalhas, InstalacaoIncompletaNaoTocaEmNada) {
    AmbienteConcatenacao a;
    a.Cliente("BETA", "C", "BETA");
    GRAVA_ARQUIVO_TESTE("BETA.001", remessaBeta());
    // Every field blank; each run names the first one still missing, and the
    // next run finds it filled.
    const std::pair<const char*, std::string> campos[] = {
        {"ARQREMC24", "ARQUIVO REMESSA DO BANCO - COBRANÇA 240 NÃO DEFINIDO NA INSTALAÇÃO"_ansi},
        {"ARQREMC40", "ARQUIVO REMESSA DO BANCO - COBRANÇA 400 NÃO DEFINIDO NA INSTALAÇÃO"_ansi},
        {"ARQREMVEN", "ARQUIVO REMESSA DO BANCO - VENDOR 250 NÃO DEFINIDO NA INSTALAÇÃO"_ansi},
        {"ARQREMV24", "ARQUIVO REMESSA DO BANCO - VENDOR 240 NÃO DEFINIDO NA INSTALAÇÃO"_ansi},
        {"ARQREMDES", "ARQUIVO REMESSA DO BANCO - DESCONTO NÃO DEFINIDO NA INSTALAÇÃO"_ansi},
        {"DIRCOPIA", "DIRETÓRIO PARA MOVER ARQUIVOS REMESSAS NÃO DEFINIDO NA INSTALAÇÃO"_ansi},
    };
    ::mkdir("GUARDA", 0777);
    // Blanks, "." and "/" are no name.
    for (const auto& [campo, mensagem] : campos) a.Instalacao({{campo, " ./"}});
    for (const auto& [campo, mensagem] : campos) {
        a.g.dialogo().mensagens.clear();
        CONCATENA_REMESSAS();
        EXPECT_EQ(a.Mensagens(), Linhas{mensagem});
        EXPECT_EQ(a.g.dialogo().mensagens.at(0).tipo, somERRO);
        a.Instalacao({{campo, std::string(campo) == "DIRCOPIA" ? "GUARDA" : "NOMENN"}});
    }
    EXPECT_EQ(LE_ARQUIVO("BETA.001"), remessaBeta());
    EXPECT_TRUE(a.motor->pdfs.empty());
    EXPECT_EQ(a.NumeroInstalacao("SEQREMC40"), 0);
}

TEST(ConcatenacaoFalhas, SemRemessasTerminaEmSilencio) {
    AmbienteConcatenacao a;
    a.InstalacaoPadrao();
    a.Cliente("BETA", "C", "BETA");
    for (const char* nome : {"BETA.000", "BETA.TXT", "BETA.99", "BETA1000"})
        GRAVA_ARQUIVO_TESTE(nome, remessaBeta());
    CONCATENA_REMESSAS();
    EXPECT_EQ(a.Mensagens(), Linhas{});
    EXPECT_TRUE(a.motor->pdfs.empty());
    EXPECT_EQ(a.NumeroInstalacao("SEQREMC40"), 7);
    EXPECT_EQ(a.TextoInstalacao("ULTDATCOB"), "0812");
}

// The holding directory refuses the file: it stays where it was, with its
// message, and its lines do not reach the bank, so the next run sends them
// once. Run by an unprivileged user, for whom permissions count.
TEST(ConcatenacaoFalhas, GuardaSemPermissaoDeixaOArquivoNoLugar) {
    AmbienteConcatenacao a;
    a.InstalacaoPadrao();
    a.Cliente("BETA", "C", "BETA");
    GRAVA_ARQUIVO_TESTE("BETA.001", remessaBeta());
    namespace fs = std::filesystem;
    fs::permissions(".", fs::perms::all);
    for (const auto& e : fs::directory_iterator("."))
        if (e.is_regular_file()) fs::permissions(e.path(), fs::perms::owner_read | fs::perms::owner_write |
                                                                 fs::perms::group_read | fs::perms::group_write |
                                                                 fs::perms::others_read | fs::perms::others_write);
    fs::permissions("GUARDA", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                  fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);

    ProcessoFilho filho([&a](const CanalProcesso&) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 10;
        CONCATENA_REMESSAS();
        if (a.Mensagens() != Linhas{"NAO CONSEGUIU MOVER O ARQUIVO: BETA.001"}) return 11;
        if (a.g.dialogo().mensagens.at(0).tipo != somERRO) return 12;
        if (!contem(a.Log(), "    BETA.001  NAO FOI MOVIDO - NAO CONCATENADO")) return 13;
        return 0;
    });
    EXPECT_EQ(filho.Espera(), 0);
    EXPECT_EQ(LE_ARQUIVO("BETA.001"), remessaBeta());
    EXPECT_EQ(ENTRADAS("GUARDA"), Linhas{});
    // Nothing was read into it, so there is no bank file at all.
    EXPECT_FALSE(ArquivoExiste("CB4091201"));
}

TEST(ConcatenacaoFalhas, GuardaQueNaoServe) {
    AmbienteConcatenacao a;
    a.InstalacaoPadrao();
    a.Cliente("BETA", "C", "BETA");
    // The working directory itself (a copy over the file would be the file),
    // a directory that does not exist, a file where the directory should be.
    GRAVA_ARQUIVO_TESTE("ARQUIVO", "x");
    for (const std::string& guarda : {a.d.caminho(), std::string("GUARDA/.."), std::string("NAOEXISTE"),
                                      std::string("ARQUIVO")}) {
        a.g.dialogo().mensagens.clear();
        a.Instalacao({{"DIRCOPIA", guarda}});
        GRAVA_ARQUIVO_TESTE("BETA.001", remessaBeta());
        CONCATENA_REMESSAS();
        EXPECT_EQ(a.Mensagens(), Linhas{"NAO CONSEGUIU MOVER O ARQUIVO: BETA.001"}) << guarda;
        EXPECT_EQ(LE_ARQUIVO("BETA.001"), remessaBeta()) << guarda;
        EXPECT_FALSE(ArquivoExiste("CB4091201")) << guarda;
    }
    EXPECT_EQ(LE_ARQUIVO("ARQUIVO"), "x");
}

// A bank file name held by a directory is refused before anything is read
// or moved: the client files stay for the next run and no number is taken;
// once the name is free the run writes 01.
TEST(ConcatenacaoFalhas, ArquivoDoBancoNaoGravadoDevolveAsRemessas) {
    AmbienteConcatenacao a;
    a.InstalacaoPadrao();
    a.Cliente("BETA", "C", "BETA");
    GRAVA_ARQUIVO_TESTE("BETA.001", remessaBeta());
    GRAVA_ARQUIVO_TESTE("beta.002", remessaBeta() + remessaBeta());
    ::mkdir("CB4091201", 0777);
    CONCATENA_REMESSAS();

    ASSERT_EQ(a.Mensagens().size(), 1u);
    EXPECT_NE(a.Mensagens()[0].find("ARQREMC40"), std::string::npos) << a.Mensagens()[0];
    EXPECT_NE(a.Mensagens()[0].find("DIRETÓRIO"_ansi), std::string::npos) << a.Mensagens()[0];
    EXPECT_EQ(LE_ARQUIVO("BETA.001"), remessaBeta());
    EXPECT_EQ(LE_ARQUIVO("beta.002"), remessaBeta() + remessaBeta());
    EXPECT_EQ(ENTRADAS("GUARDA"), Linhas{});
    EXPECT_EQ(ENTRADAS("CB4091201"), Linhas{});
    EXPECT_EQ(a.NumeroInstalacao("SEQREMC40"), 7);
    ::rmdir("CB4091201");
    a.g.dialogo().mensagens.clear();
    CONCATENA_REMESSAS();
    EXPECT_EQ(a.Mensagens(), Linhas{});
    EXPECT_EQ(LE_ARQUIVO("CB4091201"), remessaBeta() + remessaBeta() + remessaBeta());
}

// Only regular files of the working directory are read: a link may lead
// anywhere, a pipe would never end.
TEST(ConcatenacaoFalhas, EntradasQueNaoSaoArquivosNaoSaoLidas) {
    AmbienteConcatenacao a;
    a.InstalacaoPadrao();
    a.Cliente("BETA", "C", "BETA");
    DiretorioTemporario fora;
    GRAVA_ARQUIVO_TESTE(fora / "SEGREDO", remessaBeta());
    ASSERT_EQ(::symlink((fora / "SEGREDO").c_str(), "BETA.001"), 0);
    ASSERT_EQ(::mkfifo("BETA.002", 0666), 0);
    ASSERT_EQ(::mkdir("BETA.003", 0777), 0);
    GRAVA_ARQUIVO_TESTE("BETA.004", remessaBeta());
    CONCATENA_REMESSAS();

    const std::string naoLido = "NÃO CONSEGUIU TRANSFORMAR O ARQUIVO TEXTO EM MEMÓRIA.\nARQUIVO PROCURADO: "_ansi;
    EXPECT_EQ(a.Mensagens(),
              (Linhas{naoLido + "BETA.001", naoLido + "BETA.002", naoLido + "BETA.003"}));
    EXPECT_EQ(LE_ARQUIVO("CB4091201"), remessaBeta());
    EXPECT_EQ(ENTRADAS("GUARDA"), Linhas{"BETA.004"});
    EXPECT_EQ(ENTRADAS(fora.Caminho()), Linhas{"SEGREDO"});
    EXPECT_EQ(LE_ARQUIVO(fora / "SEGREDO"), remessaBeta());
    struct stat st {};
    EXPECT_TRUE(::lstat("BETA.001", &st) == 0 && S_ISLNK(st.st_mode));
    const Linhas log = a.Log();
    EXPECT_TRUE(contem(log, "    BETA.004  Lido com sucesso"));
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& l) { return l.find("BETA.00") != std::string::npos; }),
              1);
}

// A bank file name that another bank file of the run took, or that a
// client file listed by the run has: writing it would replace that file.
// The product's files wait for the next run instead.
TEST(ConcatenacaoFalhas, NomeDeArquivoDoBancoJaUsadoNaoSubstituiNada) {
    AmbienteConcatenacao a;
    a.InstalacaoPadrao();
    a.Instalacao({{"ARQREMC40", "REMDDMMNN"}, {"ARQREMDES", "REMDDMMNN"}, {"ARQREMV24", "VALE.0NN"}});
    a.Cliente("BETA", "C", "BETA");
    a.Cliente("DELTA", "D", "DELTA");
    a.Cliente("VALE", "V", "VALE");
    a.Cliente("RIO", "R", "RIO");
    GRAVA_ARQUIVO_TESTE("BETA.001", remessaBeta());
    const std::string delta = TEXTO({LINHA(400, {{1, "01REMESSA01COBRANCA"}}), LINHA(400, {{1, "9"}})});
    const std::string vale = TEXTO({LINHA(250, {{1, "00"}, {12, "REMESSA00VENDOR"}}), LINHA(250, {{1, "09"}})});
    const std::string rio = TEXTO({LINHA(240, {{1, "34100000"}}), LINHA(240, {{1, "34199999"}})});
    GRAVA_ARQUIVO_TESTE("DELTA.001", delta);
    GRAVA_ARQUIVO_TESTE("VALE.001", vale);
    GRAVA_ARQUIVO_TESTE("RIO.001", rio);
    CONCATENA_REMESSAS();

    EXPECT_EQ(LE_ARQUIVO("REM091201"), remessaBeta());
    EXPECT_EQ(LE_ARQUIVO("VEN091201"), vale);
    EXPECT_EQ(LE_ARQUIVO("GUARDA/VALE.001"), vale);
    EXPECT_FALSE(ArquivoExiste("VALE.001"));
    EXPECT_EQ(LE_ARQUIVO("DELTA.001"), delta);
    EXPECT_EQ(LE_ARQUIVO("RIO.001"), rio);
    EXPECT_EQ(ENTRADAS("GUARDA"), (Linhas{"BETA.001", "VALE.001"}));
    const Linhas m = a.Mensagens();
    ASSERT_EQ(m.size(), 2u);
    EXPECT_NE(m[0].find("VALE.001"), std::string::npos);
    EXPECT_NE(m[1].find("REM091201"), std::string::npos);
    EXPECT_TRUE(contem(a.Log(), "    RIO.001  NAO LIDO - NOME DO ARQUIVO DO BANCO JA USADO"));
    EXPECT_TRUE(contem(a.Log(), "    DELTA.001  NAO LIDO - NOME DO ARQUIVO DO BANCO JA USADO"));
}

// A file listed but gone when its turn comes.
TEST(ConcatenacaoFalhas, ArquivoQueSumiuAntesDaLeitura) {
    AmbienteConcatenacao a;
    a.InstalacaoPadrao();
    DMQUOR().TBCONVEINS.Open();
    DMQUOR().TBCONVECLI.Open();
    TarqCONCATENA c;
    c.KARQREMBAN = "CB4DDMM";
    ASSERT_TRUE(IMP_PREPARA("T", {}));
    oPRINT->IMPINICIALIZA(-1, "", false);
    std::vector<std::string> lista{"BETA.001"};
    c.ARQ_GRAVAPRODUTO('C', lista);
    const Linhas log = oPRINT->Modelo().paginas.at(0).linhas;
    EXPECT_TRUE(contem(log, "    BETA.001  ARQUIVO REMESSA DO CLIENTE NÃO DISPONÍVEL NO MOMENTO."_ansi));
    EXPECT_EQ(ENTRADAS("."), (Linhas{"CONVECLI.CDX", "CONVECLI.DBF", "CONVEINS.DBF", "CONVEPEN.CDX",
                                     "CONVEPEN.DBF", "CONVETAX.CDX", "CONVETAX.DBF", "GUARDA"}));
}

// A bank file name of the installation that names one of the system's own
// files is refused before anything is read: the table stays whole.
TEST(ConcatenacaoFalhas, NomeDoBancoQueNomeiaArquivoDoSistema) {
    AmbienteConcatenacao a;
    a.InstalacaoPadrao();
    a.Cliente("BETA", "C", "BETA");
    GRAVA_ARQUIVO_TESTE("BETA.001", remessaBeta());
    const std::string cadastro = LE_ARQUIVO("CONVECLI.DBF");
    for (const char* nome : {"CONVECLI.DBF", "convecli.cdx", "ARQUIVO_.PDF"}) {
        a.Instalacao({{"ARQREMC40", nome}});
        a.g.dialogo().mensagens.clear();
        CONCATENA_REMESSAS();
        ASSERT_EQ(a.Mensagens().size(), 1u) << nome;
        EXPECT_NE(a.Mensagens()[0].find("ARQREMC40"), std::string::npos) << a.Mensagens()[0];
        EXPECT_EQ(LE_ARQUIVO("BETA.001"), remessaBeta()) << nome;
        EXPECT_EQ(LE_ARQUIVO("CONVECLI.DBF"), cadastro) << nome;
    }
}

// The installation's record held by another workstation all along: an
// unattended run gives up at its limit with an error, and the day is as it
// was: the client file in place, no bank file, the tables untouched.
TEST(ConcatenacaoFalhas, InstalacaoPresaEmOutraEstacaoDesisteSemMudarNada) {
    AmbienteConcatenacao a;
    a.InstalacaoPadrao();
    a.Cliente("BETA", "C", "BETA");
    GRAVA_ARQUIVO_TESTE("BETA.001", remessaBeta());
    const Linhas antes = ENTRADAS(".");
    const std::string instalacao = LE_ARQUIVO("CONVEINS.DBF");
    Tabela outraEstacao;
    outraEstacao.SetTableName("CONVEINS");
    outraEstacao.Open();
    outraEstacao.First();
    outraEstacao.Edit();
    ::setenv("CONVERSOR_ESPERA_MAX", "1", 1);
    // The error reaches the caller, which shows it and ends with status 1.
    try {
        CONCATENA_REMESSAS();
        ADD_FAILURE() << "the run should have given up";
    } catch (const ErroEsperaAbandonada& e) {
        const std::string erro = e.what();
        EXPECT_NE(erro.find("CONVEINS.DBF"), std::string::npos) << erro;
        EXPECT_NE(erro.find("CONVERSOR_ESPERA_MAX"), std::string::npos) << erro;
    }
    ::unsetenv("CONVERSOR_ESPERA_MAX");
    outraEstacao.Cancel();
    EXPECT_EQ(ENTRADAS("."), antes);
    EXPECT_EQ(LE_ARQUIVO("BETA.001"), remessaBeta());
    EXPECT_EQ(LE_ARQUIVO("CONVEINS.DBF"), instalacao);
    EXPECT_TRUE(ENTRADAS("GUARDA").empty());
}
