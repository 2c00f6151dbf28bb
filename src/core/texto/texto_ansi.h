#pragma once
// Conversions between the motor's Windows-1252 text and UTF-8 at run time:
// for the terminal, and for input files that arrive in a Unicode form.
// (Literals in the sources are converted at compile time, see ansi.h.)

#include <string>

// Every byte becomes its character; the five bytes the code page leaves
// undefined become the control characters of the same number, so that the
// way back gives the same bytes.
std::string AnsiParaUtf8(const std::string& ansi);

// Characters without a Windows-1252 form, and malformed UTF-8, become "?".
std::string Utf8ParaAnsi(const std::string& utf8);

// When `bytes` begins with a Unicode byte-order mark (UTF-8, UTF-16 LE or
// BE), replaces it by the Windows-1252 text it holds, without the mark, and
// answers true; otherwise leaves it alone and answers false.
bool AnsiDeTextoUnicode(std::string& bytes);
