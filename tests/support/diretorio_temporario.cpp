#include "support/diretorio_temporario.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

DiretorioTemporario::DiretorioTemporario() {
    char modelo[] = "/tmp/conversor-teste-XXXXXX";
    if (!::mkdtemp(modelo)) throw std::runtime_error("mkdtemp");
    caminho_ = modelo;
}

DiretorioTemporario::~DiretorioTemporario() {
    std::error_code ec;
    std::filesystem::permissions(caminho_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(caminho_, ec);
}

std::string LE_ARQUIVO(const std::string& caminho) {
    std::ifstream f(caminho, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void GRAVA_ARQUIVO_TESTE(const std::string& caminho, const std::string& conteudo) {
    std::ofstream f(caminho, std::ios::binary | std::ios::trunc);
    f << conteudo;
}
