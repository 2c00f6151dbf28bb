#include <gtest/gtest.h>

#include "core/texto/obr_datas.h"
#include "support/geral_teste.h"

TEST(ObrDatas, DataParaTextoEMascaraVazia) {
    EXPECT_EQ(OBR_DATATOSTR(CodificaData(2019, 3, 5)), "05/03/2019");
    EXPECT_EQ(OBR_DATATOSTR(0), "  /  /    ");
    EXPECT_EQ(OBR_DATATOSTR(-800000), "  /  /    ");  // before year 1
}

TEST(ObrDatas, LeituraDeTextoDigitado) {
    GeralDeTeste t(CodificaData(2026, 3, 15));
    EXPECT_EQ(OBR_STRTODATA("05/03/2019"), CodificaData(2019, 3, 5));
    EXPECT_EQ(OBR_STRTODATA("5/3/2019"), CodificaData(2019, 3, 5));
    EXPECT_EQ(OBR_STRTODATA("  /  /    "), 0);
    EXPECT_EQ(OBR_STRTODATA("00/00/00"), 0);
    EXPECT_EQ(OBR_STRTODATA("00/00/0000"), 0);
    EXPECT_EQ(OBR_STRTODATA("31/02/2019"), 0);
    EXPECT_EQ(OBR_STRTODATA("29/02/2024"), CodificaData(2024, 2, 29));
    EXPECT_EQ(OBR_STRTODATA("05/03/2019/1"), 0);
}

TEST(ObrDatas, AnoDeDoisDigitosSegueOAnoDoDiaDoSistema) {
    {
        GeralDeTeste t(CodificaData(2026, 3, 15));  // window 1976..2075
        EXPECT_EQ(OBR_STRTODATA("01/01/75"), CodificaData(2075, 1, 1));
        EXPECT_EQ(OBR_STRTODATA("01/01/76"), CodificaData(1976, 1, 1));
        EXPECT_EQ(OBR_STRTODATA("01/01/00"), CodificaData(2000, 1, 1));
    }
    {
        // Reprocessing a past day moves the window with it, not with the clock.
        GeralDeTeste t(CodificaData(2019, 12, 31));  // window 1969..2068
        EXPECT_EQ(OBR_STRTODATA("01/01/68"), CodificaData(2068, 1, 1));
        EXPECT_EQ(OBR_STRTODATA("01/01/69"), CodificaData(1969, 1, 1));
    }
    EXPECT_EQ(AnoComQuatroDigitos(99, 2000), 1999);
    EXPECT_EQ(AnoComQuatroDigitos(49, 2000), 2049);
    EXPECT_EQ(AnoComQuatroDigitos(50, 2000), 1950);
}

TEST(ObrDatas, PalavrasChaveDeArquivo) {
    GeralDeTeste t(CodificaData(2026, 3, 15));
    const TData d = CodificaData(2019, 3, 5);
    EXPECT_EQ(OBR_DATATOTEXTO("DATA_DDMMAA", d), "050319");
    EXPECT_EQ(OBR_DATATOTEXTO("DATA_AAAAMMDD", d), "20190305");
    EXPECT_EQ(OBR_DATATOTEXTO("DATA_DDMMAA", 0), "000000");
    EXPECT_EQ(OBR_DATATOTEXTO("DATA_AAAAMMDD", 0), "00000000");
    EXPECT_EQ(OBR_DATATOTEXTO("DATA_OUTRA", d), "");

    EXPECT_EQ(OBR_TEXTOTODATA("AAAAMMDD_DATA", "20190305"), d);
    EXPECT_EQ(OBR_TEXTOTODATA("DDMMAA_DATA", "050319"), d);
    EXPECT_EQ(OBR_TEXTOTODATA("AAAAMMDD_DATA", "20190230"), 0);  // 30 February
    EXPECT_EQ(OBR_TEXTOTODATA("DDMMAA_DATA", "300219"), 0);
    EXPECT_EQ(OBR_TEXTOTODATA("DDMMAA_DATA", "000000"), 0);
    EXPECT_EQ(OBR_TEXTOTODATA("DDMMAA_DATA", "0503"), 0);  // short field
    EXPECT_EQ(OBR_TEXTOTODATA("OUTRA", "050319"), 0);
}

TEST(ObrDatas, HoraVemDoRelogioDosServicosGerais) {
    GeralDeTeste t;
    t.hora = {9, 5, 7};
    EXPECT_EQ(OBR_HORA(), "090507");
}
