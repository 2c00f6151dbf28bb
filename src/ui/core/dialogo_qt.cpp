#include "ui/core/dialogo_qt.h"
#include "ui/report/tfrmimptestaimp.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/texto/ansi.h"
#include "core/texto/obr_texto.h"
#include "ui/core/componentes_entrada.h"
#include "ui/core/janela_modal.h"
#include "ui/core/qt_texto.h"
#include "ui/core/tfrmcontador.h"

namespace {

// A message's line breaks may come as "\r\n", the way the files write them.
QString textoDaCaixa(const std::string& ansi) {
    QString t = QtDeAnsi(ansi);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

// While a box waits for an answer the cursor is the arrow, even when a run
// has the hourglass up; the hourglass comes back with the run.
class SetaNaCaixa {
public:
    explicit SetaNaCaixa(bool espera) : espera_(espera) {
        if (espera_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~SetaNaCaixa() {
        if (espera_) QApplication::restoreOverrideCursor();
    }
    SetaNaCaixa(const SetaNaCaixa&) = delete;
    SetaNaCaixa& operator=(const SetaNaCaixa&) = delete;

private:
    bool espera_;
};

// OK and Cancela at the bottom right of a small modal window.
struct BotoesOkCancela {
    QPushButton* BTNOK;
    QPushButton* BTNCANCELA;
    BotoesOkCancela(QDialog& janela, QVBoxLayout* layout) {
        auto* linha = new QHBoxLayout;
        linha->addStretch();
        BTNOK = new QPushButton(QStringLiteral("&OK"), &janela);
        BTNOK->setObjectName(QStringLiteral("BTNOK"));
        BTNOK->setDefault(true);
        BTNCANCELA = new QPushButton(QStringLiteral("&Cancela"), &janela);
        BTNCANCELA->setObjectName(QStringLiteral("BTNCANCELA"));
        QObject::connect(BTNCANCELA, &QPushButton::clicked, &janela, &QDialog::reject);
        linha->addWidget(BTNOK);
        linha->addWidget(BTNCANCELA);
        layout->addLayout(linha);
    }
};

}  // namespace

DialogoQt::DialogoQt(QWidget* janelaPrincipal, bool comSom)
    : janelaPrincipal_(janelaPrincipal), comSom_(comSom) {}

DialogoQt::~DialogoQt() {
    if (!QCoreApplication::instance()) return;  // the windows went with it
    if (cursorEspera_) QApplication::restoreOverrideCursor();
    delete contador_.data();
}

QWidget* DialogoQt::pai() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (janelaPrincipal_) return janelaPrincipal_;
    QWidget* ativa = QApplication::activeWindow();
    return ativa == contador_ ? nullptr : ativa;
}

void DialogoQt::MostraMensagem(const std::string& texto, TsomOPCOES tipo,
                               const std::string& titulo) {
    const std::string cabec =
        !titulo.empty() ? titulo : tipo == somERRO ? "Atenção..."_ansi : "Aviso...";
    QMessageBox caixa(tipo == somERRO ? QMessageBox::Warning : QMessageBox::Information,
                      QtDeAnsi(cabec), textoDaCaixa(texto), QMessageBox::Ok, pai());
    caixa.setTextFormat(Qt::PlainText);
    caixa.button(QMessageBox::Ok)->setText(QStringLiteral("&OK"));
    AlargaParaOTitulo(caixa);
    SetaNaCaixa seta(cursorEspera_);
    caixa.exec();
}

bool DialogoQt::Pergunta(const std::string& texto, const std::string& titulo, bool padraoSim) {
    QMessageBox caixa(QMessageBox::Question, QtDeAnsi(titulo), textoDaCaixa(texto),
                      QMessageBox::NoButton, pai());
    caixa.setTextFormat(Qt::PlainText);
    QPushButton* sim = caixa.addButton(QStringLiteral("&Sim"), QMessageBox::YesRole);
    QPushButton* nao = caixa.addButton(QString::fromUtf8("&Não"), QMessageBox::NoRole);
    caixa.setDefaultButton(padraoSim ? sim : nao);
    caixa.setEscapeButton(nao);
    AlargaParaOTitulo(caixa);
    SetaNaCaixa seta(cursorEspera_);
    caixa.exec();
    return caixa.clickedButton() == sim;
}

void DialogoQt::Cursor(bool espera) {
    // One hourglass however many times it is asked for: the cursor stack of
    // the application must be left as it was found.
    if (espera == cursorEspera_) return;
    if (espera) QApplication::setOverrideCursor(Qt::WaitCursor);
    else QApplication::restoreOverrideCursor();
    cursorEspera_ = espera;
}

TFRMCONTADOR& DialogoQt::Contador() {
    if (!contador_) contador_ = new TFRMCONTADOR(janelaPrincipal_);
    return *contador_;
}

void DialogoQt::ContadorInicia(const std::string& titulo, int maximo, bool comCancela,
                               const std::string& rotulo) {
    // Over a modal window every other window is blocked, Cancel included,
    // unless the progress window belongs to that modal one for the run.
    TFRMCONTADOR& janela = Contador();
    QWidget* dono = QApplication::activeModalWidget();
    if (!dono) dono = janelaPrincipal_;
    if (janela.parentWidget() != dono) janela.setParent(dono, janela.windowFlags());
    janela.Inicia(QtDeAnsi(titulo), maximo, comCancela, QtDeAnsi(rotulo));
}

bool DialogoQt::ContadorAtualiza(int posicao, int maximo, const std::string& rotulo) {
    return Contador().Atualiza(posicao, maximo, QtDeAnsi(rotulo));
}

void DialogoQt::ContadorEncerra() {
    TFRMCONTADOR& janela = Contador();
    janela.Encerra();
    // Back with the main window, so as not to go when the modal one does.
    if (janela.parentWidget() != janelaPrincipal_)
        janela.setParent(janelaPrincipal_, janela.windowFlags());
}

void DialogoQt::EsperaInicia(const std::string& texto) {
    QWidget* dono = QApplication::activeModalWidget();
    if (!dono) dono = janelaPrincipal_;
    if (!espera_ || espera_->parentWidget() != dono) {
        delete espera_;
        espera_ = new TFRMCONTADOR(dono);
        espera_->setObjectName(QStringLiteral("TFRMESPERA"));
    }
    espera_->IniciaEspera(QString::fromUtf8("Aguardando outra estação..."), QtDeAnsi(texto));
}

bool DialogoQt::EsperaContinua(int segundos) {
    if (!espera_) return true;
    return !espera_->Atualiza(0, 0, QStringLiteral("%1 s").arg(segundos));
}

void DialogoQt::EsperaEncerra() {
    if (espera_) espera_->Encerra();
}

void DialogoQt::Toca(const std::vector<Tom>& tons) {
    if (comSom_) TocaSom(tons);
}

std::optional<std::string> DialogoQt::CodigoCliente(const std::string& titulo) {
    QDialog janela(pai());
    janela.setWindowTitle(QtDeAnsi(titulo));
    auto* layout = new QVBoxLayout(&janela);
    auto* linha = new QHBoxLayout;
    linha->addWidget(new QLabel(QString::fromUtf8("Código do Cliente : "), &janela));
    auto* TXTCODCLI = new QLineEdit(&janela);
    TXTCODCLI->setObjectName(QStringLiteral("TXTCODCLI"));
    TXTCODCLI->setMaxLength(15);
    linha->addWidget(TXTCODCLI);
    layout->addLayout(linha);
    BotoesOkCancela botoes(janela, layout);
    QObject::connect(botoes.BTNOK, &QPushButton::clicked, &janela, &QDialog::accept);
    AlargaParaOTitulo(janela);
    SetaNaCaixa seta(cursorEspera_);
    if (janela.exec() != QDialog::Accepted) return std::nullopt;
    return QtParaAnsi(TXTCODCLI->text());
}

std::optional<TData> DialogoQt::DataInicioContrato(TData preenchida) {
    QDialog janela(pai());
    janela.setWindowTitle(QString::fromUtf8("Leitura do Arquivo Remessa de Vendor - Conversão"));
    auto* layout = new QVBoxLayout(&janela);
    auto* linha = new QHBoxLayout;
    linha->addWidget(new QLabel(QStringLiteral("Data de Inicio do contrato"), &janela));
    auto* TXTDATAINI = new TCOMPDATA(&janela);
    TXTDATAINI->setObjectName(QStringLiteral("TXTDATAINI"));
    TXTDATAINI->setASDATETIME(preenchida);
    linha->addWidget(TXTDATAINI);
    layout->addLayout(linha);
    BotoesOkCancela botoes(janela, layout);
    AlargaParaOTitulo(janela);
    std::optional<TData> resposta;
    QObject::connect(botoes.BTNOK, &QPushButton::clicked, &janela, [&] {
        // The date field finishes its exit before its value is read.
        botoes.BTNOK->setFocus(Qt::OtherFocusReason);
        resposta = OBR_VAZIO(QtParaAnsi(TXTDATAINI->displayText())) ? 0
                                                                       : TXTDATAINI->ASDATETIME();
        janela.accept();
    });
    SetaNaCaixa seta(cursorEspera_);
    if (janela.exec() != QDialog::Accepted) return std::nullopt;
    return resposta;
}

TdstRELATORIO DialogoQt::DestinoAposFalha(const std::string& titulo) {
    QMessageBox caixa(QMessageBox::Question, QtDeAnsi(titulo),
                      QString::fromUtf8("O relatório não foi impresso.\n"
                                        "Deseja vê-lo na tela ou gravá-lo num arquivo PDF?"),
                      QMessageBox::NoButton, pai());
    caixa.setIcon(QMessageBox::Question);
    QPushButton* video = BotaoNaCaixa(caixa, QStringLiteral("&Video"), QMessageBox::AcceptRole, "BTNVIDEO");
    QPushButton* pdf = BotaoNaCaixa(caixa, QStringLiteral("&PDF"), QMessageBox::AcceptRole, "BTNPDF");
    QPushButton* cancela =
        BotaoNaCaixa(caixa, QStringLiteral("&Cancela"), QMessageBox::RejectRole, "BTNCANCELA");
    caixa.setDefaultButton(video);
    caixa.setEscapeButton(cancela);
    AlargaParaOTitulo(caixa);
    SetaNaCaixa seta(cursorEspera_);
    caixa.exec();
    if (caixa.clickedButton() == video) return dstVIDEO;
    if (caixa.clickedButton() == pdf) return dstPDF;
    return dstCANCELA;
}

TdstRELATORIO DialogoQt::DestinoRelatorio(const std::string& titulo,
                                          const std::vector<std::string>& descricao) {
    return EscolheDestinoDoRelatorio(titulo, descricao);
}
