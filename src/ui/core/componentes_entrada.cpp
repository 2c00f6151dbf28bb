#include "ui/core/componentes_entrada.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <optional>

#include "ui/core/qt_texto.h"

namespace {

// The character a key types, '\b' for backspace; nothing for keys that only
// move, confirm, cancel or switch fields, and for shortcuts (Ctrl+C and the
// like), which keep their usual meaning.
std::optional<char> teclaDigitada(const QKeyEvent* e) {
    if (e->key() == Qt::Key_Backspace) return '\b';
    if (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return std::nullopt;
    const QString t = e->text();
    if (t.isEmpty() || t.at(0).unicode() < 0x20 || t.at(0).unicode() == 0x7F) return std::nullopt;
    return QtParaAnsi(t.left(1)).front();
}

// Focus that leaves for another control of the window, as opposed to the
// window losing the focus or a context menu opening.
bool saidaDoCampo(const QFocusEvent* e) {
    return e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason;
}

void selecionaTudoAoEntrar(QLineEdit* campo, const QFocusEvent* e) {
    if (saidaDoCampo(e)) campo->selectAll();
}

}  // namespace

// ---- TCOMPDATA ---------------------------------------------------------------

TCOMPDATA::TCOMPDATA(QWidget* parent) : QLineEdit(parent) {
    setInputMask(QStringLiteral("00/00/0000; "));
    setFixedWidth(85);
}

void TCOMPDATA::setASDATETIME(TData data) {
    if (const auto texto = regras_.DefineData(data)) setText(QtDeAnsi(*texto));
}

void TCOMPDATA::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (saidaDoCampo(e)) sai();
}

void TCOMPDATA::sai() {
    if (regras_.Sai(QtParaAnsi(displayText()))) {
        clear();
        // The focus is still on its way to the other control; it comes back
        // once that move is over.
        QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
    }
    if (OnSAIDA) OnSAIDA(this);
}

// ---- TCOMPINTEGER ------------------------------------------------------------

TCOMPINTEGER::TCOMPINTEGER(QWidget* parent) : QLineEdit(parent) {
    aplicaMascara();
    setFixedWidth(RegrasCampoInteiro::kLarguraInicial);
}

void TCOMPINTEGER::aplicaMascara() {
    setInputMask(QString(regras_.KINTEIROS, QLatin1Char('0')) + QStringLiteral("; "));
}

void TCOMPINTEGER::setInteiros(int inteiros) {
    regras_.DefineInteiros(inteiros);
    aplicaMascara();
    setFixedWidth(regras_.Largura());
}

void TCOMPINTEGER::setASINTEGER(int valor) {
    aplicaMascara();
    mostra(regras_.DefineValor(valor));
}

// The mask fills from the left; the blanks in front are kept by typing the
// digits after them.
void TCOMPINTEGER::mostra(const std::string& alinhado) {
    const QString t = QtDeAnsi(alinhado);
    qsizetype brancos = 0;
    while (brancos < t.size() && t.at(brancos) == QLatin1Char(' ')) ++brancos;
    clear();
    setCursorPosition(static_cast<int>(brancos));
    insert(t.mid(brancos));
}

void TCOMPINTEGER::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    selecionaTudoAoEntrar(this, e);
}

void TCOMPINTEGER::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (saidaDoCampo(e)) sai();
}

void TCOMPINTEGER::keyPressEvent(QKeyEvent* e) {
    if (teclaDigitada(e) && regras_.Tecla()) {
        aplicaMascara();
        clear();
    }
    QLineEdit::keyPressEvent(e);
}

void TCOMPINTEGER::sai() {
    const std::string texto = regras_.Sai(QtParaAnsi(displayText()));
    aplicaMascara();
    mostra(texto);
    if (OnSAIDA) OnSAIDA(this);
}

// ---- TCOMPFLOAT --------------------------------------------------------------

TCOMPFLOAT::TCOMPFLOAT(QWidget* parent) : QLineEdit(parent) {
    setFixedWidth(105);
    connect(this, &QLineEdit::textChanged, this, [this] { textoMudou(); });
    // Pasting with the mouse or dropping text types no key, but the text
    // shown is no longer the value: it is read again on exit.
    connect(this, &QLineEdit::textEdited, this, [this] { regras_.EditadoSemTecla(); });
}

void TCOMPFLOAT::setASFLOAT(double valor) { mostra(regras_.DefineValor(valor)); }

void TCOMPFLOAT::mostra(const std::string& texto) { setText(QtDeAnsi(texto)); }

void TCOMPFLOAT::textoMudou() {
    if (mudandoTexto_) return;
    const std::string atual = QtParaAnsi(text());
    const std::string alinhado = regras_.Muda(atual);
    if (alinhado == atual) return;
    mudandoTexto_ = true;
    setText(QtDeAnsi(alinhado));
    mudandoTexto_ = false;
}

void TCOMPFLOAT::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    selecionaTudoAoEntrar(this, e);
}

void TCOMPFLOAT::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (saidaDoCampo(e)) sai();
}

void TCOMPFLOAT::keyPressEvent(QKeyEvent* e) {
    const auto tecla = teclaDigitada(e);
    if (!tecla) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    const auto t = regras_.Digita(*tecla, QtParaAnsi(text()));
    if (t.esvazia) clear();
    const bool cabe = *tecla == '\b' ||
                      regras_.Cabe(static_cast<int>(text().size()),
                                   static_cast<int>(selectedText().size()), 1);
    if (!t.aceita || !cabe) {
        e->accept();  // discarded
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void TCOMPFLOAT::sai() {
    if (const auto texto = regras_.Sai(QtParaAnsi(text()))) mostra(*texto);
    if (OnSAIDA) OnSAIDA(this);
}

// ---- TMVRADIOGROUP -----------------------------------------------------------

TMVRADIOGROUP::TMVRADIOGROUP(const QString& titulo, QWidget* parent)
    : QGroupBox(titulo, parent), layout_(new QVBoxLayout(this)) {
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* antes, QWidget* agora) { focoMudou(antes, agora); });
}

QRadioButton* TMVRADIOGROUP::novoBotao(const QString& texto) {
    const auto anteriores = Botoes();
    auto* botao = new QRadioButton(texto, this);
    if (!anteriores.isEmpty()) QWidget::setTabOrder(anteriores.back(), botao);
    return botao;
}

QRadioButton* TMVRADIOGROUP::AdicionaItem(const QString& texto) {
    QRadioButton* botao = novoBotao(texto);
    layout_->addWidget(botao);
    return botao;
}

QGridLayout* TMVRADIOGROUP::grade() {
    if (!grade_) {
        grade_ = new QGridLayout;
        layout_->addLayout(grade_);
    }
    return grade_;
}

QRadioButton* TMVRADIOGROUP::AdicionaItem(const QString& texto, int linha, int coluna) {
    QRadioButton* botao = novoBotao(texto);
    grade()->addWidget(botao, linha, coluna);
    return botao;
}

void TMVRADIOGROUP::AdicionaTitulo(const QString& texto, int linha, int coluna) {
    grade()->addWidget(new QLabel(texto, this), linha, coluna);
}

QList<QRadioButton*> TMVRADIOGROUP::Botoes() const {
    return findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}

int TMVRADIOGROUP::ITEMINDEX() {
    sai();
    return KITEMINDEX;
}

void TMVRADIOGROUP::setITEMINDEX(int indice) {
    KITEMINDEX = indice;
    const auto botoes = Botoes();
    if (indice >= 0 && indice < botoes.size()) botoes[indice]->setChecked(true);
}

void TMVRADIOGROUP::focoMudou(QWidget* antes, QWidget* agora) {
    // Leaving the group for another control of the same window.
    if (antes && agora && isAncestorOf(antes) && !isAncestorOf(agora) &&
        agora->window() == window())
        sai();
}

void TMVRADIOGROUP::sai() {
    std::vector<bool> marcados;
    for (const QRadioButton* b : Botoes()) marcados.push_back(b->isChecked());
    KITEMINDEX = IndiceDoMarcado(marcados, KITEMINDEX);
    if (OnSAIDA) OnSAIDA(this);
}
