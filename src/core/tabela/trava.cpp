#include "core/tabela/trava.h"

#include <fcntl.h>

#include <cerrno>
#include <system_error>

namespace {

int aplica(int fd, int comando, std::uint64_t posicao, std::uint64_t tamanho, short tipo) {
    struct flock fl {};
    fl.l_type = tipo;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(posicao);
    fl.l_len = static_cast<off_t>(tamanho);
    fl.l_pid = 0;
    int r;
    do {
        r = ::fcntl(fd, comando, &fl);
    } while (r < 0 && errno == EINTR && comando == F_OFD_SETLKW);
    return r;
}

}  // namespace

bool TRAVA_TENTA(int fd, std::uint64_t posicao, std::uint64_t tamanho, TipoTrava tipo) {
    if (aplica(fd, F_OFD_SETLK, posicao, tamanho,
               tipo == TipoTrava::Leitura ? F_RDLCK : F_WRLCK) == 0)
        return true;
    if (errno == EAGAIN || errno == EACCES || errno == EINTR) return false;
    throw std::system_error(errno, std::generic_category(), "fcntl");
}

void TRAVA_ESPERA(int fd, std::uint64_t posicao, std::uint64_t tamanho, TipoTrava tipo) {
    if (aplica(fd, F_OFD_SETLKW, posicao, tamanho,
               tipo == TipoTrava::Leitura ? F_RDLCK : F_WRLCK) != 0)
        throw std::system_error(errno, std::generic_category(), "fcntl");
}

void TRAVA_SOLTA(int fd, std::uint64_t posicao, std::uint64_t tamanho) {
    aplica(fd, F_OFD_SETLK, posicao, tamanho, F_UNLCK);
}
