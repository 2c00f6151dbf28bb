#include <gtest/gtest.h>

#include <clocale>

#include "core/texto/obr_numeros.h"

TEST(ObrNumeroGeral, QuinzeDigitosSemExpoenteComVirgula) {
    EXPECT_EQ(TextoDoNumero(0.1 + 0.2), "0,3");  // 17 digits would show the binary error
    EXPECT_EQ(TextoDoNumero(-1234.5), "-1234,5");
    EXPECT_EQ(TextoDoNumero(-0.0), "0");
    EXPECT_EQ(TextoDoNumero(1e15), "1000000000000000");
    EXPECT_EQ(TextoDoNumero(0.00001), "0,00001");
    EXPECT_EQ(TextoDoNumero(1.0 / 3), "0,333333333333333");
}

TEST(ObrNumeroGeral, IgnoraOLocaleDaMaquina) {
    // A screen program sets the user's locale; numbers must not follow it.
    const char* antes = std::setlocale(LC_NUMERIC, nullptr);
    const std::string guardado = antes ? antes : "C";
    if (!std::setlocale(LC_NUMERIC, "pt_BR.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(TextoDoNumero(1234.5), "1234,5");
    EXPECT_DOUBLE_EQ(OBR_VALOR("1.234,5"), 1234.5);
    std::setlocale(LC_NUMERIC, guardado.c_str());
}

TEST(ObrValor, LeAteOPrimeiroCaractereEstranho) {
    EXPECT_DOUBLE_EQ(OBR_VALOR("0000000012345"), 12345);
    EXPECT_DOUBLE_EQ(OBR_VALOR("1.234,56"), 1234.56);
    EXPECT_DOUBLE_EQ(OBR_VALOR("12A34"), 12);
    EXPECT_DOUBLE_EQ(OBR_VALOR(" - 1 2,5"), -12.5);
    EXPECT_DOUBLE_EQ(OBR_VALOR("12-3"), 12);     // a later minus ends the number
    EXPECT_DOUBLE_EQ(OBR_VALOR("1,5,7"), 1.5);   // so does a second comma
    EXPECT_DOUBLE_EQ(OBR_VALOR(",25"), 0.25);
    EXPECT_DOUBLE_EQ(OBR_VALOR("  /  /    "), 0);
    EXPECT_DOUBLE_EQ(OBR_VALOR("-,"), 0);
}

TEST(ObrIntToStr, AlinhaADireitaOuAsteriscos) {
    EXPECT_EQ(OBR_INTTOSTR(-5, 3), " -5");
    EXPECT_EQ(OBR_INTTOSTR(1234, 3), "***");
    EXPECT_EQ(OBR_INTTOSTR(1234, 0), "1234");
}

TEST(ObrFloatToStr, ArredondaMetadeParaLongeDoZero) {
    EXPECT_EQ(OBR_FLOATTOSTR(0, 0, 49.5), "50");
    EXPECT_EQ(OBR_FLOATTOSTR(0, 0, -49.5), "-50");
    EXPECT_EQ(OBR_FLOATTOSTR(0, 2, 1.005), "1,01");  // 1.00499999... in binary
    EXPECT_EQ(OBR_FLOATTOSTR(0, 2, 0.285), "0,29");
    EXPECT_EQ(OBR_FLOATTOSTR(0, 3, 2.5), "2,500");
    EXPECT_EQ(OBR_FLOATTOSTR(10, 2, 1234.5), "   1234,50");
    EXPECT_EQ(OBR_FLOATTOSTR(0, 2, 0), "0,00");
    EXPECT_EQ(OBR_FLOATTOSTR(3, 1, 99.96), "***");  // 100,0 has five characters
}

TEST(ObrZeros, TruncaEPreencheComZeros) {
    EXPECT_EQ(OBR_ZEROS(13, 2, 123.45), "0000000012345");
    EXPECT_EQ(OBR_ZEROS(6, 0, 7), "000007");
    EXPECT_EQ(OBR_ZEROS(5, 0, -12), "00-12");
    EXPECT_EQ(OBR_ZEROS(3, 0, 1234), "***");
    EXPECT_EQ(OBR_ZEROS(5, 2, 0.285), "00028");  // truncated, not rounded
    EXPECT_EQ(OBR_ZEROS(3, 0, 9.99), "009");
    // Amounts whose product lands just below the whole number in binary.
    EXPECT_EQ(OBR_ZEROS(13, 2, 1234567.89), "0000123456789");
    EXPECT_EQ(OBR_ZEROS(15, 2, 4.35), "000000000000435");
    EXPECT_EQ(OBR_ZEROS(6, 4, 0.0145), "000145");
}

TEST(ObrPicture, ExemplosDosFormatosEmUso) {
    EXPECT_EQ(OBR_PICTURE("@E 999,999,999,999.99", 1234567.891), "      1.234.567,89");
    EXPECT_EQ(OBR_PICTURE("@E 999,999,999,999.99", 0), "              0,00");
    EXPECT_EQ(OBR_PICTURE("@E 999,999", 1234), "  1.234");
    EXPECT_EQ(OBR_PICTURE("@E 99999.999999", 0.123456789), "    0,123457");
    EXPECT_EQ(OBR_PICTURE("@E 9999,999", 999.5), "   1.000");
}

TEST(ObrPicture, NegativosEEstouro) {
    EXPECT_EQ(OBR_PICTURE("@E 999,999.99", -1234.5), " -1.234,50");
    // The minus takes the place of a thousands mark it reaches alone.
    EXPECT_EQ(OBR_PICTURE("@E 999,999.99", -234.5), "   -234,50");
    EXPECT_EQ(OBR_PICTURE("@E 99,999", 123456), "******");
    EXPECT_EQ(OBR_PICTURE("@E 9,999", -1234), "*****");  // no place left for the minus
    EXPECT_EQ(OBR_PICTURE("@E 999,999.99", 999999.999), "**********");  // rounds up past the mask
}

TEST(ObrPicture, SemFuncaoEComEnchimento) {
    EXPECT_EQ(OBR_PICTURE("999,999.99", 1234.5), "  1,234.50");
    EXPECT_EQ(OBR_PICTURE("@E ***,***.99", 12.5), "*****12,50");
}
