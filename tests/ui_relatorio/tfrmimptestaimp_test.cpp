#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "apoio_relatorio.h"
#include "core/texto/ansi.h"
#include "support/geral_teste.h"
#include "ui/report/tfrmimptestaimp.h"

namespace {

// A printer that the setup dialog changes, or a setup that cannot open.
struct MotorComImpressora : MotorRelatorio {
    std::string impressora = "HP_LaserJet";
    bool setupFalha = false;
    bool Fecha(const ModeloRelatorio&) override { return true; }
    void GravaPdf(const ModeloRelatorio&, const std::string&) override {}
    std::string ImpressoraAtual() override { return impressora; }
    void SetupImpressora() override {
        if (setupFalha) throw std::runtime_error("sem CUPS");
        impressora = "Epson_FX";
    }
    int ImpressorasInstaladas() override { return 3; }
    int ImpressorasDisponiveis() override { return 2; }
};

// Opens the choice window, lets `acao` act on it once shown, and answers the
// choice. A window the action leaves open fails the test instead of hanging.
TdstRELATORIO escolhe(const std::function<void(TFRMIMPTESTAIMP&)>& acao,
                      const std::vector<std::string>& descricao = {"linha"}) {
    QTimer::singleShot(0, [acao] {
        QPointer<TFRMIMPTESTAIMP> j = qobject_cast<TFRMIMPTESTAIMP*>(QApplication::activeModalWidget());
        if (!j) return ADD_FAILURE() << "janela de escolha não aberta";
        j->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(j));
        acao(*j);
        QTimer::singleShot(2000, [j] {
            if (!j || !j->isVisible()) return;
            ADD_FAILURE() << "a janela continuou aberta";
            j->reject();
        });
    });
    return EscolheDestinoDoRelatorio("LISTAGEM DE CLIENTES", descricao);
}

}  // namespace

TEST(TFRMIMPTESTAIMP, CadaBotaoDaSuaEscolha) {
    EXPECT_EQ(escolhe([](TFRMIMPTESTAIMP& j) { j.BTNIMPRESSORA->click(); }), dstIMPRESSORA);
    EXPECT_EQ(escolhe([](TFRMIMPTESTAIMP& j) { j.BTNVIDEO->click(); }), dstVIDEO);
    EXPECT_EQ(escolhe([](TFRMIMPTESTAIMP& j) { QTest::keyClick(&j, Qt::Key_V, Qt::AltModifier); }), dstVIDEO);
    EXPECT_EQ(escolhe([](TFRMIMPTESTAIMP& j) { j.BTNCANCELA->click(); }), dstCANCELA);
    EXPECT_EQ(escolhe([](TFRMIMPTESTAIMP& j) { QTest::keyClick(&j, Qt::Key_Escape); }), dstCANCELA);
}

// The window shows the report and the printer; Setup shows the printer
// chosen there and leaves the window open for the choice, also when the
// setup cannot open (it says so).
TEST(TFRMIMPTESTAIMP, MostraRelatorioEImpressoraMesmoDepoisDoSetup) {
    GeralDeTeste g;
    auto motor = std::make_unique<MotorComImpressora>();
    MotorComImpressora* m = motor.get();
    MotorDeTeste instalado(std::move(motor));
    const auto setup = [](TFRMIMPTESTAIMP& j) {
        EXPECT_EQ(j.windowTitle(), QStringLiteral("LISTAGEM DE CLIENTES"));
        EXPECT_EQ(j.LBLIMPRESSORA->text(), QStringLiteral("Modelo : Gráfica  -  Padrão : HP_LaserJet"));
        ASSERT_EQ(j.LBXTEXTO->count(), 2);
        EXPECT_EQ(j.LBXTEXTO->item(0)->text(), QStringLiteral("Clientes em ordem de código"));
        j.BTNSETUP->click();
        EXPECT_TRUE(j.isVisible());
        j.BTNIMPRESSORA->click();
    };
    EXPECT_EQ(escolhe(setup, {"Clientes em ordem de código"_ansi, "com as taxas"}), dstIMPRESSORA);
    EXPECT_EQ(escolhe([](TFRMIMPTESTAIMP& j) {
                  EXPECT_EQ(j.LBLIMPRESSORA->toolTip(), QStringLiteral("Modelo : Gráfica  -  Padrão : Epson_FX"));
                  j.reject();
              }),
              dstCANCELA);
    EXPECT_TRUE(g.dialogo().mensagens.empty());

    m->setupFalha = true;
    m->impressora.clear();
    EXPECT_EQ(escolhe([](TFRMIMPTESTAIMP& j) {
                  EXPECT_EQ(j.LBLIMPRESSORA->text(), QStringLiteral("Modelo : Gráfica"));
                  j.BTNSETUP->click();
                  j.BTNVIDEO->click();
              }),
              dstVIDEO);
    ASSERT_EQ(g.dialogo().mensagens.size(), 1u);
    EXPECT_NE(g.dialogo().mensagens[0].texto.find("Instaladas: 3"), std::string::npos);
}
