#include "ui/core/janela_modal.h"

#include <QBoxLayout>
#include <algorithm>
#include <QDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

#include "core/partida/aplicacao.h"
#include "tabela/tabela.h"

void PROTEGIDO(const std::function<void()>& acao) {
    try {
        acao();
    } catch (const std::exception& e) {
        MostraErroPadrao(e);
    }
}

QPushButton* BotaoNaCaixa(QMessageBox& caixa, const QString& texto, QMessageBox::ButtonRole papel,
                          const char* nome) {
    QPushButton* b = caixa.addButton(texto, papel);
    b->setObjectName(QString::fromLatin1(nome));
    return b;
}

void AlargaParaOTitulo(QWidget& janela) {
    // The title bar's font is the window manager's; the application font
    // with room for the icon and the title-bar buttons comes close.
    const int largura = janela.fontMetrics().horizontalAdvance(janela.windowTitle()) + 150;
    if (auto* caixa = qobject_cast<QMessageBox*>(&janela)) {
        // A message box fixes its own size from its layout: widen the layout.
        if (auto* grade = qobject_cast<QGridLayout*>(caixa->layout()))
            grade->addItem(new QSpacerItem(largura, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                           grade->rowCount(), 0, 1, grade->columnCount());
        return;
    }
    janela.setMinimumWidth(std::max(janela.minimumWidth(), largura));
}

BotoesConfirma::BotoesConfirma(QDialog& janela, QBoxLayout* layout, bool comCancela) {
    auto* linha = new QHBoxLayout;
    linha->addStretch();
    BTNOK = new QPushButton(QStringLiteral("&OK"), &janela);
    BTNOK->setObjectName(QStringLiteral("BTNOK"));
    BTNOK->setDefault(true);
    linha->addWidget(BTNOK);
    if (comCancela) {
        BTNCANCELA = new QPushButton(QStringLiteral("&Cancela"), &janela);
        BTNCANCELA->setObjectName(QStringLiteral("BTNCANCELA"));
        BTNCANCELA->setAutoDefault(false);
        linha->addWidget(BTNCANCELA);
        QObject::connect(BTNCANCELA, &QPushButton::clicked, &janela, &QDialog::reject);
    }
    layout->addLayout(linha);
}

