#include "routing/guarda_remessa.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "core/geral.h"
#include "tabela/nome_arquivo.h"

bool EhNomeSimples(const std::string& nome) {
    return !nome.empty() && nome != "." && nome != ".." &&
           nome.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

SituacaoArquivo SituacaoDoArquivo(const std::string& caminho) {
    struct stat st {};
    if (::lstat(caminho.c_str(), &st) != 0) return SituacaoArquivo::ausente;
    return S_ISREG(st.st_mode) ? SituacaoArquivo::regular : SituacaoArquivo::outro;
}

NomesDoDiretorio::NomesDoDiretorio(std::string diretorio) : diretorio_(std::move(diretorio)) {
    std::unique_ptr<DIR, int (*)(DIR*)> d(
        ::opendir(diretorio_.empty() ? "." : diretorio_.c_str()), ::closedir);
    if (!d) return;
    while (const dirent* e = ::readdir(d.get())) {
        const std::string nome = e->d_name;
        if (nome != "." && nome != "..") Inclui(nome);
    }
}

std::vector<std::string> NomesDoDiretorio::Achados(const std::string& nome) const {
    std::vector<std::string> r;
    const auto [ini, fim] = nomes_.equal_range(EmMaiusculas(nome));
    for (auto it = ini; it != fim; ++it) {
        const std::string caminho = JuntaCaminho(diretorio_, it->second);
        if (it->second == nome) r.insert(r.begin(), caminho);
        else r.push_back(caminho);
    }
    return r;
}

void NomesDoDiretorio::Inclui(const std::string& nome) {
    Retira(nome);
    nomes_.emplace(EmMaiusculas(nome), nome);
}

void NomesDoDiretorio::Retira(const std::string& nome) {
    const auto [ini, fim] = nomes_.equal_range(EmMaiusculas(nome));
    for (auto it = ini; it != fim; ++it)
        if (it->second == nome) {
            nomes_.erase(it);
            return;
        }
}

namespace {

std::string nomeDe(const std::string& caminho) {
    const auto barra = caminho.find_last_of('/');
    return barra == std::string::npos ? caminho : caminho.substr(barra + 1);
}

// Removes the older copies of the name; false when one cannot go, or when
// one is the file itself.
bool retiraCopias(const struct stat& origem, NomesDoDiretorio& guarda, const std::string& nome) {
    for (const std::string& antigo : guarda.Achados(nome)) {
        struct stat sa {};
        if (::lstat(antigo.c_str(), &sa) != 0) {
            if (errno != ENOENT) return false;
        } else if ((sa.st_dev == origem.st_dev && sa.st_ino == origem.st_ino) ||
                   S_ISDIR(sa.st_mode) || ::unlink(antigo.c_str()) != 0) {
            return false;
        }
        guarda.Retira(nomeDe(antigo));
    }
    return true;
}

}  // namespace

bool MoveParaGuarda(const std::string& origem, NomesDoDiretorio& guarda,
                        const std::string& nome, std::string& destino) {
    destino = JuntaCaminho(guarda.Diretorio(), nome);
    struct stat so {};
    if (!EhNomeSimples(nome) || ::lstat(origem.c_str(), &so) != 0 || !S_ISREG(so.st_mode))
        return false;
    for (int vez = 0; vez < 2; ++vez) {
        if (!retiraCopias(so, guarda, nome)) return false;
        // Never over anything: a file that appeared meanwhile is not lost.
        if (::renameat2(AT_FDCWD, origem.c_str(), AT_FDCWD, destino.c_str(), RENAME_NOREPLACE) == 0) {
            guarda.Inclui(nome);
            return true;
        }
        if (errno != EEXIST) break;
        guarda = NomesDoDiretorio(guarda.Diretorio());
    }
    // Another file system, or one that cannot refuse to replace by itself:
    // the general move copies, flushes and only then deletes.
    if (errno != EXDEV && errno != EINVAL && errno != ENOSYS) return false;
    if (!GERAL().OBR_RENOMEIAARQ(origem, destino)) return false;
    guarda.Inclui(nome);
    return true;
}
