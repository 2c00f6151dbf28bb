#pragma once
// Numbers to fixed-width text and back, with the Brazilian settings
// (decimal comma, thousands full stop) whatever the machine's locale.

#include <string>

// General conversion: plain decimal notation with at most 15 significant
// digits, "," as decimal mark, no thousands marks, leading minus. Never uses
// an exponent; a value that is not finite gives "NAN", "INF" or "-INF".
std::string TextoDoNumero(double valor);

// Number read from text: blanks and full stops are skipped, one comma is the
// decimal mark, a leading minus is the sign; reading stops at anything else
// ("12A34" is 12). Blank, or nothing but signs and commas, is 0.
double OBR_VALOR(const std::string& texto);

// Right-aligned in `largura` with blanks (0 = as is); too long = asterisks.
std::string OBR_INTTOSTR(long long valor, int largura);

// Rounded half away from zero to `decimais`, "," as mark, right-aligned in
// `largura` with blanks (0 = as is); too long = `largura` asterisks.
std::string OBR_FLOATTOSTR(int largura, int decimais, double valor);

// Digits of valor times ten to `decimais`, truncated, zero-filled on the left
// to `largura`; too long = `largura` asterisks. A negative value keeps its
// minus after the zeros ("00-12").
std::string OBR_ZEROS(int largura, int decimais, double valor);

// Value laid out by a picture such as "@E 999,999,999,999.99": "@E" swaps the
// marks to the Brazilian ones, "9" and "*" are digit places, a mask that does
// not begin with "9" fills with its first character. A value too big for the
// mask gives as many asterisks as the mask has characters.
std::string OBR_PICTURE(const std::string& picture, double valor);
