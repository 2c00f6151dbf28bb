// Directory and rename helpers of the general services.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "core/arquivos/arquivo_inteiro.h"
#include "core/arquivos/erro_arquivo.h"
#include "core/geral.h"
#include "tabela/nome_arquivo.h"

namespace {

std::string diretorioAtual() {
    std::vector<char> buf(4096);
    while (::getcwd(buf.data(), buf.size()) == nullptr) {
        if (errno != ERANGE) return ".";
        buf.resize(buf.size() * 2);
    }
    return buf.data();
}

// A regular file moved to another file system: copied under the new name
// (which must not exist), flushed, and only then removed from the old place.
bool moveEntreSistemas(const std::string& de, const std::string& para) {
    std::string conteudo;
    if (!LeArquivoInteiro(de, conteudo)) return false;
    try {
        GravaArquivoCompleto(para, conteudo, false);
    } catch (const ErroArquivo&) {
        return false;
    }
    if (::unlink(de.c_str()) == 0) return true;
    ::unlink(para.c_str());
    return false;
}

}  // namespace

void TmvGERAL::RECUPERA_DIRCOMPLETOsemDRIVE(std::string& diretorio) const {
    diretorio = diretorioAtual();
}

void TmvGERAL::DIRCOMPLETOCOMDRIVE(std::string& diretorio) const {
    diretorio = diretorioAtual();
}

bool TmvGERAL::OBR_RENOMEIAARQ(const std::string& KNOMEATUAL, const std::string& KNOMENOVO) {
    if (KNOMEATUAL.empty() || KNOMENOVO.empty()) return false;
    const std::string de = ResolveCaminho(KNOMEATUAL);
    // Names are told apart without regard to case: a new name that exists in
    // another case is taken, unless it is the same entry being renamed.
    const std::string existente = ResolveCaminho(KNOMENOVO);
    if (existente != de && ArquivoExiste(existente)) return false;
    if (::renameat2(AT_FDCWD, de.c_str(), AT_FDCWD, KNOMENOVO.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EXDEV) return moveEntreSistemas(de, KNOMENOVO);
    if (errno == EINVAL || errno == ENOSYS) {
        // A file system that cannot refuse to replace by itself.
        struct stat st {};
        if (::lstat(KNOMENOVO.c_str(), &st) == 0 && existente != de) return false;
        return ::rename(de.c_str(), KNOMENOVO.c_str()) == 0;
    }
    return false;
}

bool TmvGERAL::EMP_DIRMUDA(const std::string& KDIRNOVO) {
    return !KDIRNOVO.empty() && ::chdir(KDIRNOVO.c_str()) == 0;
}

bool TmvGERAL::EMP_DIRCRIA(const std::string& KDIRCRIA) {
    if (KDIRCRIA.empty()) return false;
    // The path and its parents, cut at the last "/" again and again, down to
    // (not including) the root.
    std::vector<std::string> caminhos{KDIRCRIA};
    for (std::string p = KDIRCRIA;;) {
        const auto barra = p.find_last_of('/');
        if (barra == std::string::npos || barra == 0) break;
        p.resize(barra);
        caminhos.push_back(p);
    }
    for (auto it = caminhos.rbegin(); it != caminhos.rend(); ++it) {
        struct stat st {};
        if (::stat(it->c_str(), &st) == 0) continue;
        if (::mkdir(it->c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
    return true;
}
