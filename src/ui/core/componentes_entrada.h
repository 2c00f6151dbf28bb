#pragma once
// The input fields of the windows: dates, whole numbers, decimal numbers and
// a choice among radio buttons. Each keeps a typed value beside its text and
// finishes its text when the focus leaves it; the rules of that live in the
// motor (core/campos_entrada.h), these widgets only apply them.
//
// A field's exit handling runs when the focus moves to another control of
// the same window, not when the window itself loses the focus (a message box
// opening over it, another program). Windows move the focus to their OK
// button before reading the values, so that the field being left finishes
// first.

#include <QGroupBox>
#include <QLineEdit>
#include <QList>
#include <QRadioButton>
#include <functional>

#include "core/texto/calendario.h"
#include "core/texto/campos_entrada.h"

class QGridLayout;
class QVBoxLayout;

// Raised at the end of a field's own exit handling, with the field.
using TEventoSAIDA = std::function<void(QWidget* sender)>;

class TCOMPDATA : public QLineEdit {
    Q_OBJECT
public:
    explicit TCOMPDATA(QWidget* parent = nullptr);

    TData ASDATETIME() const { return regras_.KDATADIG; }
    // 0 clears the date but leaves the text as it is.
    void setASDATETIME(TData data);

    TEventoSAIDA OnSAIDA;

protected:
    void focusOutEvent(QFocusEvent* e) override;

private:
    void sai();
    RegrasCampoData regras_;
};

class TCOMPINTEGER : public QLineEdit {
    Q_OBJECT
public:
    explicit TCOMPINTEGER(QWidget* parent = nullptr);

    int Inteiros() const { return regras_.KINTEIROS; }
    void setInteiros(int inteiros);
    int ASINTEGER() const { return regras_.KASINTEGER; }
    void setASINTEGER(int valor);

    TEventoSAIDA OnSAIDA;

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void aplicaMascara();
    void mostra(const std::string& alinhado);
    void sai();
    RegrasCampoInteiro regras_;
};

class TCOMPFLOAT : public QLineEdit {
    Q_OBJECT
public:
    explicit TCOMPFLOAT(QWidget* parent = nullptr);

    int Inteiros() const { return regras_.KINTEIROS; }
    void setInteiros(int inteiros) { regras_.KINTEIROS = inteiros; }
    int Decimais() const { return regras_.KDECIMAIS; }
    void setDecimais(int decimais) { regras_.KDECIMAIS = decimais; }
    double ASFLOAT() const { return regras_.KASFLOAT; }
    void setASFLOAT(double valor);

    TEventoSAIDA OnSAIDA;

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void textoMudou();
    void mostra(const std::string& texto);
    void sai();
    RegrasCampoFloat regras_;
    bool mudandoTexto_ = false;
};

// The item index of a button is its place among the group's radio buttons,
// which is also their tab order (AdicionaItem keeps both in step).
class TMVRADIOGROUP : public QGroupBox {
    Q_OBJECT
public:
    explicit TMVRADIOGROUP(const QString& titulo = QString(), QWidget* parent = nullptr);

    QRadioButton* AdicionaItem(const QString& texto);
    // The same, placed in a grid of columns (captions with AdicionaTitulo);
    // the item index and tab order still follow the order of the calls.
    QRadioButton* AdicionaItem(const QString& texto, int linha, int coluna);
    void AdicionaTitulo(const QString& texto, int linha, int coluna);
    QList<QRadioButton*> Botoes() const;

    // Reading first takes the choice from the buttons, as leaving the group
    // does (OnSAIDA included).
    int ITEMINDEX();
    // Checks the button of that index; with no such button (-1) no button
    // changes.
    void setITEMINDEX(int indice);

    TEventoSAIDA OnSAIDA;

private:
    void focoMudou(QWidget* antes, QWidget* agora);
    void sai();
    QGridLayout* grade();
    QRadioButton* novoBotao(const QString& texto);
    QVBoxLayout* layout_;
    QGridLayout* grade_ = nullptr;
    int KITEMINDEX = -1;
};
