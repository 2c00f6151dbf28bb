#include "ui/core/tfrmajuda.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

TFRMAJUDA::TFRMAJUDA(QWidget* pai) : QDialog(pai) {
    setObjectName("FRMAJUDA");
    setWindowTitle(QStringLiteral("Ajuda - Conversor de Arquivos"));
    navegador_ = new QTextBrowser(this);
    navegador_->setOpenExternalLinks(false);
    navegador_->setSource(QUrl(QStringLiteral("qrc:/manual/index.html")));
    auto* botoes = new QDialogButtonBox(this);
    QPushButton* fecha = botoes->addButton(QStringLiteral("&Fechar"), QDialogButtonBox::RejectRole);
    connect(fecha, &QPushButton::clicked, this, &QDialog::reject);
    auto* l = new QVBoxLayout(this);
    l->addWidget(navegador_);
    l->addWidget(botoes);
    resize(760, 560);
}
