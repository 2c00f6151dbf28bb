#include "ui/report/tfrmimptestaimp.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "report/motor_relatorio.h"
#include "ui/core/qt_texto.h"

TFRMIMPTESTAIMP::TFRMIMPTESTAIMP(QWidget* pai) : QDialog(pai) {
    setObjectName(QStringLiteral("FRMIMPTESTAIMP"));
    setModal(true);

    auto* grpImpressora = new QGroupBox(QStringLiteral("Impressora utilizada :"), this);
    LBLIMPRESSORA = new QLabel(grpImpressora);
    LBLIMPRESSORA->setObjectName(QStringLiteral("LBLIMPRESSORA"));
    LBLIMPRESSORAS = new QLabel(grpImpressora);
    LBLIMPRESSORAS->setObjectName(QStringLiteral("LBLIMPRESSORAS"));
    LBLIMPRESSORAS->setWordWrap(true);
    LBLIMPRESSORAS->hide();
    auto* layoutImpressora = new QVBoxLayout(grpImpressora);
    layoutImpressora->addWidget(LBLIMPRESSORA);
    layoutImpressora->addWidget(LBLIMPRESSORAS);

    auto* grpDescricao = new QGroupBox(QStringLiteral("Descrição do relatório"), this);
    LBXTEXTO = new QListWidget(grpDescricao);
    LBXTEXTO->setObjectName(QStringLiteral("LBXTEXTO"));
    LBXTEXTO->setSelectionMode(QAbstractItemView::NoSelection);
    (new QVBoxLayout(grpDescricao))->addWidget(LBXTEXTO);

    auto botao = [this](const char* nome, const QString& texto, const QString& dica) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(QString::fromLatin1(nome));
        b->setToolTip(dica);
        return b;
    };
    BTNIMPRESSORA = botao("BTNIMPRESSORA", QStringLiteral("&Impressora"),
                          QStringLiteral(" Direciona a emissão diretamente para a impressora "));
    BTNVIDEO = botao("BTNVIDEO", QStringLiteral(" &Video"),
                     QStringLiteral(" Direciona a emissão para o Video "));
    BTNSETUP = botao("BTNSETUP", QStringLiteral("&Setup"), QStringLiteral(" Setup da Impressora "));
    BTNCANCELA = botao("BTNCANCELA", QStringLiteral("&Cancela"),
                       QStringLiteral(" Abandona a emissão solicitada "));

    connect(BTNIMPRESSORA, &QPushButton::clicked, this, [this] { escolhe(false); });
    connect(BTNVIDEO, &QPushButton::clicked, this, [this] { escolhe(true); });
    connect(BTNSETUP, &QPushButton::clicked, this, [this] {
        IMP_SETUPIMPRESSORA();
        MostraImpressora();
    });
    // Escape reaches reject() through QDialog, like this button.
    connect(BTNCANCELA, &QPushButton::clicked, this, &QDialog::reject);

    auto* botoes = new QHBoxLayout;
    for (QPushButton* b : {BTNIMPRESSORA, BTNVIDEO, BTNSETUP, BTNCANCELA}) botoes->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grpImpressora);
    layout->addWidget(grpDescricao, 1);
    layout->addLayout(botoes);
    resize(520, 320);
    BTNIMPRESSORA->setFocus();
}

void TFRMIMPTESTAIMP::MostraImpressora() {
    QString texto = QStringLiteral("Modelo : Gráfica");
    const std::string atual =
        MotorDeRelatorioAtual() ? MotorDeRelatorioAtual()->ImpressoraAtual() : std::string();
    if (!atual.empty()) texto += QStringLiteral("  -  Padrão : ") + QtDeAnsi(atual);
    LBLIMPRESSORA->setText(texto);
    LBLIMPRESSORA->setToolTip(texto);
    // Which printers the system has, so the operator knows what Setup offers.
    QStringList nomes;
    if (MotorDeRelatorioAtual())
        for (const std::string& n : MotorDeRelatorioAtual()->NomesDasImpressoras()) nomes << QtDeAnsi(n);
    LBLIMPRESSORAS->setText(QStringLiteral("Impressoras do sistema : ") + nomes.join(QStringLiteral(", ")));
    LBLIMPRESSORAS->setVisible(!nomes.isEmpty());
}

void TFRMIMPTESTAIMP::escolhe(bool video) {
    KDEVICEUSUARIO = krIMPRES;
    KISIMPnoVIDEO = video;
    accept();
}

// Whatever closes the window without a choice (Cancela, Escape, the
// window's close button) leaves the device at krSAIDA.
void TFRMIMPTESTAIMP::done(int r) {
    if (r != QDialog::Accepted) {
        KDEVICEUSUARIO = krSAIDA;
        KISIMPnoVIDEO = false;
    }
    QDialog::done(r);
}

TdstRELATORIO TFRMIMPTESTAIMP::Escolha() const {
    if (result() != QDialog::Accepted || KDEVICEUSUARIO != krIMPRES) return dstCANCELA;
    return KISIMPnoVIDEO ? dstVIDEO : dstIMPRESSORA;
}

TdstRELATORIO EscolheDestinoDoRelatorio(const std::string& titulo,
                                        const std::vector<std::string>& descricao) {
    TFRMIMPTESTAIMP janela(QApplication::activeWindow());
    janela.setWindowTitle(QtDeAnsi(titulo));
    janela.MostraImpressora();
    for (const std::string& l : descricao) janela.LBXTEXTO->addItem(QtDeAnsi(l));
    janela.exec();
    return janela.Escolha();
}
