#include <QApplication>
#include <QFocusEvent>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "apoio_ui.h"
#include "ui/core/componentes_entrada.h"

// A window with one field of each kind and an OK button to leave them for.
class JanelaDeCampos : public QWidget {
public:
    JanelaDeCampos() {
        auto* layout = new QVBoxLayout(this);
        for (QWidget* w : std::initializer_list<QWidget*>{data, inteiro, decimal, grupo, ok})
            layout->addWidget(w);
        grupo->AdicionaItem("Cofap");
        grupo->AdicionaItem("BR");
        show();
        activateWindow();
    }
    TCOMPDATA* data = new TCOMPDATA;
    TCOMPINTEGER* inteiro = new TCOMPINTEGER;
    TCOMPFLOAT* decimal = new TCOMPFLOAT;
    TMVRADIOGROUP* grupo = new TMVRADIOGROUP("Tipo");
    QPushButton* ok = new QPushButton("&OK");

    // Tab into a field and type, as a person does.
    void digita(QWidget* campo, const QString& teclas) {
        campo->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(campo, teclas);
    }
    // What an OK handler does before reading the values.
    void sai() {
        ok->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    }
};

class ComponentesEntradaTeste : public QObject {
    Q_OBJECT
private slots:
    void init() {
        j_ = std::make_unique<JanelaDeCampos>();
        QVERIFY(QTest::qWaitForWindowActive(j_.get()));
    }
    void cleanup() { j_.reset(); }

    void dataImpossivelEsvaziaEFicaNoCampo() {
        QWidget* avisado = nullptr;
        j_->data->OnSAIDA = [&](QWidget* w) { avisado = w; };
        j_->data->setASDATETIME(CodificaData(2019, 2, 28));
        j_->data->setASDATETIME(0);
        QCOMPARE(j_->data->displayText(), QStringLiteral("28/02/2019"));

        j_->data->clear();
        j_->digita(j_->data, "31022019");
        QCOMPARE(j_->data->displayText(), QStringLiteral("31/02/2019"));
        j_->sai();
        QCOMPARE(j_->data->ASDATETIME(), 0);
        QCOMPARE(j_->data->displayText(), QStringLiteral("  /  /    "));
        QVERIFY(j_->data->hasFocus());
        QCOMPARE(avisado, static_cast<QWidget*>(j_->data));

        // The window losing the focus is no exit from the field.
        QTest::keyClicks(j_->data, "3102");
        QFocusEvent perdeJanela(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(j_->data, &perdeJanela);
        QCOMPARE(j_->data->displayText(), QStringLiteral("31/02/    "));
    }

    void inteiroAlinhadoEPrimeiraTeclaLimpa() {
        j_->inteiro->setInteiros(3);
        j_->inteiro->setASINTEGER(7);
        QCOMPARE(j_->inteiro->displayText(), QStringLiteral("  7"));
        j_->inteiro->setFocus(Qt::TabFocusReason);
        j_->inteiro->setCursorPosition(3);  // even without the selection
        QTest::keyClicks(j_->inteiro, "x45");
        QCOMPARE(j_->inteiro->displayText(), QStringLiteral("45 "));
        j_->sai();
        QCOMPARE(j_->inteiro->ASINTEGER(), 45);
        QCOMPARE(j_->inteiro->displayText(), QStringLiteral(" 45"));
    }

    void decimalFormataNaSaida() {
        j_->decimal->setInteiros(5);
        j_->decimal->setDecimais(6);
        j_->decimal->setASFLOAT(3);
        QCOMPARE(j_->decimal->text(), QStringLiteral("    3,000000"));
        j_->decimal->setFocus(Qt::TabFocusReason);
        j_->sai();  // untouched: stays
        QCOMPARE(j_->decimal->text(), QStringLiteral("    3,000000"));

        j_->digita(j_->decimal, "1a.5");
        QCOMPARE(j_->decimal->text(), QStringLiteral("1.5"));
        j_->sai();
        QCOMPARE(j_->decimal->text(), QStringLiteral("    1,500000"));
        QCOMPARE(j_->decimal->ASFLOAT(), 1.5);
    }

    void decimalEditadoNoLugarMantemOValor() {
        j_->digita(j_->decimal, "1");  // the first key of the field's life
        j_->sai();
        j_->decimal->setASFLOAT(1234);
        QCOMPARE(j_->decimal->text(), QStringLiteral("     1.234,00"));
        j_->decimal->setFocus(Qt::MouseFocusReason);
        j_->decimal->end(false);
        QTest::keyClick(j_->decimal, Qt::Key_Backspace);
        j_->sai();
        QCOMPARE(j_->decimal->ASFLOAT(), 1234.0);
        QCOMPARE(j_->decimal->text(), QStringLiteral("     1.234,00"));

        // Changed by keys that type nothing (Delete): read again too.
        j_->decimal->setFocus(Qt::MouseFocusReason);
        j_->decimal->home(false);
        for (int i = 0; i < 6; ++i) QTest::keyClick(j_->decimal, Qt::Key_Delete);
        QCOMPARE(j_->decimal->text(), QStringLiteral(".234,00"));
        j_->sai();
        QCOMPARE(j_->decimal->ASFLOAT(), 234.0);
    }

    void grupoDeOpcoes() {
        int saidas = 0;
        j_->grupo->OnSAIDA = [&](QWidget*) { ++saidas; };
        QCOMPARE(j_->grupo->ITEMINDEX(), -1);
        j_->grupo->setITEMINDEX(1);
        j_->grupo->setITEMINDEX(-1);  // leaves the checked button
        QCOMPARE(j_->grupo->ITEMINDEX(), 1);

        QRadioButton* cofap = j_->grupo->Botoes().front();
        cofap->setFocus(Qt::TabFocusReason);
        QTest::keyClick(cofap, Qt::Key_Space);
        saidas = 0;
        j_->sai();
        QCOMPARE(saidas, 1);
        QCOMPARE(j_->grupo->ITEMINDEX(), 0);
    }

private:
    std::unique_ptr<JanelaDeCampos> j_;
};

static RegistraTesteUi registro([] { return new ComponentesEntradaTeste; });

#include "componentes_entrada_test.moc"
