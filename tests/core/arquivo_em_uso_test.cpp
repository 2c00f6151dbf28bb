// Telling a file another process still writes from a finished one, by the
// system's lease and, where none can be had, by watching it.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <set>
#include <string>
#include <thread>

#include "core/arquivos/arquivo_em_uso.h"
#include "support/diretorio_temporario.h"
#include "support/processo_filho.h"

TEST(ArquivoEmUso, PelaConcessao) {
    DiretorioTemporario d;
    const std::string aberto = d / "ABERTO", fechado = d / "FECHADO";
    GRAVA_ARQUIVO_TESTE(aberto, "meio");
    GRAVA_ARQUIVO_TESTE(fechado, "tudo");
    ProcessoFilho escritor([&aberto](const CanalProcesso& canal) {
        const int fd = ::open(aberto.c_str(), O_WRONLY | O_APPEND);
        if (fd < 0) return 10;
        canal.Envia('p');
        return canal.Recebe() == 'c' ? 0 : 11;
    });
    ASSERT_EQ(escritor.Canal().Recebe(), 'p');
    const auto antes = std::chrono::steady_clock::now();
    EXPECT_EQ(AindaEmGravacao({aberto, fechado, d / "NENHUM"}), std::set<std::string>{aberto});
    // The lease answered at once: nothing was watched.
    EXPECT_LT(std::chrono::steady_clock::now() - antes, kEsperaDeGravacao);
    escritor.Canal().Envia('c');
    EXPECT_EQ(escritor.Espera(), 0);
    EXPECT_EQ(AindaEmGravacao({aberto}), std::set<std::string>{});
}

// Files of another user, for whom no lease is given: the one that grows
// is still being written, the one that stays as it was is not.
TEST(ArquivoEmUso, SemConcessaoPeloTamanho) {
    if (::geteuid() != 0) GTEST_SKIP() << "precisa de root para ser outro usuário";
    DiretorioTemporario d;
    const std::string cresce = d / "CRESCE", parado = d / "PARADO";
    GRAVA_ARQUIVO_TESTE(cresce, "a");
    GRAVA_ARQUIVO_TESTE(parado, "b");
    ::chmod(d.Caminho().c_str(), 0777);
    ::chmod(cresce.c_str(), 0666);
    ProcessoFilho outro([&](const CanalProcesso&) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) return 10;
        if (GravacaoPelaConcessao(parado) != EstadoDeGravacao::desconhecida) return 11;
        std::atomic<bool> fim{false};
        std::thread escreve([&] {
            const int fd = ::open(cresce.c_str(), O_WRONLY | O_APPEND);
            while (fd >= 0 && !fim) {
                if (::write(fd, "x", 1) != 1) break;
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            if (fd >= 0) ::close(fd);
        });
        const std::set<std::string> achados = AindaEmGravacao({cresce, parado});
        fim = true;
        escreve.join();
        return achados == std::set<std::string>{cresce} ? 0 : 12;
    });
    EXPECT_EQ(outro.Espera(), 0);
}
