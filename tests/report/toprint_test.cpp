#include <gtest/gtest.h>

#include "core/texto/ansi.h"
#include "report/motor_relatorio.h"
#include "report/toprint.h"
#include "support/diretorio_temporario.h"
#include "support/geral_teste.h"

namespace {

// Records what the report service hands to the engine.
struct MotorGravador : MotorRelatorio {
    std::vector<ModeloRelatorio> fechados;
    std::vector<std::string> pdfs;
    bool falhaPdf = false;
    bool falhaImpressora = false;
    bool Fecha(const ModeloRelatorio& m) override {
        fechados.push_back(m);
        return !falhaImpressora;
    }
    void GravaPdf(const ModeloRelatorio&, const std::string& arquivo) override {
        if (falhaPdf) throw std::runtime_error("disco cheio");
        pdfs.push_back(arquivo);
    }
    std::string ImpressoraAtual() override { return "HP"; }
    void SetupImpressora() override { throw std::runtime_error("sem CUPS"); }
    int ImpressorasInstaladas() override { return 2; }
    int ImpressorasDisponiveis() override { return 1; }
};

struct Ambiente {
    GeralDeTeste g{CodificaData(2019, 12, 6)};
    MotorGravador* motor;
    std::unique_ptr<MotorRelatorio> anterior;
    Ambiente() {
        auto m = std::make_unique<MotorGravador>();
        motor = m.get();
        anterior = InstalaMotorDeRelatorio(std::move(m));
        g.hora = {15, 30, 12};
        g.geral().RAZAOSOC = "BANCO QUOR";
    }
    ~Ambiente() {
        oPRINT.reset();
        InstalaMotorDeRelatorio(std::move(anterior));
    }
};

std::string linha(const PaginaRelatorio& p, int n) {
    return n <= static_cast<int>(p.linhas.size()) ? p.linhas[static_cast<std::size_t>(n - 1)] : "";
}

}  // namespace

TEST(ToPRINT, CabecalhoDaPaginaEm80E130Colunas) {
    Ambiente a;
    const std::string titulo(30, 'T');
    ASSERT_TRUE(IMP_PREPARA(titulo, {}));
    oPRINT->TITESQ = "Cliente: COFAP";
    ASSERT_TRUE(oPRINT->IMPINICIALIZA(-1, "", false));
    EXPECT_TRUE(oPRINT->INCLINHA(1));
    const PaginaRelatorio& p = oPRINT->Modelo().paginas.at(0);
    EXPECT_EQ(linha(p, 1), "BANCO QUOR" + std::string(58, ' ') + "Pagina :   1");
    EXPECT_EQ(linha(p, 1).size(), 80u);
    EXPECT_EQ(linha(p, 2).find(titulo), 25u);  // column 26
    EXPECT_EQ(linha(p, 3), std::string(24, ' ') + std::string(32, '-'));
    EXPECT_EQ(linha(p, 4), "Cliente: COFAP" + std::string(50, ' ') + "Data: 06/12/2019");
    EXPECT_EQ(oPRINT->KLINATU, 5);  // no headings: the body starts on line 5

    ASSERT_TRUE(IMP_PREPARA(titulo, {}));
    oPRINT->COLUNAS = 130;
    oPRINT->IMPINICIALIZA(-1, "", false);
    oPRINT->INCLINHA(1);
    const PaginaRelatorio& q = oPRINT->Modelo().paginas.at(0);
    EXPECT_EQ(linha(q, 2).find(titulo), 50u);  // column 51
    EXPECT_EQ(linha(q, 1).size(), 130u);
    EXPECT_EQ(oPRINT->Modelo().colunas, 132);  // the engine gets two more
    EXPECT_EQ(oPRINT->Modelo().caracteresPorPolegada, 10);  // 130 <= 132 without OPCAOIMP
    EXPECT_EQ(oPRINT->Modelo().zoomPercentual, 70);
}

TEST(ToPRINT, TitulosDeColunaEQuebraDePagina) {
    Ambiente a;
    ASSERT_TRUE(IMP_PREPARA("RELATORIO 01/2019", {}));
    oPRINT->TITCAB1 = "CODIGO   NOME";
    oPRINT->TITCAB2 = "------   ----";
    oPRINT->IMPINICIALIZA(-1, "", false);
    EXPECT_EQ(oPRINT->Modelo().titulo, "RELATORIO 01-2019");
    oPRINT->INCLINHA(1);
    EXPECT_EQ(oPRINT->KLINATU, 8);  // the first body line of every page
    oPRINT->CHARSAY(1, "primeira");
    while (!oPRINT->INCLINHA(2)) oPRINT->CHARSAY(1, "x");
    // A full page asked for two more lines: the new page's first body line.
    EXPECT_EQ(oPRINT->KLINATU, 8);
    EXPECT_EQ(oPRINT->PAGINA, 2);
    const auto& paginas = oPRINT->Modelo().paginas;
    ASSERT_EQ(paginas.size(), 2u);
    EXPECT_EQ(linha(paginas[0], 2).find("RELATORIO 01/2019"), 31u);  // the header keeps "/"
    EXPECT_EQ(linha(paginas[1], 6), "CODIGO   NOME");
    EXPECT_EQ(linha(paginas[1], 7), "------   ----");
    EXPECT_EQ(linha(paginas[0], 5), "");
    // The 99 trick of the callers forces a page break.
    oPRINT->KLINATU = 99;
    EXPECT_TRUE(oPRINT->INCLINHA(1));
    EXPECT_EQ(oPRINT->PAGINA, 3);
}

TEST(ToPRINT, FimDaEmissaoPdfImpressoraEMensagens) {
    Ambiente a;
    // PDF: name with day and time, only to the file, final message.
    ASSERT_TRUE(IMP_PREPARA("ARQUIVO", {}));
    oPRINT->KNOMEdoARQUIVOemPDF = "ARQUIVO_REMESSA_VENDOR";
    oPRINT->IMPINICIALIZA(10, "Remessa", true);
    oPRINT->INCLINHA(1);
    EJECT(krDUAS_MENSAGENS);
    EXPECT_EQ(oPRINT, nullptr);
    EXPECT_EQ(a.motor->pdfs, (std::vector<std::string>{"ARQUIVO_REMESSA_VENDOR_20191206_153012.PDF"}));
    EXPECT_TRUE(a.motor->fechados.empty());
    ASSERT_EQ(a.g.dialogo().mensagens.size(), 1u);
    EXPECT_EQ(a.g.dialogo().mensagens[0].texto, "Emissão do Relatório já concluida."_ansi);
    EXPECT_EQ(a.g.dialogo().mensagens[0].titulo, "Final da emissão"_ansi);

    // Nothing printed: the no-records message, and nothing goes to the engine.
    a.g.dialogo().mensagens.clear();
    ASSERT_TRUE(IMP_PREPARA("VAZIO", {}));
    oPRINT->IMPINICIALIZA(-1, "", false);
    EJECT(krREGISTRO_DISPONIVEL);
    EXPECT_TRUE(a.motor->fechados.empty());
    EXPECT_EQ(a.g.dialogo().mensagens.at(0).texto, "NENHUM REGISTRO DISPONÍVEL PARA LISTAGEM.\r\n"_ansi);

    // The printer fails: its message. The PDF fails: its message.
    a.g.dialogo().mensagens.clear();
    a.motor->falhaImpressora = true;
    ASSERT_TRUE(IMP_PREPARA("X", {}));
    oPRINT->IMPINICIALIZA(-1, "", false);
    oPRINT->INCLINHA(1);
    EJECT(krSEM_MENSAGEM);
    ASSERT_EQ(a.g.dialogo().mensagens.size(), 1u);
    EXPECT_EQ(a.g.dialogo().mensagens[0].tipo, somERRO);
    a.motor->falhaPdf = true;
    ASSERT_TRUE(IMP_PREPARA("X", {}));
    oPRINT->KNOMEdoARQUIVOemPDF = "LOG";
    oPRINT->IMPINICIALIZA(-1, "", false);
    oPRINT->INCLINHA(1);
    EJECT(krSEM_MENSAGEM);
    EXPECT_NE(a.g.dialogo().mensagens.back().texto.find("LOG_20191206_153012.PDF"), std::string::npos);
    EXPECT_EQ(a.motor->fechados.size(), 1u);  // the abandoned report is not printed
}

// A run log whose name (title, day, second) is taken by the log of another
// run that ended in the same second gets a number instead of replacing it.
TEST(ToPRINT, PdfDoMesmoSegundoNaoSubstituiOutro) {
    Ambiente a;
    DiretorioDeTrabalho d;
    GRAVA_ARQUIVO_TESTE("LOG_20191206_153012.PDF", "%PDF outro");
    GRAVA_ARQUIVO_TESTE("LOG_20191206_153012_2.PDF", "%PDF outro");
    ASSERT_TRUE(IMP_PREPARA("X", {}));
    oPRINT->KNOMEdoARQUIVOemPDF = "LOG";
    oPRINT->IMPINICIALIZA(-1, "", false);
    oPRINT->INCLINHA(1);
    EJECT(krSEM_MENSAGEM);
    EXPECT_EQ(a.motor->pdfs, (std::vector<std::string>{"LOG_20191206_153012_3.PDF"}));
}

TEST(ToPRINT, EscolhaDoDestino) {
    Ambiente a;
    a.g.dialogo().respostasDestino = {dstCANCELA, dstVIDEO, dstPDF};
    EXPECT_FALSE(IMP_PREPARA("LISTAGEM", {"linha 1"}));
    EXPECT_EQ(oPRINT, nullptr);
    ASSERT_TRUE(IMP_PREPARA("LISTAGEM", {"linha 1"}));
    oPRINT->IMPINICIALIZA(-1, "", false);
    oPRINT->INCLINHA(1);
    EJECT(krDUAS_MENSAGENS);
    ASSERT_EQ(a.motor->fechados.size(), 1u);
    EXPECT_TRUE(a.motor->fechados[0].visualizar);
    EXPECT_TRUE(a.g.dialogo().mensagens.empty());  // with preview no "already finished"
    // A file chosen where the run named none: named after the title.
    ASSERT_TRUE(IMP_PREPARA("Listagem dos Clientes", {"linha 1"}));
    oPRINT->IMPINICIALIZA(-1, "", false);
    oPRINT->INCLINHA(1);
    EJECT(krSEM_MENSAGEM);
    EXPECT_EQ(a.motor->pdfs,
              (std::vector<std::string>{"LISTAGEM_DOS_CLIENTES_20191206_153012.PDF"}));
    // Printer setup failing explains itself with the counts.
    IMP_SETUPIMPRESSORA();
    EXPECT_NE(a.g.dialogo().mensagens.back().texto.find("Total de impressoras Instaladas: 2"),
              std::string::npos);
}
