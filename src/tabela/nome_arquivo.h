#pragma once
// File names of the data directory are compared without regard to letter case,
// as the installations this system came from did: "CONVEINS.dbf" finds
// "conveins.DBF" on a case-sensitive file system.

#include <string>

// Directory part joined to a name; "." or "" as directory gives the name alone.
std::string JuntaCaminho(const std::string& diretorio, const std::string& nome);

// The existing entry of `diretorio` whose name equals `nome` ignoring ASCII
// case (the exact name wins when both exist); `nome` unchanged when none does.
// Returns the joined path.
std::string ResolveNoDiretorio(const std::string& diretorio, const std::string& nome);

// Same for a path that may hold a directory part.
std::string ResolveCaminho(const std::string& caminho);

bool ArquivoExiste(const std::string& caminho);

// ASCII upper case; other bytes (Windows-1252 letters) stay as they are.
std::string EmMaiusculas(std::string texto);
