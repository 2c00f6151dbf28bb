#include "routing/arquivo_produto.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/arquivos/erro_arquivo.h"
#include "support/geral_teste.h"

// The bank file appears under its name only complete, replacing an older one
// in any letter case; a run that stops or fails leaves nothing behind.
TEST(ArquivoProduto, ApareceInteiroOuNaoAparece) {
    GeralDeTeste g;
    DiretorioDeTrabalho d;
    GRAVA_ARQUIVO_TESTE("cb4091201", "ANTIGO\r\n");
    {
        ArquivoProduto p(10, "CB4091201");
        p.GRAVA_INF("12345");
        p.GRAVA_INF("1234567890ABC");
        p.GRAVA_INF("AB  \t ");
        for (int i = 0; i < 200000; ++i) p.GRAVA_INF("X");  // past what is held in memory
        EXPECT_EQ(LE_ARQUIVO("cb4091201"), "ANTIGO\r\n");
        ASSERT_TRUE(p.GRAVA_ARQUIVO());
    }
    EXPECT_EQ(ENTRADAS("."), std::vector<std::string>{"cb4091201"});
    const std::string gravado = LE_ARQUIVO("cb4091201");
    EXPECT_EQ(gravado.size(), 200003u * 12);
    EXPECT_EQ(gravado.substr(0, 36), "12345     \r\n1234567890\r\nAB        \r\n");

    {
        ArquivoProduto p(400, "ABANDONADO");
        for (int i = 0; i < 5000; ++i) p.GRAVA_INF("X");
    }
    ::mkdir("DIRETORIO", 0777);  // a directory holds the name
    {
        ArquivoProduto p(400, "DIRETORIO");
        p.GRAVA_INF("X");
        EXPECT_THROW(p.GRAVA_ARQUIVO(), ErroArquivo);
    }
    {
        ArquivoProduto p(400, "SAIDA/CB4091203");
        p.GRAVA_INF("X");
        EXPECT_FALSE(p.GRAVA_ARQUIVO());
    }
    EXPECT_EQ(ENTRADAS("."), (std::vector<std::string>{"DIRETORIO", "cb4091201"}));
    EXPECT_EQ(ENTRADAS("DIRETORIO"), std::vector<std::string>{});
    ASSERT_EQ(g.dialogo().mensagens.size(), 1u);
    EXPECT_NE(g.dialogo().mensagens[0].texto.find("DIRETORIO INEXISTENTE"), std::string::npos);
}

// The header written last lands over the first record whether the records
// are still in memory, already handed to the file, or handed to the disk;
// the records after it are untouched.
TEST(ArquivoProduto, PrimeiroRegistroReescritoNoFim) {
    GeralDeTeste g;
    DiretorioDeTrabalho d;
    for (int registros : {3, 200000}) {  // 200,000 records of 12 bytes: past what is held in memory
        for (bool encaminha : {false, true}) {
            ArquivoProduto p(10, "SAIDA.RET");
            p.GRAVA_INF("");
            for (int i = 1; i < registros; ++i) p.GRAVA_INF(i % 2 ? "DETALHE" : "OUTRO");
            if (encaminha) p.ENCAMINHA();
            p.ReescrevePrimeiroRegistro("CABECALHO-LONGO-DEMAIS  ");
            ASSERT_TRUE(p.GRAVA_ARQUIVO());
            const std::string gravado = LE_ARQUIVO("SAIDA.RET");
            ASSERT_EQ(gravado.size(), static_cast<std::size_t>(registros) * 12);
            EXPECT_EQ(gravado.substr(0, 36), "CABECALHO-\r\nDETALHE   \r\nOUTRO     \r\n");
            EXPECT_EQ(gravado.substr(gravado.size() - 12), registros % 2 ? "OUTRO     \r\n" : "DETALHE   \r\n");
        }
    }
}
