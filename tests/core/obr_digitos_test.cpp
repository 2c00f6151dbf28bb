#include <gtest/gtest.h>

#include "core/texto/ansi.h"
#include "core/texto/obr_digitos.h"
#include "support/geral_teste.h"

TEST(ObrSoma, SomaPonderadaNosDoisModos) {
    EXPECT_EQ(OBR_SOMA("212", "987", 1), 18 + 8 + 14);
    // Mode 0 adds the digits of each product: 18 -> 9, 8, 14 -> 5.
    EXPECT_EQ(OBR_SOMA("212", "987", 0), 9 + 8 + 5);
    EXPECT_EQ(OBR_SOMA("2A", "55", 1), 10);  // a non-digit weighs 0
    EXPECT_EQ(OBR_SOMA("2-, 5\xC9", "555555", 1), 35);  // signs, blanks and accents too
}

TEST(ObrSoma, TamanhosDiferentesAvisamEDaoZero) {
    GeralDeTeste t;
    EXPECT_EQ(OBR_SOMA("212", "98", 1), 0);
    ASSERT_EQ(t.dialogo().mensagens.size(), 1u);
    const auto& m = t.dialogo().mensagens[0];
    EXPECT_EQ(m.tipo, somERRO);
    EXPECT_EQ(m.titulo, "Atenção..."_ansi);
    EXPECT_EQ(m.texto,
              "OBR_SOMA: PARÂMETROS INFORMADOS NÃO PODEM SER DE TAMANHOS DIFERENTES.\n"
              "Pondera: 212  (3)\n Numero: 98  (2)"_ansi);
    EXPECT_EQ(OBR_DAC11(0, "21", "1"), "0");
}

TEST(ObrCnpjCpf, AceitaDigitosCertosEPalavras) {
    std::string msg = "x";
    EXPECT_TRUE(OBR_CNPJCPF("11222333000181", msg));
    EXPECT_EQ(msg, "");
    EXPECT_TRUE(OBR_CNPJCPF("52998224725", msg));
    EXPECT_TRUE(OBR_CNPJCPF("11111111111", msg));
    EXPECT_TRUE(OBR_CNPJCPF("52998224725   ", msg));  // trailing blanks of a field
    EXPECT_TRUE(OBR_CNPJCPF(" ISENTO ", msg));
    EXPECT_TRUE(OBR_CNPJCPF("ILEGIVEL", msg));
    EXPECT_TRUE(OBR_CNPJCPF(".", msg));
}

TEST(ObrCnpjCpf, RecusaComAMensagemDeCadaCaso) {
    std::string msg;
    EXPECT_FALSE(OBR_CNPJCPF("52998224726", msg));
    EXPECT_EQ(msg, "CPF INFORMADO ESTÁ INCORRETO( DAC)."_ansi);
    EXPECT_FALSE(OBR_CNPJCPF("00000000000", msg));  // digits fit, but all zeros
    EXPECT_EQ(msg, "CPF INFORMADO ESTÁ INCORRETO( DAC)."_ansi);
    EXPECT_FALSE(OBR_CNPJCPF("11222333000182", msg));
    EXPECT_EQ(msg, "CNPJ INFORMADO ESTÁ INCORRETO (DAC)."_ansi);
    EXPECT_FALSE(OBR_CNPJCPF("00000000000000", msg));
    EXPECT_EQ(msg, "CNPJ NÃO PODE SER INFORMADO TODO ZERADO."_ansi);
    EXPECT_FALSE(OBR_CNPJCPF("   ", msg));
    EXPECT_EQ(msg, "CNPJ/CPF NÃO FOI INFORMADO. OBRIGATÓRIO."_ansi);
    EXPECT_FALSE(OBR_CNPJCPF("12345", msg));
    EXPECT_EQ(msg, "NÃO IDENTIFICADO COMO CPF OU CNPJ."_ansi);
    // Positions count in the text as given: a leading blank shifts the digits.
    EXPECT_FALSE(OBR_CNPJCPF(" 52998224725", msg));
}
