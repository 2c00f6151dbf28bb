#include "ui/routing/tfrmpassada.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/partida/linha_comando.h"
#include "core/texto/obr_texto.h"
#include "ui/core/janela_modal.h"
#include "ui/core/qt_texto.h"

TFRMPASSADA::TFRMPASSADA(QWidget* pai) : QDialog(pai) {
    setObjectName(QStringLiteral("FRMPASSADA"));
    setWindowTitle(QStringLiteral("Segrega Retornos"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* linha = new QHBoxLayout;
    auto* rotulo = new QLabel(QString::fromUtf8("Número da &passada (0 a 99) : "), this);
    TXTPASSADA = new QLineEdit(QStringLiteral("0"), this);
    TXTPASSADA->setObjectName(QStringLiteral("TXTPASSADA"));
    // Room for a minus sign or a third digit, so that a wrong number is
    // answered with its message instead of being cut silently.
    TXTPASSADA->setMaxLength(3);
    TXTPASSADA->setFixedWidth(QFontMetrics(TXTPASSADA->font()).horizontalAdvance(QStringLiteral("-999")) + 16);
    rotulo->setBuddy(TXTPASSADA);
    linha->addWidget(rotulo);
    linha->addWidget(TXTPASSADA);
    linha->addStretch();
    layout->addLayout(linha);
    const BotoesConfirma botoes(*this, layout);
    BTNOK = botoes.BTNOK;
    BTNCANCELA = botoes.BTNCANCELA;
    connect(BTNOK, &QPushButton::clicked, this, [this] { BTNOKClick(); });
    AlargaParaOTitulo(*this);
    TXTPASSADA->selectAll();
    TXTPASSADA->setFocus(Qt::OtherFocusReason);
}

void TFRMPASSADA::BTNOKClick() {
    const int passada = OBR_STRTOINT(QtParaAnsi(TXTPASSADA->text()));
    if (!PassadaAceita(passada)) {
        TXTPASSADA->setFocus(Qt::OtherFocusReason);
        TXTPASSADA->selectAll();
        return;
    }
    KPASSADA = passada;
    accept();
}

std::optional<int> PedePassada(QWidget* pai) {
    TFRMPASSADA janela(pai);
    if (janela.exec() != QDialog::Accepted) return std::nullopt;
    return janela.KPASSADA;
}
