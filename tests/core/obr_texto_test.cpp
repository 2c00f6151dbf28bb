#include <gtest/gtest.h>

#include "core/texto/obr_texto.h"

TEST(ObrAjusta, CortaOuCompletaConformeOAlinhamento) {
    EXPECT_EQ(OBR_AJUSTA("abc  ", 5, true, 0), "abc  ");
    EXPECT_EQ(OBR_AJUSTA("abc", 5, false, 0), "  abc");
    EXPECT_EQ(OBR_AJUSTA("abcdef", 3, true, 0), "abc");
    EXPECT_EQ(OBR_AJUSTA("abcdef", 3, false, 0), "def");
    EXPECT_EQ(OBR_AJUSTA("ab\t\r\n", 3, true, 0), "ab ");
    EXPECT_EQ(OBR_AJUSTA("  ab  ", 4, false, 0), "  ab");  // mode 0: right end only
    EXPECT_EQ(OBR_AJUSTA("  ab  ", 4, true, 1), "ab  ");   // mode 1: left end only
    EXPECT_EQ(OBR_AJUSTA("  ab  ", 3, false, 2), " ab");   // both
    EXPECT_EQ(OBR_AJUSTA("abc", 0, true, 0), "");
}

TEST(ObrAjusta, LetrasAcentuadasNaoSaoBrancos) {
    // Windows-1252 letters are bytes above 127: a signed comparison would
    // take them for control characters and trim them away.
    EXPECT_EQ(OBR_AJUSTA("CAF\xC9", 5, true, 0), "CAF\xC9 ");
    EXPECT_EQ(OBR_AJUSTA("\xC9XITO", 6, false, 1), " \xC9XITO");
    EXPECT_EQ(AparaPontas("\xA0x\xA0"), "\xA0x\xA0");
}

TEST(ObrTexto, PedacosDeTexto) {
    EXPECT_EQ(OBR_DIREITA("AB", 5), "AB");
    EXPECT_EQ(OBR_POSULTIMA(".", "A.B.C"), 4);
    EXPECT_EQ(OBR_POSULTIMA("", "A.B.C"), 0);
    EXPECT_FALSE(OBR_ISLETRA("\xC1"));  // accented letters are not A to Z
    EXPECT_FALSE(OBR_ISLETRA(""));
}

TEST(ObrVazio, MascarasEmBrancoSaoVazias) {
    EXPECT_TRUE(OBR_VAZIO(""));
    EXPECT_TRUE(OBR_VAZIO("  /  /    "));
    EXPECT_TRUE(OBR_VAZIO("   .   "));
    EXPECT_FALSE(OBR_VAZIO("00/00/0000"));
    EXPECT_FALSE(OBR_VAZIO(" - "));
}

TEST(ObrStrToInt, SoDigitosSinalEVirgula) {
    EXPECT_EQ(OBR_STRTOINT(" 12 "), 12);
    EXPECT_EQ(OBR_STRTOINT("A1B2"), 12);
    EXPECT_EQ(OBR_STRTOINT("12,5"), 0);
    EXPECT_EQ(OBR_STRTOINT("-5"), -5);
    EXPECT_EQ(OBR_STRTOINT("1-2"), 0);
    EXPECT_EQ(OBR_STRTOINT("036"), 36);
    EXPECT_EQ(OBR_STRTOINT("   "), 0);
    EXPECT_EQ(OBR_STRTOINT("***"), 0);
    EXPECT_EQ(OBR_STRTOINT("99999999999"), 0);  // beyond a 32-bit integer
}
