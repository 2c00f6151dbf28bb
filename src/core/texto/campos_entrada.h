#pragma once
// The rules of the input fields the windows use for dates, whole numbers,
// decimal numbers and radio choices: what the text becomes when a key is
// typed and when the focus leaves the field, and which value is read from
// it. The Qt widgets keep one of these objects and only apply what it
// answers, so that every rule can be tested without a screen.
//
// Texts are Windows-1252, as everywhere in the motor. Numbers use the
// Brazilian marks whatever the machine's locale: decimal "," and
// thousands ".".

#include <optional>
#include <string>
#include <vector>

#include "core/texto/calendario.h"

// Date field: "dd/mm/yyyy" in a mask whose empty form is "  /  /    ".
class RegrasCampoData {
public:
    static constexpr const char* kMascaraVazia = "  /  /    ";

    TData KDATADIG = 0;  // 0 = no date

    // Writing ASDATETIME: the text to show. A write of 0 shows nothing new
    // (the field keeps its text), so it answers nothing.
    std::optional<std::string> DefineData(TData data);

    // Leaving the field. An empty mask clears the date; a date is taken;
    // anything else clears the date too. Answers true when the text was
    // refused: the field is then emptied and keeps the focus, so the person
    // types the date again.
    bool Sai(const std::string& texto);
};

// Whole-number field: the digits stand right-aligned in KINTEIROS positions.
class RegrasCampoInteiro {
public:
    static constexpr int kLarguraInicial = 41;  // pixels, before Inteiros is set

    int KASINTEGER = 0;
    int KINTEIROS = 1;
    bool KLIMPA = true;  // the next key starts from an empty field

    void DefineInteiros(int inteiros);
    int Largura() const { return 8 * KINTEIROS + 17; }  // pixels

    // Writing ASINTEGER: the text to show.
    std::string DefineValor(int valor);
    // The value as the field shows it: blanks in front, KINTEIROS wide (a
    // longer number is not cut here).
    std::string Texto() const;

    // A key typed: true when the text must be emptied before the key is
    // taken (the first key after entering the field replaces its value).
    bool Tecla();

    // Leaving the field: reads the integer the text holds (0 when it holds
    // none) and answers the text to show.
    std::string Sai(const std::string& texto);
};

// Decimal-number field, without mask: KINTEIROS integer digits and
// KDECIMAIS decimals, shown with thousands marks and right-aligned in
// KINTEIROS + KDECIMAIS + 1 positions.
class RegrasCampoFloat {
public:
    double KASFLOAT = 0;
    int KINTEIROS = 10;
    int KDECIMAIS = 2;
    bool KLIMPA = true;         // the first key typed in the field's life empties it
    bool KDIGITOU = false;      // the text was edited since the last exit
    bool KPREPARAMASK = true;   // a change of text right-aligns it
    int limite = 0;             // maximum length while typing; 0 = none

    // Writing ASFLOAT: the text to show (before the change rule aligns it).
    std::string DefineValor(double valor);

    // A change of the text: right-aligned when KPREPARAMASK; a text that does
    // not fit stays as it is.
    std::string Muda(const std::string& texto) const;
    std::string Alinha(const std::string& texto) const;

    struct Tecla {
        bool esvazia = false;  // empty the text before taking the key
        bool aceita = false;   // false: the key is discarded
    };
    // A key typed ('\b' is backspace) while the field holds `texto`.
    Tecla Digita(char tecla, const std::string& texto);
    // Whether `inseridos` characters fit in a text of `tamanho` characters
    // of which `selecionados` are being replaced. A text already longer than
    // the limit is never cut: it only cannot grow.
    bool Cabe(int tamanho, int selecionados, int inseridos) const;
    // The text was changed other than by a typed key (pasted with the mouse,
    // dropped, undone): it must be read again on exit like typed text.
    void EditadoSemTecla();

    // Leaving the field: the text to show, or nothing when the text is to
    // stay (nothing was typed since the last exit). KASFLOAT is then the
    // value the field shows.
    std::optional<std::string> Sai(const std::string& texto);
};

// Number with thousands marks and exactly `decimais` decimals, rounded half
// away from zero to `decimais` decimals or to `precisao` significant digits,
// whichever keeps fewer; the integer digits are never rounded away.
std::string NumeroComMilhar(double valor, int precisao, int decimais);

// A number as typed: optional sign, digits, an optional decimal "," with
// digits, an optional exponent; blanks at both ends allowed. No thousands
// marks. False when the text is not such a number.
bool LeNumeroDigitado(const std::string& texto, double& valor);

// Radio choice: the index of the first checked button (in their tab order),
// or `atual` when none is checked.
int IndiceDoMarcado(const std::vector<bool>& marcados, int atual);
