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
#include "core/ansi.h"
#include "support/geral_teste.h"
#include "ui/report/tfrmimptestaimp.h"

namespace {

// A printer that the setup dialog changes, or a setup that cannot open.
struct MotorComImpressora : MotorRelatorio {
    std::string impressora;
    std::string depoisDoSetup;
    bool setupFalha = false;
    bool Fecha(const ModeloRelatorio&) override { return true; }
    void GravaPdf(const ModeloRelatorio&, const std::string&) override {}
    std::string ImpressoraAtual() override { return impressora; }
    void SetupImpressora() override {
        if (setupFalha) throw std::runtime_error("sem CUPS");
        impressora = depoisDoSetup;
    }
    int ImpressorasInstaladas() override { return 3; }
    int ImpressorasDisponiveis() override { return 2; }
};

// Opens the choice window, lets `acao` act on it once it is shown, and
// answers the choice.
TdstRELATORIO escolhe(const std::function<void(TFRMIMPTESTAIMP&)>& acao,
                      const std::vector<std::string>& descricao = {"linha"}) {
    QTimer::singleShot(0, [acao] {
        auto* janela = qobject_cast<TFRMIMPTESTAIMP*>(QApplication::activeModalWidget());
        if (!janela) return ADD_FAILURE() << "janela de escolha não aberta";
        janela->activateWindow();
        if (!QTest::qWaitForWindowActive(janela)) ADD_FAILURE() << "janela não ativa";
        QPointer<TFRMIMPTESTAIMP> j(janela);
        acao(*janela);
        // A choice that did not close the window fails the test, not hangs it.
        QTimer::singleShot(2000, [j] {
            if (!j || !j->isVisible()) return;
            ADD_FAILURE() << "a janela continuou aberta";
            j->reject();
        });
    });
    return TFRMIMPTESTAIMP_ESCOLHE("LISTAGEM DE CLIENTES", descricao);
}

}  // namespace

TEST(TFRMIMPTESTAIMP, CadaBotaoDaSuaEscolha) {
    EXPECT_EQ(escolhe([](TFRMIMPTESTAIMP& j) { j.BTNIMPRESSORA->click(); }), dstIMPRESSORA);
    EXPECT_EQ(escolhe([](TFRMIMPTESTAIMP& j) { j.BTNVIDEO->click(); }), dstVIDEO);
    EXPECT_EQ(escolhe([](TFRMIMPTESTAIMP& j) { j.BTNCANCELA->click(); }), dstCANCELA);
    EXPECT_EQ(escolhe([](TFRMIMPTESTAIMP& j) { QTest::keyClick(&j, Qt::Key_Escape); }), dstCANCELA);
    EXPECT_EQ(escolhe([](TFRMIMPTESTAIMP& j) { j.close(); }), dstCANCELA);
    // Keyboard accelerators of the captions.
    EXPECT_EQ(escolhe([](TFRMIMPTESTAIMP& j) { QTest::keyClick(&j, Qt::Key_V, Qt::AltModifier); }), dstVIDEO);
}

TEST(TFRMIMPTESTAIMP, MostraTituloImpressoraEDescricao) {
    auto motor = std::make_unique<MotorComImpressora>();
    motor->impressora = "HP_LaserJet";
    MotorDeTeste instalado(std::move(motor));
    escolhe(
        [](TFRMIMPTESTAIMP& j) {
            EXPECT_EQ(j.windowTitle(), QStringLiteral("LISTAGEM DE CLIENTES"));
            EXPECT_EQ(j.LBLIMPRESSORA->text(), QStringLiteral("Modelo : Gráfica  -  Padrão : HP_LaserJet"));
            EXPECT_EQ(j.LBLIMPRESSORA->toolTip(), j.LBLIMPRESSORA->text());
            ASSERT_EQ(j.LBXTEXTO->count(), 2);
            EXPECT_EQ(j.LBXTEXTO->item(0)->text(), QStringLiteral("Clientes em ordem de código"));
            EXPECT_EQ(j.LBXTEXTO->item(1)->text(), QStringLiteral("com as taxas vigentes"));
            EXPECT_EQ(j.BTNVIDEO->text(), QStringLiteral(" &Video"));
            EXPECT_EQ(j.BTNIMPRESSORA->toolTip(),
                      QStringLiteral(" Direciona a emissão diretamente para a impressora "));
            EXPECT_EQ(j.BTNCANCELA->toolTip(), QStringLiteral(" Abandona a emissão solicitada "));
            j.reject();
        },
        {"Clientes em ordem de código"_ansi, "com as taxas vigentes"});

    MotorDeTeste semImpressora(std::make_unique<MotorComImpressora>());
    escolhe([](TFRMIMPTESTAIMP& j) {
        EXPECT_EQ(j.LBLIMPRESSORA->text(), QStringLiteral("Modelo : Gráfica"));
        j.reject();
    });
}

// Setup shows the printer chosen there, and the window stays open for the
// choice; a setup that cannot open says so and the window stays too.
TEST(TFRMIMPTESTAIMP, SetupMostraANovaImpressora) {
    GeralDeTeste g;
    auto motor = std::make_unique<MotorComImpressora>();
    MotorComImpressora* m = motor.get();
    m->impressora = "HP_LaserJet";
    m->depoisDoSetup = "Epson_FX";
    MotorDeTeste instalado(std::move(motor));
    EXPECT_EQ(escolhe([](TFRMIMPTESTAIMP& j) {
                  j.BTNSETUP->click();
                  EXPECT_TRUE(j.isVisible());
                  EXPECT_EQ(j.LBLIMPRESSORA->text(), QStringLiteral("Modelo : Gráfica  -  Padrão : Epson_FX"));
                  j.BTNIMPRESSORA->click();
              }),
              dstIMPRESSORA);
    EXPECT_TRUE(g.dialogo().mensagens.empty());

    m->setupFalha = true;
    EXPECT_EQ(escolhe([](TFRMIMPTESTAIMP& j) {
                  j.BTNSETUP->click();
                  EXPECT_TRUE(j.isVisible());
                  j.BTNVIDEO->click();
              }),
              dstVIDEO);
    ASSERT_EQ(g.dialogo().mensagens.size(), 1u);
    EXPECT_EQ(g.dialogo().mensagens[0].tipo, somERRO);
    EXPECT_NE(g.dialogo().mensagens[0].texto.find("Instaladas: 3"), std::string::npos);
}
