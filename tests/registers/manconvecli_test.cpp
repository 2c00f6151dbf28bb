#include <gtest/gtest.h>

#include "core/texto/ansi.h"
#include "registers/manconvecli.h"

TEST(ManConvecliTipos, IndicesCodigosETextos) {
    TmanCONVECLI m;
    // The radio group's order is not the code order: "R" 6, "V" 7, "D" 8.
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(m.CLI_TRTIPOEMP(trCODIGOtoNUMERICO,
                                  m.CLI_TRTIPOEMP(trNUMERICOtoCODIGO, "", i).texto, 0).numero, i);
    EXPECT_EQ(m.CLI_TRTIPOEMP(trCODIGOtoNUMERICO, "D", 0).numero, 8);
    EXPECT_EQ(m.CLI_TRTIPOEMP(trCODIGOtoNUMERICO, "X", 5).numero, 0);
    EXPECT_EQ(m.CLI_TRTIPOEMP(trNUMERICOtoCODIGO, "", 9).texto, "");
    EXPECT_EQ(m.CLI_TRTIPOEMP(trCODIGOtoTEXTO, "Z", 0).texto,
              "Conteudo invalido - KTIPOEMPSTR: Z");

    EXPECT_EQ(m.CLI_TRTIPEQUCLI(trCODIGOtoTEXTO, "N", 0).texto, "Não"_ansi);
    EXPECT_EQ(m.CLI_TRTIPEQUCLI(trCODIGOtoTEXTO, "", 0).texto, "-------");
    EXPECT_EQ(m.CLI_TRTIPEQUCLI(trCODIGOtoNUMERICO, "D", 0).numero, 2);
    EXPECT_EQ(m.CLI_TRTIPEQUCLI(trCODIGOtoNUMERICO, "?", 0).numero, 1);
    EXPECT_EQ(m.CLI_TRTIPEQUCLI(trNUMERICOtoCODIGO, "", 2).texto, "D");
    EXPECT_EQ(m.CLI_TRTIPEQUCLI(trNUMERICOtoCODIGO, "", -1).texto, "N");  // nothing chosen
}

TEST(ManConvecliRegras, FormaGuardadaNosDoisSentidos) {
    TmanCONVECLI m;
    TXKTBCONVE r{12, 15, "ABC  ", "XYZ"};
    const std::string guardada = m.FechaParametrosDoCliente(r);
    ASSERT_EQ(guardada.size(), 66u);
    EXPECT_EQ(guardada, " 12 15ABC" + std::string(27, ' ') + "XYZ" + std::string(27, ' '));
    EXPECT_EQ(m.FechaParametrosDoCliente({}), "  0  0" + std::string(60, ' '));
    EXPECT_EQ(m.FechaParametrosDoCliente({1000, 5, "", ""}).substr(0, 6), "***  5");
    EXPECT_EQ(m.FechaParametrosDoCliente({1, 2, std::string(40, 'O'), ""}).substr(6, 30),
              std::string(30, 'O'));

    TKTBCONVE lidas;
    lidas[3].S5_ORI = "resto";
    m.CLI_ABRPARAM(lidas, guardada, "036046", "");
    EXPECT_EQ(lidas[1].S5_INI, 12);
    EXPECT_EQ(lidas[1].S5_FIN, 15);
    EXPECT_EQ(lidas[1].S5_ORI, "ABC");
    EXPECT_EQ(lidas[1].S5_TRA, "XYZ" + std::string(27, ' '));  // read as it stands
    EXPECT_EQ(lidas[2].S5_INI, 36);
    EXPECT_EQ(lidas[2].S5_FIN, 46);
    EXPECT_EQ(lidas[2].S5_ORI, "");
    EXPECT_EQ(lidas[2].S5_TRA, "");
    EXPECT_EQ(lidas[3].S5_INI, 0);
    EXPECT_EQ(lidas[3].S5_ORI, "");
    // A field read without its trailing blanks gives the shorter replacement.
    m.CLI_ABRPARAM(lidas, " 12 15ABC" + std::string(27, ' ') + "XYZ", "", "");
    EXPECT_EQ(lidas[1].S5_TRA, "XYZ");
    EXPECT_THROW(lidas[4], std::out_of_range);
}

TEST(ManConvecliFiliais, CincoFiliaisEm45Caracteres) {
    TmanCONVECLI m;
    TKTBBRFILIAL f;
    f[1] = {"001", 5};
    f[2] = {"002", 12};
    const std::string guardado = m.CLI_ABRBR("FECHA_FILIAIS", f, "ignorado");
    EXPECT_EQ(guardado, "001     5002    12" + std::string(3, ' ') + "     0" +
                            std::string(3, ' ') + "     0" + std::string(3, ' ') + "     0");

    TKTBBRFILIAL lidas;
    EXPECT_EQ(m.CLI_ABRBR("ABRE_FILIAIS", lidas, guardado), "");
    EXPECT_EQ(lidas[1].S6_FILIAL, "001");
    EXPECT_EQ(lidas[1].S6_ULTRETBR, 5);
    EXPECT_EQ(lidas[2].S6_ULTRETBR, 12);
    EXPECT_EQ(lidas[5].S6_FILIAL, "   ");
    EXPECT_EQ(lidas[5].S6_ULTRETBR, 0);

    m.CLI_ABRBR("ABRE_FILIAIS", lidas, "");
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(lidas[k].S6_FILIAL, "");
        EXPECT_EQ(lidas[k].S6_ULTRETBR, 0);
    }
    f[1].S6_ULTRETBR = 1000000;
    EXPECT_EQ(m.CLI_ABRBR("FECHA_FILIAIS", f, "").substr(0, 9), "001******");
}
