#include <gtest/gtest.h>

#include "core/texto/ansi.h"
#include "routing/ins_sistema.h"
#include "support/dados_teste.h"

namespace {

class InsSistema : public ::testing::Test {
protected:
    InsSistema() { DMQUOR().TBCONVEINS.Open(); }
    DadosDeTeste dados;
};

}  // namespace

TEST_F(InsSistema, UltimoLidoSemNomeRecusadoNaOrdemDosProdutos) {
    const TinsSISTEMA antes = CarregaInstalacao();
    TinsSISTEMA ins = antes;
    ins.ARQREMC40 = "MUDOU";
    ins.ARQREMV24 = "";
    ins.SEQREMV24 = 5;
    EXPECT_FALSE(INS_GRAVA(ins));
    EXPECT_EQ(dados.mensagens().back(),
              "INFORMADO \"Último lido\" PARA VENDOR 240 SEM O NOME DO ARQUIVO."_ansi);
    ins.ARQREMC24 = " ";
    ins.SEQREMC24 = 1;
    ins.ARQREMVEN = "";
    ins.SEQREMVEN = 2;
    EXPECT_FALSE(INS_GRAVA(ins));
    EXPECT_EQ(dados.mensagens().back(),
              "INFORMADO \"Último lido\" PARA COBRANÇA 240 SEM O NOME DO ARQUIVO."_ansi);
    EXPECT_EQ(CarregaInstalacao().ARQREMC40, antes.ARQREMC40);  // nothing stored

    TinsSISTEMA bom;
    bom.PRAZOPEN = 45;
    bom.ARQREMC24 = "C24DDMMNN";
    bom.SEQREMC24 = 3;
    bom.ARQREMDES = "";  // blank with 0 is accepted
    bom.DIRCOPIA = "/dados/lidos";
    ASSERT_TRUE(INS_GRAVA(bom));
    const TinsSISTEMA lido = CarregaInstalacao();
    EXPECT_EQ(lido.PRAZOPEN, 45);
    EXPECT_EQ(lido.ARQREMC24, "C24DDMMNN");
    EXPECT_EQ(lido.SEQREMC24, 3);
    EXPECT_EQ(lido.ARQREMC40, "");
    EXPECT_EQ(lido.DIRCOPIA, "/dados/lidos");
    EXPECT_EQ(DMQUOR().TBCONVEINS.RecordCount(), 1);
}

TEST_F(InsSistema, StatusComContagensEmQuatroPosicoes) {
    TDMQUOR& dm = DMQUOR();
    for (Tabela* t : {&dm.TBCONVECLI, &dm.TBCONVETAX, &dm.TBCONVEPEN}) t->Open();
    for (int i = 0; i < 3; ++i) {
        dm.TBCONVECLI.Append();
        dm.TBCONVECLI.FieldByName("CODCLI").SetAsString("C" + std::to_string(i));
        dm.TBCONVECLI.Post();
    }
    // A pending table too big for the label.
    for (int i = 0; i < 10000; ++i) {
        dm.TBCONVEPEN.Append();
        dm.TBCONVEPEN.FieldByName("NUMPED").SetAsString(std::to_string(i));
        dm.TBCONVEPEN.Post();
    }
    TinsSTATUS s = LeStatusDoSistema();
    EXPECT_EQ(s.TOTCLI, "   3");
    EXPECT_EQ(s.TOTTAX, "   0");
    EXPECT_EQ(s.TOTPEN, "****");
    EXPECT_EQ(s.PRAZOPEN, "30");
    EXPECT_EQ(s.SEQREMC40, "0");
}
