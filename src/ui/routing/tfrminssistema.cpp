#include "ui/routing/tfrminssistema.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

#include "core/dados/tabelas_abertas.h"
#include "core/dados/tdmquor.h"
#include "routing/ins_sistema.h"
#include "ui/core/componentes_entrada.h"
#include "ui/core/janela_modal.h"
#include "ui/core/qt_texto.h"

namespace {

struct LinhaProduto {
    QString rotulo;
    QWidget* nome;
    QWidget* numero;
};

// "Arquivo Remessa do Banco": one row per product, a file name and the
// number of the last file.
QGroupBox* grupoArquivos(QWidget* pai, const std::vector<LinhaProduto>& linhas) {
    auto* grupo = new QGroupBox(QStringLiteral("Arquivo Remessa do Banco"), pai);
    auto* grade = new QGridLayout(grupo);
    grade->addWidget(new QLabel(QStringLiteral("Nome do arquivo"), grupo), 0, 1);
    grade->addWidget(new QLabel(QStringLiteral("Último lido"), grupo), 0, 2);
    int l = 1;
    for (const LinhaProduto& p : linhas) {
        auto* rotulo = new QLabel(p.rotulo, grupo);
        rotulo->setBuddy(p.nome);
        grade->addWidget(rotulo, l, 0);
        grade->addWidget(p.nome, l, 1);
        grade->addWidget(p.numero, l, 2);
        ++l;
    }
    grade->setColumnStretch(3, 1);
    return grupo;
}

QLineEdit* edicao(QWidget* pai, const char* nome, int tamanho) {
    auto* e = new QLineEdit(pai);
    e->setObjectName(QString::fromLatin1(nome));
    e->setMaxLength(tamanho);
    e->setFixedWidth(QFontMetrics(e->font()).horizontalAdvance(QString(tamanho, QLatin1Char('W'))) / 4 * 3 + 12);
    return e;
}

TCOMPINTEGER* numero(QWidget* pai, const char* nome, int digitos) {
    auto* n = new TCOMPINTEGER(pai);
    n->setObjectName(QString::fromLatin1(nome));
    n->setInteiros(digitos);
    return n;
}

QLabel* rotulo(QWidget* pai, const char* nome) {
    auto* r = new QLabel(pai);
    r->setObjectName(QString::fromLatin1(nome));
    r->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    r->setMinimumWidth(QFontMetrics(r->font()).horizontalAdvance(QString(4, QLatin1Char('0'))));
    return r;
}

QHBoxLayout* linhaPrazo(QWidget* pai, const QString& texto, QWidget* campo) {
    auto* linha = new QHBoxLayout;
    auto* r = new QLabel(texto, pai);
    r->setBuddy(campo);
    linha->addWidget(r);
    linha->addWidget(campo);
    linha->addWidget(new QLabel(QStringLiteral("[ em dias ]"), pai));
    linha->addStretch();
    return linha;
}

}  // namespace

// ---- TFRMINSSISTEMA -------------------------------------------------------------

TFRMINSSISTEMA::TFRMINSSISTEMA(QWidget* pai) : QDialog(pai) {
    setWindowTitle(QStringLiteral("Instalação do Sistema"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    TXTPRAZOPEN = numero(this, "TXTPRAZOPEN", 3);
    layout->addLayout(linhaPrazo(this, QStringLiteral("Prazo limpeza Remessas Pendentes:"), TXTPRAZOPEN));

    TXTARQREMC24 = edicao(this, "TXTARQREMC24", 12);
    TXTSEQREMC24 = numero(this, "TXTSEQREMC24", 2);
    TXTARQREMC40 = edicao(this, "TXTARQREMC40", 12);
    TXTSEQREMC40 = numero(this, "TXTSEQREMC40", 2);
    TXTARQREMVEN = edicao(this, "TXTARQREMVEN", 12);
    TXTSEQREMVEN = numero(this, "TXTSEQREMVEN", 2);
    TXTARQREMV24 = edicao(this, "TXTARQREMV24", 12);
    TXTSEQREMV24 = numero(this, "TXTSEQREMV24", 2);
    TXTARQREMDES = edicao(this, "TXTARQREMDES", 12);
    TXTSEQREMDES = numero(this, "TXTSEQREMDES", 2);
    layout->addWidget(grupoArquivos(this, {{QStringLiteral("Cobrança 240:"), TXTARQREMC24, TXTSEQREMC24},
                                           {QStringLiteral("Cobrança 400:"), TXTARQREMC40, TXTSEQREMC40},
                                           {QStringLiteral("Vendor 250:"), TXTARQREMVEN, TXTSEQREMVEN},
                                           {QStringLiteral("Vendor 240:"), TXTARQREMV24, TXTSEQREMV24},
                                           {QStringLiteral("Desconto:"), TXTARQREMDES, TXTSEQREMDES}}));

    TXTDIRCOPIA = edicao(this, "TXTDIRCOPIA", 40);
    auto* rotuloDir = new QLabel(QStringLiteral("Diretório para mover Arquivos Remessas"), this);
    rotuloDir->setBuddy(TXTDIRCOPIA);
    layout->addWidget(rotuloDir);
    layout->addWidget(TXTDIRCOPIA);
    layout->addStretch();

    const BotoesConfirma botoes(*this, layout);
    BTNOK = botoes.BTNOK;
    BTNCANCELA = botoes.BTNCANCELA;
    connect(BTNOK, &QPushButton::clicked, this, [this] { PROTEGIDO([this] { BTNOKClick(); }); });
    resize(550, 450);
    FormShow();
}

void TFRMINSSISTEMA::FormShow() {
    const TinsSISTEMA ins = CarregaInstalacao();
    TXTPRAZOPEN->setASINTEGER(ins.PRAZOPEN);
    TXTARQREMC24->setText(QtDeAnsi(ins.ARQREMC24));
    TXTSEQREMC24->setASINTEGER(ins.SEQREMC24);
    TXTARQREMC40->setText(QtDeAnsi(ins.ARQREMC40));
    TXTSEQREMC40->setASINTEGER(ins.SEQREMC40);
    TXTARQREMVEN->setText(QtDeAnsi(ins.ARQREMVEN));
    TXTSEQREMVEN->setASINTEGER(ins.SEQREMVEN);
    TXTARQREMV24->setText(QtDeAnsi(ins.ARQREMV24));
    TXTSEQREMV24->setASINTEGER(ins.SEQREMV24);
    TXTARQREMDES->setText(QtDeAnsi(ins.ARQREMDES));
    TXTSEQREMDES->setASINTEGER(ins.SEQREMDES);
    TXTDIRCOPIA->setText(QtDeAnsi(ins.DIRCOPIA));
}

void TFRMINSSISTEMA::BTNOKClick() {
    // The field being left finishes its own exit before anything is read.
    BTNOK->setFocus(Qt::OtherFocusReason);
    TinsSISTEMA ins;
    ins.PRAZOPEN = TXTPRAZOPEN->ASINTEGER();
    ins.ARQREMC24 = QtParaAnsi(TXTARQREMC24->text());
    ins.SEQREMC24 = TXTSEQREMC24->ASINTEGER();
    ins.ARQREMC40 = QtParaAnsi(TXTARQREMC40->text());
    ins.SEQREMC40 = TXTSEQREMC40->ASINTEGER();
    ins.ARQREMVEN = QtParaAnsi(TXTARQREMVEN->text());
    ins.SEQREMVEN = TXTSEQREMVEN->ASINTEGER();
    ins.ARQREMV24 = QtParaAnsi(TXTARQREMV24->text());
    ins.SEQREMV24 = TXTSEQREMV24->ASINTEGER();
    ins.ARQREMDES = QtParaAnsi(TXTARQREMDES->text());
    ins.SEQREMDES = TXTSEQREMDES->ASINTEGER();
    ins.DIRCOPIA = QtParaAnsi(TXTDIRCOPIA->text());
    if (INS_GRAVA(ins)) {
        accept();
        return;
    }
    TXTPRAZOPEN->setFocus(Qt::OtherFocusReason);
}

// ---- TFRMINSSTATUS --------------------------------------------------------------

TFRMINSSTATUS::TFRMINSSTATUS(QWidget* pai) : QDialog(pai) {
    setWindowTitle(QStringLiteral("Status do Sistema"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    LBLPRAZOPEN = rotulo(this, "LBLPRAZOPEN");
    layout->addLayout(linhaPrazo(this, QStringLiteral("Prazo limpeza Remessas Pendentes :"), LBLPRAZOPEN));

    LBLARQREMC24 = rotulo(this, "LBLARQREMC24");
    LBLSEQREMC24 = rotulo(this, "LBLSEQREMC24");
    LBLARQREMC40 = rotulo(this, "LBLARQREMC40");
    LBLSEQREMC40 = rotulo(this, "LBLSEQREMC40");
    LBLARQREMV24 = rotulo(this, "LBLARQREMV24");
    LBLSEQREMV24 = rotulo(this, "LBLSEQREMV24");
    LBLARQREMVEN = rotulo(this, "LBLARQREMVEN");
    LBLSEQREMVEN = rotulo(this, "LBLSEQREMVEN");
    LBLARQREMDES = rotulo(this, "LBLARQREMDES");
    LBLSEQREMDES = rotulo(this, "LBLSEQREMDES");
    // Vendor 240 stands above Vendor 250 here.
    layout->addWidget(grupoArquivos(this, {{QStringLiteral("Cobrança 240:"), LBLARQREMC24, LBLSEQREMC24},
                                           {QStringLiteral("Cobrança 400:"), LBLARQREMC40, LBLSEQREMC40},
                                           {QStringLiteral("Vendor 240:"), LBLARQREMV24, LBLSEQREMV24},
                                           {QStringLiteral("Vendor 250:"), LBLARQREMVEN, LBLSEQREMVEN},
                                           {QStringLiteral("Desconto:"), LBLARQREMDES, LBLSEQREMDES}}));

    layout->addWidget(new QLabel(QStringLiteral("Diretório para mover Arquivos Remessas"), this));
    LBLDIRCOPIA = rotulo(this, "LBLDIRCOPIA");
    layout->addWidget(LBLDIRCOPIA);

    auto* registros = new QGroupBox(QStringLiteral("No. de Registros nos arquivos "), this);
    auto* grade = new QGridLayout(registros);
    LBLTOTCLI = rotulo(registros, "LBLTOTCLI");
    LBLTOTTAX = rotulo(registros, "LBLTOTTAX");
    LBLTOTPEN = rotulo(registros, "LBLTOTPEN");
    const std::pair<QString, QLabel*> totais[] = {
        {QStringLiteral("Tabela de Clientes :"), LBLTOTCLI},
        {QStringLiteral("Tabela de Taxas :"), LBLTOTTAX},
        {QStringLiteral("Arquivo de Remessas Pendentes :"), LBLTOTPEN}};
    int l = 0;
    for (const auto& [texto, valor] : totais) {
        grade->addWidget(new QLabel(texto, registros), l, 0);
        grade->addWidget(valor, l++, 1);
    }
    grade->setColumnStretch(2, 1);
    layout->addWidget(registros);
    layout->addStretch();

    BTNOK = BotoesConfirma(*this, layout, false).BTNOK;
    connect(BTNOK, &QPushButton::clicked, this, &QDialog::accept);
    resize(500, 405);
    FormShow();
}

void TFRMINSSTATUS::FormShow() {
    const TinsSTATUS s = LeStatusDoSistema();
    const std::pair<QLabel*, const std::string*> valores[] = {
        {LBLPRAZOPEN, &s.PRAZOPEN},   {LBLARQREMC24, &s.ARQREMC24}, {LBLSEQREMC24, &s.SEQREMC24},
        {LBLARQREMC40, &s.ARQREMC40}, {LBLSEQREMC40, &s.SEQREMC40}, {LBLARQREMVEN, &s.ARQREMVEN},
        {LBLSEQREMVEN, &s.SEQREMVEN}, {LBLARQREMV24, &s.ARQREMV24}, {LBLSEQREMV24, &s.SEQREMV24},
        {LBLARQREMDES, &s.ARQREMDES}, {LBLSEQREMDES, &s.SEQREMDES}, {LBLDIRCOPIA, &s.DIRCOPIA},
        {LBLTOTCLI, &s.TOTCLI},       {LBLTOTTAX, &s.TOTTAX},       {LBLTOTPEN, &s.TOTPEN}};
    for (const auto& [rotulo, texto] : valores) rotulo->setText(QtDeAnsi(*texto));
}

void AbreInstalacaoDoSistema(QWidget* pai) {
    const TabelasAbertas tabelas{&DMQUOR().TBCONVEINS};
    TFRMINSSISTEMA janela(pai);
    janela.exec();
}

void AbreStatusDoSistema(QWidget* pai) {
    TDMQUOR& dm = DMQUOR();
    const TabelasAbertas tabelas{&dm.TBCONVECLI, &dm.TBCONVEINS, &dm.TBCONVEPEN, &dm.TBCONVETAX};
    TFRMINSSTATUS janela(pai);
    janela.exec();
}
