#include "ui/registers/tfrmclimanut.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/dados/tabelas_abertas.h"
#include "core/dados/tdmquor.h"
#include "ui/core/componentes_entrada.h"
#include "ui/core/janela_modal.h"
#include "ui/core/qt_texto.h"
#include "ui/registers/tfrmdetalhe.h"

// ---- TFRMCLIINCALT -------------------------------------------------------------

TFRMCLIINCALT::TFRMCLIINCALT(TfmINCALT funcao, TmanCONVECLI& omanCONVECLI, QWidget* pai)
    : QDialog(pai),
      cliente_(std::make_unique<TcadCLIENTE>(DMQUOR().TBCONVECLI, omanCONVECLI, funcao)) {
    setWindowTitle(QStringLiteral("Manutenção Tabela de Clientes"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* campos = new QGridLayout;
    TXTCODCLI = new QLineEdit(this);
    TXTCODCLI->setObjectName(QStringLiteral("TXTCODCLI"));
    TXTCODCLI->setMaxLength(15);
    TXTNOMEEMP = new QLineEdit(this);
    TXTNOMEEMP->setObjectName(QStringLiteral("TXTNOMEEMP"));
    TXTNOMEEMP->setMaxLength(30);
    const QFontMetrics fm(TXTNOMEEMP->font());
    TXTCODCLI->setFixedWidth(fm.horizontalAdvance(QString(15, QLatin1Char('0'))) + 12);
    TXTNOMEEMP->setFixedWidth(fm.horizontalAdvance(QString(30, QLatin1Char('0'))) + 12);
    auto* rotuloCodigo = new QLabel(QStringLiteral("Código do Cliente"), this);
    rotuloCodigo->setBuddy(TXTCODCLI);
    auto* rotuloNome = new QLabel(QStringLiteral("Nome da Empresa"), this);
    rotuloNome->setBuddy(TXTNOMEEMP);
    campos->addWidget(rotuloCodigo, 0, 0);
    campos->addWidget(TXTCODCLI, 0, 1, Qt::AlignLeft);
    campos->addWidget(rotuloNome, 1, 0);
    campos->addWidget(TXTNOMEEMP, 1, 1, Qt::AlignLeft);
    layout->addLayout(campos);

    // Two columns: the four Vendor conversion clients, the five routed
    // products. The item index is the order in which they are added.
    RADTIPOEMP = new TMVRADIOGROUP(QStringLiteral("Tipo de Empresa"), this);
    RADTIPOEMP->setObjectName(QStringLiteral("RADTIPOEMP"));
    RADTIPOEMP->AdicionaTitulo(QStringLiteral("Conversão de Vendor"), 0, 0);
    RADTIPOEMP->AdicionaTitulo(QStringLiteral("Concatena/Segrega"), 0, 1);
    const auto& tipos = TiposDeEmpresa();
    for (int i = 0; i < static_cast<int>(tipos.size()); ++i)
        RADTIPOEMP->AdicionaItem(QtDeAnsi(tipos[static_cast<std::size_t>(i)].legenda),
                                 i < 4 ? i + 1 : i - 3, i < 4 ? 0 : 1);
    layout->addWidget(RADTIPOEMP);

    BTNDETALHA = new QPushButton(QStringLiteral("Detalhamento do tipo da empresa"), this);
    BTNDETALHA->setObjectName(QStringLiteral("BTNDETALHA"));
    BTNDETALHA->setToolTip(
        QStringLiteral(" Informa detalhes de cadastramento da empresa selecionada "));
    BTNDETALHA->setAutoDefault(false);
    layout->addWidget(BTNDETALHA, 0, Qt::AlignLeft);

    const BotoesConfirma botoes(*this, layout);
    BTNOK = botoes.BTNOK;
    BTNCANCELA = botoes.BTNCANCELA;
    connect(BTNDETALHA, &QPushButton::clicked, this, [this] { PROTEGIDO([this] { BTNDETALHAClick(); }); });
    connect(BTNOK, &QPushButton::clicked, this, [this] { PROTEGIDO([this] { BTNOKClick(); }); });
    FormShow();
}

TFRMCLIINCALT::~TFRMCLIINCALT() = default;

void TFRMCLIINCALT::FormShow() {
    TcadCLIENTE& c = *cliente_;
    c.FormShow();
    TXTCODCLI->setText(QtDeAnsi(c.TXTCODCLI));
    TXTNOMEEMP->setText(QtDeAnsi(c.TXTNOMEEMP));
    RADTIPOEMP->setITEMINDEX(c.ITEMINDEX);
    TXTCODCLI->setEnabled(c.CodigoHabilitado());
}

bool TFRMCLIINCALT::CLI_KMENS(bool gravar) {
    TcadCLIENTE& c = *cliente_;
    c.TXTCODCLI = QtParaAnsi(TXTCODCLI->text());
    c.TXTNOMEEMP = QtParaAnsi(TXTNOMEEMP->text());
    c.ITEMINDEX = RADTIPOEMP->ITEMINDEX();
    return c.CLI_KMENS(gravar);
}

void TFRMCLIINCALT::BTNDETALHAClick() {
    TcadCLIENTE& c = *cliente_;
    c.ITEMINDEX = RADTIPOEMP->ITEMINDEX();
    if (!c.DetalhaCliente()) return;
    std::unique_ptr<TFRMDETALHE> janela;
    switch (JanelaDeDetalheDoCliente(c.ITEMINDEX)) {
        case detCOFAP: janela = std::make_unique<TFRMVENDORCOFAP>(*this); break;
        case detBR: janela = std::make_unique<TFRMVENDORBR>(*this); break;
        case detCELPAV: janela = std::make_unique<TFRMVENDORCELPAV>(*this); break;
        case detWABCO: janela = std::make_unique<TFRMVENDORWABCO>(*this); break;
        case detVENDOR250240: janela = std::make_unique<TFRMCLIVENDOR250240>(*this); break;
        case detCOBRANCA: janela = std::make_unique<TFRMCLICOBRANCA>(*this); break;
        case detDESCONTO: janela = std::make_unique<TFRMCLIDESCONTO>(*this); break;
        case detNENHUMA: return;
    }
    janela->exec();
}

void TFRMCLIINCALT::BTNOKClick() {
    // The field being left finishes its own exit before anything is read.
    BTNOK->setFocus(Qt::OtherFocusReason);
    if (CLI_KMENS(true)) {
        accept();
        return;
    }
    if (TXTCODCLI->isEnabled())
        TXTCODCLI->setFocus(Qt::OtherFocusReason);
    else
        RADTIPOEMP->setFocus(Qt::OtherFocusReason);
}

// ---- TFRMCLIMANUT --------------------------------------------------------------

TFRMCLIMANUT::TFRMCLIMANUT(QWidget* pai)
    : JanelaManutencao(QStringLiteral("Manutenção da Tabela de Clientes"),
                       {QStringLiteral("Código"), QStringLiteral("Tipo"),
                        QStringLiteral("Nome empresa")},
                       pai) {
    Alinha(1, Qt::AlignHCenter);
    resize(560, 400);
    preenche(0);
}

void TFRMCLIMANUT::preenche(std::uint32_t registro) {
    std::vector<LinhaGrade> linhas;
    for (const LinhaCliente& l : LinhasDosClientes(DMQUOR().TBCONVECLI))
        linhas.push_back({{QtDeAnsi(l.CODCLI), QtDeAnsi(l.TIPOEMP), QtDeAnsi(l.NOMEEMP)},
                          l.registro});
    Mostra(linhas, registro);
}

void TFRMCLIMANUT::abre() {
    Tabela& cli = DMQUOR().TBCONVECLI;
    TmanCONVECLI oman;
    std::uint32_t depois = RegistroAtual();
    {
        TFRMCLIINCALT janela(KFUNCAO, oman, this);
        if (janela.exec() == QDialog::Accepted) depois = cli.RecNo();
    }
    preenche(depois);
}

void TFRMCLIMANUT::Novo() {
    KFUNCAO = fmINCLUSAO;
    abre();
}

void TFRMCLIMANUT::Altera() {
    KFUNCAO = fmALTERACAO;
    const QString codigo = GRDTABELA->item(LinhaAtual(), 0)->text();
    if (!PosicionaNoRegistro(DMQUOR().TBCONVECLI, "CODCLI", {QtParaAnsi(codigo)},
                             RegistroAtual())) {
        preenche(0);
        return;
    }
    abre();
}

void TFRMCLIMANUT::Exclui() {
    Tabela& cli = DMQUOR().TBCONVECLI;
    const QString codigo = GRDTABELA->item(LinhaAtual(), 0)->text();
    const int linha = LinhaAtual();
    if (!PosicionaNoRegistro(cli, "CODCLI", {QtParaAnsi(codigo)}, RegistroAtual())) {
        preenche(0);
        return;
    }
    if (!ExcluiCliente(cli, DMQUOR().TBCONVEPEN)) return;
    preenche(0);
    SelecionaLinha(linha);
}

void AbreManutencaoDeClientes(QWidget* pai) {
    const TabelasAbertas tabelas{&DMQUOR().TBCONVECLI, &DMQUOR().TBCONVEPEN};
    TFRMCLIMANUT janela(pai);
    janela.exec();
}
