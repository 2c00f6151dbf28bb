#include "ui/vendor/tfrmarqvenremessa.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/obr_datas.h"
#include "ui/core/qt_texto.h"
#include "vendor/rem_processa.h"

TFRMARQVENREMESSA::TFRMARQVENREMESSA(QWidget* pai) : QDialog(pai) {
    setObjectName("FRMARQVENREMESSA");
    setWindowTitle(QT_DE_ANSI(REM_TITULOJANELA()));
    setModal(true);

    LBLCODCLI = new QLabel(QStringLiteral("Código do Cliente : "), this);
    TXTCODCLI = new QLineEdit(this);
    TXTCODCLI->setObjectName("TXTCODCLI");
    TXTCODCLI->setMaxLength(15);
    LBLCODCLI->setBuddy(TXTCODCLI);

    LBLDATAINI = new QLabel(QStringLiteral("Data de Inicio do contrato"), this);
    TXTDATAINI = new QLineEdit(this);
    TXTDATAINI->setObjectName("TXTDATAINI");
    // Digits may be left out: an empty field is the motor's to refuse.
    TXTDATAINI->setInputMask(QStringLiteral("00/00/0000; "));
    LBLDATAINI->setBuddy(TXTDATAINI);
    LBLDATAINI->hide();
    TXTDATAINI->hide();

    BTNOK = new QPushButton(QStringLiteral("&OK"), this);
    BTNOK->setDefault(true);
    BTNCANCELA = new QPushButton(QStringLiteral("&Cancela"), this);
    connect(BTNOK, &QPushButton::clicked, this, [this] {
        BTNOK->setFocus();
        accept();
    });
    connect(BTNCANCELA, &QPushButton::clicked, this, &QDialog::reject);

    auto* campos = new QGridLayout;
    campos->addWidget(LBLCODCLI, 0, 0);
    campos->addWidget(TXTCODCLI, 0, 1);
    campos->addWidget(LBLDATAINI, 1, 0);
    campos->addWidget(TXTDATAINI, 1, 1);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(BTNOK);
    botoes->addWidget(BTNCANCELA);
    auto* tudo = new QVBoxLayout(this);
    tudo->addLayout(campos);
    tudo->addLayout(botoes);
}

void TFRMARQVENREMESSA::MostraDataInicio(TData preenchida) {
    LBLCODCLI->hide();
    TXTCODCLI->hide();
    LBLDATAINI->show();
    TXTDATAINI->show();
    TXTDATAINI->setText(preenchida == 0 ? QString() : QT_DE_ANSI(OBR_DATATOSTR(preenchida)));
    TXTDATAINI->setFocus();
}

std::optional<std::string> TFRMARQVENREMESSA_PEDECODIGO(const std::string& titulo, QWidget* pai) {
    TFRMARQVENREMESSA janela(pai);
    if (!titulo.empty()) janela.setWindowTitle(QT_DE_ANSI(titulo));
    janela.TXTCODCLI->setFocus();
    if (janela.exec() != QDialog::Accepted) return std::nullopt;
    return QT_PARA_ANSI(janela.TXTCODCLI->text());
}

std::optional<TData> TFRMARQVENREMESSA_PEDEDATA(TData preenchida, QWidget* pai) {
    TFRMARQVENREMESSA janela(pai);
    janela.MostraDataInicio(preenchida);
    if (janela.exec() != QDialog::Accepted) return std::nullopt;
    return OBR_STRTODATA(QT_PARA_ANSI(janela.TXTDATAINI->text()));
}
