// The register and housekeeping windows as the operator uses them: a client
// typed in through its detail window, an alteration, a refused deletion, a
// rate seen in the grid, the installation settings and the status.

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "apoio_ui.h"
#include "core/dados/instalacao.h"
#include "core/dados/tdmquor.h"
#include "core/geral.h"
#include "ui/core/componentes_entrada.h"
#include "ui/core/qt_texto.h"
#include "ui/registers/tfrmclimanut.h"
#include "ui/registers/tfrmdetalhe.h"
#include "ui/registers/tfrmtaxmanut.h"
#include "ui/routing/tfrminssistema.h"

namespace {

template <typename T = QWidget>
T* controle(QWidget* janela, const char* nome) {
    T* w = janela->findChild<T*>(QString::fromLatin1(nome));
    if (!w) qFatal("controle %s ausente", nome);
    return w;
}

// A window that has just opened may not be the active one yet on a busy
// machine; until it is, moving the focus between its fields does nothing.
// A person types into the window in front. Activation is asynchronous and,
// on a loaded machine, can come after the first keys: then no focus change
// reaches the fields and a typed value is never taken. So the window is made
// active here and now when the platform has not done it yet.
void ativa(QWidget* janela) {
    janela->activateWindow();
    if (!QTest::qWaitForWindowActive(janela, 2000)) QApplication::setActiveWindow(janela);
}

// Tab into a field and type, as a person does.
void digita(QWidget* janela, const char* nome, const QString& teclas) {
    if (QApplication::activeWindow() != janela->window()) ativa(janela->window());
    QWidget* campo = controle(janela, nome);
    campo->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    QTest::keyClicks(campo, teclas);
}

void clica(QWidget* janela, const char* nome) {
    // The click moves the focus, and a field's exit handling (which takes
    // its typed value) runs only in the active window.
    if (QApplication::activeWindow() != janela->window()) ativa(janela->window());
    QTest::mouseClick(controle(janela, nome), Qt::LeftButton);
}

// The text of a message box, answered with Enter, if one opens within a
// second and a half; other windows are left alone. The watch ends with
// `vigia`, so that it never outlives the test's variables.
void respondeCaixa(QObject& vigia, QString& texto) {
    auto* relogio = new QTimer(&vigia);
    auto tentativas = std::make_shared<int>(0);
    relogio->setInterval(10);
    QObject::connect(relogio, &QTimer::timeout, [relogio, tentativas, &texto] {
        auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!caixa && ++*tentativas < 150) return;
        relogio->stop();
        relogio->deleteLater();
        if (!caixa) return;
        texto = caixa->text();
        TECLA(caixa, Qt::Key_Return);
    });
    relogio->start();
}

// Names of the controls the Tab key visits from `inicio`, `n` of them.
QStringList ordemTab(QWidget* inicio, int n) {
    QStringList nomes;
    QWidget* w = inicio;
    while (nomes.size() < n) {
        if (w->focusPolicy() & Qt::TabFocus) nomes << w->objectName();
        w = w->nextInFocusChain();
        if (w == inicio) break;
    }
    return nomes;
}

// Clicks the radio button of that caption, on its indicator.
void escolhe(QWidget* janela, const QString& legenda) {
    for (QRadioButton* b : janela->findChildren<QRadioButton*>())
        if (b->text() == legenda) QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
}

QString celula(QWidget* janela, int linha, int coluna) {
    const QTableWidgetItem* item = controle<QTableWidget>(janela, "GRDTABELA")->item(linha, coluna);
    return item ? item->text() : QString();
}

}  // namespace

class CadastrosTeste : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dados_;
    QString anterior_;

    void incluiCliente(const char* codigo, const char* tipo) {
        Tabela& cli = DMQUOR().TBCONVECLI;
        cli.Open();
        cli.Append();
        cli.FieldByName("CODCLI").SetAsString(codigo);
        cli.FieldByName("TIPOEMP").SetAsString(tipo);
        cli.FieldByName("NOMEEMP").SetAsString(std::string("EMPRESA ") + codigo);
        cli.Post();
        cli.Close();
    }

private slots:
    void init() {
        anterior_ = QDir::currentPath();
        dados_ = std::make_unique<QTemporaryDir>();
        InstalaDiretorioDeDados(dados_->path().toStdString(), false, CodificaData(2026, 3, 15));
        QDir::setCurrent(dados_->path());
    }
    void cleanup() {
        DMQUOR().FechaTodas();
        QDir::setCurrent(anterior_);
        dados_.reset();
    }

    void incluiCobranca400PeloDetalhamento() {
        GeralQt g;
        QStringList ordem;
        QString aviso, linha, reaberta;
        QObject vigia;
        QUANDO_ABRIR([&](QWidget* lista) {
            QUANDO_ABRIR([&](QWidget* incalt) {
                ativa(incalt);
                digita(incalt, "TXTCODCLI", "BETA400");
                digita(incalt, "TXTNOMEEMP", "BETA COMERCIO");
                escolhe(incalt, QStringLiteral("Cobrança 400"));
                QUANDO_ABRIR([&](QWidget* detalhe) {
                    ativa(detalhe);
                    ordem = ordemTab(controle(detalhe, "TXTHEAINI1"), 8);
                    digita(detalhe, "TXTARQREMCLI", "BETAREM");
                    digita(detalhe, "TXTARQRETCLI", "BETARET");
                    // The default positions are there; their texts are typed.
                    digita(detalhe, "TXTHEAANT1", "00000000001");  // 36 to 46
                    digita(detalhe, "TXTHEANOV1", "99999999999");
                    digita(detalhe, "TXTHEAANT2", "237");  // 77 to 79
                    digita(detalhe, "TXTHEANOV2", "341");
                    digita(detalhe, "TXTDETANT1", "ABCDEFGHIJKLMNOPQR");  // 20 to 37
                    digita(detalhe, "TXTDETNOV1", "RQPONMLKJIHGFEDCBA");
                    // The second detail rule is not wanted: its positions go.
                    digita(detalhe, "TXTDETINI2", "0");
                    digita(detalhe, "TXTDETFIN2", "0");
                    respondeCaixa(vigia, aviso);  // only if something is refused
                    clica(detalhe, "BTNOK");
                    if (detalhe->isVisible()) clica(detalhe, "BTNCANCELA");
                });
                clica(incalt, "BTNDETALHA");
                // Opened again in the same insertion, the detail window
                // shows the rules as they were confirmed.
                QUANDO_ABRIR([&](QWidget* detalhe) {
                    ativa(detalhe);
                    reaberta = controle<QLineEdit>(detalhe, "TXTHEAANT1")->text() + "|" +
                               controle<QLineEdit>(detalhe, "TXTDETNOV1")->text();
                    clica(detalhe, "BTNCANCELA");
                });
                clica(incalt, "BTNDETALHA");
                respondeCaixa(vigia, aviso);
                clica(incalt, "BTNOK");
                if (incalt->isVisible()) clica(incalt, "BTNCANCELA");
            });
            clica(lista, "BTNNOVO");
            linha = celula(lista, 0, 0) + "|" + celula(lista, 0, 1);
            clica(lista, "BTNSAIDA");
        });
        AbreManutencaoDeClientes();
        QVERIFY2(aviso.isEmpty(), qPrintable(aviso));
        QCOMPARE(linha, QStringLiteral("BETA400|C"));
        QCOMPARE(reaberta, QStringLiteral("00000000001|RQPONMLKJIHGFEDCBA"));
        QCOMPARE(ordem, (QStringList{"TXTHEAINI1", "TXTHEAFIN1", "TXTHEAANT1", "TXTHEANOV1",
                                     "TXTHEAINI2", "TXTHEAFIN2", "TXTHEAANT2", "TXTHEANOV2"}));

        Tabela& cli = DMQUOR().TBCONVECLI;
        cli.Open();
        QVERIFY(cli.Locate("CODCLI", {"BETA400"}));
        QCOMPARE(QString::fromLatin1(cli.FieldByName("ARQRETCLI").AsString()), QStringLiteral("BETARET"));
        const auto regra = [&](const char* campo) {
            return QString::fromLatin1(std::string(cli.FieldByName(campo).Bruto()));
        };
        QCOMPARE(regra("CONHEACP1"), " 36 4600000000001" + QString(19, ' ') + "99999999999" + QString(19, ' '));
        QCOMPARE(regra("CONHEACP2"), " 77 79237" + QString(27, ' ') + "341" + QString(27, ' '));
        QCOMPARE(regra("CONDETCP1").left(24), QStringLiteral(" 20 37ABCDEFGHIJKLMNOPQR"));
        QCOMPARE(regra("CONDETCP2"), "  0  0" + QString(60, ' '));
        cli.Close();
    }

    void alteracaoMantemOCodigoEDetalheRecusaSemCodigo() {
        incluiCliente("ACME", "C");
        GeralQt g;
        bool habilitado = true;
        QString codigo, aviso;
        bool detalheAberto = false;
        QObject vigia;
        QUANDO_ABRIR([&](QWidget* lista) {
            QUANDO_ABRIR([&](QWidget* incalt) {
                ativa(incalt);
                habilitado = controle(incalt, "TXTCODCLI")->isEnabled();
                codigo = controle<QLineEdit>(incalt, "TXTCODCLI")->text();
                clica(incalt, "BTNCANCELA");
            });
            clica(lista, "BTNALTERA");
            // A new client with no code: the detail window refuses its OK and
            // stays open until cancelled.
            QUANDO_ABRIR([&](QWidget* incalt) {
                ativa(incalt);
                escolhe(incalt, QStringLiteral("1) Cofap"));
                QUANDO_ABRIR([&](QWidget* detalhe) {
                    ativa(detalhe);
                    // Everything the Cofap window asks for but the code.
                    digita(detalhe, "TXTNUMPROGOP", "12");
                    digita(detalhe, "TXTATIVICLI", "3");
                    digita(detalhe, "TXTNUMCONV", "123");
                    digita(detalhe, "TXTAGEFOR", "0001");
                    respondeCaixa(vigia, aviso);
                    clica(detalhe, "BTNOK");
                    detalheAberto = detalhe->isVisible();
                    clica(detalhe, "BTNCANCELA");
                });
                clica(incalt, "BTNDETALHA");
                clica(incalt, "BTNCANCELA");
            });
            clica(lista, "BTNNOVO");
            clica(lista, "BTNSAIDA");
        });
        AbreManutencaoDeClientes();
        QVERIFY(!habilitado);
        QCOMPARE(codigo, QStringLiteral("ACME"));
        QCOMPARE(aviso, QStringLiteral("CÓDIGO DO CLIENTE NÃO FOI INFORMADO."));
        QVERIFY(detalheAberto);
        DMQUOR().TBCONVECLI.Open();
        QCOMPARE(DMQUOR().TBCONVECLI.RecordCount(), 1L);
    }

    void exclusaoRecusadaComRemessasPendentes() {
        incluiCliente("ACME", "1");
        incluiCliente("ZETA", "C");
        Tabela& pen = DMQUOR().TBCONVEPEN;
        pen.Open();
        pen.Append();
        pen.FieldByName("CODCLI").SetAsString("ACME");
        pen.FieldByName("NUMPED").SetAsString("1");
        pen.Post();
        pen.Close();
        GeralQt g;
        QString aviso, pergunta;
        int linhas = 0;
        QObject vigia;
        QUANDO_ABRIR([&](QWidget* lista) {
            respondeCaixa(vigia, aviso);
            clica(lista, "BTNEXCLUI");  // ACME, the first row
            // ZETA: the question's default is Não.
            controle<QTableWidget>(lista, "GRDTABELA")->selectRow(1);
            QUANDO_ABRIR([&](QWidget* caixa) {
                pergunta = caixa->windowTitle();
                TECLA(caixa, Qt::Key_Return);
            });
            clica(lista, "BTNEXCLUI");
            linhas = controle<QTableWidget>(lista, "GRDTABELA")->rowCount();
            clica(lista, "BTNSAIDA");
        });
        AbreManutencaoDeClientes();
        QCOMPARE(aviso, QStringLiteral("CLIENTE COM REMESSAS PENDENTES DE RETORNO. NÃO PODE SER EXCLUÍDO."));
        QCOMPARE(pergunta, QStringLiteral("Cliente : ZETA"));
        QCOMPARE(linhas, 2);
    }

    void taxaIncluidaApareceFormatadaNaGradeEDataApagadaERecusada() {
        GeralQt g;
        QString aviso, recusa, foco, fim;
        bool aberta = false;
        QStringList linha;
        QObject vigia;
        auto inclusao = std::make_unique<QObject>();  // watches the insertion only
        QUANDO_ABRIR([&](QWidget* lista) {
            QUANDO_ABRIR([&](QWidget* incalt) {
                ativa(incalt);
                digita(incalt, "TXTDATINITAX", "01012019");
                digita(incalt, "TXTPRODTAX", "A");
                digita(incalt, "TXTDIASTAX", "30");
                digita(incalt, "TXTDATFINTAX", "31122019");
                digita(incalt, "TXTTAXABAN", "1.5");  // the thousands mark read as decimal
                digita(incalt, "TXTTAXAFOR", "2,25");
                respondeCaixa(*inclusao, aviso);
                clica(incalt, "BTNOK");
            });
            clica(lista, "BTNNOVO");
            for (int c = 0; c < 6; ++c) linha << celula(lista, 0, c);
            inclusao.reset();
            // The end date erased and OK: refused, the focus on the empty
            // date, nothing saved.
            QUANDO_ABRIR([&](QWidget* incalt) {
                ativa(incalt);
                digita(incalt, "TXTDATFINTAX", "");
                controle<QLineEdit>(incalt, "TXTDATFINTAX")->clear();
                respondeCaixa(vigia, recusa);
                clica(incalt, "BTNOK");
                aberta = incalt->isVisible();
                foco = incalt->focusWidget() ? incalt->focusWidget()->objectName() : QString();
                clica(incalt, "BTNCANCELA");
            });
            clica(lista, "BTNALTERA");
            fim = celula(lista, 0, 1);
            clica(lista, "BTNSAIDA");
        });
        AbreManutencaoDeTaxas();
        QVERIFY2(aviso.isEmpty(), qPrintable(aviso));
        QCOMPARE(linha, (QStringList{"01/01/2019", "31/12/2019", "A", " 30", "    1,500000",
                                     "    2,250000"}));
        QCOMPARE(recusa, QStringLiteral("DIA FINAL DO PERÍODO NÃO FOI INFORMADO."));
        QVERIFY(aberta);
        QCOMPARE(foco, QStringLiteral("TXTDATFINTAX"));
        QCOMPARE(fim, QStringLiteral("31/12/2019"));
    }

    void instalacaoRecusaEGravaEStatusMostra() {
        GeralQt g;
        QString aviso;
        QObject vigia;
        QUANDO_ABRIR([&](QWidget* janela) {
            ativa(janela);
            controle<QLineEdit>(janela, "TXTARQREMV24")->clear();
            digita(janela, "TXTSEQREMV24", "5");
            respondeCaixa(vigia, aviso);
            clica(janela, "BTNOK");
            QVERIFY(janela->isVisible());
            // Back to the window once the box is gone, as a window manager does.
            ativa(janela);
            digita(janela, "TXTSEQREMV24", "0");
            digita(janela, "TXTPRAZOPEN", "45");
            clica(janela, "BTNOK");
        });
        AbreInstalacaoDoSistema();
        QCOMPARE(aviso, QStringLiteral("INFORMADO \"Último lido\" PARA VENDOR 240 SEM O NOME DO ARQUIVO."));

        QString prazo, totais;
        QUANDO_ABRIR([&](QWidget* janela) {
            ativa(janela);
            prazo = controle<QLabel>(janela, "LBLPRAZOPEN")->text();
            totais = controle<QLabel>(janela, "LBLTOTCLI")->text() + "|" +
                     controle<QLabel>(janela, "LBLTOTPEN")->text();
            TECLA(janela, Qt::Key_Return);
        });
        AbreStatusDoSistema();
        QCOMPARE(prazo, QStringLiteral("45"));
        QCOMPARE(totais, QStringLiteral("   0|   0"));
    }
};

static RegistraTesteUi registro([] { return new CadastrosTeste; });
#include "cadastros_test.moc"
