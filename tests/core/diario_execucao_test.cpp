// The run journal between processes: a run still alive on another
// workstation (its journal locked) is left alone, temporaries included; once
// it is gone, the next run undoes it, or finishes it when it had committed.

#include <gtest/gtest.h>
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
