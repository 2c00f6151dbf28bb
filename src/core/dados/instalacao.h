#pragma once
// Creating a data directory: the four tables of version 2.20, the
// installation record and, on request, sample registers to try the system on.

#include <ostream>
#include <string>

#include "core/texto/calendario.h"

// Creates `diretorio` (and its parents) when missing, then the four tables.
// Refuses, touching nothing, when any of them already exists there (in any
// letter case). Throws ErroTabela with the reason; on a failure halfway the
// tables it had created are removed again.
void InstalaDiretorioDeDados(const std::string& diretorio, bool exemplo, TData hoje);

// Every table of the directory and what it holds, one line per record,
// Windows-1252 text. Throws ErroTabela for a table that cannot be read.
void MostraTabelasDoDiretorio(const std::string& diretorio, std::ostream& saida);
