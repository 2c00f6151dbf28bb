#pragma once
// Fixed-width text: fitting, filling and reading the small pieces every file
// layout is made of. Text is Windows-1252, one byte per character.

#include <string>

// Blanks and control characters (every byte up to the blank) at the ends.
std::string AparaPontas(const std::string& texto);
std::string AparaDireita(const std::string& texto);
std::string AparaEsquerda(const std::string& texto);

// Trim mode for OBR_AJUSTA: 0 the right end, 1 the left end, any other both.
// The text is then padded with blanks, or cut, to exactly `tamanho`
// characters: left-aligned keeps the first characters, right-aligned the last.
std::string OBR_AJUSTA(const std::string& texto, int tamanho, bool alinhaEsquerda,
                       int modoTrim);

// `quantidade` characters from the 1-based position `inicio`, as many as
// exist: a field read past the end of a short line is short or empty.
std::string TrechoDe(const std::string& texto, int inicio, int quantidade);

std::string OBR_ESPACOS(int quantidade);
std::string OBR_REPLICA(const std::string& pedaco, int quantidade);
std::string OBR_DIREITA(const std::string& texto, int quantidade);

// 1-based position of the last occurrence; 0 when none or `pedaco` is empty.
int OBR_POSULTIMA(const std::string& pedaco, const std::string& texto);

// First character is an ASCII letter.
bool OBR_ISLETRA(const std::string& texto);

// Record length of a product file by company type: "A"/"R" 240,
// "C"/"D" 400, "V" 250, any other 0.
int OBR_TAMREGISTRO(const std::string& tipoEmpresa);

// Empty, or nothing but blanks, "." and "/" (a blank number or date mask).
bool OBR_VAZIO(const std::string& texto);

// Integer made of the digits, minus signs and decimal commas of the text, in
// order; 0 when that is not an integer (so "A1B2" is 12, "12,5" is 0).
int OBR_STRTOINT(const std::string& texto);
