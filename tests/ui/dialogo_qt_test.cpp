#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "apoio_ui.h"
#include "core/espera_limitada.h"
#include "core/geral.h"
#include "core/texto/ansi.h"
#include "ui/core/componentes_entrada.h"
#include "ui/core/dialogo_qt.h"
#include "ui/core/qt_texto.h"
#include "ui/core/tfrmcontador.h"

namespace {

// What the next box looked like when `tecla` was pressed on it.
struct CaixaVista {
    QString titulo, texto, padrao;
    QMessageBox::Icon icone = QMessageBox::NoIcon;
    QStringList botoes;
    Qt::TextFormat formato = Qt::AutoText;
    Qt::CursorShape cursor = Qt::BitmapCursor;
};
void responde(CaixaVista& v, Qt::Key tecla) {
    QUANDO_ABRIR([&v, tecla](QWidget* janela) {
        auto* caixa = qobject_cast<QMessageBox*>(janela);
        if (!caixa) return;
        const QCursor* cursor = QApplication::overrideCursor();
        v = {caixa->windowTitle(), caixa->text(),
             caixa->defaultButton() ? caixa->defaultButton()->text() : QString(), caixa->icon(),
             {}, caixa->textFormat(), cursor ? cursor->shape() : Qt::BitmapCursor};
        for (QAbstractButton* b : caixa->buttons()) v.botoes << b->text();
        TECLA(caixa, tecla);
    });
}

// A click through the window system, where blocked windows get nothing.
void clicaComoPessoa(QWidget* w) {
    QWidget* janela = w->window();
    QTest::mouseClick(janela->windowHandle(), Qt::LeftButton, {},
                      w->mapTo(janela, w->rect().center()));
}

// A run of 100 steps that offers Cancel and stops when it is pressed;
// `clique` runs between the fifth and the sixth step. Answers the steps made.
int rodaAteCancelar(GeralQt& g, const std::function<void()>& clique) {
    g.geral().CONTADOR_INICIALIZA(100, true, "Processando");
    int passos = 0;
    while (passos < 100) {
        g.geral().CONTADOR_SO_CONTA();
        ++passos;
        if (g.geral().FLAGINTERROMPE) break;
        if (passos == 5) QTimer::singleShot(0, clique);
    }
    return passos;
}

}  // namespace

class DialogoQtTeste : public QObject {
    Q_OBJECT
private slots:
    void perguntaTeclaRespondeOBotaoPadrao_data() {
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("tituloDaCaixa");
        QTest::addColumn<bool>("padraoSim");
        QTest::addColumn<int>("tecla");
        const QString pos = QString::fromUtf8("Posicionamento do Formulário");
        QTest::newRow("S_ Enter") << "S_" + pos << pos << true << int(Qt::Key_Return);
        QTest::newRow("N_ Enter") << "N_" + pos << pos << false << int(Qt::Key_Return);
        QTest::newRow("N Enter") << "N" << "Confirme" << false << int(Qt::Key_Return);
        QTest::newRow("outro Enter") << "Confirma ? " << "Confirma ? " << true << int(Qt::Key_Return);
        QTest::newRow("S Escape") << "S" << "Confirme" << true << int(Qt::Key_Escape);
    }
    void perguntaTeclaRespondeOBotaoPadrao() {
        QFETCH(QString, titulo);
        QFETCH(QString, tituloDaCaixa);
        QFETCH(bool, padraoSim);
        QFETCH(int, tecla);
        GeralQt g;
        CaixaVista v;
        responde(v, Qt::Key(tecla));
        // Enter answers the default button, Escape always Não.
        QCOMPARE(OBR_CONFIRMA("Confirma?", QtParaAnsi(titulo)),
                 tecla == Qt::Key_Return && padraoSim);
        QCOMPARE(v.titulo, tituloDaCaixa);
        QCOMPARE(v.icone, QMessageBox::Question);
        QCOMPARE(v.botoes, (QStringList{"&Sim", QString::fromUtf8("&Não")}));
        QCOMPARE(v.padrao, padraoSim ? QStringLiteral("&Sim") : QString::fromUtf8("&Não"));
    }

    void mensagemTituloEIconePorTipo() {
        GeralQt g;
        CaixaVista sucesso, erro;
        responde(sucesso, Qt::Key_Return);
        g.geral().MENSAGEM("<b>GRAVADO.</b>\r\nTOTAL: 3", somSUCESSO);
        QCOMPARE(sucesso.titulo, QStringLiteral("Aviso..."));
        QCOMPARE(sucesso.icone, QMessageBox::Information);
        QCOMPARE(sucesso.texto, QStringLiteral("<b>GRAVADO.</b>\nTOTAL: 3"));
        QCOMPARE(sucesso.formato, Qt::PlainText);
        QCOMPARE(sucesso.botoes.size(), 1);

        responde(erro, Qt::Key_Return);
        g.geral().MENSAGEM("CLIENTE NÃO CADASTRADO."_ansi, somERRO);
        QCOMPARE(erro.titulo, QString::fromUtf8("Atenção..."));
        QCOMPARE(erro.icone, QMessageBox::Warning);
        QCOMPARE(erro.texto, QString::fromUtf8("CLIENTE NÃO CADASTRADO."));
    }

    void cursorDeEsperaEquilibrado() {
        GeralQt g;
        g.geral().CURSORESPERA();
        g.geral().CURSORESPERA();
        // A box over a busy run shows the arrow; the hourglass comes back.
        CaixaVista v;
        responde(v, Qt::Key_Return);
        g.geral().MENSAGEM("X", somSUCESSO);
        QCOMPARE(v.cursor, Qt::ArrowCursor);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        g.geral().CURSORDEFAULT();
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void contadorMostraOEstadoDoMotor() {
        GeralQt g;
        TFRMCONTADOR& janela = g.dialogo().Contador();
        QCOMPARE(janela.size(), QSize(505, 65));
        QVERIFY(!(janela.windowFlags() & Qt::WindowCloseButtonHint));
        g.geral().CONTADOR_INICIALIZA(3, false, "Listagem dos Clientes");
        QVERIFY(janela.isVisible() && !janela.isModal() && janela.BTNCANCELA->isHidden());
        g.geral().CONTADOR_SO_CONTA();
        QCOMPARE(janela.LBLPROGRESSO->text(), QStringLiteral("33%"));
        QCOMPARE(janela.PRBBARRA->value(), 1);
        QVERIFY(janela.PRBBARRA->hasFocus());
        g.geral().CONTADOR_ENCERRA();
        QVERIFY(!janela.isVisible());

        // Total 0: the steps are counted, the bar and the label stay.
        g.geral().CONTADOR_INICIALIZA(0, true, "Zero");
        g.geral().CONTADOR_SO_CONTA();
        QCOMPARE(janela.PRBBARRA->value(), 0);
        QCOMPARE(janela.LBLPROGRESSO->text(), QStringLiteral("33%"));
        janela.close();  // from the keyboard, while the run goes on
        QVERIFY(janela.isVisible());
        g.geral().CONTADOR_ENCERRA();
    }

    void cancelaInterrompeOLaco() {
        GeralQt g;
        QWidget outra;  // another window of the application, to be left alone
        auto* botaoDaOutra = new QPushButton("Menu", &outra);
        outra.show();
        bool outraClicada = false;
        QObject::connect(botaoDaOutra, &QPushButton::clicked, [&] { outraClicada = true; });
        QCOMPARE(rodaAteCancelar(g, [&] {
                     clicaComoPessoa(botaoDaOutra);
                     clicaComoPessoa(g.dialogo().Contador().BTNCANCELA);
                 }),
                 6);
        QVERIFY(!outraClicada);
        g.geral().CONTADOR_ENCERRA();
        g.geral().CONTADOR_INICIALIZA(2, true, "De novo");
        QVERIFY(!g.geral().FLAGINTERROMPE);
        g.geral().CONTADOR_ENCERRA();
    }

    // A wait inside a run: a window of its own, beside the run's progress,
    // whose Cancel gives the wait up.
    void esperaTemJanelaPropriaComCancela() {
        GeralQt g;
        g.geral().DefineEspera([](int) {});
        g.geral().CONTADOR_INICIALIZA(10, true, "Concatenando");
        TFRMCONTADOR& progresso = g.dialogo().Contador();
        int pausas = 0;
        bool abandonada = false;
        try {
            EsperaLimitada espera("O REGISTRO 1 DA TABELA CONVEINS.DBF ESTÁ EM USO POR OUTRO PROCESSO"_ansi, true);
            for (; pausas < 200; ++pausas) {
                espera.Pausa();
                if (pausas == 20) {
                    QList<QWidget*> janela;
                    for (QWidget* w : QApplication::allWidgets())
                        if (w->objectName() == "TFRMESPERA" && w->isVisible()) janela << w;
                    QCOMPARE(janela.size(), 1);
                    auto* aviso = janela[0]->findChild<QLabel*>(QStringLiteral("LBLAVISO"));
                    QVERIFY(aviso && aviso->isVisible());
                    QVERIFY(aviso->text().contains(QString::fromUtf8("CANCELA ENCERRA A EXECUÇÃO")));
                    QVERIFY(progresso.isVisible());
                    QCOMPARE(progresso.windowTitle(), QStringLiteral("Concatenando"));
                    QWidget* w = janela[0];
                    QTimer::singleShot(0, [w] {
                        clicaComoPessoa(w->findChild<QPushButton*>(QStringLiteral("BTNCANCELA")));
                    });
                }
            }
        } catch (const ErroEsperaAbandonada&) {
            abandonada = true;
        }
        QVERIFY(abandonada);
        QCOMPARE(pausas, 21);
        QVERIFY(progresso.isVisible());
        g.geral().CONTADOR_ENCERRA();
    }

    void cancelaSobreJanelaModal() {
        GeralQt g;
        QDialog modal;
        int passos = 0;
        QUANDO_ABRIR([&](QWidget*) {
            passos = rodaAteCancelar(g, [&] { clicaComoPessoa(g.dialogo().Contador().BTNCANCELA); });
            g.geral().CONTADOR_ENCERRA();
            modal.accept();
        });
        modal.exec();
        QCOMPARE(passos, 6);
        // The window outlives the modal one it was shown over.
        QCOMPARE(g.dialogo().Contador().parentWidget(), nullptr);
    }

    void codigoDoClienteEDataDoContrato() {
        GeralQt g;
        QUANDO_ABRIR([](QWidget* janela) {
            QTest::keyClicks(janela->findChild<QLineEdit*>("TXTCODCLI"),
                             QString::fromUtf8("AÇO123456789012345"));
            TECLA(janela, Qt::Key_Return);
        });
        QCOMPARE(g.dialogo().CodigoCliente("Retorno"), std::optional("AÇO123456789012"_ansi));
        QUANDO_ABRIR([](QWidget* janela) { TECLA(janela, Qt::Key_Escape); });
        QVERIFY(!g.dialogo().CodigoCliente("Retorno"));

        const TData dia = CodificaData(2026, 3, 10);
        QUANDO_ABRIR([](QWidget* janela) { janela->findChild<QPushButton*>("BTNOK")->click(); });
        QCOMPARE(g.dialogo().DataInicioContrato(dia), std::optional<TData>(dia));
        // Emptied: the empty date, for the run to say so and ask again.
        QUANDO_ABRIR([](QWidget* janela) {
            janela->findChild<TCOMPDATA*>("TXTDATAINI")->clear();
            janela->findChild<QPushButton*>("BTNOK")->click();
        });
        QCOMPARE(g.dialogo().DataInicioContrato(dia), std::optional<TData>(0));
    }
};

static RegistraTesteUi registro([] { return new DialogoQtTeste; });

#include "dialogo_qt_test.moc"
