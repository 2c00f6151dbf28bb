// The main window as the operator meets it: its menus and tool bar, the
// close question, a menu entry whose run this version lacks.

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>

#include "apoio_ui.h"
#include "core/dados/instalacao.h"
#include "core/geral.h"
#include "report/resumo_execucao.h"
#include "ui/core/aplicacao_qt.h"
#include "ui/core/tfrmajuda.h"
#include "ui/core/tmdientrada.h"

namespace {

QStringList legendas(const QMenu* menu) {
    QStringList r;
    for (QAction* a : menu->actions()) r << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return r;
}

}  // namespace

class TMDIENTRADATeste : public QObject {
    Q_OBJECT
    QTemporaryDir dados_;
    QString anterior_;

private slots:
    void initTestCase() {
        // The window runs the start-up check when shown: give it a data
        // directory of the current version.
        anterior_ = QDir::currentPath();
        InstalaDiretorioDeDados(dados_.path().toStdString(), true, CodificaData(2026, 12, 9));
        QDir::setCurrent(dados_.path());
    }
    void cleanupTestCase() { QDir::setCurrent(anterior_); }

    void menusEBarraDeFerramentas() {
        GeralQt g;
        TMDIENTRADA w({}, {}, {});
        QCOMPARE(w.windowTitle(),
                 QStringLiteral("Sistema Conversor de Arquivos do Banco Quor de Investimentos S.A."));
        QStringList menus;
        for (QAction* a : w.menuBar()->actions()) menus << a->text();
        QCOMPARE(menus, (QStringList{"&Arquivos", QStringLiteral("&Conversão"), "C&oncatena/Segrega",
                                     "&Especiais", "A&juda"}));
        const auto lista = w.menuBar()->actions();
        QCOMPARE(legendas(lista[0]->menu()),
                 (QStringList{"&Tabela de Clientes", "T&abela de Taxas", "&Listagem dos Clientes", "-",
                              "&Encerramento"}));
        QCOMPARE(legendas(lista[1]->menu()),
                 (QStringList{"&Arquivo Remessa - Vendor", "A&rquivo Retorno - Vendor"}));
        QCOMPARE(legendas(lista[2]->menu()), (QStringList{"&Concatena Remessas", "&Segrega Retornos"}));
        QCOMPARE(legendas(lista[3]->menu()),
                 (QStringList{"&Status do Sistema", QStringLiteral("&Instalação do Sistema"), "-",
                              "&Limpeza de Remessa Pendente", QStringLiteral("&Reorganização dos Arquivos")}));
        QCOMPARE(legendas(lista[4]->menu()), (QStringList{QStringLiteral("Í&ndice")}));
        QCOMPARE(w.Acao("bar_sobre")->statusTip(), QStringLiteral("Sobre..."));
        QCOMPARE(w.Acao("bar_encerra")->statusTip(), QStringLiteral("Encerramento"));
    }

    void perguntaAntesDeFechar() {
        GeralQt g;
        TMDIENTRADA w({}, {}, {});
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::qWait(50);  // the start-up check runs after the window is shown
        QString titulo;
        QUANDO_ABRIR([&](QWidget* janela) {
            titulo = janela->windowTitle();
            TECLA(janela, Qt::Key_Escape);  // Não
        });
        w.close();
        QCOMPARE(titulo, QStringLiteral("Confirme"));
        QVERIFY(w.isVisible());
        QUANDO_ABRIR([](QWidget* janela) { TECLA(janela, Qt::Key_Return); });  // Sim is the default
        w.close();
        QVERIFY(!w.isVisible());
    }

    void entradaSemExecucaoAvisa() {
        GeralQt g;
        TMDIENTRADA w({}, {}, {});
        QString texto;
        QUANDO_ABRIR([&](QWidget* janela) {
            if (auto* caixa = qobject_cast<QMessageBox*>(janela)) texto = caixa->text();
            TECLA(janela, Qt::Key_Return);
        });
        const int antes = g.geral().Dialogo().ErrosMostrados();
        w.Acao("mnu_concatena")->trigger();
        QVERIFY2(texto.contains(QStringLiteral("AINDA NÃO ESTÁ DISPONÍVEL")), qPrintable(texto));
        QCOMPARE(g.geral().Dialogo().ErrosMostrados(), antes + 1);
    }

    void ajudaESobre() {
        GeralQt g;
        TMDIENTRADA w({}, {}, {});
        w.Acao("mnu_indice")->trigger();
        QVERIFY(w.JanelaAjuda() && w.JanelaAjuda()->isVisible());
        const QString manual = w.JanelaAjuda()->Navegador()->toPlainText();
        QVERIFY2(manual.contains(QStringLiteral("Linha de comando")), qPrintable(manual.left(200)));
        QString texto, informativo;
        QUANDO_ABRIR([&](QWidget* janela) {
            if (auto* caixa = qobject_cast<QMessageBox*>(janela)) {
                texto = caixa->text();
                informativo = caixa->informativeText();
            }
            TECLA(janela, Qt::Key_Return);
        });
        w.Acao("bar_sobre")->trigger();
        QCOMPARE(texto, QStringLiteral("Conversor de Arquivos Quor..."));
        QCOMPARE(informativo, QStringLiteral("Versão atual: 2.20.4"));
    }

    // The segregation from the menu asks for its pass (0 offered, Esc
    // cancels, 100 refused with the command line's message, then 2 runs),
    // and ends with the summary that names the run log and opens it.
    void segregaPedeAPassadaETerminaComResumo() {
        GeralQt g;
        std::vector<int> passadas;
        SolicitacoesSistema s;
        s.SEGREGA_RETORNOS = [&](int passada) {
            passadas.push_back(passada);
            ResumoLido("arquivos retorno do banco: RC0912.020");
            ModeloRelatorio log;
            log.paginas.resize(2);
            ResumoRelatorio("ARQUIVO_RETORNO_SEGREGACAO_20261209_101500.PDF", log);
        };
        TMDIENTRADA w({}, s, {});
        QString oferecida;
        QUANDO_ABRIR([&](QWidget* janela) {
            oferecida = janela->findChild<QLineEdit*>("TXTPASSADA")->text();
            TECLA(janela, Qt::Key_Escape);
        });
        w.Acao("mnu_segregaretornos")->trigger();
        QCOMPARE(oferecida, QStringLiteral("0"));
        QVERIFY(passadas.empty());

        QString aviso, tituloResumo, textoResumo, visualizacao;
        bool continuaAberta = false;
        QUANDO_ABRIR([&](QWidget* janela) {
            auto* campo = janela->findChild<QLineEdit*>("TXTPASSADA");
            campo->selectAll();
            QTest::keyClicks(campo, "100");
            QUANDO_ABRIR([&, janela, campo](QWidget* caixa) {
                if (auto* c = qobject_cast<QMessageBox*>(caixa)) aviso = c->text();
                QUANDO_ABRIR([&, janela, campo](QWidget* deNovo) {
                    continuaAberta = deNovo == janela;
                    campo->selectAll();
                    QTest::keyClicks(campo, "2");
                    QUANDO_ABRIR([&](QWidget* resumo) {
                        tituloResumo = resumo->windowTitle();
                        if (auto* c = qobject_cast<QMessageBox*>(resumo)) textoResumo = c->text();
                        QUANDO_ABRIR([&](QWidget* previa) {
                            visualizacao = previa->metaObject()->className();
                            TECLA(previa, Qt::Key_Escape);
                        });
                        QTest::mouseClick(resumo->findChild<QPushButton*>("BTNVISUALIZA"), Qt::LeftButton);
                    });
                    TECLA(deNovo, Qt::Key_Return);
                });
                TECLA(caixa, Qt::Key_Return);
            });
            TECLA(janela, Qt::Key_Return);
        });
        w.Acao("mnu_segregaretornos")->trigger();
        QCOMPARE(aviso, QStringLiteral("NÚMERO DA PASSADA INFORMADO PARA SEGREGACAO NÃO ESTÁ PREVISTA.\n"
                                       "Deverá estar entre o intervalo de 0 a 99."));
        QVERIFY(continuaAberta);
        QCOMPARE(passadas, std::vector<int>{2});
        QCOMPARE(tituloResumo, QStringLiteral("Segrega Retornos - Passada 2"));
        QVERIFY2(textoResumo.contains("RC0912.020") &&
                     textoResumo.contains("ARQUIVO_RETORNO_SEGREGACAO_20261209_101500.PDF"),
                 qPrintable(textoResumo));
        QCOMPARE(visualizacao, QStringLiteral("TFRMVISUALIZA"));
        QVERIFY(w.findChild<QLabel*>("STBPRINCIPAL_0")->text().contains("ARQUIVO_RETORNO_SEGREGACAO"));
    }

    // Qt's own texts come in Portuguese, and a field refuses at once what
    // the files cannot hold (the euro sign they can).
    void traducoesECaracteresForaDoPadrao() {
        QVERIFY2(InstalaTraducoesQt(*qApp), "qtbase_pt_BR ausente (pacote qt6-translations-l10n)");
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancelar"));
        GeralQt g;
        InstalaFiltroDeCaracteres(*qApp);
        QLineEdit campo;
        campo.show();
        QString aviso;
        QUANDO_ABRIR([&](QWidget* janela) {
            if (auto* caixa = qobject_cast<QMessageBox*>(janela)) aviso = caixa->text();
            TECLA(janela, Qt::Key_Return);
        });
        QKeyEvent euro(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("€"));
        QApplication::sendEvent(&campo, &euro);
        QKeyEvent rupia(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("₹"));
        QApplication::sendEvent(&campo, &rupia);
        QCOMPARE(campo.text(), QString::fromUtf8("€"));
        QVERIFY2(aviso.startsWith(QStringLiteral("CARACTERE NÃO PERMITIDO (U+20B9)")), qPrintable(aviso));
    }

    void entradaComExecucaoRodaEFechaTabelas() {
        GeralQt g;
        bool rodou = false;
        SolicitacoesSistema s;
        s.VEN_CONVREMESSA = [&](const std::string& codigo, bool linha) {
            rodou = codigo.empty() && !linha;
            throw std::runtime_error("falha de teste");  // reaches the standard error box
        };
        TMDIENTRADA w({}, s, {});
        QString titulo;
        QUANDO_ABRIR([&](QWidget* janela) {
            titulo = janela->windowTitle();
            TECLA(janela, Qt::Key_Return);
        });
        w.Acao("mnu_arquivoremessa")->trigger();
        QVERIFY(rodou);
        QCOMPARE(titulo, QStringLiteral("Conversor de Arquivo"));
    }
};

static RegistraTesteUi registro([] { return new TMDIENTRADATeste; });
#include "tmdientrada_test.moc"
