#include "routing/regra_traducao.h"

#include <gtest/gtest.h>

namespace {

TXKTBCONVE regra(int ini, int fim, const std::string& esperado, const std::string& novo) {
    return {ini, fim, esperado, novo};
}

// Applies the rule to the line and answers the result.
std::string aplicada(const TXKTBCONVE& r, std::string linha) {
    RegraTraducao(r).Aplica(linha);
    return linha;
}

}  // namespace

TEST(RegraTraducao, TextosCurtosOcupamOTrechoInteiroSemDeslocarALinha) {
    // Expected "AB" and replacement "X" over 10-12, as the table gives them
    // back without their trailing blanks.
    const TXKTBCONVE r = regra(10, 12, "AB", "X");
    EXPECT_EQ(aplicada(r, "123456789AB 3456"), "123456789X  3456");
    EXPECT_EQ(aplicada(r, "123456789ABC3456"), "123456789ABC3456");  // "ABC" is not "AB "
    // Longer texts are cut to the span.
    EXPECT_EQ(aplicada(regra(2, 3, "BCD", "XYZ"), "ABCDE"), "AXYDE");
    // A line that ends before the span is filled with blanks up to it; only
    // then is it compared and rewritten.
    EXPECT_EQ(aplicada(r, "123456789AB"), "123456789X  ");
    EXPECT_EQ(aplicada(regra(10, 12, "", "XYZ"), "12345"), "12345    XYZ");
    EXPECT_EQ(aplicada(regra(10, 12, "AB", "XYZ"), "12345"), "12345");
}

TEST(RegraTraducao, EsperadoEmBrancoValeParaTodaLinha) {
    for (const char* esperado : {"", "   ", " / ", "."}) {
        EXPECT_EQ(aplicada(regra(3, 5, esperado, "341"), "ab237cd"), "ab341cd") << esperado;
        EXPECT_EQ(aplicada(regra(3, 5, esperado, "341"), "ab   cd"), "ab341cd") << esperado;
    }
    // A blank replacement with an expected text blanks the field where it
    // holds that text.
    EXPECT_EQ(aplicada(regra(3, 5, "237", ""), "ab237cd"), "ab   cd");
}

TEST(RegraTraducao, RegrasQueNaoMudamNada) {
    const std::string linha = "0123456789ABCDEFGHIJ";
    // Positions only, as the register leaves a rule whose texts were never
    // typed: the field is kept, not blanked.
    EXPECT_EQ(aplicada(regra(3, 5, "", ""), linha), linha);
    EXPECT_FALSE(RegraTraducao(regra(3, 5, "   ", "   ")).Ativa());
    // Start 0 is the empty rule, whatever else it holds; a start below 1 or
    // an end before the start makes no span.
    EXPECT_EQ(aplicada(regra(0, 5, "", "XYZ"), linha), linha);
    EXPECT_EQ(aplicada(regra(-2, 5, "", "XYZ"), linha), linha);
    EXPECT_EQ(aplicada(regra(8, 5, "", "XYZ"), linha), linha);
    EXPECT_EQ(aplicada(regra(8, 0, "", "XYZ"), linha), linha);
    // One character is a span.
    EXPECT_EQ(aplicada(regra(1, 1, "0", "X"), linha), "X123456789ABCDEFGHIJ");
}
