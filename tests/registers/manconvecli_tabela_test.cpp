#include <gtest/gtest.h>

#include "registers/manconvecli.h"
#include "support/geral_teste.h"
#include "tabela/tabela.h"

TEST(ManConvecliTabela, RegrasEFiliaisPelosCamposDoCliente) {
    DiretorioDeTrabalho dir;
    std::string campos = "CODCLI,CHARACTER,15,0;";
    for (const char* c : {"CONHEACP1", "CONHEACP2", "CONHEACP3", "CONDETCP1", "CONDETCP2",
                          "CONDETCP3"})
        campos += std::string(c) + ",CHARACTER,66,0;";
    CriaTabela("CONVECLI.DBF", ListaDeCampos(campos));
    Tabela cli;
    cli.SetTableName("CONVECLI");
    cli.Open();

    TmanCONVECLI m;
    TKTBCONVE cab, det;
    cab[1] = {1, 3, "237", "341"};
    det[3] = {110, 111, "06", "  "};
    cli.Append();
    m.GravaRegrasDoCliente(cli, cab, det);
    cli.Post();
    EXPECT_EQ(cli.FieldByName("CONHEACP2").Bruto(), "  0  0" + std::string(60, ' '));

    TKTBCONVE cab2, det2;
    m.LeRegrasDoCliente(cli, cab2, det2);
    EXPECT_EQ(cab2[1].S5_INI, 1);
    EXPECT_EQ(cab2[1].S5_FIN, 3);
    EXPECT_EQ(cab2[1].S5_ORI, "237");
    EXPECT_EQ(cab2[1].S5_TRA, "341");  // the field comes back without trailing blanks
    EXPECT_EQ(det2[3].S5_INI, 110);
    EXPECT_EQ(det2[3].S5_ORI, "06");
    EXPECT_EQ(det2[1].S5_INI, 0);

    TKTBBRFILIAL f;
    f[1] = {"001", 5};
    f[4] = {"9", 123456};
    cli.Edit();
    m.GravaFiliaisDoCliente(cli, f);
    cli.Post();
    TKTBBRFILIAL lidas;
    m.LeFiliaisDoCliente(cli, lidas);
    EXPECT_EQ(lidas[1].S6_FILIAL, "001");
    EXPECT_EQ(lidas[1].S6_ULTRETBR, 5);
    EXPECT_EQ(lidas[4].S6_FILIAL, "9  ");
    EXPECT_EQ(lidas[4].S6_ULTRETBR, 123456);
    EXPECT_EQ(lidas[5].S6_ULTRETBR, 0);
}
