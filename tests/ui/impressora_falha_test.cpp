// A report sent to a printer that cannot take it: the printer's message,
// never the box of a finished report, and the pages offered on the screen
// or in a PDF file instead.

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "apoio_ui.h"
#include "report/motor_relatorio.h"
#include "report/toprint.h"
#include "ui/report/motor_relatorio_qt.h"

namespace {

// Prints nothing; the preview is only counted.
class ImpressoraQueFalha : public MotorRelatorioQt {
public:
    int previas = 0;
    bool Fecha(const ModeloRelatorio& modelo) override {
        if (!modelo.visualizar) return false;
        ++previas;
        return true;
    }
};

// Answers every box that opens while `vigia` lives, keeping its text: the
// second one (the choice) with the button `escolha`, every other with Enter.
void respondeEmOrdem(QObject& vigia, QStringList& textos, const char* escolha) {
    auto* relogio = new QTimer(&vigia);
    relogio->setInterval(10);
    QObject::connect(relogio, &QTimer::timeout, [&textos, escolha] {
        QWidget* janela = QApplication::activeModalWidget();
        if (!janela || janela->property("respondida").toBool()) return;
        janela->setProperty("respondida", true);
        auto* caixa = qobject_cast<QMessageBox*>(janela);
        textos << (caixa ? caixa->text() : janela->windowTitle());
        auto* botao = janela->findChild<QPushButton*>(QString::fromLatin1(escolha));
        if (textos.size() == 2 && botao) QTest::mouseClick(botao, Qt::LeftButton);
        else TECLA(janela, Qt::Key_Return);
    });
    relogio->start();
}

void imprimeUmaPagina() {
    QVERIFY(IMP_PREPARA("LISTAGEM DE TESTE", {}));  // no description: straight to the printer
    oPRINT->IMPINICIALIZA(-1, "", false);
    oPRINT->INCLINHA(1);
    oPRINT->CHARSAY(1, "UMA LINHA");
    EJECT(krDUAS_MENSAGENS);
}

}  // namespace

class ImpressoraFalhaTeste : public QObject {
    Q_OBJECT
    QTemporaryDir dados_;
    QString anterior_;
    ImpressoraQueFalha* motor_ = nullptr;
    std::unique_ptr<MotorRelatorio> motorAnterior_;

private slots:
    void init() {
        anterior_ = QDir::currentPath();
        QDir::setCurrent(dados_.path());
        auto motor = std::make_unique<ImpressoraQueFalha>();
        motor_ = motor.get();
        motorAnterior_ = InstalaMotorDeRelatorio(std::move(motor));
    }
    void cleanup() {
        InstalaMotorDeRelatorio(std::move(motorAnterior_));
        for (const QString& f : QDir(dados_.path()).entryList(QDir::Files)) QFile::remove(dados_.filePath(f));
        QDir::setCurrent(anterior_);
    }

    void falhaDaImpressoraOfereceOPdf() {
        GeralQt g;
        QStringList textos;
        QObject vigia;
        respondeEmOrdem(vigia, textos, "BTNPDF");
        imprimeUmaPagina();
        QVERIFY2(textos.size() == 3, qPrintable(textos.join(" | ")));
        QVERIFY(textos[0].startsWith(QStringLiteral("A IMPRESSORA INFORMADA")));
        QVERIFY(!textos.join(" ").contains(QStringLiteral("Emissão do Relatório já concluida.")));
        const QStringList pdfs = QDir(dados_.path()).entryList({"LISTAGEM_DE_TESTE_*.PDF"});
        QCOMPARE(pdfs.size(), 1);
        QVERIFY(textos[2].contains(pdfs.front()));
        QCOMPARE(motor_->previas, 0);
    }

    void falhaDaImpressoraOfereceOVideo() {
        GeralQt g;
        QStringList textos;
        QObject vigia;
        respondeEmOrdem(vigia, textos, "BTNVIDEO");
        imprimeUmaPagina();
        QCOMPARE(textos.size(), 2);  // the message and the choice, no more
        QCOMPARE(motor_->previas, 1);
        QVERIFY(QDir(dados_.path()).entryList(QDir::Files).isEmpty());
    }
};

static RegistraTesteUi registro([] { return new ImpressoraFalhaTeste; });
#include "impressora_falha_test.moc"
