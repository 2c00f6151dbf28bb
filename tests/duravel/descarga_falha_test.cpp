// Every writer flushes a file to disk before giving it its name. This
// binary replaces the C library's fsync: while `falhaDescarga` is set it
// answers EIO, as a failing disk would. A writer that named its file before
// flushing it would then have replaced the old file; one that flushes first
// leaves the old file whole under its name and no temporary behind.

#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>

#include "core/arquivo_inteiro.h"
#include "core/diario_execucao.h"
#include "core/grava_externo.h"
#include "core/tabela/cdx.h"
#include "core/tabela/tabela.h"
#include "routing/arquivo_produto.h"
#include "support/diretorio_temporario.h"
#include "support/geral_teste.h"
#include "vendor/remessa_apoio.h"

namespace {
bool falhaDescarga = false;
}

extern "C" int fsync(int fd) {
    if (falhaDescarga) {
        errno = EIO;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

namespace {

struct Escritor {
    const char* nome;
    const char* alvo;
    std::function<void()> grava;
};

}  // namespace

TEST(DescargaQueFalha, ArquivoAntigoFicaInteiroESemTemporario) {
    GeralDeTeste g{DATA_CODIFICA(2026, 3, 10)};
    DiretorioDeTrabalho d;
    DADOS_DE_EXEMPLO(".", DATA_CODIFICA(2026, 3, 10));
    const Escritor escritores[] = {
        {"arquivo inteiro", "INTEIRO.TXT", [] { ARQ_GRAVA_COMPLETO("INTEIRO.TXT", "NOVO\r\n"); }},
        {"arquivo de produto", "PRODUTO.TXT",
         [] {
             ArquivoProduto p(10, "PRODUTO.TXT");
             p.GRAVA_INF("NOVO");
             p.GRAVA_ARQUIVO();
         }},
        {"gravador externo", "EXTERNO.TXT",
         [] {
             TaexGRAVAEXTERNO e(10, tamREGFIXO);
             e.GRAVA_INF("NOVO");
             e.NOMEARQSAI = "EXTERNO.TXT";
             e.GRAVA_ARQUIVO(tipCOMFIMARQ);
         }},
        {"índice", "INDICE.CDX",
         [] {
             TagCdx t;
             t.tag = "CODIGO";
             t.expressao = "CODIGO";
             t.tamanhoChave = 1;
             t.chaves = "A";
             t.registros = {1};
             CDX_ESCREVE("INDICE.CDX", {t});
         }},
        {"tabela compactada", "CONVETAX.DBF",
         [] {
             Tabela t;
             t.SetDatabaseName(".");
             t.SetTableName("CONVETAX.DBF");
             t.SetExclusive(true);
             t.Open();
             t.Pack();
         }},
    };
    for (const Escritor& e : escritores) {
        if (std::string(e.alvo) != "CONVETAX.DBF") GRAVA_ARQUIVO_TESTE(e.alvo, "ANTIGO\r\n");
        const std::string antes = LE_ARQUIVO(e.alvo);
        const auto entradas = ENTRADAS(".");
        falhaDescarga = true;
        bool falhou = false;
        try {
            e.grava();
        } catch (const std::exception&) {
            falhou = true;
        }
        falhaDescarga = false;
        EXPECT_TRUE(falhou) << e.nome << ": a failed flush reported as success";
        EXPECT_EQ(LE_ARQUIVO(e.alvo), antes) << e.nome;
        EXPECT_EQ(ENTRADAS("."), entradas) << e.nome;
    }
}

// The journal's own lines are flushed with fdatasync; a unit whose journal
// cannot be written is refused before it touches anything.
TEST(DescargaQueFalha, DiarioDesfeitoNaoDeixaNada) {
    DiretorioDeTrabalho d;
    GRAVA_ARQUIVO_TESTE("ENTRADA.TXT", "DADOS\r\n");
    {
        DiarioExecucao diario("TESTE");
        ::mkdir("GUARDA", 0777);
        diario.MoveFeito("ENTRADA.TXT", "GUARDA/ENTRADA.TXT");
        ASSERT_EQ(::rename("ENTRADA.TXT", "GUARDA/ENTRADA.TXT"), 0);
        ArquivoProduto p(10, "SAIDA.TXT");
        p.aoCriarTemporario = [&diario](const std::string& t, const std::string& f) {
            diario.Saida(t, f, true);
        };
        p.GRAVA_INF("X");
        p.PRONTO();
        // Given up without committing: the input is back, the output gone.
    }
    EXPECT_EQ(LE_ARQUIVO("ENTRADA.TXT"), "DADOS\r\n");
    EXPECT_EQ(ENTRADAS("."), (std::vector<std::string>{"ENTRADA.TXT", "GUARDA"}));
    EXPECT_TRUE(ENTRADAS("GUARDA").empty());
}
