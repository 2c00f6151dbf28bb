#include "ui/registers/tfrmdetalhe.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/core/componentes_entrada.h"
#include "ui/core/janela_modal.h"
#include "ui/core/qt_texto.h"
#include "ui/registers/tfrmclimanut.h"

namespace {

// Room for `caracteres` typed characters.
void larguraPara(QLineEdit* campo, int caracteres) {
    const QFontMetrics fm(campo->font());
    campo->setFixedWidth(fm.horizontalAdvance(QString(caracteres, QLatin1Char('0'))) + 12);
}

QLineEdit* novoTexto(QWidget* pai, const char* nome, int tamanho) {
    auto* campo = new QLineEdit(pai);
    campo->setObjectName(QString::fromLatin1(nome));
    campo->setMaxLength(tamanho);
    larguraPara(campo, tamanho);
    return campo;
}

TCOMPINTEGER* novoNumero(QWidget* pai, const char* nome, int digitos) {
    auto* campo = new TCOMPINTEGER(pai);
    campo->setObjectName(QString::fromLatin1(nome));
    campo->setInteiros(digitos);
    return campo;
}

}  // namespace

TFRMDETALHE::TFRMDETALHE(TFRMCLIINCALT& incalt, const QString& titulo)
    : QDialog(&incalt), cliente_(incalt.Cliente()), incalt_(incalt) {
    setWindowTitle(titulo);
    setModal(true);
    layout_ = new QVBoxLayout(this);
    campos_ = new QGridLayout;
    campos_->setColumnStretch(4, 1);
    layout_->addLayout(campos_);
}

int TFRMDETALHE::proximaLinha() { return linhas_++; }

void TFRMDETALHE::TitulosArquivo(bool comUltimo) {
    const int l = proximaLinha();
    campos_->addWidget(new QLabel(QStringLiteral("Nome do arquivo (sem extensão )"), this), l, 1);
    if (comUltimo) campos_->addWidget(new QLabel(QStringLiteral("Último"), this), l, 2);
}

QLineEdit* TFRMDETALHE::Arquivo(const char* nome, const QString& rotulo,
                                std::string CamposCliente::*k, const char* nomeUltimo,
                                int CamposCliente::*ultimo) {
    QLineEdit* campo = Texto(nome, rotulo, 30, k);
    if (nomeUltimo) {
        TCOMPINTEGER* numero = novoNumero(this, nomeUltimo, 6);
        campos_->addWidget(numero, linhas_ - 1, 2);
        carrega_.push_back([this, numero, ultimo] { numero->setASINTEGER(cliente_.*ultimo); });
        descarrega_.push_back([this, numero, ultimo] { cliente_.*ultimo = numero->ASINTEGER(); });
    }
    return campo;
}

QLineEdit* TFRMDETALHE::Texto(const char* nome, const QString& rotulo, int tamanho,
                              std::string CamposCliente::*k, const QString& nota) {
    const int l = proximaLinha();
    QLineEdit* campo = novoTexto(this, nome, tamanho);
    auto* legenda = new QLabel(rotulo, this);
    legenda->setBuddy(campo);
    campos_->addWidget(legenda, l, 0);
    if (nota.isEmpty()) {
        // Long fields take the "Último" column too.
        campos_->addWidget(campo, l, 1, 1, tamanho > 30 ? 3 : 1);
    } else {
        auto* linha = new QHBoxLayout;
        linha->addWidget(campo);
        linha->addWidget(new QLabel(nota, this));
        linha->addStretch();
        campos_->addLayout(linha, l, 1, 1, 3);
    }
    if (!TXTARQREMCLI) TXTARQREMCLI = campo;
    carrega_.push_back([this, campo, k] { campo->setText(QtDeAnsi(cliente_.*k)); });
    descarrega_.push_back([this, campo, k] { cliente_.*k = QtParaAnsi(campo->text()); });
    return campo;
}

TCOMPINTEGER* TFRMDETALHE::Numero(const char* nome, const QString& rotulo, int digitos,
                                  int CamposCliente::*k) {
    const int l = proximaLinha();
    TCOMPINTEGER* campo = novoNumero(this, nome, digitos);
    campos_->addWidget(new QLabel(rotulo, this), l, 0);
    campos_->addWidget(campo, l, 1);
    carrega_.push_back([this, campo, k] { campo->setASINTEGER(cliente_.*k); });
    descarrega_.push_back([this, campo, k] { cliente_.*k = campo->ASINTEGER(); });
    return campo;
}

void TFRMDETALHE::Equalizacao() {
    auto* grupo = new QGroupBox(QStringLiteral("Equalização antecipada ?"), this);
    grupo->setObjectName(QStringLiteral("RADTIPEQUCLI"));
    auto* linha = new QHBoxLayout(grupo);
    auto* botoes = new QButtonGroup(grupo);
    int indice = 0;
    for (const QString& item : {QStringLiteral("Sim"), QStringLiteral("Não"), QStringLiteral("Depende")}) {
        auto* b = new QRadioButton(item, grupo);
        botoes->addButton(b, indice++);
        linha->addWidget(b);
    }
    campos_->addWidget(grupo, proximaLinha(), 0, 1, 4);
    carrega_.push_back([this, botoes] {
        const int i = cliente_.Servicos().CLI_TRTIPEQUCLI(trCODIGOtoNUMERICO, cliente_.KTIPEQUCLI, 0).numero;
        if (QAbstractButton* b = botoes->button(i)) b->setChecked(true);
    });
    descarrega_.push_back([this, botoes] {
        cliente_.KTIPEQUCLI =
            cliente_.Servicos().CLI_TRTIPEQUCLI(trNUMERICOtoCODIGO, "", botoes->checkedId()).texto;
    });
}

void TFRMDETALHE::Regras() {
    auto* grupo = new QGroupBox(QStringLiteral("Campos para tradução do arquivo do cliente"), this);
    grupo->setObjectName(QStringLiteral("GRPTRADUCAO"));
    auto* grade = new QGridLayout(grupo);
    const QStringList titulos = {QStringLiteral("Início"), QStringLiteral("Fim"),
                                 QStringLiteral("Conteúdo"), QStringLiteral("Traduzir para :")};
    for (int c = 0; c < titulos.size(); ++c) grade->addWidget(new QLabel(titulos[c], grupo), 0, c + 1);
    struct Grupo {
        const char* prefixo;
        TKTBCONVE CamposCliente::*regras;
    };
    const Grupo grupos[] = {{"HEA", &CamposCliente::KTBHEACON}, {"DET", &CamposCliente::KTBDETCON}};
    // Header rules in rows 1 to 3, a little room, detail rules in rows 5 to 7.
    grade->setRowMinimumHeight(4, 8);
    for (int gi = 0; gi < 2; ++gi) {
        const Grupo& g = grupos[gi];
        for (int n = 1; n <= TKTBCONVE::Tamanho(); ++n) {
            const int linha = n + 4 * gi;
            auto nome = [&](const char* parte) {
                return "TXT" + std::string(g.prefixo) + parte + std::to_string(n);
            };
            grade->addWidget(new QLabel(QStringLiteral("%1o. : ").arg(n), grupo), linha, 0);
            TCOMPINTEGER* ini = novoNumero(grupo, nome("INI").c_str(), 3);
            TCOMPINTEGER* fin = novoNumero(grupo, nome("FIN").c_str(), 3);
            QLineEdit* ant = novoTexto(grupo, nome("ANT").c_str(), 30);
            QLineEdit* nov = novoTexto(grupo, nome("NOV").c_str(), 30);
            grade->addWidget(ini, linha, 1);
            grade->addWidget(fin, linha, 2);
            grade->addWidget(ant, linha, 3);
            grade->addWidget(nov, linha, 4);
            auto regra = [this, g, n]() -> TXKTBCONVE& { return (cliente_.*g.regras)[n]; };
            carrega_.push_back([=] {
                ini->setASINTEGER(regra().S5_INI);
                fin->setASINTEGER(regra().S5_FIN);
                ant->setText(QtDeAnsi(regra().S5_ORI));
                nov->setText(QtDeAnsi(regra().S5_TRA));
            });
            descarrega_.push_back([=] {
                regra() = {ini->ASINTEGER(), fin->ASINTEGER(), QtParaAnsi(ant->text()),
                           QtParaAnsi(nov->text())};
            });
        }
    }
    layout_->addWidget(grupo);
}

void TFRMDETALHE::Filiais() {
    const int l = proximaLinha();
    campos_->addWidget(new QLabel(QStringLiteral("Arquivo Retorno do Cliente : "), this), l, 0,
                       Qt::AlignTop);
    auto* grupo = new QGroupBox(QStringLiteral("Quebra por filial"), this);
    grupo->setObjectName(QStringLiteral("GRPFILIAL"));
    auto* grade = new QGridLayout(grupo);
    grade->addWidget(new QLabel(QStringLiteral("Filial"), grupo), 0, 0);
    grade->addWidget(new QLabel(QStringLiteral("Último gerado"), grupo), 0, 1);
    for (int k = 1; k <= TKTBBRFILIAL::Tamanho(); ++k) {
        QLineEdit* filial = novoTexto(grupo, ("TXTBRFILIAL" + std::to_string(k)).c_str(), 3);
        TCOMPINTEGER* ultimo = novoNumero(grupo, ("TXTULTRETBR" + std::to_string(k)).c_str(), 6);
        grade->addWidget(filial, k, 0);
        grade->addWidget(ultimo, k, 1);
        carrega_.push_back([this, filial, ultimo, k] {
            filial->setText(QtDeAnsi(cliente_.KTBBRFILIAL[k].S6_FILIAL));
            ultimo->setASINTEGER(cliente_.KTBBRFILIAL[k].S6_ULTRETBR);
        });
        descarrega_.push_back([this, filial, ultimo, k] {
            cliente_.KTBBRFILIAL[k] = {QtParaAnsi(filial->text()), ultimo->ASINTEGER()};
        });
    }
    campos_->addWidget(grupo, l, 1, 1, 2, Qt::AlignLeft);
}

void TFRMDETALHE::Fecha() {
    layout_->addStretch();
    const BotoesConfirma botoes(*this, layout_);
    BTNOK = botoes.BTNOK;
    BTNCANCELA = botoes.BTNCANCELA;
    connect(BTNOK, &QPushButton::clicked, this, [this] { PROTEGIDO([this] { BTNOKClick(); }); });
}

void TFRMDETALHE::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (mostrada_) return;
    mostrada_ = true;
    for (const auto& f : carrega_) f();
    if (TXTARQREMCLI) TXTARQREMCLI->setFocus(Qt::OtherFocusReason);
}

void TFRMDETALHE::BTNOKClick() {
    // The field being left finishes its own exit before anything is read.
    BTNOK->setFocus(Qt::OtherFocusReason);
    for (const auto& f : descarrega_) f();
    if (incalt_.CLI_KMENS(false)) {
        accept();
        return;
    }
    TXTARQREMCLI->setFocus(Qt::OtherFocusReason);
}

// ---- the windows of each type --------------------------------------------------

// Cofap and Celpav: the same fields, Celpav without the returns and the CNPJ.
void TFRMDETALHE::CamposVendorEqualizado(bool comRetornoECnpj) {
    using C = CamposCliente;
    TitulosArquivo();
    Arquivo("TXTARQREMCLI", QStringLiteral("Arquivo Remessa do Cliente : "), &C::KARQREMCLI,
            "TXTULTREMCLI", &C::KULTREMCLI);
    Arquivo("TXTARQREMBAN", QStringLiteral("Arquivo Remessa do Banco : "), &C::KARQREMBAN,
            "TXTULTREMBAN", &C::KULTREMBAN);
    if (comRetornoECnpj) {
        Arquivo("TXTARQRETBAN", QStringLiteral("Arquivo Retorno do Banco : "), &C::KARQRETBAN,
                "TXTULTRETBAN", &C::KULTRETBAN);
        Arquivo("TXTARQRETCLI", QStringLiteral("Arquivo Retorno do Cliente : "), &C::KARQRETCLI,
                "TXTULTRETCLI", &C::KULTRETCLI);
    }
    Texto("TXTLEGENINS", QStringLiteral("Legenda (mnemônico) : "), 5, &C::KLEGENINS);
    Numero("TXTNUMPROGOP", QStringLiteral("Programa Operacional :"), 5, &C::KNUMPROGOP);
    Texto("TXTIDENTEMP", QStringLiteral("Ident. da empresa no Banco : "), 20, &C::KIDENTEMP);
    Numero("TXTATIVICLI", QStringLiteral("Código atividade (Cliente) :"), 4, &C::KATIVICLI);
    if (comRetornoECnpj)
        Texto("TXTCGCCLI", QStringLiteral("C.N.P.J. do Cliente :"), 14, &C::KCGCCLI);
    Texto("TXTNUMCONV", QStringLiteral("Número do Convênio :"), 9, &C::KNUMCONV);
    Texto("TXTAGEFOR", QStringLiteral("Código da Agência : "), 4, &C::KAGEFOR);
    Equalizacao();
    Fecha();
}

TFRMVENDORCOFAP::TFRMVENDORCOFAP(TFRMCLIINCALT& incalt)
    : TFRMDETALHE(incalt, QStringLiteral("Detalhamento do Cliente Cofap - Vendor")) {
    CamposVendorEqualizado(true);
}

TFRMVENDORCELPAV::TFRMVENDORCELPAV(TFRMCLIINCALT& incalt)
    : TFRMDETALHE(incalt, QStringLiteral("Detalhamento do Cliente Celpav - Vendor")) {
    CamposVendorEqualizado(false);
}

TFRMVENDORWABCO::TFRMVENDORWABCO(TFRMCLIINCALT& incalt)
    : TFRMDETALHE(incalt, QStringLiteral("Detalhamento do Cliente Wabco - Vendor")) {
    using C = CamposCliente;
    TitulosArquivo();
    Arquivo("TXTARQREMCLI", QStringLiteral("Arquivo Remessa do Cliente : "), &C::KARQREMCLI);
    Arquivo("TXTARQREMBAN", QStringLiteral("Arquivo Remessa do Banco : "), &C::KARQREMBAN,
            "TXTULTREMBAN", &C::KULTREMBAN);
    Arquivo("TXTARQRETBAN", QStringLiteral("Arquivo Retorno do Banco : "), &C::KARQRETBAN,
            "TXTULTRETBAN", &C::KULTRETBAN);
    Arquivo("TXTARQRETCLI", QStringLiteral("Arquivo Retorno do Cliente : "), &C::KARQRETCLI);
    Texto("TXTLEGENINS", QStringLiteral("Legenda (mnemônico) : "), 5, &C::KLEGENINS);
    Texto("TXTIDENTEMP", QStringLiteral("Ident. da empresa no Banco : "), 20, &C::KIDENTEMP);
    Numero("TXTNUMPROGOP", QStringLiteral("Código empresa consignante :"), 5, &C::KNUMPROGOP);
    Fecha();
}

TFRMVENDORBR::TFRMVENDORBR(TFRMCLIINCALT& incalt)
    : TFRMDETALHE(incalt, QStringLiteral("Detalhamento do Cliente BR - Vendor")) {
    using C = CamposCliente;
    TitulosArquivo();
    Arquivo("TXTARQREMCLI", QStringLiteral("Arquivo Remessa do Cliente : "), &C::KARQREMCLI);
    Arquivo("TXTARQREMBAN", QStringLiteral("Arquivo Remessa do Banco : "), &C::KARQREMBAN,
            "TXTULTREMBAN", &C::KULTREMBAN);
    Arquivo("TXTARQRETBAN", QStringLiteral("Arquivo Retorno do Banco : "), &C::KARQRETBAN,
            "TXTULTRETBAN", &C::KULTRETBAN);
    Filiais();
    Fecha();
}

namespace {

QString tituloVendor250240(int itemIndex) {
    switch (itemIndex) {
        case 7: return QStringLiteral("Detalhamento do Cliente - Tipo de empresa : VENDOR - 250");
        case 6: return QStringLiteral("Detalhamento do Cliente - Tipo de empresa : VENDOR - 240");
        default: return QStringLiteral("Detalhamento do Cliente - Tipo de empresa : COBRANCA - 240");
    }
}

}  // namespace

TFRMCLIVENDOR250240::TFRMCLIVENDOR250240(TFRMCLIINCALT& incalt)
    : TFRMDETALHE(incalt, tituloVendor250240(incalt.Cliente().ITEMINDEX)) {
    using C = CamposCliente;
    TitulosArquivo(false);
    Arquivo("TXTARQREMCLI", QStringLiteral("Arquivo Remessa do Cliente : "), &C::KARQREMCLI);
    Arquivo("TXTARQRETCLI", QStringLiteral("Arquivo Retorno do Cliente : "), &C::KARQRETCLI);
    Regras();
    Fecha();
}

TFRMCLICOBRANCA::TFRMCLICOBRANCA(TFRMCLIINCALT& incalt)
    : TFRMDETALHE(incalt, QStringLiteral("Detalhamento do Cliente - Tipo de empresa : COBRANCA")) {
    using C = CamposCliente;
    TitulosArquivo(false);
    Arquivo("TXTARQREMCLI", QStringLiteral("Arquivo Remessa do Cliente : "), &C::KARQREMCLI);
    Arquivo("TXTARQRETCLI", QStringLiteral("Arquivo Retorno do Cliente : "), &C::KARQRETCLI);
    Texto("TXTCODCOBLIQ", QStringLiteral("Ocorrências para o 1o. Arquivo :"), 51, &C::KCODCOBLIQ);
    Texto("TXTCODCOBCON", QStringLiteral("Ocorrências para o 2o. Arquivo :"), 51, &C::KCODCOBCON);
    Texto("TXTDIRTEMP", QStringLiteral("Diretório Temporário : "), 40, &C::KDIRTEMP);
    Numero("TXTULTPASCLI", QStringLiteral("Última passada do cliente : "), 2, &C::KULTPASCLI);
    Texto("TXTNOMEPLAN", QStringLiteral("Nome da Planilha : "), 30, &C::KNOMEPLAN);
    Regras();
    Fecha();
}

TFRMCLIDESCONTO::TFRMCLIDESCONTO(TFRMCLIINCALT& incalt)
    : TFRMDETALHE(incalt, QStringLiteral("Detalhamento do Cliente - Tipo de empresa : DESCONTO")) {
    using C = CamposCliente;
    TitulosArquivo(false);
    Arquivo("TXTARQREMCLI", QStringLiteral("Arquivo Remessa do Cliente : "), &C::KARQREMCLI);
    Arquivo("TXTARQRETCLI", QStringLiteral("Arquivo Retorno do Cliente : "), &C::KARQRETCLI);
    Texto("TXTIDENTEMP", QStringLiteral("Ident. da empresa no banco : "), 20, &C::KIDENTEMP,
          QStringLiteral("[ Pos. 30/40 do Header ]"));
    Fecha();
}
