#include "routing/arquivo_produto.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/erro_arquivo.h"
#include "support/geral_teste.h"

TEST(ArquivoProduto, AparecePorInteiroSubstituindoOAnterior) {
    GeralDeTeste g;
    DiretorioDeTrabalho d;
    GRAVA_ARQUIVO_TESTE("cb4091201", "ANTIGO\r\n");
    {
        ArquivoProduto p(10, "CB4091201");
        p.GRAVA_INF("12345");
        p.GRAVA_INF("1234567890ABC");
        p.GRAVA_INF("AB  \t ");  // trailing blanks and controls dropped
        // Nothing under the name until the end: the old file is still there.
        EXPECT_EQ(LE_ARQUIVO("cb4091201"), "ANTIGO\r\n");
        ASSERT_TRUE(p.GRAVA_ARQUIVO());
        EXPECT_EQ(p.TOTREGGRA, 3);
    }
    // The name in another letter case is the same file.
    EXPECT_EQ(ENTRADAS("."), std::vector<std::string>{"cb4091201"});
    EXPECT_EQ(LE_ARQUIVO("cb4091201"), "12345     \r\n1234567890\r\nAB        \r\n");

    // Many records, past the pieces it writes at a time.
    {
        ArquivoProduto p(400, "GRANDE");
        for (int i = 0; i < 30000; ++i) p.GRAVA_INF(std::to_string(i));
        ASSERT_TRUE(p.GRAVA_ARQUIVO());
    }
    const std::string grande = LE_ARQUIVO("GRANDE");
    ASSERT_EQ(grande.size(), 30000u * 402);
    EXPECT_EQ(grande.substr(29999 * 402, 5), "29999");
}

TEST(ArquivoProduto, FalhaNaoDeixaNada) {
    GeralDeTeste g;
    DiretorioDeTrabalho d;
    // Abandoned halfway: the partial file goes.
    {
        ArquivoProduto p(400, "CB4091201");
        for (int i = 0; i < 5000; ++i) p.GRAVA_INF("X");
    }
    EXPECT_EQ(ENTRADAS("."), std::vector<std::string>{});

    // A directory holds the name.
    ::mkdir("CB4091202", 0777);
    {
        ArquivoProduto p(400, "CB4091202");
        p.GRAVA_INF("X");
        EXPECT_THROW(p.GRAVA_ARQUIVO(), ErroArquivo);
    }
    EXPECT_EQ(ENTRADAS("."), std::vector<std::string>{"CB4091202"});
    EXPECT_EQ(ENTRADAS("CB4091202"), std::vector<std::string>{});

    // The directory of the name is missing: the staging writer's message.
    {
        ArquivoProduto p(400, "SAIDA/CB4091203");
        p.GRAVA_INF("X");
        EXPECT_FALSE(p.GRAVA_ARQUIVO());
    }
    ASSERT_EQ(g.dialogo().mensagens.size(), 1u);
    EXPECT_NE(g.dialogo().mensagens[0].texto.find("SAIDA/CB4091203"), std::string::npos);
    EXPECT_EQ(ENTRADAS("."), std::vector<std::string>{"CB4091202"});
}
