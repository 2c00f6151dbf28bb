#include "core/arquivos/obr_listas.h"

#include <cerrno>
#include <dirent.h>
#include <fnmatch.h>

#include <algorithm>
#include <memory>

#include "tabela/nome_arquivo.h"

void OBR_ADDLISTA(std::vector<std::string>& lista, const std::string& texto) {
    lista.push_back(texto);
}

int OBR_POSLISTA(const std::vector<std::string>& lista, const std::string& texto) {
    const auto it = std::find(lista.begin(), lista.end(), texto);
    return it == lista.end() ? -1 : static_cast<int>(it - lista.begin());
}

void OBR_ORDENALISTA(std::vector<std::string>& lista) {
    // std::string compares its bytes as unsigned characters: the ordinal order.
    std::sort(lista.begin(), lista.end());
}

bool OBR_LISTAARQ(const std::string& extensao, const std::string& diretorio, bool semOrdem,
                  std::vector<std::string>& lista) {
    lista.clear();
    std::unique_ptr<DIR, int (*)(DIR*)> d(
        ::opendir(diretorio.empty() ? "." : diretorio.c_str()), ::closedir);
    if (!d) return false;
    const std::string ext = EmMaiusculas(extensao);
    const std::string padrao = "*." + ext;
    for (;;) {
        errno = 0;
        const dirent* e = ::readdir(d.get());
        if (!e) {
            if (errno != 0) return false;  // a listing cut short is no listing
            break;
        }
        const std::string nome = EmMaiusculas(e->d_name);
        if (nome == "." || nome == "..") continue;
        if (ext == "*") {
            // "*.*" takes every name, with or without a dot.
        } else if (ext.empty()) {
            if (nome.find('.') != std::string::npos) continue;
        } else if (::fnmatch(padrao.c_str(), nome.c_str(), 0) != 0) {
            continue;
        }
        if (ext.size() == 3 && ext.find_first_of("*?") == std::string::npos &&
            (nome.size() < 3 || nome.compare(nome.size() - 3, 3, ext) != 0))
            continue;
        lista.push_back(ext.empty() ? nome.substr(0, 8) : nome);
    }
    if (!semOrdem) OBR_ORDENALISTA(lista);
    return true;
}
