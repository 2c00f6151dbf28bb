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
        show();
        activateWindow();
    }
    TCOMPDATA* data = new TCOMPDATA;
    TCOMPINTEGER* inteiro = new TCOMPINTEGER;
    TCOMPFLOAT* decimal = new TCOMPFLOAT;
    TMVRADIOGROUP* grupo = new TMVRADIOGROUP("Tipo");
    QPushButton* ok = new QPushButton("&OK");

    // Tab into a field, as a person does.
    void entra(QWidget* campo) {
        campo->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
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
    void initTestCase() {
        janela_ = std::make_unique<JanelaDeCampos>();
        QVERIFY(QTest::qWaitForWindowActive(janela_.get()));
    }
    void cleanupTestCase() { janela_.reset(); }

    void dataImpossivelEsvaziaEFicaNoCampo() {
        JanelaDeCampos& j = *janela_;
        QWidget* avisado = nullptr;
        j.data->OnSAIDA = [&](QWidget* w) { avisado = w; };
        QCOMPARE(j.data->width(), 85);
        QCOMPARE(j.data->displayText(), QStringLiteral("  /  /    "));

        j.entra(j.data);
        QTest::keyClicks(j.data, "15032026");
        j.sai();
        QCOMPARE(j.data->ASDATETIME(), DATA_CODIFICA(2026, 3, 15));
        QCOMPARE(avisado, static_cast<QWidget*>(j.data));

        // Erased: the date it had stays.
        j.entra(j.data);
        j.data->clear();
        j.sai();
        QCOMPARE(j.data->ASDATETIME(), DATA_CODIFICA(2026, 3, 15));

        j.entra(j.data);
        j.data->setCursorPosition(0);
        QTest::keyClicks(j.data, "31022019");
        QCOMPARE(j.data->displayText(), QStringLiteral("31/02/2019"));
        j.sai();
        QCOMPARE(j.data->ASDATETIME(), 0);
        QCOMPARE(j.data->displayText(), QStringLiteral("  /  /    "));
        QVERIFY(j.data->hasFocus());

        // The window losing the focus is no exit from the field.
        QTest::keyClicks(j.data, "3102");
        QFocusEvent perdeJanela(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(j.data, &perdeJanela);
        QCOMPARE(j.data->displayText(), QStringLiteral("31/02/    "));
        j.data->clear();
        j.data->OnSAIDA = nullptr;
        j.sai();
    }

    void dataEscritaDeZeroMantemTexto() {
        JanelaDeCampos& j = *janela_;
        j.data->setASDATETIME(DATA_CODIFICA(2019, 2, 28));
        QCOMPARE(j.data->displayText(), QStringLiteral("28/02/2019"));
        j.data->setASDATETIME(0);
        QCOMPARE(j.data->ASDATETIME(), 0);
        QCOMPARE(j.data->displayText(), QStringLiteral("28/02/2019"));
    }

    void inteiroAlinhadoEPrimeiraTeclaLimpa() {
        JanelaDeCampos& j = *janela_;
        QCOMPARE(j.inteiro->width(), 41);
        j.inteiro->setInteiros(3);
        QCOMPARE(j.inteiro->width(), 41);
        j.inteiro->setASINTEGER(7);
        QCOMPARE(j.inteiro->displayText(), QStringLiteral("  7"));

        j.entra(j.inteiro);
        QVERIFY(j.inteiro->hasSelectedText());
        j.inteiro->setCursorPosition(3);  // even without the selection
        QTest::keyClicks(j.inteiro, "45");
        QCOMPARE(j.inteiro->displayText(), QStringLiteral("45 "));
        j.sai();
        QCOMPARE(j.inteiro->ASINTEGER(), 45);
        QCOMPARE(j.inteiro->displayText(), QStringLiteral(" 45"));

        // Letters never reach the text.
        j.entra(j.inteiro);
        QTest::keyClicks(j.inteiro, "x9");
        j.sai();
        QCOMPARE(j.inteiro->ASINTEGER(), 9);
        QCOMPARE(j.inteiro->displayText(), QStringLiteral("  9"));
        j.inteiro->setInteiros(6);
        QCOMPARE(j.inteiro->width(), 65);
    }

    void decimalComPontoComoVirgula() {
        JanelaDeCampos& j = *janela_;
        j.decimal->setInteiros(5);
        j.decimal->setDecimais(6);
        j.decimal->setASFLOAT(3);
        QCOMPARE(j.decimal->text(), QStringLiteral("    3,000000"));
        QCOMPARE(j.decimal->width(), 105);

        // Untouched, the field keeps its text.
        j.entra(j.decimal);
        j.sai();
        QCOMPARE(j.decimal->text(), QStringLiteral("    3,000000"));

        j.entra(j.decimal);
        QTest::keyClicks(j.decimal, "1a.5");
        QCOMPARE(j.decimal->text(), QStringLiteral("1.5"));
        j.sai();
        QCOMPARE(j.decimal->text(), QStringLiteral("    1,500000"));
        QCOMPARE(j.decimal->ASFLOAT(), 1.5);

        // Emptied by typing: zero.
        j.entra(j.decimal);
        QTest::keyClick(j.decimal, Qt::Key_Backspace);
        QCOMPARE(j.decimal->text(), QString());
        j.sai();
        QCOMPARE(j.decimal->text(), QStringLiteral("    0,000000"));
        QCOMPARE(j.decimal->ASFLOAT(), 0.0);

        // Only Inteiros digits before the mark.
        j.entra(j.decimal);
        QTest::keyClicks(j.decimal, "1234567");
        QCOMPARE(j.decimal->text(), QStringLiteral("12345"));
        j.sai();
        QCOMPARE(j.decimal->ASFLOAT(), 12345.0);
    }

    void decimalEditadoNoLugarMantemOValor() {
        JanelaDeCampos& j = *janela_;
        j.decimal->setInteiros(10);
        j.decimal->setDecimais(2);
        j.decimal->setASFLOAT(1234);
        QCOMPARE(j.decimal->text(), QStringLiteral("     1.234,00"));
        j.entra(j.decimal);
        j.decimal->end(false);
        QTest::keyClick(j.decimal, Qt::Key_Backspace);
        QCOMPARE(j.decimal->text(), QStringLiteral("     1.234,0"));
        j.sai();
        QCOMPARE(j.decimal->ASFLOAT(), 1234.0);
        QCOMPARE(j.decimal->text(), QStringLiteral("     1.234,00"));

        // Text changed without a key (a paste from the menu) is read again.
        j.entra(j.decimal);
        j.decimal->selectAll();
        j.decimal->insert("7,5");
        j.sai();
        QCOMPARE(j.decimal->ASFLOAT(), 7.5);
        QCOMPARE(j.decimal->text(), QStringLiteral("         7,50"));
    }

    void grupoDeOpcoes() {
        JanelaDeCampos& j = *janela_;
        int saidas = 0;
        j.grupo->OnSAIDA = [&](QWidget* w) {
            QCOMPARE(w, static_cast<QWidget*>(j.grupo));
            ++saidas;
        };
        auto* a = j.grupo->AdicionaItem("Cofap");
        auto* b = j.grupo->AdicionaItem("BR");
        j.grupo->AdicionaItem("Celpav");
        QApplication::processEvents();  // buttons added to a shown window show later
        QCOMPARE(j.grupo->ITEMINDEX(), -1);
        j.grupo->setITEMINDEX(1);
        QVERIFY(b->isChecked());
        // -1 leaves the checked button; the next read finds it again.
        j.grupo->setITEMINDEX(-1);
        QVERIFY(b->isChecked());
        QCOMPARE(j.grupo->ITEMINDEX(), 1);

        // A person checks another button and leaves the group.
        a->setFocus(Qt::TabFocusReason);
        QTest::keyClick(a, Qt::Key_Space);
        saidas = 0;
        j.sai();
        QCOMPARE(saidas, 1);
        j.grupo->OnSAIDA = nullptr;
        QCOMPARE(j.grupo->ITEMINDEX(), 0);
    }

private:
    std::unique_ptr<JanelaDeCampos> janela_;
};

static RegistraTesteUi registro([] { return new ComponentesEntradaTeste; });

#include "componentes_entrada_test.moc"
