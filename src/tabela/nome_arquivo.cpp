#include "tabela/nome_arquivo.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

std::string ARQ_MAIUSCULAS(std::string texto) {
    for (char& c : texto)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return texto;
}

std::string ARQ_JUNTA(const std::string& diretorio, const std::string& nome) {
    if (diretorio.empty() || diretorio == ".") return nome;
    if (diretorio.back() == '/') return diretorio + nome;
    return diretorio + "/" + nome;
}

bool ARQ_EXISTE(const std::string& caminho) {
    struct stat st {};
    return ::stat(caminho.c_str(), &st) == 0;
}

std::string ARQ_RESOLVE(const std::string& diretorio, const std::string& nome) {
    const std::string exato = ARQ_JUNTA(diretorio, nome);
    if (ARQ_EXISTE(exato)) return exato;
    std::unique_ptr<DIR, int (*)(DIR*)> d(
        ::opendir(diretorio.empty() ? "." : diretorio.c_str()), ::closedir);
    if (!d) {
        // A directory that cannot be listed can still be entered: the
        // system's own names are upper case.
        const std::string maiusculo = ARQ_JUNTA(diretorio, ARQ_MAIUSCULAS(nome));
        return ARQ_EXISTE(maiusculo) ? maiusculo : exato;
    }
    const std::string alvo = ARQ_MAIUSCULAS(nome);
    while (dirent* e = ::readdir(d.get())) {
        if (ARQ_MAIUSCULAS(e->d_name) == alvo) return ARQ_JUNTA(diretorio, e->d_name);
    }
    return exato;
}

std::string ARQ_RESOLVE_CAMINHO(const std::string& caminho) {
    const auto barra = caminho.find_last_of('/');
    if (barra == std::string::npos) return ARQ_RESOLVE(".", caminho);
    const std::string dir = barra == 0 ? "/" : caminho.substr(0, barra);
    return ARQ_RESOLVE(dir, caminho.substr(barra + 1));
}
