// Client layouts and the rate lookup: the rules a whole-file comparison
// would hide (equalisation at the sixth decimal, the order and doubling of
// check messages, short lines, the reference date, the rate tie-break).

#include <gtest/gtest.h>

#include "conversion/rem_arquivo_banco.h"
#include "conversion/rem_leiautes.h"
#include "conversion/remessa_apoio.h"
#include "core/dados/esquema.h"
#include "core/dados/tdmquor.h"
#include "core/texto/ansi.h"
#include "registers/tax_localiza.h"
#include "support/geral_teste.h"

TEST(RemessaLeiautes, EqualizacaoAteASextaCasa) {
    TvenCAMPOSREMESSA k;
    k.KTBPLA.S3_TAXABAN = 1.5;
    k.KTBPLA.S3_TAXAFOR = 1.5000001;
    EqualizacaoDaRemessa(k, "D");
    EXPECT_EQ(k.KTIPEQUCLI, "N");
    k.KTBPLA.S3_TAXAFOR = 1.500001;
    EqualizacaoDaRemessa(k, "D");
    EXPECT_EQ(k.KTIPEQUCLI, "S");
    EqualizacaoDaRemessa(k, "N");  // the register's word wins over the rates
    EXPECT_EQ(k.KTIPEQUCLI, "N");
}

TEST(RemessaLeiautes, CriticasEmOrdemTodasExecutadas) {
    auto critica = [](const TvenCAMPOSREMESSA& k) {
        std::vector<std::string> r;
        CriticaDaRemessa(k, [&r](const std::string& m) { r.push_back(m); });
        return r;
    };
    TvenCAMPOSREMESSA k;
    k.KCGCCLI = "  .  /  ";
    EXPECT_EQ(critica(k), (std::vector<std::string>{
                              "CNPJ DO CLIENTE NÃO INFORMADO."_ansi,
                              "CNPJ/CPF NÃO FOI INFORMADO. OBRIGATÓRIO."_ansi,
                              "PRINCIPAL DA OPERAÇÃO NÃO INFORMADO."_ansi,
                              "DATA DA OPERAÇÃO NÃO INFORMADA."_ansi,
                              "DATA DE VECTO DA OPERAÇÃO NÃO INFORMADA."_ansi,
                              "NÚMERO DE PARCELAS DA OPERAÇÃO NÃO INFORMADO."_ansi,
                              "TAXA DO BANCO DA OPERAÇÃO NÃO INFORMADA."_ansi}));
    k.KCGCCLI = "ISENTO        ";
    k.KTBPLA.S3_DTLIQUI = k.KDATAPED = 1;
    k.KTBPLA.S3_NUMPARC = 1;
    k.KTBPLA.S3_PRINFIN = k.KTBPLA.S3_TAXABAN = 1;
    EXPECT_TRUE(critica(k).empty());
}

// A BR operation line cut short after the CNPJ keeps every later field of
// the bank record in its column.
TEST(RemessaLeiautes, LinhaBRCurtaNaoDesalinhaORegistro) {
    TvenCAMPOSREMESSA k;
    TvenCONSULTATAXA consulta;
    const std::string linha = LinhaFixa().em(1, "01").em(49, "11222333000181").em(63, "1234");
    ASSERT_EQ(LeLinhaBr(k, linha, consulta), brOPERACAO);
    EXPECT_EQ(k.KTBPLA.S3_CGC1AVAL, "1234" + BRANCOS(11));
    EXPECT_EQ(k.KTBPLA.S3_NUMAUT, BRANCOS(8));
    const std::string r = MontaRegistroOperacao(k).conteudo;
    EXPECT_EQ(r.size(), 244u);
    EXPECT_EQ(r.substr(62, 15), "1234" + BRANCOS(11));
    EXPECT_EQ(r.substr(100, 5), "00000");
    EXPECT_EQ(r.substr(120, 16), std::string(16, '0'));  // no dates: zeros
    // Due date and contract date both missing: 0 days.
    EXPECT_EQ(consulta.dias, 0);
}

// A number at the edge of its field is written; one digit more is reported
// and the record refused, whether the value is whole or has decimals.
TEST(RemessaLeiautes, NumeroQueNaoCabeNoCampoEhRecusado) {
    TvenCAMPOSREMESSA k;
    k.KTBPLA.S3_NUMPARC = 99;
    k.KTBPLA.S3_TAXABAN = 999999.999;
    k.KTBPLA.S3_PRINFIN = 9999999999999.99;
    const TvenREGISTRO cabe = MontaRegistroOperacao(k);
    EXPECT_TRUE(cabe.falhas.empty());
    EXPECT_EQ(cabe.conteudo.size(), 244u);
    EXPECT_EQ(cabe.principalCentavos, 999999999999999LL);
    EXPECT_NE(cabe.conteudo.find("999999999999999"), std::string::npos);
    k.KTBPLA.S3_NUMPARC = 100;
    k.KTBPLA.S3_TAXABAN = 1000000;
    const TvenREGISTRO naoCabe = MontaRegistroOperacao(k);
    EXPECT_EQ(naoCabe.falhas, (std::vector<std::string>{
                                  "O ARQUIVO DO BANCO NÃO COMPORTA A TAXA DO BANCO: 1000000"_ansi,
                                  "O ARQUIVO DO BANCO NÃO COMPORTA O NÚMERO DE PARCELAS: 100"_ansi}));
}

TEST(RemessaLeiautes, DataDeReferenciaCelpav) {
    TvenCAMPOSREMESSA k;
    const TvenCLIENTE cliente;
    const std::vector<std::string> cab = {"1", "2", "3"};
    auto referencia = [&](std::vector<std::string> datas) {
        std::vector<std::string> linhas = cab;
        for (const auto& d : datas) linhas.push_back(LinhaFixa().em(12, d));
        ValoresIniciaisDaRemessa(k, cliente, 0, "000000");
        PreparaCelpav(k, cliente, linhas);
        return k.KDATAREF;
    };
    EXPECT_EQ(referencia({"05/02/2026", "01/01/2027"}), CodificaData(2019, 12, 31));
    EXPECT_EQ(referencia({"05/02/2019", "03/01/2019", "31/02/2019", "  /  /    "}),
              CodificaData(2019, 1, 3));
}

namespace {

void taxa(Tabela& t, TData inicio, TData fim, const char* produto, int dias, double banco) {
    t.Append();
    t.FieldByName("DATINITAX").SetAsDate(inicio);
    t.FieldByName("DATFINTAX").SetAsDate(fim);
    t.FieldByName("PRODTAX").SetAsString(produto);
    t.FieldByName("DIASTAX").SetAsInteger(dias);
    t.FieldByName("TAXABAN").SetAsFloat(banco);
    t.FieldByName("TAXAFOR").SetAsFloat(banco + 1);
    t.Post();
}

}  // namespace

TEST(TaxaLocaliza, PrimeiraLinhaQueCobreNaOrdemDoIndice) {
    GeralDeTeste g;
    DiretorioDeTrabalho d;
    CriaTabela("CONVETAX.DBF", EsquemaConvetax().campos);
    Tabela& t = DMQUOR().TBCONVETAX;
    t.Open();
    const TData jan = CodificaData(2019, 1, 1), dez = CodificaData(2019, 12, 31);
    // Appended out of order: the index decides.
    taxa(t, jan, dez, "A", 60, 2.0);
    taxa(t, jan, dez, "A", 30, 1.0);
    taxa(t, CodificaData(2018, 6, 1), CodificaData(2019, 6, 30), "A", 60, 3.0);
    taxa(t, CodificaData(2019, 8, 1), CodificaData(2019, 7, 1), "B", 90, 4.0);
    double banco = 0, fornecedor = 0;
    auto acha = [&](const char* produto, int dias, TData data) {
        banco = 0;
        return TAX_LOCALIZA(t, produto, dias, data, banco, fornecedor);
    };
    const TData junho = CodificaData(2019, 6, 15), julho = CodificaData(2019, 7, 1);
    EXPECT_TRUE(acha("A", 25, julho));  // the shortest term that covers
    EXPECT_EQ(banco, 1.0);
    EXPECT_EQ(fornecedor, 2.0);
    EXPECT_TRUE(acha("A", 45, julho));
    EXPECT_EQ(banco, 2.0);
    EXPECT_TRUE(acha("A", 25, junho));  // the earlier start date first
    EXPECT_EQ(banco, 3.0);
    EXPECT_TRUE(acha("A", 60, dez));  // the last day is in the period
    EXPECT_EQ(banco, 2.0);
    EXPECT_TRUE(acha("A", -5, junho));
    EXPECT_TRUE(g.dialogo().mensagens.empty());

    EXPECT_FALSE(acha("A", 61, junho));
    EXPECT_FALSE(acha("a", 25, junho));
    EXPECT_FALSE(acha("B", 10, CodificaData(2019, 7, 15)));  // period ends before it starts
    ASSERT_EQ(g.dialogo().mensagens.size(), 3u);
    EXPECT_EQ(g.dialogo().mensagens[0].texto,
              "TAXAS NÃO DISPONÍVEIS PARA DATA/PRODUTO/DIAS : 15/06/2019-A- 61"_ansi);
    EXPECT_EQ(g.dialogo().mensagens[0].tipo, somERRO);
    t.Close();
}
