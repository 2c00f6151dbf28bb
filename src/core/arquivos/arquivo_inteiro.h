#pragma once
// Whole files: read at once, and written so that they appear under their
// name only complete (another process, or a run after a crash, sees the old
// file or the new one, never a part of it).

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// The bytes of a regular file; false when it cannot be read (missing, a
// directory, no permission, a read error).
bool LeArquivoInteiro(const std::string& caminho, std::string& conteudo);
// The same bytes handed to `recebe` a piece at a time, in order, each with
// the file's size when it was opened; false as above (after the pieces read
// before a read error).
bool LeArquivoEmPedacos(const std::string& caminho,
                        const std::function<void(std::string_view pedaco, std::size_t tamanho)>& recebe);

// Writes `conteudo` to a temporary file in the same directory, flushes it to
// disk and renames it to `caminho`, replacing an older file there unless
// `substitui` is false (then an existing name makes it fail). On failure
// throws ErroArquivo; the temporary file is removed and an older file of that
// name is left as it was.
void GravaArquivoCompleto(const std::string& caminho, const std::string& conteudo,
                        bool substitui = true);
