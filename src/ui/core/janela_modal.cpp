#include "ui/core/janela_modal.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

#include "core/aplicacao.h"
#include "core/tabela/tabela.h"

void PROTEGIDO(const std::function<void()>& acao) {
    try {
        acao();
    } catch (const std::exception& e) {
        APLICACAO_ERRO_PADRAO(e);
    }
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

TabelasDaJanela::TabelasDaJanela(std::initializer_list<Tabela*> tabelas) {
    try {
        for (Tabela* t : tabelas) {
            t->Open();
            abertas_.push_back(t);
        }
    } catch (...) {
        for (Tabela* t : abertas_) t->Close();
        throw;
    }
}

TabelasDaJanela::~TabelasDaJanela() {
    for (Tabela* t : abertas_) t->Close();
}
