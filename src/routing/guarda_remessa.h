#pragma once
// Moving a client file that was read into the holding directory. A client
// file name is data from outside: it is used only as one entry of the
// working directory and one entry of the holding directory, never as a path,
// and only a regular file (not a link to elsewhere) is read or moved.

#include <string>

// A name that stays inside its directory: not empty, no "/" nor NUL, not
// "." nor "..".
bool ARQ_NOMESIMPLES(const std::string& nome);

// The entry of the working directory is there and is a regular file itself
// (not a link, directory, pipe or device).
enum class SituacaoArquivo { ausente, regular, outro };
SituacaoArquivo ARQ_SITUACAO(const std::string& caminho);

// Moves `origem` (a regular file) into `diretorio` under `nome`: renamed
// where both lie on one file system, otherwise copied, flushed to disk and
// only then deleted. An older copy of that name (in any letter case) is
// replaced. At every moment the file exists in one of the two places. False,
// with the file where it was, when the move cannot be done, and also when
// the holding directory is the working directory itself. `destino` receives
// the path of the moved file.
bool ARQ_MOVEPARAGUARDA(const std::string& origem, const std::string& diretorio,
                        const std::string& nome, std::string& destino);
