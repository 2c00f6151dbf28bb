#include "core/arquivos/arquivo_em_uso.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <thread>

#include "core/texto/ansi.h"

namespace {

struct Marca {
    bool existe = false;
    off_t tamanho = 0;
    timespec modificado{};
};

Marca marca(const std::string& caminho) {
    struct stat st {};
    Marca m;
    if (::lstat(caminho.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return m;
    m.existe = true;
    m.tamanho = st.st_size;
    m.modificado = st.st_mtim;
    return m;
}

bool mudou(const Marca& a, const Marca& b) {
    return a.existe != b.existe || a.tamanho != b.tamanho || a.modificado.tv_sec != b.modificado.tv_sec ||
           a.modificado.tv_nsec != b.modificado.tv_nsec;
}

}  // namespace

EstadoDeGravacao GravacaoPelaConcessao(int fd) {
    // A writer that opens the file in the instant the lease is held breaks
    // it, and the system signals the holder: SIGIO would end the run, so
    // the break is told with a signal that is ignored unless handled.
    if (::fcntl(fd, F_SETSIG, SIGURG) != 0) return EstadoDeGravacao::desconhecida;
    if (::fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
        ::fcntl(fd, F_SETLEASE, F_UNLCK);
        return EstadoDeGravacao::encerrada;
    }
    return errno == EAGAIN ? EstadoDeGravacao::emCurso : EstadoDeGravacao::desconhecida;
}

EstadoDeGravacao GravacaoPelaConcessao(const std::string& caminho) {
    const int fd = ::open(caminho.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return errno == ENOENT || errno == ELOOP ? EstadoDeGravacao::encerrada
                                                         : EstadoDeGravacao::desconhecida;
    struct stat st {};
    EstadoDeGravacao estado = EstadoDeGravacao::encerrada;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) estado = GravacaoPelaConcessao(fd);
    ::close(fd);
    return estado;
}

std::set<std::string> AindaEmGravacao(const std::vector<std::string>& caminhos) {
    std::set<std::string> emCurso;
    std::vector<std::pair<std::string, Marca>> observados;
    for (const std::string& c : caminhos) {
        switch (GravacaoPelaConcessao(c)) {
            case EstadoDeGravacao::encerrada: break;
            case EstadoDeGravacao::emCurso: emCurso.insert(c); break;
            case EstadoDeGravacao::desconhecida: observados.emplace_back(c, marca(c)); break;
        }
    }
    if (observados.empty()) return emCurso;
    std::this_thread::sleep_for(kEsperaDeGravacao);
    for (const auto& [c, antes] : observados)
        if (mudou(antes, marca(c))) emCurso.insert(c);
    return emCurso;
}

std::string TextoAindaEmGravacao() {
    return "AINDA ESTÁ SENDO GRAVADO (ARQUIVO INCOMPLETO); SERÁ LIDO NA PRÓXIMA EXECUÇÃO."_ansi;
}
