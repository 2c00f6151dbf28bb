#include <gtest/gtest.h>

#include "core/texto/ansi.h"
#include "core/texto/calendario.h"

TEST(Calendario, IdaEVoltaEDatasImpossiveis) {
    EXPECT_EQ(CodificaData(1899, 12, 30), 0);
    EXPECT_EQ(CodificaData(1900, 1, 1), 2);  // the Delphi/Excel serial of 1900-01-01
    EXPECT_EQ(CodificaData(2019, 2, 30), 0);
    EXPECT_EQ(CodificaData(2019, 13, 1), 0);
    EXPECT_NE(CodificaData(2024, 2, 29), 0);
    EXPECT_EQ(CodificaData(2023, 2, 29), 0);
    for (TData d = 1; d < 80000; d += 37) {
        int a, m, dia;
        ASSERT_TRUE(DecodificaData(d, a, m, dia));
        ASSERT_EQ(CodificaData(a, m, dia), d);
    }
    int a, m, dia;
    EXPECT_FALSE(DecodificaData(0, a, m, dia));
}

TEST(Ansi, LiteralViraWindows1252) {
    const std::string s = "ATENÇÃO €"_ansi;
    ASSERT_EQ(s.size(), 9u);
    EXPECT_EQ(static_cast<unsigned char>(s[4]), 0xC7);
    EXPECT_EQ(static_cast<unsigned char>(s[5]), 0xC3);
    EXPECT_EQ(static_cast<unsigned char>(s[8]), 0x80);
}
