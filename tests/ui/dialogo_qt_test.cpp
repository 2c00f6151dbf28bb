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
#include "core/ansi.h"
#include "core/geral.h"
#include "ui/core/componentes_entrada.h"
#include "ui/core/dialogo_qt.h"
#include "ui/core/qt_texto.h"
#include "ui/core/tfrmcontador.h"

namespace {

struct CaixaVista {
    QString titulo;
    QMessageBox::Icon icone = QMessageBox::NoIcon;
    QString texto;
    QStringList botoes;
    QString padrao;
    Qt::CursorShape cursor = Qt::BitmapCursor;
};

// Notes what the box looks like, then presses `tecla`.
void responde(CaixaVista& vista, Qt::Key tecla) {
    QUANDO_ABRIR([&vista, tecla](QWidget* janela) {
        auto* caixa = qobject_cast<QMessageBox*>(janela);
        if (!caixa) return;
        vista.titulo = caixa->windowTitle();
        vista.icone = caixa->icon();
        vista.texto = caixa->text();
        for (QAbstractButton* b : caixa->buttons()) vista.botoes << b->text();
        if (caixa->defaultButton()) vista.padrao = caixa->defaultButton()->text();
        if (const QCursor* c = QApplication::overrideCursor()) vista.cursor = c->shape();
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
    void perguntaEnterRespondeOBotaoPadrao_data() {
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("tituloDaCaixa");
        QTest::addColumn<QString>("padrao");
        QTest::addColumn<bool>("resposta");
        const QString pos = QString::fromUtf8("Posicionamento do Formulário");
        QTest::newRow("S_") << "S_" + pos << pos << "Sim" << true;
        QTest::newRow("N_") << "N_" + pos << pos << QString::fromUtf8("Não") << false;
        QTest::newRow("N") << "N" << "Confirme" << QString::fromUtf8("Não") << false;
        QTest::newRow("outro") << "Confirma Leitura ? " << "Confirma Leitura ? " << "Sim" << true;
    }
    void perguntaEnterRespondeOBotaoPadrao() {
        QFETCH(QString, titulo);
        QFETCH(QString, tituloDaCaixa);
        QFETCH(QString, padrao);
        QFETCH(bool, resposta);
        GeralQt g;
        CaixaVista vista;
        responde(vista, Qt::Key_Return);
        QCOMPARE(OBR_CONFIRMA("Confirma?", QT_PARA_ANSI(titulo)), resposta);
        QCOMPARE(vista.titulo, tituloDaCaixa);
        QCOMPARE(vista.icone, QMessageBox::Question);
        QCOMPARE(vista.botoes, (QStringList{"Sim", QString::fromUtf8("Não")}));
        QCOMPARE(vista.padrao, padrao);
    }

    void perguntaEscapeRespondeNao() {
        GeralQt g;
        CaixaVista vista;
        responde(vista, Qt::Key_Escape);
        QVERIFY(!OBR_CONFIRMA("Confirma?", "S"));
        QCOMPARE(vista.padrao, QStringLiteral("Sim"));
    }

    void mensagemTituloEIconePorTipo() {
        GeralQt g;
        CaixaVista sucesso, erro, titulada;
        responde(sucesso, Qt::Key_Return);
        g.geral().MENSAGEM("ARQUIVO GRAVADO.\r\nTOTAL: 3", somSUCESSO);
        QCOMPARE(sucesso.titulo, QStringLiteral("Aviso..."));
        QCOMPARE(sucesso.icone, QMessageBox::Information);
        QCOMPARE(sucesso.texto, QStringLiteral("ARQUIVO GRAVADO.\nTOTAL: 3"));
        QCOMPARE(sucesso.botoes.size(), 1);

        responde(erro, Qt::Key_Return);
        g.geral().MENSAGEM("CLIENTE NÃO CADASTRADO."_ansi, somERRO);
        QCOMPARE(erro.titulo, QString::fromUtf8("Atenção..."));
        QCOMPARE(erro.icone, QMessageBox::Warning);
        QCOMPARE(erro.texto, QString::fromUtf8("CLIENTE NÃO CADASTRADO."));

        responde(titulada, Qt::Key_Escape);
        g.geral().MENSAGEM("<b>A</b>", somFINALIZA, "Fim");
        QCOMPARE(titulada.titulo, QStringLiteral("Fim"));
        QCOMPARE(titulada.icone, QMessageBox::Information);
        QCOMPARE(g.dialogo().ErrosMostrados(), 1);
    }

    void cursorDeEsperaEquilibrado() {
        GeralQt g;
        g.geral().CURSORESPERA();
        g.geral().CURSORESPERA();
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        // A box over a busy run shows the arrow, and the hourglass comes back.
        CaixaVista vista;
        responde(vista, Qt::Key_Return);
        g.geral().MENSAGEM("X", somSUCESSO);
        QCOMPARE(vista.cursor, Qt::ArrowCursor);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        g.geral().CURSORDEFAULT();
        QVERIFY(QApplication::overrideCursor() == nullptr);
        g.geral().CURSORDEFAULT();
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void contadorMostraOEstadoDoMotor() {
        GeralQt g;
        TFRMCONTADOR& janela = g.dialogo().Contador();
        QCOMPARE(janela.size(), QSize(505, 65));
        QCOMPARE(janela.PRBBARRA->toolTip(),
                 QString::fromUtf8("Apresenta o andamento da função solicitada...."));
        QCOMPARE(janela.LBLPROGRESSO->text(), QStringLiteral("0%"));
        QVERIFY(!(janela.windowFlags() & Qt::WindowCloseButtonHint));

        g.geral().CONTADOR_INICIALIZA(3, false, "Listagem dos Clientes");
        QVERIFY(janela.isVisible());
        QVERIFY(!janela.isModal());
        QVERIFY(janela.BTNCANCELA->isHidden());
        QCOMPARE(janela.windowTitle(), QStringLiteral("Listagem dos Clientes"));
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        g.geral().CONTADOR_SO_CONTA();
        QCOMPARE(janela.LBLPROGRESSO->text(), QStringLiteral("33%"));
        QCOMPARE(janela.PRBBARRA->value(), 1);
        QCOMPARE(janela.PRBBARRA->maximum(), 3);
        QVERIFY(janela.PRBBARRA->hasFocus());
        g.geral().CONTADOR_SO_CONTA();
        QCOMPARE(janela.LBLPROGRESSO->text(), QStringLiteral("67%"));
        g.geral().CONTADOR_ENCERRA();
        QVERIFY(!janela.isVisible());
        QVERIFY(QApplication::overrideCursor() == nullptr);

        // Total 0: the steps are counted, the bar and the label stay.
        g.geral().CONTADOR_INICIALIZA(0, true, "Zero");
        QVERIFY(janela.BTNCANCELA->isVisible());
        QCOMPARE(janela.LBLPROGRESSO->text(), QStringLiteral("67%"));
        g.geral().CONTADOR_SO_CONTA();
        g.geral().CONTADOR_SO_CONTA();
        QCOMPARE(g.geral().Contador().KTOTALGERAL, 2);
        QCOMPARE(janela.PRBBARRA->value(), 0);
        QCOMPARE(janela.LBLPROGRESSO->text(), QStringLiteral("67%"));
        // Closing it from the keyboard while the run goes on does nothing.
        janela.close();
        QVERIFY(janela.isVisible());
        g.geral().CONTADOR_ENCERRA();
        QVERIFY(!janela.isVisible());
    }

    void cancelaInterrompeOLaco() {
        GeralQt g;
        TFRMCONTADOR& janela = g.dialogo().Contador();
        QWidget outra;  // another window of the application, to be left alone
        auto* botaoDaOutra = new QPushButton("Menu", &outra);
        outra.show();
        bool outraClicada = false;
        QObject::connect(botaoDaOutra, &QPushButton::clicked, [&] { outraClicada = true; });

        const int passos = rodaAteCancelar(g, [&] {
            clicaComoPessoa(botaoDaOutra);
            clicaComoPessoa(janela.BTNCANCELA);
        });
        QCOMPARE(passos, 6);
        QVERIFY(!outraClicada);
        g.geral().CONTADOR_ENCERRA();
        QVERIFY(g.geral().FLAGINTERROMPE);  // until the next counter starts
        g.geral().CONTADOR_INICIALIZA(2, true, "De novo");
        QVERIFY(!g.geral().FLAGINTERROMPE);
        g.geral().CONTADOR_SO_CONTA();
        QVERIFY(!g.geral().FLAGINTERROMPE);
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
        g.dialogo().Contador();
        QCOMPARE(g.dialogo().Contador().parentWidget(), nullptr);
    }

    void codigoDoCliente() {
        GeralQt g;
        QUANDO_ABRIR([](QWidget* janela) {
            auto* campo = janela->findChild<QLineEdit*>("TXTCODCLI");
            QTest::keyClicks(campo, QString::fromUtf8("AÇO123456789012345"));
            TECLA(janela, Qt::Key_Return);
        });
        const auto codigo = g.dialogo().CodigoCliente("Leitura do Arquivo Retorno de Vendor");
        QVERIFY(codigo.has_value());
        QCOMPARE(*codigo, "AÇO123456789012"_ansi);  // 15 characters at most

        QUANDO_ABRIR([](QWidget* janela) { TECLA(janela, Qt::Key_Escape); });
        QVERIFY(!g.dialogo().CodigoCliente("X").has_value());
    }

    void dataDeInicioDoContrato() {
        GeralQt g;
        const TData dia = DATA_CODIFICA(2026, 3, 10);
        QUANDO_ABRIR([](QWidget* janela) { janela->findChild<QPushButton*>("BTNOK")->click(); });
        QCOMPARE(g.dialogo().DataInicioContrato(dia), std::optional<TData>(dia));

        // Emptied: the empty date, for the run to say so and ask again.
        QUANDO_ABRIR([](QWidget* janela) {
            janela->findChild<TCOMPDATA*>("TXTDATAINI")->clear();
            janela->findChild<QPushButton*>("BTNOK")->click();
        });
        QCOMPARE(g.dialogo().DataInicioContrato(dia), std::optional<TData>(0));

        QUANDO_ABRIR([](QWidget* janela) { janela->findChild<QPushButton*>("BTNCANCELA")->click(); });
        QVERIFY(!g.dialogo().DataInicioContrato(dia).has_value());
    }

    void destinoDoRelatorioAindaCancela() {
        GeralQt g;
        QCOMPARE(g.dialogo().DestinoRelatorio("Listagem", {}), dstCANCELA);
    }
};

static RegistraTesteUi registro([] { return new DialogoQtTeste; });

#include "dialogo_qt_test.moc"
