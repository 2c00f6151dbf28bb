#include <gtest/gtest.h>

#include "core/dados/esquema.h"
#include "core/dados/tdmquor.h"
#include "core/texto/ansi.h"
#include "registers/cli_listagem.h"
#include "report/motor_relatorio.h"
#include "support/geral_teste.h"

namespace {

struct MotorGuarda : MotorRelatorio {
    std::vector<ModeloRelatorio> fechados;
    bool Fecha(const ModeloRelatorio& m) override {
        fechados.push_back(m);
        return true;
    }
    void GravaPdf(const ModeloRelatorio&, const std::string&) override {}
    std::string ImpressoraAtual() override { return ""; }
    void SetupImpressora() override {}
    int ImpressorasInstaladas() override { return 0; }
    int ImpressorasDisponiveis() override { return 0; }
};

void cliente(Tabela& t, const char* cod, const char* tipo, const char* nome,
             const std::vector<std::pair<const char*, std::string>>& outros = {}) {
    t.Append();
    t.FieldByName("CODCLI").SetAsString(cod);
    t.FieldByName("TIPOEMP").SetAsString(tipo);
    t.FieldByName("NOMEEMP").SetAsString(nome);
    t.FieldByName("ARQREMCLI").SetAsString(std::string(cod) + "REM");
    t.FieldByName("ARQRETCLI").SetAsString(std::string(cod) + "RET");
    for (const auto& [campo, valor] : outros) t.FieldByName(campo).SetAsString(valor);
    t.Post();
}

// Stored form of a rule: start and end in three characters each, expected
// text in 30, replacement in 30.
std::string regra(const char* ini, const char* fim, std::string ori, std::string tra) {
    ori.resize(30, ' ');
    tra.resize(30, ' ');
    return std::string(ini) + fim + ori + tra;
}

std::vector<std::string> corpo(const ModeloRelatorio& m) {
    std::vector<std::string> r;
    for (const auto& p : m.paginas)
        for (std::size_t i = 7; i < p.linhas.size(); ++i) {
            std::string l = p.linhas[i];
            while (!l.empty() && l.back() == ' ') l.pop_back();
            r.push_back(l);
        }
    return r;
}

}  // namespace

TEST(ListagemClientes, GruposPorTipoERegrasDeTraducao) {
    GeralDeTeste g;
    DiretorioDeTrabalho d;
    auto motor = std::make_unique<MotorGuarda>();
    MotorGuarda* m = motor.get();
    auto anterior = InstalaMotorDeRelatorio(std::move(motor));
    CriaTabela("CONVECLI.DBF", EsquemaConvecli().campos);
    Tabela& t = DMQUOR().TBCONVECLI;
    t.Open();
    cliente(t, "A1", "C", "BETA", {{"CONHEACP2", regra("077", "079", "237", "341")},
                                   {"CONDETCP1", regra("  1", "  2", "", "XY")}});
    cliente(t, "B1", "1", "COFAP", {{"CONHEACP1", regra("001", "002", "AA", "BB")}});
    cliente(t, "C1", "C", "GAMA");
    t.Close();

    g.dialogo().respostasDestino = {dstIMPRESSORA};
    ImprimeListagemDeClientes();
    auto devolvido = InstalaMotorDeRelatorio(std::move(anterior));

    ASSERT_EQ(m->fechados.size(), 1u);
    const ModeloRelatorio& rel = m->fechados[0];
    EXPECT_EQ(rel.colunas, 132);
    const auto& p1 = rel.paginas.at(0).linhas;
    EXPECT_EQ(p1.at(5).substr(0, 35), "Código Cliente   Nome do Cliente   "_ansi);
    const std::string a1 = "A1" + std::string(15, ' ') + "BETA" + std::string(28, ' ') + "A1REM" +
                           std::string(27, ' ') + "A1RET";
    const std::string cab = "            Inicio/Fim   Conteúdo                         Traduzir para"_ansi;
    // Type changes from C to 1 and back to C: three groups. The first
    // group line is the first body line of the page, whatever was asked.
    EXPECT_EQ(corpo(rel),
              (std::vector<std::string>{
                  "Empresa do Tipo : " + TmanCONVECLI().CLI_TRTIPOEMP(trCODIGOtoTEXTO, "C", 0).texto,
                  "",
                  a1,
                  cab,
                  " Header - 2o.:  77/ 79   237   341",
                  "Detalhe - 1o.:   1/  2      XY",
                  "",
                  "Empresa do Tipo : " + TmanCONVECLI().CLI_TRTIPOEMP(trCODIGOtoTEXTO, "1", 0).texto,
                  "",
                  "B1" + std::string(15, ' ') + "COFAP" + std::string(27, ' ') + "B1REM" +
                      std::string(27, ' ') + "B1RET",
                  "",
                  "Empresa do Tipo : " + TmanCONVECLI().CLI_TRTIPOEMP(trCODIGOtoTEXTO, "C", 0).texto,
                  "",
                  "C1" + std::string(15, ' ') + "GAMA" + std::string(28, ' ') + "C1REM" +
                      std::string(27, ' ') + "C1RET",
                  cab,
                  "",
                  std::string(65, ' ') + "Total de empresas cadastradas :   3",
              }));
    EXPECT_EQ(g.dialogo().mensagens.at(0).texto, "Emissão do Relatório já concluida."_ansi);
    EXPECT_FALSE(DMQUOR().TBCONVECLI.Active());
}

TEST(ListagemClientes, TabelaVaziaECancelamento) {
    GeralDeTeste g;
    DiretorioDeTrabalho d;
    auto motor = std::make_unique<MotorGuarda>();
    MotorGuarda* m = motor.get();
    auto anterior = InstalaMotorDeRelatorio(std::move(motor));
    CriaTabela("CONVECLI.DBF", EsquemaConvecli().campos);
    g.dialogo().respostasDestino = {dstCANCELA, dstIMPRESSORA};
    ImprimeListagemDeClientes();
    EXPECT_TRUE(m->fechados.empty());
    EXPECT_TRUE(g.dialogo().mensagens.empty());
    ImprimeListagemDeClientes();
    auto devolvido = InstalaMotorDeRelatorio(std::move(anterior));
    ASSERT_EQ(m->fechados.size(), 1u);
    ASSERT_EQ(m->fechados[0].paginas.size(), 1u);
    EXPECT_EQ(corpo(m->fechados[0]).back(),
              std::string(65, ' ') + "Total de empresas cadastradas :   0");
}
