#include "core/arquivos/arquivo_inteiro.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/arquivos/arquivo_duravel.h"
#include "core/arquivos/erro_arquivo.h"
#include "core/texto/ansi.h"

bool LeArquivoInteiro(const std::string& caminho, std::string& conteudo) {
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

void GravaArquivoCompleto(const std::string& caminho, const std::string& conteudo,
                        bool substitui) {
    ArquivoDuravel arquivo(caminho);
    arquivo.Escreve(conteudo);
    if (const int erro = arquivo.Nomeia(substitui)) throw ErroAoGravar(caminho, erro);
}
