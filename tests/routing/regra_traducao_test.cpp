#include "routing/regra_traducao.h"

#include <gtest/gtest.h>

namespace {

std::string aplicada(int ini, int fim, const std::string& esperado, const std::string& novo,
                     std::string linha) {
    RegraTraducao(TXKTBCONVE{ini, fim, esperado, novo}).Aplica(linha);
    return linha;
}

}  // namespace

// Texts shorter than the span (as the table gives them back, without their
// trailing blanks) fill it with blanks; no position of the line moves.
TEST(RegraTraducao, TextosCurtosOcupamOTrechoInteiro) {
    EXPECT_EQ(aplicada(10, 12, "AB", "X", "123456789AB 3456"), "123456789X  3456");
    EXPECT_EQ(aplicada(10, 12, "AB", "X", "123456789ABC3456"), "123456789ABC3456");
    EXPECT_EQ(aplicada(2, 3, "BCD", "XYZ", "ABCDE"), "AXYDE");  // cut to the span
    // A line ending before the span is blank there.
    EXPECT_EQ(aplicada(10, 12, "AB", "X", "123456789AB"), "123456789X  ");
    EXPECT_EQ(aplicada(10, 12, "", "XYZ", "12345"), "12345    XYZ");
    EXPECT_EQ(aplicada(10, 12, "AB", "XYZ", "12345"), "12345");
    // A blank expected text (blanks, "." and "/") applies to every line.
    for (const char* esperado : {"", " / ", "."})
        EXPECT_EQ(aplicada(3, 5, esperado, "341", "ab237cd"), "ab341cd") << esperado;
    EXPECT_EQ(aplicada(3, 5, "237", "", "ab237cd"), "ab   cd");
}

TEST(RegraTraducao, RegrasQueNaoMudamNada) {
    const std::string linha = "0123456789ABCDEFGHIJ";
    // Positions only, as the register leaves a rule whose texts were never
    // typed: the field is kept, not blanked.
    EXPECT_EQ(aplicada(3, 5, "", "", linha), linha);
    // No span: start 0 (the empty rule) or below, end before start.
    EXPECT_EQ(aplicada(0, 5, "", "XYZ", linha), linha);
    EXPECT_EQ(aplicada(-2, 5, "", "XYZ", linha), linha);
    EXPECT_EQ(aplicada(8, 5, "", "XYZ", linha), linha);
    EXPECT_EQ(aplicada(1, 1, "0", "X", linha), "X123456789ABCDEFGHIJ");
}
