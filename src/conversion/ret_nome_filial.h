#pragma once
// Names of BR branch files. The branch code comes from the bank's file
// (columns 242-244 of its records) and becomes part of a file name in the
// data directory, so a code that could lead the name elsewhere, or that no
// file name can hold, must be refused before anything is written.

#include <string>

#include "core/texto/calendario.h"

// "R" + day and month of `hoje` (ddmm) + branch code + ".TXT".
std::string ArquivoDaFilial(TData hoje, const std::string& filial);

// Empty when the code can stand in a file name of the data directory;
// otherwise why it cannot (a directory separator, NUL, another control
// character).
std::string FilialImpropria(const std::string& filial);

// The code as it can be shown in a message or a log: control characters as
// their hexadecimal code in brackets ("[0A]").
std::string FilialVisivel(const std::string& filial);
