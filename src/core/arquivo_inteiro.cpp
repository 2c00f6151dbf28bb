#include "core/arquivo_inteiro.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "core/ansi.h"
#include "core/erro_arquivo.h"

namespace {

[[noreturn]] void falha(const std::string& caminho, int erro) {
    throw ErroArquivo("ERRO AO GRAVAR O ARQUIVO "_ansi + caminho + " : " + std::strerror(erro),
                      erro);
}

std::string diretorioDe(const std::string& caminho) {
    const auto barra = caminho.find_last_of('/');
    if (barra == std::string::npos) return ".";
    return barra == 0 ? "/" : caminho.substr(0, barra);
}

// A new file beside the final one, created exclusively with the usual
// permissions (the process's umask applies, as for any new file).
int criaTemporario(const std::string& caminho, std::string& temporario) {
    static std::mt19937 gerador{std::random_device{}()};
    const auto barra = caminho.find_last_of('/');
    const std::string dir = barra == std::string::npos ? "" : caminho.substr(0, barra + 1);
    const std::string nome = barra == std::string::npos ? caminho : caminho.substr(barra + 1);
    for (int tentativa = 0; tentativa < 100; ++tentativa) {
        temporario = dir + "." + nome + ".grava" + std::to_string(gerador() % 1000000);
        const int fd =
            ::open(temporario.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// Puts the finished file in place; without `substitui`, never over an
// existing entry, even on file systems that cannot refuse by themselves.
int poeNoLugar(const std::string& temporario, const std::string& caminho, bool substitui) {
    if (substitui) return ::rename(temporario.c_str(), caminho.c_str()) == 0 ? 0 : errno;
    if (::renameat2(AT_FDCWD, temporario.c_str(), AT_FDCWD, caminho.c_str(),
                    RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    if (::link(temporario.c_str(), caminho.c_str()) != 0) return errno;
    ::unlink(temporario.c_str());
    return 0;
}

}  // namespace

bool ARQ_LE_INTEIRO(const std::string& caminho, std::string& conteudo) {
    const int fd = ::open(caminho.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    conteudo.clear();
    if (ok) conteudo.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    while (ok) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0) break;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        else conteudo.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return ok;
}

void ARQ_GRAVA_COMPLETO(const std::string& caminho, const std::string& conteudo,
                        bool substitui) {
    std::string temporario;
    const int fd = criaTemporario(caminho, temporario);
    if (fd < 0) falha(caminho, errno);

    int erro = 0;
    for (std::size_t feito = 0; feito < conteudo.size() && erro == 0;) {
        const ssize_t n = ::write(fd, conteudo.data() + feito, conteudo.size() - feito);
        if (n > 0) feito += static_cast<std::size_t>(n);
        else if (n < 0 && errno != EINTR) erro = errno;
        else if (n == 0) erro = EIO;
    }
    if (erro == 0 && ::fsync(fd) != 0) erro = errno;
    if (::close(fd) != 0 && erro == 0) erro = errno;
    if (erro == 0) erro = poeNoLugar(temporario, caminho, substitui);
    if (erro != 0) {
        ::unlink(temporario.c_str());
        falha(caminho, erro);
    }
    // The rename itself reaches the disk with the directory.
    const int dirFd = ::open(diretorioDe(caminho).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}
