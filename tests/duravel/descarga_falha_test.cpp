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

#include "conversion/remessa_apoio.h"
#include "core/arquivos/arquivo_inteiro.h"
#include "core/arquivos/grava_externo.h"
#include "core/diario_execucao.h"
#include "routing/ambiente_concatenacao.h"
#include "routing/arquivo_produto.h"
#include "routing/tarqsegrega.h"
#include "support/diretorio_temporario.h"
#include "support/geral_teste.h"
#include "tabela/cdx.h"
#include "tabela/nome_arquivo.h"
#include "tabela/tabela.h"

namespace {
bool falhaDescarga = false;
// From the n-th flush counted on (0: none counted), every flush fails.
int falhaDesdeADescarga = 0;
int descargas = 0;
}

extern "C" int fsync(int fd) {
    if (falhaDesdeADescarga > 0 && ++descargas >= falhaDesdeADescarga) falhaDescarga = true;
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
    GeralDeTeste g{CodificaData(2026, 3, 10)};
    DiretorioDeTrabalho d;
    DADOS_DE_EXEMPLO(".", CodificaData(2026, 3, 10));
    const Escritor escritores[] = {
        {"arquivo inteiro", "INTEIRO.TXT", [] { GravaArquivoCompleto("INTEIRO.TXT", "NOVO\r\n"); }},
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
             EscreveCdx("INDICE.CDX", {t});
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

// A split whose flushes start failing at any point, among them the one
// that joins a client's further blocks to its file: the bank file's blocks
// are all delivered or none is, the bank file a candidate again, nothing
// left half written.
TEST(DescargaQueFalha, SegregacaoEntregaTudoOuNada) {
    AmbienteConcatenacao a;
    for (const char* id : {"1", "2"})
        a.Cliente((std::string("C0") + id).c_str(), "C", "",
                  {{"ARQRETCLI", std::string("C0") + id + ".RET"},
                   {"CONHEACP1", REGRA("036", "046", "", std::string("0000000000") + id)}});
    auto bloco = [](const char* id, int vez) {
        return std::vector<std::string>{LINHA(400, {{1, "02RETORNO01COBRANCA"}, {36, std::string("0000000000") + id}}),
                                        LINHA(400, {{1, "1"}, {20, "DETALHE " + std::to_string(vez)}}),
                                        LINHA(400, {{1, "9"}})};
    };
    std::string banco, c01, c02;
    for (int vez = 0; vez < 4; ++vez) {
        banco += TEXTO(bloco("1", vez));
        c01 += TEXTO(bloco("1", vez));
        if (vez == 1) {
            banco += TEXTO(bloco("2", vez));
            c02 = TEXTO(bloco("2", vez));
        }
    }
    const auto antes = ENTRADAS(".");
    for (int n = 1;; ++n) {
        SCOPED_TRACE("descarga " + std::to_string(n));
        GRAVA_ARQUIVO_TESTE("RC0912.020", banco);
        a.g.dialogo().mensagens.clear();
        descargas = 0;
        falhaDesdeADescarga = n;
        SEGREGA_RETORNOS(0);
        const bool falhou = falhaDescarga;
        falhaDesdeADescarga = 0;
        falhaDescarga = false;
        if (ArquivoExiste("RC0912.ANT")) {
            EXPECT_FALSE(ArquivoExiste("RC0912.020"));
            EXPECT_EQ(LE_ARQUIVO("RC0912.ANT"), banco);
            EXPECT_EQ(LE_ARQUIVO("C01.RET"), c01);
            EXPECT_EQ(LE_ARQUIVO("C02.RET"), c02);
        } else {
            EXPECT_TRUE(falhou);
            EXPECT_FALSE(a.Mensagens().empty());
            EXPECT_EQ(LE_ARQUIVO("RC0912.020"), banco);
            EXPECT_FALSE(ArquivoExiste("C01.RET"));
            EXPECT_FALSE(ArquivoExiste("C02.RET"));
        }
        for (const std::string& nome : ENTRADAS("."))
            EXPECT_TRUE(nome[0] != '.' && !EhDiarioDeExecucao(nome)) << nome;
        for (const char* nome : {"RC0912.020", "RC0912.ANT", "C01.RET", "C02.RET", "CV091234.LOG"})
            ::unlink(nome);
        EXPECT_EQ(ENTRADAS("."), antes);
        if (!falhou) break;
    }
}

TEST(DescargaQueFalha, SegregacaoDesfeitaDevolveOArquivoAnterior) {
    AmbienteConcatenacao a;
    for (const char* id : {"1", "2"})
        a.Cliente((std::string("C0") + id).c_str(), "C", "",
                  {{"ARQRETCLI", std::string("C0") + id + ".RET"},
                   {"CONHEACP1", REGRA("036", "046", "", std::string("0000000000") + id)}});
    auto bloco = [](const char* id, int vez) {
        return std::vector<std::string>{LINHA(400, {{1, "02RETORNO01COBRANCA"}, {36, std::string("0000000000") + id}}),
                                        LINHA(400, {{1, "1"}, {20, "DETALHE " + std::to_string(vez)}}),
                                        LINHA(400, {{1, "9"}})};
    };
    std::string banco, c01, c02;
    for (int vez = 0; vez < 4; ++vez) {
        banco += TEXTO(bloco("1", vez));
        c01 += TEXTO(bloco("1", vez));
        if (vez == 1) {
            banco += TEXTO(bloco("2", vez));
            c02 = TEXTO(bloco("2", vez));
        }
    }
    // Yesterday's return of C01, not collected yet.
    const std::string ontem = TEXTO(bloco("1", 9));
    GRAVA_ARQUIVO_TESTE("C01.RET", ontem);
    const auto antes = ENTRADAS(".");
    std::string depois;
    for (int n = 1;; ++n) {
        SCOPED_TRACE("descarga " + std::to_string(n));
        GRAVA_ARQUIVO_TESTE("RC0912.020", banco);
        GRAVA_ARQUIVO_TESTE("C01.RET", ontem);
        a.g.dialogo().mensagens.clear();
        descargas = 0;
        falhaDesdeADescarga = n;
        SEGREGA_RETORNOS(0);
        const bool falhou = falhaDescarga;
        falhaDesdeADescarga = 0;
        falhaDescarga = false;
        if (ArquivoExiste("RC0912.ANT")) {
            EXPECT_FALSE(ArquivoExiste("RC0912.020"));
            EXPECT_EQ(LE_ARQUIVO("RC0912.ANT"), banco);
            depois = LE_ARQUIVO("C01.RET");
            EXPECT_EQ(LE_ARQUIVO("C02.RET"), c02);
        } else {
            EXPECT_TRUE(falhou);
            EXPECT_FALSE(a.Mensagens().empty());
            EXPECT_EQ(LE_ARQUIVO("RC0912.020"), banco);
            EXPECT_EQ(LE_ARQUIVO("C01.RET"), ontem);
            EXPECT_FALSE(ArquivoExiste("C02.RET"));
        }
        for (const std::string& nome : ENTRADAS("."))
            EXPECT_TRUE(nome[0] != '.' && !EhDiarioDeExecucao(nome)) << nome;
        for (const char* nome : {"RC0912.020", "RC0912.ANT", "C02.RET", "CV091234.LOG"}) ::unlink(nome);
        EXPECT_EQ(ENTRADAS("."), antes);
        if (!falhou) break;
    }
    // Delivered, the run's blocks are what the name holds.
    EXPECT_EQ(depois, c01);
}
