#include "core/arquivos/arquivo_inteiro.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/arquivos/arquivo_duravel.h"
#include "core/arquivos/erro_arquivo.h"
#include "core/texto/ansi.h"

bool LeArquivoEmPedacos(const std::string& caminho,
                        const std::function<void(std::string_view pedaco, std::size_t tamanho)>& recebe) {
    const int fd = ::open(caminho.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    std::string pedaco(ok ? std::size_t{1} << 18 : 0, '\0');
    while (ok) {
        const ssize_t n = ::read(fd, pedaco.data(), pedaco.size());
        if (n == 0) break;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        else recebe({pedaco.data(), static_cast<std::size_t>(n)}, static_cast<std::size_t>(st.st_size));
    }
    ::close(fd);
    return ok;
}

bool LeArquivoInteiro(const std::string& caminho, std::string& conteudo) {
    conteudo.clear();
    return LeArquivoEmPedacos(caminho, [&conteudo](std::string_view pedaco, std::size_t tamanho) {
        if (conteudo.empty()) conteudo.reserve(tamanho);
        conteudo += pedaco;
    });
}

void GravaArquivoCompleto(const std::string& caminho, const std::string& conteudo,
                        bool substitui) {
    ArquivoDuravel arquivo(caminho);
    arquivo.Escreve(conteudo);
    if (const int erro = arquivo.Nomeia(substitui)) throw ErroAoGravar(caminho, erro);
}
