#include <gtest/gtest.h>

#include "core/texto/ansi.h"
#include "registers/tax_cadastro.h"
#include "support/dados_teste.h"

namespace {

class TaxCadastro : public ::testing::Test {
protected:
    TaxCadastro() { tax().Open(); }
    Tabela& tax() { return DMQUOR().TBCONVETAX; }
    std::string ultimaMensagem() {
        auto m = dados.mensagens();
        return m.empty() ? std::string() : m.back();
    }
    static void preenche(TcadTAXA& t) {
        t.DATINITAX = CodificaData(2019, 1, 1);
        t.PRODTAX = "A";
        t.DIASTAX = 30;
        t.DATFINTAX = CodificaData(2019, 12, 31);
        t.TAXABAN = 1.5;
        t.TAXAFOR = 2.25;
    }
    DadosDeTeste dados;
};

}  // namespace

TEST(TaxFormatos, TaxasEmDozePosicoesEDiasEmTres) {
    EXPECT_EQ(TBCONVETAXTAXABANGetText(1.5), "    1,500000");
    EXPECT_EQ(TBCONVETAXTAXABANGetText(0), "    0,000000");
    EXPECT_EQ(TBCONVETAXTAXABANGetText(123456.5), "************");
    EXPECT_EQ(TBCONVETAXDIASTAXGetText(30), " 30");
    EXPECT_EQ(TBCONVETAXDIASTAXGetText(1000), "***");
}

TEST_F(TaxCadastro, VerificacoesNaOrdem) {
    TcadTAXA t(tax(), fmINCLUSAO);
    t.FormShow();
    const std::pair<std::function<void()>, std::string> casos[] = {
        {[&] { t.DATINITAX = 0; }, "DIA INICIAL DO PERÍODO NÃO FOI INFORMADO."_ansi},
        {[&] { t.PRODTAX = " "; }, "CÓDIGO DO PRODUTO NÃO FOI INFORMADO."_ansi},
        {[&] { t.DIASTAX = 0; }, "No. DE DIAS (LIMITE) NÃO FOI INFORMADO."_ansi},
        {[&] { t.DATFINTAX = 0; }, "DIA FINAL DO PERÍODO NÃO FOI INFORMADO."_ansi},
        {[&] { t.TAXABAN = 0; }, "TAXA DE JUROS DO CONTRATO NÃO FOI INFORMADA."_ansi},
        {[&] { t.TAXAFOR = 0; }, "TAXA DE JUROS DO TÍTULO NÃO FOI INFORMADA."_ansi},
    };
    for (const auto& [estraga, mensagem] : casos) {
        preenche(t);
        estraga();
        EXPECT_FALSE(t.TAX_KMENS()) << mensagem;
        EXPECT_EQ(ultimaMensagem(), mensagem);
    }
    EXPECT_EQ(tax().RecordCount(), 0);
}

TEST_F(TaxCadastro, InclusaoAlteracaoEChaveRepetida) {
    TcadTAXA t(tax(), fmINCLUSAO);
    t.FormShow();
    preenche(t);
    t.DATFINTAX = CodificaData(2018, 1, 1);  // before the start: accepted
    ASSERT_TRUE(t.TAX_KMENS());
    TcadTAXA outra(tax(), fmINCLUSAO);
    outra.FormShow();
    preenche(outra);
    outra.DIASTAX = 60;
    ASSERT_TRUE(outra.TAX_KMENS());

    TcadTAXA repetida(tax(), fmINCLUSAO);
    preenche(repetida);
    EXPECT_FALSE(repetida.TAX_KMENS());
    EXPECT_EQ(ultimaMensagem(), "TAXA INFORMADA JÁ EXISTENTE NA TABELA."_ansi);
    repetida.PRODTAX = "a";  // product codes are compared exactly
    EXPECT_TRUE(repetida.TAX_KMENS());

    auto linhas = LinhasDasTaxas(tax());
    ASSERT_EQ(linhas.size(), 3u);
    EXPECT_EQ(linhas[0].PRODTAX, "A");
    EXPECT_EQ(linhas[0].DIASTAX, " 30");
    EXPECT_EQ(linhas[0].DATINITAX, "01/01/2019");
    EXPECT_EQ(linhas[0].DATFINTAX, "01/01/2018");
    EXPECT_EQ(linhas[0].TAXABAN, "    1,500000");
    EXPECT_EQ(linhas[0].TAXAFOR, "    2,250000");
    EXPECT_EQ(linhas[1].DIASTAX, " 60");

    // Altering keeps the key and the inclusion date.
    dados.g.geral().DATADIA += 5;
    ASSERT_TRUE(PosicionaTaxa(tax(), linhas[0]));
    TcadTAXA a(tax(), fmALTERACAO);
    a.FormShow();
    EXPECT_FALSE(a.ChaveHabilitada());
    EXPECT_EQ(a.TAXABAN, 1.5);
    a.TAXAFOR = 3;
    a.DATFINTAX = CodificaData(2019, 12, 31);
    ASSERT_TRUE(a.TAX_KMENS());
    EXPECT_EQ(tax().RecordCount(), 3);
    ASSERT_TRUE(PosicionaTaxa(tax(), linhas[0]));
    EXPECT_EQ(tax().FieldByName("TAXAFOR").AsFloat(), 3);
    EXPECT_EQ(tax().FieldByName("DATAINC").AsDate(), dados.g.geral().DATADIA - 5);

    // Deleting asks first, with Não as the default.
    ASSERT_TRUE(PosicionaTaxa(tax(), linhas[1]));
    EXPECT_FALSE(ExcluiTaxa(tax()));
    ASSERT_EQ(dados.dialogo().perguntas.size(), 1u);
    EXPECT_EQ(dados.dialogo().perguntas[0].titulo, "Data : 01/01/2019");
    EXPECT_FALSE(dados.dialogo().perguntas[0].padraoSim);
    dados.dialogo().respostasSimNao.push_back(true);
    EXPECT_TRUE(ExcluiTaxa(tax()));
    EXPECT_EQ(tax().RecordCount(), 2);
    // A row gone meanwhile is said to be gone.
    EXPECT_FALSE(PosicionaTaxa(tax(), linhas[1]));
    EXPECT_NE(ultimaMensagem().find("EXCLU"), std::string::npos);
}
