#pragma once
// A text file could not be read or written. The text is Windows-1252
// Portuguese, names the file and can be shown as it stands.

#include <cstring>
#include <stdexcept>
#include <string>

#include "core/texto/ansi.h"

class ErroArquivo : public std::runtime_error {
public:
    ErroArquivo(const std::string& texto, int erroSistema)
        : std::runtime_error(texto), erroSistema_(erroSistema) {}
    int ErroSistema() const { return erroSistema_; }  // errno

private:
    int erroSistema_;
};

// The one wording of a file that could not be written: its name and the
// system's reason.
inline ErroArquivo ErroAoGravar(const std::string& caminho, int erro) {
    return ErroArquivo("ERRO AO GRAVAR O ARQUIVO "_ansi + caminho + " : " + std::strerror(erro), erro);
}
