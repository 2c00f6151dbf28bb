#include "ui/registers/janela_manutencao.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/core/janela_modal.h"

JanelaManutencao::JanelaManutencao(const QString& titulo, const QStringList& colunas,
                                   QWidget* pai)
    : QDialog(pai), alinhamentos_(static_cast<std::size_t>(colunas.size()), Qt::AlignLeft) {
    setWindowTitle(titulo);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    GRDTABELA = new QTableWidget(0, static_cast<int>(colunas.size()), this);
    GRDTABELA->setObjectName(QStringLiteral("GRDTABELA"));
    GRDTABELA->setHorizontalHeaderLabels(colunas);
    GRDTABELA->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GRDTABELA->setSelectionBehavior(QAbstractItemView::SelectRows);
    GRDTABELA->setSelectionMode(QAbstractItemView::SingleSelection);
    GRDTABELA->verticalHeader()->hide();
    GRDTABELA->horizontalHeader()->setStretchLastSection(true);
    // Codes and numbers line up as they are stored.
    GRDTABELA->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(GRDTABELA);

    auto* botoes = new QHBoxLayout;
    auto botao = [&](const char* nome, const QString& texto) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(QString::fromLatin1(nome));
        b->setAutoDefault(false);
        botoes->addWidget(b);
        return b;
    };
    BTNNOVO = botao("BTNNOVO", QStringLiteral("&Novo"));
    BTNALTERA = botao("BTNALTERA", QStringLiteral("&Altera"));
    BTNEXCLUI = botao("BTNEXCLUI", QStringLiteral("&Exclui"));
    botoes->addStretch();
    BTNSAIDA = botao("BTNSAIDA", QStringLiteral("&Saida"));
    layout->addLayout(botoes);

    // Altera and Exclui need a row: on an empty grid they do nothing.
    connect(BTNNOVO, &QPushButton::clicked, this, [this] { PROTEGIDO([this] { Novo(); }); });
    const auto altera = [this] {
        if (LinhaAtual() >= 0) PROTEGIDO([this] { Altera(); });
    };
    connect(BTNALTERA, &QPushButton::clicked, this, altera);
    connect(GRDTABELA, &QTableWidget::cellDoubleClicked, this, altera);
    connect(BTNEXCLUI, &QPushButton::clicked, this, [this] {
        if (LinhaAtual() >= 0) PROTEGIDO([this] { Exclui(); });
    });
    connect(BTNSAIDA, &QPushButton::clicked, this, &QDialog::accept);
}

void JanelaManutencao::Alinha(int coluna, Qt::Alignment alinhamento) {
    alinhamentos_.at(static_cast<std::size_t>(coluna)) = alinhamento;
}

void JanelaManutencao::Mostra(const std::vector<LinhaGrade>& linhas, std::uint32_t registro) {
    GRDTABELA->setRowCount(static_cast<int>(linhas.size()));
    registros_.clear();
    int escolhida = linhas.empty() ? -1 : 0;
    for (int i = 0; i < static_cast<int>(linhas.size()); ++i) {
        const LinhaGrade& l = linhas[static_cast<std::size_t>(i)];
        registros_.push_back(l.registro);
        if (l.registro == registro) escolhida = i;
        for (int c = 0; c < l.celulas.size(); ++c) {
            auto* item = new QTableWidgetItem(l.celulas[c]);
            item->setTextAlignment(alinhamentos_.at(static_cast<std::size_t>(c)) |
                                   Qt::AlignVCenter);
            GRDTABELA->setItem(i, c, item);
        }
    }
    // Sized to the contents once; after that the columns keep the widths
    // the operator sees (or set), whatever a new, altered or deleted row holds.
    if (!colunasAjustadas_ && !linhas.empty()) {
        GRDTABELA->resizeColumnsToContents();
        colunasAjustadas_ = true;
    }
    if (escolhida >= 0) GRDTABELA->selectRow(escolhida);
}

int JanelaManutencao::LinhaAtual() const {
    const auto selecionadas = GRDTABELA->selectionModel()->selectedRows();
    return selecionadas.isEmpty() ? -1 : selecionadas.first().row();
}

std::uint32_t JanelaManutencao::RegistroAtual() const {
    const int l = LinhaAtual();
    return l < 0 ? 0 : registros_.at(static_cast<std::size_t>(l));
}

void JanelaManutencao::SelecionaLinha(int linha) {
    if (GRDTABELA->rowCount() > 0) GRDTABELA->selectRow(std::min(linha, GRDTABELA->rowCount() - 1));
}
