// The run journal between processes: a run still alive on another
// workstation (its journal locked) is left alone, temporaries included; once
// it is gone, the next run undoes it, or finishes it when it had committed.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/arquivos/arquivo_duravel.h"
#include "core/diario_execucao.h"
#include "support/diretorio_temporario.h"
#include "support/geral_teste.h"
#include "support/processo_filho.h"

namespace {

// A child that starts a unit (a file moved away, an output complete but
// unnamed), optionally commits it, says so and then waits to be killed.
int unidade(const CanalProcesso& c, bool confirma) {
    DiarioExecucao diario("TESTE");
    diario.MoveFeito("ENTRADA.TXT", "GUARDA/ENTRADA.TXT");
    if (::rename("ENTRADA.TXT", "GUARDA/ENTRADA.TXT") != 0) return 1;
    ArquivoDuravel saida("SAIDA.TXT");
    diario.Saida(saida.Temporario(), "SAIDA.TXT", true);
    saida.Escreve("NOVO\r\n");
    if (saida.Conclui() != 0) return 2;
    saida.Solta();
    if (confirma) diario.Confirma({DiarioExecucao::Apaga("GUARDA/ENTRADA.TXT")});
    c.Envia('p');
    for (;;) ::pause();
}

}  // namespace

TEST(DiarioExecucao, VivoFicaIntactoMortoEDesfeitoOuConcluido) {
    for (const bool confirma : {false, true}) {
        DiretorioDeTrabalho d;
        ::mkdir("GUARDA", 0777);
        GRAVA_ARQUIVO_TESTE("ENTRADA.TXT", "DADOS\r\n");
        ProcessoFilho filho([confirma](const CanalProcesso& c) { return unidade(c, confirma); });
        ASSERT_EQ(filho.Canal().Recebe(), 'p');
        const auto antes = ENTRADAS(".");

        // Alive: nothing is touched, not even its unnamed output.
        EXPECT_TRUE(RecuperaDiarios().empty());
        EXPECT_EQ(ENTRADAS("."), antes);
        EXPECT_EQ(ENTRADAS("GUARDA"), std::vector<std::string>{"ENTRADA.TXT"});

        ::kill(filho.Pid(), SIGKILL);
        filho.Espera();
        const auto relato = RecuperaDiarios();
        ASSERT_EQ(relato.size(), 1u);
        if (confirma) {
            EXPECT_NE(relato[0].find("CONCLU"), std::string::npos) << relato[0];
            EXPECT_EQ(LE_ARQUIVO("SAIDA.TXT"), "NOVO\r\n");
            EXPECT_EQ(ENTRADAS("."), (std::vector<std::string>{"GUARDA", "SAIDA.TXT"}));
            EXPECT_TRUE(ENTRADAS("GUARDA").empty());
        } else {
            EXPECT_NE(relato[0].find("DESFEITA"), std::string::npos) << relato[0];
            EXPECT_EQ(LE_ARQUIVO("ENTRADA.TXT"), "DADOS\r\n");
            EXPECT_EQ(ENTRADAS("."), (std::vector<std::string>{"ENTRADA.TXT", "GUARDA"}));
        }
        // Resolved once: a second look finds nothing.
        EXPECT_TRUE(RecuperaDiarios().empty());
    }
}

// Another process's cleanup may strike between a file's creation and its
// lock: the file it removes (or holds to remove) must not be the one handed
// back, or what the run writes would go into a file no name leads to.
TEST(DiarioExecucao, LimpezaEntreCriacaoETravaNaoLevaOArquivo) {
    const auto travaTudo = [](int fd) {
        struct flock l {};
        l.l_type = F_WRLCK;
        l.l_whence = SEEK_SET;
        return ::fcntl(fd, F_OFD_SETLK, &l) == 0;
    };
    DiretorioDeTrabalho d;
    for (const bool segura : {false, true}) {
        int chamadas = 0;
        std::string primeiro;
        int travaDaLimpeza = -1;
        std::string caminho;
        const int fd = CriaETrava(
            [] { return NomeTemporarioAoLado("SAIDA.TXT"); }, 0, 0666,
            [&](int descritor) {
                if (chamadas++ == 0) {
                    primeiro = caminho;
                    if (segura) {
                        // The cleanup has the file locked and is about to remove it.
                        travaDaLimpeza = ::open(caminho.c_str(), O_RDWR);
                        EXPECT_TRUE(travaTudo(travaDaLimpeza));
                    } else {
                        EXPECT_TRUE(RemoveSeAbandonado(caminho));
                    }
                }
                return travaTudo(descritor);
            },
            caminho);
        ASSERT_GE(fd, 0) << segura;
        EXPECT_EQ(chamadas, 2) << segura;
        EXPECT_NE(caminho, primeiro) << segura;
        struct stat pelo_nome {}, pelo_descritor {};
        ASSERT_EQ(::stat(caminho.c_str(), &pelo_nome), 0) << segura;
        ASSERT_EQ(::fstat(fd, &pelo_descritor), 0);
        EXPECT_EQ(pelo_nome.st_ino, pelo_descritor.st_ino) << segura;
        ::close(fd);
        if (travaDaLimpeza >= 0) ::close(travaDaLimpeza);
        ::unlink(caminho.c_str());
        ::unlink(primeiro.c_str());
    }
}
