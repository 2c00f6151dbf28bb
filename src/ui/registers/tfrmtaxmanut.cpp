#include "ui/registers/tfrmtaxmanut.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/dados/tabelas_abertas.h"
#include "core/dados/tdmquor.h"
#include "ui/core/componentes_entrada.h"
#include "ui/core/janela_modal.h"
#include "ui/core/qt_texto.h"

// ---- TFRMTAXINCALT -------------------------------------------------------------

TFRMTAXINCALT::TFRMTAXINCALT(TfmINCALT funcao, QWidget* pai)
    : QDialog(pai), taxa_(std::make_unique<TcadTAXA>(DMQUOR().TBCONVETAX, funcao)) {
    setWindowTitle(QStringLiteral("Manutenção Tabela de Taxas"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* grade = new QGridLayout;
    int linha = 0;
    auto campo = [&](QWidget* w, const char* nome, const QString& rotulo,
                     const QString& nota = QString()) {
        w->setObjectName(QString::fromLatin1(nome));
        auto* legenda = new QLabel(rotulo, this);
        legenda->setBuddy(w);
        grade->addWidget(legenda, linha, 0);
        grade->addWidget(w, linha, 1, Qt::AlignLeft);
        if (!nota.isEmpty()) grade->addWidget(new QLabel(nota, this), linha, 2);
        ++linha;
    };
    TXTDATINITAX = new TCOMPDATA(this);
    campo(TXTDATINITAX, "TXTDATINITAX", QStringLiteral("Dia Inicial do período : "));
    TXTPRODTAX = new QLineEdit(this);
    TXTPRODTAX->setMaxLength(1);
    TXTPRODTAX->setFixedWidth(QFontMetrics(TXTPRODTAX->font()).horizontalAdvance(QLatin1Char('W')) + 14);
    campo(TXTPRODTAX, "TXTPRODTAX", QStringLiteral("Código do Produto : "));
    TXTDIASTAX = new TCOMPINTEGER(this);
    TXTDIASTAX->setInteiros(3);
    campo(TXTDIASTAX, "TXTDIASTAX", QStringLiteral("No. de dias ( limite ) : "));
    TXTDATFINTAX = new TCOMPDATA(this);
    campo(TXTDATFINTAX, "TXTDATFINTAX", QStringLiteral("Dia Final do período : "));
    TXTTAXABAN = new TCOMPFLOAT(this);
    TXTTAXAFOR = new TCOMPFLOAT(this);
    for (TCOMPFLOAT* f : {TXTTAXABAN, TXTTAXAFOR}) {
        f->setInteiros(5);
        f->setDecimais(6);
    }
    campo(TXTTAXABAN, "TXTTAXABAN", QStringLiteral("Taxa de Juros do Contrato : "),
          QStringLiteral("[ Banco X Conveniado ]"));
    campo(TXTTAXAFOR, "TXTTAXAFOR", QStringLiteral("Taxa de Juros do Título : "),
          QStringLiteral("[ Conveniado X Financiado ]"));
    grade->setColumnStretch(3, 1);
    layout->addLayout(grade);

    const BotoesConfirma botoes(*this, layout);
    BTNOK = botoes.BTNOK;
    BTNCANCELA = botoes.BTNCANCELA;
    connect(BTNOK, &QPushButton::clicked, this, [this] { PROTEGIDO([this] { BTNOKClick(); }); });
    FormShow();
}

TFRMTAXINCALT::~TFRMTAXINCALT() = default;

void TFRMTAXINCALT::FormShow() {
    TcadTAXA& t = *taxa_;
    t.FormShow();
    TXTDATINITAX->setASDATETIME(t.DATINITAX);
    TXTPRODTAX->setText(QtDeAnsi(t.PRODTAX));
    TXTDIASTAX->setASINTEGER(t.DIASTAX);
    TXTDATFINTAX->setASDATETIME(t.DATFINTAX);
    TXTTAXABAN->setASFLOAT(t.TAXABAN);
    TXTTAXAFOR->setASFLOAT(t.TAXAFOR);
    for (QWidget* w : std::initializer_list<QWidget*>{TXTDATINITAX, TXTPRODTAX, TXTDIASTAX})
        w->setEnabled(t.ChaveHabilitada());
}

void TFRMTAXINCALT::BTNOKClick() {
    // The field being left finishes its own exit before anything is read.
    BTNOK->setFocus(Qt::OtherFocusReason);
    TcadTAXA& t = *taxa_;
    t.DATINITAX = TXTDATINITAX->ASDATETIME();
    t.PRODTAX = QtParaAnsi(TXTPRODTAX->text());
    t.DIASTAX = TXTDIASTAX->ASINTEGER();
    t.DATFINTAX = TXTDATFINTAX->ASDATETIME();
    t.TAXABAN = TXTTAXABAN->ASFLOAT();
    t.TAXAFOR = TXTTAXAFOR->ASFLOAT();
    if (t.TAX_KMENS()) {
        accept();
        return;
    }
    // An empty end date is typed where it is missing; every other refusal
    // starts over from the first field that can be typed.
    QWidget* foco = TXTDATINITAX->isEnabled() ? static_cast<QWidget*>(TXTDATINITAX) : TXTDATFINTAX;
    if (t.CampoRecusado == "DATFINTAX") foco = TXTDATFINTAX;
    foco->setFocus(Qt::OtherFocusReason);
}

// ---- TFRMTAXMANUT --------------------------------------------------------------

TFRMTAXMANUT::TFRMTAXMANUT(QWidget* pai)
    : JanelaManutencao(QStringLiteral("Manutenção da Tabela de Taxas"),
                       {QStringLiteral("Dia inicial"), QStringLiteral("Dia final"),
                        QStringLiteral("Produto"), QStringLiteral("No.dias"),
                        QStringLiteral("% contrato"), QStringLiteral("% Título")},
                       pai) {
    Alinha(3, Qt::AlignRight);
    Alinha(4, Qt::AlignRight);
    Alinha(5, Qt::AlignRight);
    resize(640, 400);
    preenche(0);
}

void TFRMTAXMANUT::preenche(std::uint32_t registro) {
    linhas_ = LinhasDasTaxas(DMQUOR().TBCONVETAX);
    std::vector<LinhaGrade> linhas;
    for (const LinhaTaxa& l : linhas_)
        linhas.push_back({{QtDeAnsi(l.DATINITAX), QtDeAnsi(l.DATFINTAX), QtDeAnsi(l.PRODTAX),
                           QtDeAnsi(l.DIASTAX), QtDeAnsi(l.TAXABAN), QtDeAnsi(l.TAXAFOR)},
                          l.registro});
    Mostra(linhas, registro);
}

bool TFRMTAXMANUT::posiciona() {
    if (PosicionaTaxa(DMQUOR().TBCONVETAX, linhas_.at(static_cast<std::size_t>(LinhaAtual()))))
        return true;
    preenche(0);
    return false;
}

void TFRMTAXMANUT::abre() {
    std::uint32_t depois = RegistroAtual();
    {
        TFRMTAXINCALT janela(KFUNCAO, this);
        if (janela.exec() == QDialog::Accepted) depois = DMQUOR().TBCONVETAX.RecNo();
    }
    preenche(depois);
}

void TFRMTAXMANUT::Novo() {
    KFUNCAO = fmINCLUSAO;
    abre();
}

void TFRMTAXMANUT::Altera() {
    KFUNCAO = fmALTERACAO;
    if (posiciona()) abre();
}

void TFRMTAXMANUT::Exclui() {
    const int linha = LinhaAtual();
    if (!posiciona() || !ExcluiTaxa(DMQUOR().TBCONVETAX)) return;
    preenche(0);
    SelecionaLinha(linha);
}

void AbreManutencaoDeTaxas(QWidget* pai) {
    const TabelasAbertas tabelas{&DMQUOR().TBCONVETAX};
    TFRMTAXMANUT janela(pai);
    janela.exec();
}
