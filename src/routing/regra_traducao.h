#pragma once
// A client's translation rule, ready to be applied to the lines of its
// files: "the field at S5_INI..S5_FIN, when it holds S5_ORI, becomes
// S5_TRA". Every record position must stay where the layout puts it, so a
// rule never changes the length of what it rewrites:
//
// - the expected and the replacement texts are taken as their first L
//   characters (L = length of the span) and filled with blanks up to L. The
//   stored rule keeps both texts blank-filled to 30 characters; the table
//   gives them back without their trailing blanks, and the blanks are what
//   the operator meant;
// - a blank expected text (OBR_VAZIO) applies to every line; any other
//   applies only to lines that hold it in the span;
// - a rule with neither expected nor replacement text (the register leaves
//   such rules, positions only, when the texts were never typed) changes
//   nothing: read literally it would blank the field on every line;
// - a rule whose positions do not make a span (start 0 or below, end before
//   start) changes nothing;
// - a line shorter than the span is first filled with blanks up to it, as
//   its fixed-length record will be.
//
// The returns go the other way (Reverte): a span that holds the replacement
// text gets the expected text back, both taken as long as the span, so
// again nothing moves. Only what can be told apart is put back:
// - a blank expected text rewrote every line whatever it held, so the
//   bank's return says nothing of what was there: the span stays as the
//   bank sent it (this is the rule that writes the bank's identification
//   of the client into the header);
// - a blank replacement cannot be told from a blank field: the span stays.

#include <string>
#include <string_view>

#include "registers/manconvecli.h"

class RegraTraducao {
public:
    explicit RegraTraducao(const TXKTBCONVE& regra);

    // True when the rule can change a line at all.
    bool Ativa() const { return ativa_; }
    int Inicio() const { return inicio_; }  // 1-based
    int Fim() const { return inicio_ + tamanho_ - 1; }
    // Expected and replacement texts, both exactly as long as the span.
    const std::string& Esperado() const { return esperado_; }
    const std::string& Substituto() const { return substituto_; }
    bool ParaTodaLinha() const { return paraToda_; }
    // The way back can change a line at all.
    bool Reversivel() const { return reversivel_; }

    // Rewrites the span of the line when the rule applies to it; true when
    // it did.
    bool Aplica(std::string& linha) const;

    // The way back: true when the line holds the replacement in the span
    // and the rule can put the expected text back.
    bool Reverteria(std::string_view linha) const;
    // Puts the expected text back when Reverteria; true when it did.
    bool Reverte(std::string& linha) const;

private:
    bool ativa_ = false;
    bool paraToda_ = false;
    bool reversivel_ = false;
    int inicio_ = 0;
    int tamanho_ = 0;
    std::string esperado_;
    std::string substituto_;
};

// The span of the line, filled with blanks up to the span's length.
std::string TrechoDaLinha(const std::string& linha, int inicio, int tamanho);
