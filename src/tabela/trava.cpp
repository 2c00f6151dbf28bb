#include "tabela/trava.h"

#include <fcntl.h>

#include <cerrno>
#include <chrono>
#include <system_error>
#include <thread>

namespace {

int aplica(int fd, int comando, std::uint64_t posicao, std::uint64_t tamanho, short tipo) {
    struct flock fl {};
    fl.l_type = tipo;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(posicao);
    fl.l_len = static_cast<off_t>(tamanho);
    fl.l_pid = 0;
    return ::fcntl(fd, comando, &fl);
}

class EsperaSemFim : public EsperaDeTrava {
public:
    void Pausa() override { std::this_thread::sleep_for(std::chrono::milliseconds(200)); }
};

FabricaDeEspera& fabrica() {
    static FabricaDeEspera f;
    return f;
}

}  // namespace

bool TentaTrava(int fd, std::uint64_t posicao, std::uint64_t tamanho, TipoTrava tipo) {
    if (aplica(fd, F_OFD_SETLK, posicao, tamanho,
               tipo == TipoTrava::Leitura ? F_RDLCK : F_WRLCK) == 0)
        return true;
    if (errno == EAGAIN || errno == EACCES || errno == EINTR) return false;
    throw std::system_error(errno, std::generic_category(), "fcntl");
}

void DefineEsperaDeTrava(FabricaDeEspera nova) { fabrica() = std::move(nova); }

std::unique_ptr<EsperaDeTrava> NovaEsperaDeTrava(const std::string& oQue, bool podeDesistir) {
    if (fabrica()) return fabrica()(oQue, podeDesistir);
    return std::make_unique<EsperaSemFim>();
}

void TravaEsperando(int fd, std::uint64_t posicao, std::uint64_t tamanho, TipoTrava tipo,
                  const std::string& oQue, bool podeDesistir) {
    if (TentaTrava(fd, posicao, tamanho, tipo)) return;
    const std::unique_ptr<EsperaDeTrava> espera = NovaEsperaDeTrava(oQue, podeDesistir);
    do espera->Pausa();
    while (!TentaTrava(fd, posicao, tamanho, tipo));
}

void SoltaTrava(int fd, std::uint64_t posicao, std::uint64_t tamanho) {
    aplica(fd, F_OFD_SETLK, posicao, tamanho, F_UNLCK);
}
