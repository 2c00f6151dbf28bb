#include "tabela/nome_arquivo.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

std::string EmMaiusculas(std::string texto) {
    for (char& c : texto)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return texto;
}

std::string JuntaCaminho(const std::string& diretorio, const std::string& nome) {
    if (diretorio.empty() || diretorio == ".") return nome;
    if (diretorio.back() == '/') return diretorio + nome;
    return diretorio + "/" + nome;
}

bool ArquivoExiste(const std::string& caminho) {
    struct stat st {};
    return ::stat(caminho.c_str(), &st) == 0;
}

std::string ResolveNoDiretorio(const std::string& diretorio, const std::string& nome) {
    const std::string exato = JuntaCaminho(diretorio, nome);
    if (ArquivoExiste(exato)) return exato;
    std::unique_ptr<DIR, int (*)(DIR*)> d(
        ::opendir(diretorio.empty() ? "." : diretorio.c_str()), ::closedir);
    if (!d) {
        // A directory that cannot be listed can still be entered: the
        // system's own names are upper case.
        const std::string maiusculo = JuntaCaminho(diretorio, EmMaiusculas(nome));
        return ArquivoExiste(maiusculo) ? maiusculo : exato;
    }
    const std::string alvo = EmMaiusculas(nome);
    while (dirent* e = ::readdir(d.get())) {
        if (EmMaiusculas(e->d_name) == alvo) return JuntaCaminho(diretorio, e->d_name);
    }
    return exato;
}

std::string ResolveCaminho(const std::string& caminho) {
    const auto barra = caminho.find_last_of('/');
    if (barra == std::string::npos) return ResolveNoDiretorio(".", caminho);
    const std::string dir = barra == 0 ? "/" : caminho.substr(0, barra);
    return ResolveNoDiretorio(dir, caminho.substr(barra + 1));
}
