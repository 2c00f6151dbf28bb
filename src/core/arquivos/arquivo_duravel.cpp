#include "core/arquivos/arquivo_duravel.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <memory>

namespace {

// The byte that says "being written", far above the FoxPro lock offsets, so
// that a table rebuilt through this writer can be locked as tables are.
constexpr off_t kTravaVivo = 0x100000000LL;
constexpr const char* kMarca = ".cvtmp";

std::string diretorioDe(const std::string& caminho) {
    const auto barra = caminho.find_last_of('/');
    if (barra == std::string::npos) return ".";
    return barra == 0 ? "/" : caminho.substr(0, barra);
}

bool travaVivo(int fd, short tipo) {
    struct flock l {};
    l.l_type = tipo;
    l.l_whence = SEEK_SET;
    l.l_start = kTravaVivo;
    l.l_len = 1;
    return ::fcntl(fd, F_OFD_SETLK, &l) == 0;
}

mode_t modoPara(const std::string& destino) {
    struct stat st {};
    if (::stat(destino.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
    const mode_t mascara = ::umask(0);
    ::umask(mascara);
    return 0666 & ~mascara;
}

int escreveTudo(int fd, const char* p, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return w == 0 ? EIO : errno;
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return 0;
}

int poeNome(const std::string& de, const std::string& para, bool substitui) {
    if (substitui) return ::rename(de.c_str(), para.c_str()) == 0 ? 0 : errno;
    if (::renameat2(AT_FDCWD, de.c_str(), AT_FDCWD, para.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // A file system that cannot refuse to replace by itself: a hard link
    // can, and then the temporary name goes.
    if (::link(de.c_str(), para.c_str()) != 0) return errno;
    ::unlink(de.c_str());
    return 0;
}

}  // namespace

std::string NomeTemporarioAoLado(const std::string& destino) {
    static std::atomic<unsigned> contador{0};
    const auto barra = destino.find_last_of('/');
    const std::string dir = barra == std::string::npos ? "" : destino.substr(0, barra + 1);
    const std::string nome = barra == std::string::npos ? destino : destino.substr(barra + 1);
    return dir + "." + nome + kMarca + std::to_string(::getpid()) + "-" + std::to_string(contador++);
}

int CriaETrava(const std::function<std::string()>& nome, int flags, mode_t modo,
               const std::function<bool(int)>& trava, std::string& caminho) {
    for (int tentativa = 0; tentativa < 100; ++tentativa) {
        caminho = nome();
        const int fd = ::open(caminho.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | flags, modo);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return -1;
        }
        struct stat st {};
        if (trava(fd) && ::fstat(fd, &st) == 0 && st.st_nlink > 0) return fd;
        ::close(fd);  // a cleanup holds it or removed it: it is that cleanup's
    }
    errno = EEXIST;
    return -1;
}

ArquivoDuravel::ArquivoDuravel(std::string destino) : destino_(std::move(destino)) {
    const mode_t modo = modoPara(destino_);
    fd_ = CriaETrava([this] { return NomeTemporarioAoLado(destino_); }, 0, modo,
                     [](int fd) { return travaVivo(fd, F_WRLCK); }, temporario_);
    if (fd_ < 0) {
        erro_ = errno;
        temporario_.clear();
        return;
    }
    ::fchmod(fd_, modo);  // the umask is not the file's to narrow
}

ArquivoDuravel::~ArquivoDuravel() {
    if (fd_ >= 0 && !manterDescritor_) ::close(fd_);
    if (!nomeado_ && !solto_) Abandona();
}

void ArquivoDuravel::Abandona() {
    if (fd_ >= 0 && !manterDescritor_) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporario_.empty() && !nomeado_) ::unlink(temporario_.c_str());
    temporario_.clear();
}

bool ArquivoDuravel::Escreve(std::string_view dados) {
    if (erro_ || fd_ < 0) return false;
    erro_ = escreveTudo(fd_, dados.data(), dados.size());
    if (erro_) return false;
    escritos_ += dados.size();
    // A large file is sent on its way to the disk while the rest is still
    // being written (the call does not wait), so that the flush before its
    // name waits only for the tail.
    if (escritos_ - enviados_ >= kEnvioAoDisco) EnviaAoDisco();
    return true;
}

void ArquivoDuravel::EnviaAoDisco() {
    if (erro_ || fd_ < 0 || escritos_ == enviados_) return;
    ::sync_file_range(fd_, static_cast<off_t>(enviados_), static_cast<off_t>(escritos_ - enviados_),
                      SYNC_FILE_RANGE_WRITE);
    enviados_ = escritos_;
}

int ArquivoDuravel::descarrega() {
    if (!erro_ && fd_ < 0) erro_ = EBADF;
    if (!erro_ && ::fsync(fd_) != 0) erro_ = errno;
    if (erro_) Abandona();
    return erro_;
}

void ArquivoDuravel::fecha() {
    if (!manterDescritor_ && fd_ >= 0) ::close(fd_);
    if (!manterDescritor_) fd_ = -1;
}

int ArquivoDuravel::Conclui() {
    if (concluido_) return 0;
    if (const int e = descarrega()) return e;
    // The lock goes with the descriptor; from here on the journal that
    // names the file answers for it.
    fecha();
    concluido_ = true;
    return 0;
}

int ArquivoDuravel::Nomeia(bool substitui, bool sincronizaDiretorio) {
    return NomeiaComo(destino_, substitui, sincronizaDiretorio);
}

int ArquivoDuravel::NomeiaComo(const std::string& destino, bool substitui,
                               bool sincronizaDiretorio) {
    // Flushed before it is named: a name never stands for a file that a
    // power cut could still empty.
    if (!concluido_)
        if (const int e = descarrega()) return e;
    const int e = poeNome(temporario_, destino, substitui);
    if (e == EEXIST && !substitui) return e;
    // Refused elsewhere, it may still take its own name.
    if (e && destino != destino_) return e;
    if (e) {
        erro_ = e;
        Abandona();
        return e;
    }
    nomeado_ = true;
    destino_ = destino;
    // Closed only now: until it has its name, the lock says it is alive.
    fecha();
    if (sincronizaDiretorio) SincronizaDiretorio(destino);
    return 0;
}

int ArquivoDuravel::EntregaDescritor() {
    manterDescritor_ = true;
    return fd_;
}

int RenomeiaDuravel(const std::string& de, const std::string& para, bool substitui) {
    const int e = poeNome(de, para, substitui);
    if (e == 0) SincronizaDiretorio(para);
    return e;
}

void SincronizaDiretorio(const std::string& caminho, bool ehDiretorio) {
    const std::string dir = ehDiretorio ? caminho : diretorioDe(caminho);
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool EhTemporarioDuravel(const std::string& nome) {
    return !nome.empty() && nome[0] == '.' && nome.find(kMarca) != std::string::npos;
}

int LimpaTemporariosAbandonados(const std::string& diretorio, const std::set<std::string>& vivos) {
    std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(diretorio.empty() ? "." : diretorio.c_str()),
                                          ::closedir);
    if (!d) return 0;
    int removidos = 0;
    while (const dirent* e = ::readdir(d.get())) {
        const std::string nome = e->d_name;
        if (!EhTemporarioDuravel(nome)) continue;
        const std::string caminho = (diretorio.empty() ? std::string(".") : diretorio) + "/" + nome;
        if (vivos.count(caminho) || (diretorio.empty() || diretorio == "." ? vivos.count(nome) : 0))
            continue;
        if (RemoveSeAbandonado(caminho)) ++removidos;
    }
    if (removidos) SincronizaDiretorio(diretorio, true);
    return removidos;
}

bool RemoveSeAbandonado(const std::string& caminho) {
    const int fd = ::open(caminho.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    // Held: its writer is alive. Free: nobody will ever name it.
    const bool removido = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && travaVivo(fd, F_WRLCK) &&
                          ::unlink(caminho.c_str()) == 0;
    ::close(fd);
    return removido;
}
