#include "routing/guarda_remessa.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/geral.h"
#include "core/tabela/nome_arquivo.h"

bool ARQ_NOMESIMPLES(const std::string& nome) {
    return !nome.empty() && nome != "." && nome != ".." &&
           nome.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

SituacaoArquivo ARQ_SITUACAO(const std::string& caminho) {
    struct stat st {};
    if (::lstat(caminho.c_str(), &st) != 0) return SituacaoArquivo::ausente;
    return S_ISREG(st.st_mode) ? SituacaoArquivo::regular : SituacaoArquivo::outro;
}

bool ARQ_MOVEPARAGUARDA(const std::string& origem, const std::string& diretorio,
                        const std::string& nome, std::string& destino) {
    destino = ARQ_JUNTA(diretorio, nome);
    struct stat so {};
    if (!ARQ_NOMESIMPLES(nome) || ::lstat(origem.c_str(), &so) != 0 || !S_ISREG(so.st_mode))
        return false;
    // Older copies are removed first; the rename below never replaces
    // anything, so a file that appears meanwhile is not lost either. A
    // name may stand in several letter cases on this file system.
    for (int vez = 0; vez < 8; ++vez) {
        const std::string antigo = ARQ_RESOLVE(diretorio, nome);
        struct stat sa {};
        if (::lstat(antigo.c_str(), &sa) != 0) {
            if (errno != ENOENT) return false;
            break;
        }
        if (sa.st_dev == so.st_dev && sa.st_ino == so.st_ino) return false;
        if (S_ISDIR(sa.st_mode) || ::unlink(antigo.c_str()) != 0) return false;
    }
    return GERAL().OBR_RENOMEIAARQ(origem, destino);
}
