#include "ui/core/tfrmcontador.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QWindow>

namespace {

// While a run lets events through, only the progress window takes input: a
// click on the main window's menus would start a second run inside the
// first one, over the same tables.
class SoAJanela : public QObject {
public:
    explicit SoAJanela(QWidget* janela) : janela_(janela) {}

protected:
    bool eventFilter(QObject* alvo, QEvent* e) override {
        switch (e->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::Wheel:
            case QEvent::Shortcut:
            case QEvent::ShortcutOverride:
                return !daJanela(alvo);
            case QEvent::Close:  // from the window manager, not from the program
                return e->spontaneous() && !daJanela(alvo);
            default:
                return false;
        }
    }

private:
    bool daJanela(QObject* alvo) const {
        if (auto* w = qobject_cast<QWidget*>(alvo)) return w->window() == janela_;
        if (auto* win = qobject_cast<QWindow*>(alvo)) return win == janela_->windowHandle();
        return false;
    }
    QWidget* janela_;
};

}  // namespace

TFRMCONTADOR::TFRMCONTADOR(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TFRMCONTADOR"));
    setFixedSize(505, 65);

    PRBBARRA = new QProgressBar(this);
    PRBBARRA->setObjectName(QStringLiteral("PRBBARRA"));
    PRBBARRA->setGeometry(8, 8, 440, 20);
    PRBBARRA->setTextVisible(false);
    PRBBARRA->setToolTip(QString::fromUtf8("Apresenta o andamento da função solicitada...."));
    PRBBARRA->setRange(0, 1);
    PRBBARRA->setValue(0);

    LBLPROGRESSO = new QLabel(QStringLiteral("0%"), this);
    LBLPROGRESSO->setObjectName(QStringLiteral("LBLPROGRESSO"));
    LBLPROGRESSO->setGeometry(456, 8, 45, 20);

    BTNCANCELA = new QPushButton(QStringLiteral("&Cancela"), this);
    BTNCANCELA->setObjectName(QStringLiteral("BTNCANCELA"));
    BTNCANCELA->setGeometry(215, 34, 75, 25);
    connect(BTNCANCELA, &QPushButton::clicked, this, [this] { cancelado_ = true; });

    LBLAVISO = new QLabel(this);
    LBLAVISO->setObjectName(QStringLiteral("LBLAVISO"));
    LBLAVISO->setWordWrap(true);
    LBLAVISO->setGeometry(8, 4, 489, 44);
    LBLAVISO->hide();
}

void TFRMCONTADOR::mostraPosicao(int posicao, int maximo) {
    // A bar whose maximum is 0 would show Qt's busy animation; it stays empty.
    PRBBARRA->setRange(0, maximo > 0 ? maximo : 1);
    PRBBARRA->setValue(maximo > 0 ? posicao : 0);
}

void TFRMCONTADOR::Inicia(const QString& titulo, int maximo, bool comCancela,
                          const QString& rotulo) {
    posiciona(false);
    setWindowTitle(titulo);
    cancelado_ = false;
    ativo_ = true;
    BTNCANCELA->setVisible(comCancela);
    mostraPosicao(0, maximo);
    LBLPROGRESSO->setText(rotulo);
    show();
    raise();
    activateWindow();
}

bool TFRMCONTADOR::Atualiza(int posicao, int maximo, const QString& rotulo) {
    mostraPosicao(posicao, maximo);
    LBLPROGRESSO->setText(rotulo);
    {
        SoAJanela filtro(this);
        qApp->installEventFilter(&filtro);
        QApplication::processEvents();
        qApp->removeEventFilter(&filtro);
    }
    // Keys pressed during the run reach the bar, not the Cancel button.
    if (PRBBARRA->isVisible()) PRBBARRA->setFocus(Qt::OtherFocusReason);
    const bool cancelado = cancelado_;
    cancelado_ = false;
    return cancelado;
}

void TFRMCONTADOR::posiciona(bool comAviso) {
    // The text of a wait goes above the bar; a run's progress has none.
    const int desce = comAviso ? 48 : 0;
    LBLAVISO->setVisible(comAviso);
    setFixedSize(505, 65 + desce);
    PRBBARRA->move(8, 8 + desce);
    LBLPROGRESSO->move(456, 8 + desce);
    BTNCANCELA->move(215, 34 + desce);
}

void TFRMCONTADOR::IniciaEspera(const QString& titulo, const QString& aviso) {
    Inicia(titulo, 0, true, QString());
    LBLAVISO->setText(aviso);
    posiciona(true);
}

void TFRMCONTADOR::Encerra() {
    ativo_ = false;
    hide();
}

void TFRMCONTADOR::closeEvent(QCloseEvent* e) {
    // Without title-bar buttons the window can still be closed from the
    // keyboard; while its run goes on it stays.
    if (ativo_) e->ignore();
    else QWidget::closeEvent(e);
}
