#include <gtest/gtest.h>

#include "core/dados/esquema.h"
#include "core/texto/ansi.h"
#include "routing/limpeza.h"
#include "support/dados_teste.h"
#include "support/processo_filho.h"

namespace {

class Limpeza : public ::testing::Test {
protected:
    Limpeza() : dados(CodificaData(2019, 12, 31)) {}

    // Pending operations: (client, order, return date), then the retention.
    void prepara(const std::vector<std::tuple<std::string, std::string, TData>>& pendentes,
                 int prazo) {
        Tabela& ins = DMQUOR().TBCONVEINS;
        ins.Open();
        ins.First();
        ins.Edit();
        ins.FieldByName("PRAZOPEN").SetAsInteger(prazo);
        ins.Post();
        Tabela& pen = DMQUOR().TBCONVEPEN;
        pen.Open();
        for (const auto& [cli, ped, retorno] : pendentes) {
            pen.Append();
            pen.FieldByName("CODCLI").SetAsString(cli);
            pen.FieldByName("NUMPED").SetAsString(ped);
            pen.FieldByName("DTREMESSA").SetAsDate(CodificaData(2018, 12, 1));
            pen.FieldByName("DTRETORNO").SetAsDate(retorno);
            pen.Post();
        }
        DMQUOR().FechaTodas();
    }
    std::vector<std::string> restantes() {
        Tabela& pen = DMQUOR().TBCONVEPEN;
        pen.Open();
        std::vector<std::string> r;
        for (pen.First(); !pen.Eof(); pen.Next()) r.push_back(pen.FieldByName("NUMPED").AsString());
        EXPECT_EQ(static_cast<long>(r.size()), pen.PhysicalRecordCount());  // packed
        pen.Close();
        return r;
    }
    DadosDeTeste dados;
};

}  // namespace

TEST_F(Limpeza, DataLimiteContagensEPack) {
    const TData d30_11 = CodificaData(2019, 11, 30);
    // Three answered before the limit in a row, one on the limit, one pending.
    prepara({{"C1", "1", d30_11},
             {"C1", "2", d30_11 - 40},
             {"C1", "3", d30_11 - 1},
             {"C2", "4", CodificaData(2019, 12, 1)},
             {"C2", "5", 0}},
            30);
    TpenLIMPEZA l;
    ASSERT_TRUE(l.Aberta());
    EXPECT_EQ(l.DataLimite(), CodificaData(2019, 12, 1));
    l.ARQ_LIMPEZA();
    const auto& p = dados.dialogo().perguntas;
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].titulo, "Confirma LIMPEZA do ARQUIVO ? ");
    EXPECT_TRUE(p[0].padraoSim);
    EXPECT_EQ(p[0].texto.substr(p[0].texto.size() - 24), "Data Limite : 01/12/2019");
    EXPECT_EQ(l.WPES, 5);
    EXPECT_EQ(l.WEXC, 3);
    EXPECT_EQ(l.WMAN, 2);
    const auto& m = dados.dialogo().mensagens.back();
    EXPECT_EQ(m.texto,
              "Registros Pesquisadas : 5\nRegistros mantidos : 2\nRegistros excluidos : 3");
    EXPECT_EQ(m.titulo, "Limpeza de Remessas.");
    EXPECT_EQ(m.tipo, somSUCESSO);
    DMQUOR().FechaTodas();
    EXPECT_EQ(restantes(), (std::vector<std::string>{"4", "5"}));
}

TEST_F(Limpeza, TabelaVaziaRespostaNaoEPrazoZero) {
    {
        TpenLIMPEZA vazia;
        vazia.ARQ_LIMPEZA();
    }
    EXPECT_EQ(dados.dialogo().mensagens.back().texto,
              "Registros Pesquisadas : 0\nRegistros mantidos : 0\nRegistros excluidos : 0");
    prepara({{"C1", "1", CodificaData(2019, 12, 30)}, {"C1", "2", CodificaData(2019, 12, 31)}},
            0);
    {
        dados.dialogo().respostasSimNao.push_back(false);
        TpenLIMPEZA l;
        l.ARQ_LIMPEZA();
        EXPECT_EQ(l.WPES, 0);
    }
    EXPECT_EQ(dados.dialogo().mensagens.size(), 1u);
    EXPECT_EQ(restantes().size(), 2u);
    {
        TpenLIMPEZA l;
        EXPECT_EQ(l.DataLimite(), CodificaData(2019, 12, 31));
        l.ARQ_LIMPEZA();
        EXPECT_EQ(l.WEXC, 1);
    }
    EXPECT_EQ(restantes(), std::vector<std::string>{"2"});
    // After the run CONVEPEN is shared again.
    EXPECT_FALSE(DMQUOR().TBCONVEPEN.Exclusive());
}

TEST_F(Limpeza, EmUsoEmOutraEstacaoNadaEExcluido) {
    prepara({{"C1", "1", CodificaData(2010, 1, 1)}}, 30);
    ProcessoFilho outra([](const CanalProcesso& c) {
        Tabela t;
        t.SetTableName("CONVEPEN");
        t.Open();
        c.Envia('A');
        c.Recebe();
        return 0;
    });
    ASSERT_EQ(outra.Canal().Recebe(), 'A');
    {
        TpenLIMPEZA l;
        EXPECT_FALSE(l.Aberta());
        l.ARQ_LIMPEZA();
    }
    EXPECT_TRUE(dados.dialogo().perguntas.empty());
    ASSERT_EQ(dados.dialogo().mensagens.size(), 1u);
    EXPECT_EQ(dados.dialogo().mensagens[0].tipo, somERRO);
    EXPECT_NE(dados.dialogo().mensagens[0].texto.find("EM USO"), std::string::npos);
    outra.Canal().Envia('F');
    EXPECT_EQ(outra.Espera(), 0);
    EXPECT_EQ(restantes().size(), 1u);
}
