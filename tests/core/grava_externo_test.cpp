#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <stdexcept>

#include "core/arquivos/arquivo_duravel.h"
#include "core/arquivos/arquivo_inteiro.h"
#include "core/arquivos/caminho_arquivo.h"
#include "core/arquivos/erro_arquivo.h"
#include "core/arquivos/grava_externo.h"
#include "core/texto/ansi.h"
#include "support/geral_teste.h"
#include "support/processo_filho.h"

TEST(GravaExterno, LinhasDeTamanhoFixoComCrLf) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    TaexGRAVAEXTERNO g(250, tamREGFIXO);
    g.GRAVA_INF("0123456789");
    g.REGGRA = std::string(260, 'X');  // longer than the record: cut
    g.GRAVA_REG();
    g.GRAVA_INF("FIM   \t");
    g.NOMEARQSAI = "SAIDA.TXT";
    ASSERT_TRUE(g.GRAVA_ARQUIVO(tipCOMFIMARQ));
    EXPECT_EQ(LE_ARQUIVO("SAIDA.TXT"), "0123456789" + std::string(240, ' ') + "\r\n" +
                                           std::string(250, 'X') + "\r\n" + "FIM" +
                                           std::string(247, ' ') + "\r\n");
    EXPECT_EQ(g.TOTREGGRA, 3);
    EXPECT_EQ(ENTRADAS(), std::vector<std::string>{"SAIDA.TXT"});  // nothing else left
}

TEST(GravaExterno, ReescreveORegistroAtualPeloCursor) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    TaexGRAVAEXTERNO g(-1, tamREGFIXO);  // length learnt later
    g.CRIA_ARQSAIDA(5);
    for (const char* r : {"AAAAA", "BBBBB", "CCCCC", "DDDDD", "EEEEE"}) g.GRAVA_INF(r);
    EXPECT_EQ(g.DADOS1(), "EEEEE");  // the record just staged is current
    g.First();
    g.Next();
    g.Next();
    EXPECT_EQ(g.DADOS1(), "CCCCC");
    g.ATUALIZA_REG("XY");
    g.NOMEARQSAI = "R.TXT";
    ASSERT_TRUE(g.GRAVA_ARQUIVO(tipSEMFIMARQ));
    EXPECT_EQ(LE_ARQUIVO("R.TXT"), "AAAAA\r\nBBBBB\r\nXY   \r\nDDDDD\r\nEEEEE\r\n");

    // The same rows go to a second file; emptied rows write an empty file.
    g.NOMEARQSAI = "R2.TXT";
    ASSERT_TRUE(g.GRAVA_ARQUIVO(tipCOMFIMARQ));
    EXPECT_EQ(LE_ARQUIVO("R2.TXT"), LE_ARQUIVO("R.TXT"));
    g.Next();
    g.Next();
    g.Next();  // past the end: Eof, and the last record stays current
    EXPECT_TRUE(g.Eof());
    EXPECT_EQ(g.DADOS1(), "EEEEE");
    g.LIMPAAUXILIAR();
    EXPECT_EQ(g.TOTREGGRA, 5);
    g.First();
    EXPECT_TRUE(g.Eof());
    g.NOMEARQSAI = "R.TXT";
    ASSERT_TRUE(g.GRAVA_ARQUIVO(tipCOMFIMARQ));
    EXPECT_EQ(LE_ARQUIVO("R.TXT"), "");
}

// Past a megabyte of staged records, and a record rewritten longer than it
// was staged (and shorter) in the middle: every line where it belongs.
TEST(GravaExterno, MuitosRegistrosReescritosNoMeio) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    TaexGRAVAEXTERNO g(250, tamREGFIXO);
    std::vector<std::string> esperadas;
    for (int i = 0; i < 6000; ++i) {
        const std::string r = std::to_string(i) + std::string(static_cast<std::size_t>(i % 300), 'x');
        g.GRAVA_INF(r);
        esperadas.push_back(r.substr(0, 250));
    }
    g.First();
    for (int i = 0; i < 4200; ++i) g.Next();
    g.ATUALIZA_REG(std::string(300, 'L'));  // was 4200 and 0 x's: grows
    esperadas[4200] = std::string(250, 'L');
    g.Next();
    g.ATUALIZA_REG("C");
    esperadas[4201] = "C";
    EXPECT_EQ(g.DADOS1(), "C");
    g.First();
    for (int i = 0; i < 4200; ++i) g.Next();
    EXPECT_EQ(g.DADOS1(), std::string(250, 'L'));
    g.NOMEARQSAI = "SAIDA.TXT";
    ASSERT_TRUE(g.GRAVA_ARQUIVO(tipCOMFIMARQ));
    std::string esperado;
    for (const std::string& r : esperadas) esperado += r + std::string(250 - r.size(), ' ') + "\r\n";
    EXPECT_EQ(LE_ARQUIVO("SAIDA.TXT"), esperado);
}

// Written as they come, the records make the bytes GRAVA_ARQUIVO makes of
// them staged, those staged before the switch included; none is kept.
TEST(GravaExterno, EscritosAoVirIguaisAosGuardados) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    TaexGRAVAEXTERNO guardados(250, tamREGFIXO), diretos(250, tamREGFIXO);
    const auto registro = [](int i) {
        return std::to_string(i) + std::string(static_cast<std::size_t>(i % 300), 'x') + (i % 7 ? "" : " \t");
    };
    for (int i = 0; i < 10; ++i) {
        guardados.GRAVA_INF(registro(i));
        diretos.GRAVA_INF(registro(i));
    }
    ArquivoDuravel arquivo("DIRETO.TXT");
    diretos.EscreveDiretoEm(arquivo);
    for (int i = 10; i < 9000; ++i) {  // a few megabytes: many writes
        guardados.GRAVA_INF(registro(i));
        diretos.GRAVA_INF(registro(i));
    }
    diretos.DescarregaDireto();
    EXPECT_EQ(diretos.RecordCount(), 0);
    EXPECT_EQ(diretos.TOTREGGRA, 9000);
    EXPECT_THROW(diretos.ATUALIZA_REG("X"), std::logic_error);
    ASSERT_EQ(arquivo.Nomeia(true), 0);
    guardados.NOMEARQSAI = "GUARDADO.TXT";
    ASSERT_TRUE(guardados.GRAVA_ARQUIVO(tipCOMFIMARQ));
    EXPECT_EQ(LE_ARQUIVO("DIRETO.TXT"), LE_ARQUIVO("GUARDADO.TXT"));
}

TEST(GravaExterno, DiretorioInexistenteDaMensagemESemArquivo) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    TaexGRAVAEXTERNO g(10, tamREGFIXO);
    g.GRAVA_INF("X");
    g.NOMEARQSAI = "NAO_HA/SAIDA.TXT";
    EXPECT_FALSE(g.GRAVA_ARQUIVO(tipCOMFIMARQ));
    ASSERT_EQ(t.dialogo().mensagens.size(), 1u);
    const auto& m = t.dialogo().mensagens[0];
    EXPECT_EQ(m.tipo, somERRO);
    EXPECT_EQ(m.titulo, "Atenção..."_ansi);
    EXPECT_EQ(m.texto,
              "GRAVA_ARQUIVO-IMPOSSIVEL CRIAR O ARQUIVO EXTERNO SOLICITADO.\n"
              "Nome do arquivo : NAO_HA/SAIDA.TXT\n"
              "Erro DOS - código : 3 DIRETORIO INEXISTENTE"_ansi);
    EXPECT_TRUE(ENTRADAS().empty());
    EXPECT_EQ(t.dialogo().cursores.back(), false);
}

TEST(GravaExterno, FalhaNoMeioNaoDeixaArquivoPelaMetade) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    GRAVA_ARQUIVO_TESTE("SAIDA.TXT", "ANTERIOR\r\n");
    TaexGRAVAEXTERNO g(400, tamREGFIXO);
    for (int i = 0; i < 50; ++i) g.GRAVA_INF("REGISTRO");
    g.NOMEARQSAI = "SAIDA.TXT";
    // The disk fills up after 4 KB: writing stops with an error mid-file.
    struct rlimit antes {};
    ::getrlimit(RLIMIT_FSIZE, &antes);
    struct rlimit limite = antes;
    limite.rlim_cur = 4096;
    ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limite);
    EXPECT_THROW(g.GRAVA_ARQUIVO(tipCOMFIMARQ), ErroArquivo);
    ::setrlimit(RLIMIT_FSIZE, &antes);
    ::signal(SIGXFSZ, SIG_DFL);
    EXPECT_EQ(LE_ARQUIVO("SAIDA.TXT"), "ANTERIOR\r\n");  // the old file, whole
    EXPECT_EQ(ENTRADAS(), std::vector<std::string>{"SAIDA.TXT"});
    EXPECT_TRUE(t.dialogo().mensagens.empty());  // the directory exists: the error goes up
}

TEST(GravaExterno, FalhaAoPorNoLugarNaoDeixaTemporario) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    ::mkdir("SAIDA.TXT", 0777);  // the name is taken by a directory
    TaexGRAVAEXTERNO g(10, tamREGFIXO);
    g.GRAVA_INF("X");
    g.NOMEARQSAI = "SAIDA.TXT";
    EXPECT_THROW(g.GRAVA_ARQUIVO(tipCOMFIMARQ), ErroArquivo);
    EXPECT_EQ(ENTRADAS(), std::vector<std::string>{"SAIDA.TXT"});
    EXPECT_TRUE(std::filesystem::is_directory("SAIDA.TXT"));
}

TEST(GravaExterno, DiretorioSemPermissaoDeEscrita) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    ::mkdir("FECHADO", 0555);
    ::chmod(dir.caminho().c_str(), 0755);
    // Root writes anywhere: the writing happens in a child that runs as an
    // ordinary user.
    ProcessoFilho filho([](const CanalProcesso&) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 3;
        TaexGRAVAEXTERNO g(10, tamREGFIXO);
        g.GRAVA_INF("X");
        g.NOMEARQSAI = "FECHADO/SAIDA.TXT";
        try {
            g.GRAVA_ARQUIVO(tipCOMFIMARQ);
        } catch (const ErroArquivo&) {
            return 0;
        }
        return 1;
    });
    EXPECT_EQ(filho.Espera(), 0);
    EXPECT_TRUE(std::filesystem::is_empty("FECHADO"));
}

TEST(GravaExterno, SubstituiOArquivoDeMesmoNomeEmOutraCaixa) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    GRAVA_ARQUIVO_TESTE("retorno.ret", "VELHO\r\n");
    TaexGRAVAEXTERNO g(4, tamREGFIXO);
    g.GRAVA_INF("NOVO");
    g.NOMEARQSAI = "RETORNO.RET";
    ASSERT_TRUE(g.GRAVA_ARQUIVO(tipCOMFIMARQ));
    EXPECT_EQ(ENTRADAS(), std::vector<std::string>{"retorno.ret"});
    EXPECT_EQ(LE_ARQUIVO("retorno.ret"), "NOVO\r\n");
}

TEST(ObrParteArq, PartesDoCaminho) {
    EXPECT_EQ(OBR_PARTEARQ("/dados/ret/ARQ.TXT", 0), "/dados/ret/");
    EXPECT_EQ(OBR_PARTEARQ("/dados/ret/ARQ.TXT", 1), "ret");
    EXPECT_EQ(OBR_PARTEARQ("/dados/ret/ARQ.TXT", 2), "/dados");
    EXPECT_EQ(OBR_PARTEARQ("dados/ ARQ.TXT ", 3), "ARQ.TXT");
    EXPECT_EQ(OBR_PARTEARQ("dados/TAB.DBF", 4), "dados/TAB.FPT");
    EXPECT_EQ(OBR_PARTEARQ("INDAUX01.CDX", 5, 7), "INDAUX07.CDX");
    EXPECT_EQ(OBR_PARTEARQ("CV0914", 5, 35), "CV0935");
}

TEST(ArquivoInteiro, SemSubstituirRecusaONomeOcupado) {
    DiretorioDeTrabalho dir;
    GRAVA_ARQUIVO_TESTE("MOVIDO", "de outro");
    EXPECT_THROW(GravaArquivoCompleto("MOVIDO", "novo", false), ErroArquivo);
    EXPECT_EQ(LE_ARQUIVO("MOVIDO"), "de outro");
    EXPECT_EQ(ENTRADAS(), std::vector<std::string>{"MOVIDO"});
    GravaArquivoCompleto("OUTRO", "novo", false);
    EXPECT_EQ(LE_ARQUIVO("OUTRO"), "novo");
}
