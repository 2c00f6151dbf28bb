#pragma once
// A text file could not be read or written. The text is Windows-1252
// Portuguese, names the file and can be shown as it stands.

#include <stdexcept>
#include <string>

class ErroArquivo : public std::runtime_error {
public:
    ErroArquivo(const std::string& texto, int erroSistema)
        : std::runtime_error(texto), erroSistema_(erroSistema) {}
    int ErroSistema() const { return erroSistema_; }  // errno

private:
    int erroSistema_;
};
