#pragma once
// Writing a file so that it appears under its name only complete: another
// process, or a run after a crash, sees the old file or the new one, never a
// part of it.

#include <string>

// Writes `conteudo` to a temporary file in the same directory, flushes it to
// disk and renames it over `caminho` (replacing an older file). On failure
// throws ErroArquivo; the temporary file is removed and an older file of that
// name is left as it was.
void ARQ_GRAVA_COMPLETO(const std::string& caminho, const std::string& conteudo);
