#include "routing/arquivo_produto.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

#include "core/ansi.h"
#include "core/caminho_arquivo.h"
#include "core/erro_arquivo.h"
#include "core/geral.h"
#include "core/obr_texto.h"
#include "core/tabela/nome_arquivo.h"

namespace {

// Written in pieces of this size; the disk is asked to start on what was
// written every time this much more has gone out.
constexpr std::size_t kPedaco = 1 << 20;
constexpr long long kEncaminha = 8LL << 20;

bool diretorioExiste(const std::string& diretorio) {
    if (diretorio.empty()) return true;
    struct stat st {};
    return ::stat(diretorio.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string diretorioDe(const std::string& caminho) {
    const auto barra = caminho.find_last_of('/');
    if (barra == std::string::npos) return ".";
    return barra == 0 ? "/" : caminho.substr(0, barra);
}

// A new hidden file beside the final one. Its name ends in letters, so that
// no run takes it for a client remittance.
int criaTemporario(const std::string& nome, std::string& temporario) {
    static std::mt19937 gerador{std::random_device{}()};
    const std::string dir = OBR_PARTEARQ(nome, 0);
    const std::string base = nome.substr(dir.size());
    for (int tentativa = 0; tentativa < 100; ++tentativa) {
        temporario = dir + "." + base + "." + std::to_string(::getpid()) + "-" +
                     std::to_string(gerador() % 1000000) + ".parcial";
        const int fd = ::open(temporario.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

ArquivoProduto::ArquivoProduto(int tamanhoRegistro, std::string nome)
    : NOMEARQSAI(std::move(nome)), tamanho_(tamanhoRegistro) {
    buffer_.reserve(kPedaco + static_cast<std::size_t>(tamanho_) + 2);
}

ArquivoProduto::~ArquivoProduto() { abandona(); }

void ArquivoProduto::abandona() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporario_.empty()) ::unlink(temporario_.c_str());
    temporario_.clear();
}

void ArquivoProduto::poe(std::string& destino, std::string_view registro) const {
    // As OBR_AJUSTA(registro, tamanho, true, 0) would give it, without a
    // string of its own for every record.
    std::size_t fim = registro.size();
    while (fim > 0 && static_cast<unsigned char>(registro[fim - 1]) <= ' ') --fim;
    const std::size_t tam = static_cast<std::size_t>(tamanho_ > 0 ? tamanho_ : 0);
    if (fim > tam) fim = tam;
    destino.append(registro.data(), fim);
    destino.append(tam - fim, ' ');
    destino += "\r\n";
}

void ArquivoProduto::GRAVA_INF(std::string_view registro) {
    ++TOTREGGRA;
    if (erro_) return;
    poe(buffer_, registro);
    if (buffer_.size() >= kPedaco) descarrega();
}

void ArquivoProduto::REESCREVE_PRIMEIRO(std::string_view registro) {
    if (erro_ || TOTREGGRA == 0) return;
    std::string novo;
    poe(novo, registro);
    if (fd_ < 0 && escritos_ > 0) {
        erro_ = EBADF;  // already finished: too late to change
        return;
    }
    if (escritos_ == 0) {
        // Still all in memory: the buffer begins with the first record.
        buffer_.replace(0, novo.size(), novo);
        return;
    }
    for (std::size_t feito = 0; feito < novo.size();) {
        const ssize_t n = ::pwrite(fd_, novo.data() + feito, novo.size() - feito, static_cast<off_t>(feito));
        if (n > 0) {
            feito += static_cast<std::size_t>(n);
        } else if (n == 0 || errno != EINTR) {
            erro_ = n == 0 ? EIO : errno;
            return;
        }
    }
}

void ArquivoProduto::ENCAMINHA() {
    descarrega();
    if (erro_ || !abre()) return;
    if (escritos_ > encaminhados_)
        ::sync_file_range(fd_, encaminhados_, escritos_ - encaminhados_, SYNC_FILE_RANGE_WRITE);
    encaminhados_ = escritos_;
    std::string().swap(buffer_);
}

void ArquivoProduto::AGUARDA_DISCO() {
    if (erro_ || fd_ < 0) return;
    ::sync_file_range(fd_, 0, 0,
                      SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
}

bool ArquivoProduto::abre() {
    if (fd_ >= 0) return true;
    std::string nome;
    fd_ = criaTemporario(NOMEARQSAI, nome);
    if (fd_ < 0) {
        erro_ = errno;
        return false;
    }
    temporario_ = nome;
    return true;
}

void ArquivoProduto::descarrega() {
    if (erro_ || buffer_.empty() || !abre()) return;
    for (std::size_t feito = 0; feito < buffer_.size();) {
        const ssize_t n = ::write(fd_, buffer_.data() + feito, buffer_.size() - feito);
        if (n > 0) {
            feito += static_cast<std::size_t>(n);
        } else if (n == 0 || errno != EINTR) {
            erro_ = n == 0 ? EIO : errno;
            return;
        }
    }
    escritos(static_cast<long long>(buffer_.size()));
    buffer_.clear();
}

void ArquivoProduto::escritos(long long bytes) {
    escritos_ += bytes;
    if (escritos_ - encaminhados_ >= kEncaminha) {
        // Only a request: the disk writes while the run goes on, and the
        // final flush finds little left to do.
        ::sync_file_range(fd_, encaminhados_, escritos_ - encaminhados_, SYNC_FILE_RANGE_WRITE);
        encaminhados_ = escritos_;
    }
}

void ArquivoProduto::COPIA_DE(int origem, long long inicio, long long bytes, long registros) {
    TOTREGGRA += registros;
    descarrega();  // the records before these go first
    if (erro_ || bytes <= 0 || !abre()) return;
    loff_t de = inicio;
    long long falta = bytes;
    while (falta > 0) {
        const ssize_t n = ::copy_file_range(origem, &de, fd_, nullptr, static_cast<std::size_t>(falta), 0);
        if (n > 0) {
            falta -= n;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
            // A system that cannot copy between these files: read and write.
            std::string pedaco;
            while (falta > 0) {
                pedaco.resize(static_cast<std::size_t>(std::min<long long>(falta, static_cast<long long>(kPedaco))));
                const ssize_t lidos = ::pread(origem, pedaco.data(), pedaco.size(), de);
                if (lidos < 0 && errno == EINTR) continue;
                if (lidos <= 0) {
                    erro_ = lidos == 0 ? EIO : errno;
                    return;
                }
                for (ssize_t feito = 0; feito < lidos;) {
                    const ssize_t w = ::write(fd_, pedaco.data() + feito, static_cast<std::size_t>(lidos - feito));
                    if (w > 0) feito += w;
                    else if (w == 0 || errno != EINTR) {
                        erro_ = w == 0 ? EIO : errno;
                        return;
                    }
                }
                de += lidos;
                falta -= lidos;
            }
            break;
        }
        // The source ended early (cut meanwhile) or failed.
        erro_ = n == 0 ? EIO : errno;
        return;
    }
    escritos(bytes);
}

void ArquivoProduto::conclui() {
    if (concluido_) return;
    descarrega();
    if (!erro_ && abre() && ::fsync(fd_) != 0) erro_ = errno;
    if (fd_ >= 0 && ::close(fd_) != 0 && !erro_) erro_ = errno;
    fd_ = -1;
    if (erro_) {
        abandona();
        throw ErroArquivo("ERRO AO GRAVAR O ARQUIVO "_ansi + NOMEARQSAI + " : " + std::strerror(erro_),
                          erro_);
    }
    concluido_ = true;
}

namespace {

// The new name reaches the disk with its directory.
void gravaDiretorio(const std::string& caminho) {
    const int dir = ::open(diretorioDe(caminho).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

}  // namespace

bool ArquivoProduto::GRAVA_ARQUIVO() {
    if (!diretorioExiste(OBR_PARTEARQ(NOMEARQSAI, 0))) {
        abandona();
        GERAL().MENSAGEM("GRAVA_ARQUIVO-IMPOSSIVEL CRIAR O ARQUIVO EXTERNO SOLICITADO.\n"
                         "Nome do arquivo : " +
                             NOMEARQSAI + "\nErro DOS - código : 3 DIRETORIO INEXISTENTE"_ansi,
                         somERRO);
        return false;
    }
    conclui();
    // A file of the same name in another case is the same file to this
    // system: it is the one replaced.
    const std::string destino = ARQ_RESOLVE_CAMINHO(NOMEARQSAI);
    if (::rename(temporario_.c_str(), destino.c_str()) != 0) {
        erro_ = errno;
        abandona();
        throw ErroArquivo("ERRO AO GRAVAR O ARQUIVO "_ansi + NOMEARQSAI + " : " + std::strerror(erro_),
                          erro_);
    }
    temporario_.clear();
    if (sincronizaDiretorio) gravaDiretorio(destino);
    return true;
}

const std::string& ArquivoProduto::ARQUIVO_CONCLUIDO() {
    conclui();
    return temporario_;
}

ArquivoProduto::Movimento ArquivoProduto::MOVE_SEM_SUBSTITUIR(const std::string& destino) {
    conclui();
    if (ARQ_EXISTE(ARQ_RESOLVE_CAMINHO(destino))) return Movimento::existe;
    if (::renameat2(AT_FDCWD, temporario_.c_str(), AT_FDCWD, destino.c_str(), RENAME_NOREPLACE) == 0) {
        temporario_.clear();
        if (sincronizaDiretorio) gravaDiretorio(destino);
        return Movimento::movido;
    }
    if (errno == EEXIST) return Movimento::existe;
    // Another file system, or one that cannot refuse to replace by itself:
    // the general move copies, flushes and only then deletes, never over an
    // existing name.
    if (errno != EXDEV && errno != EINVAL && errno != ENOSYS) return Movimento::falhou;
    if (GERAL().OBR_RENOMEIAARQ(temporario_, destino)) {
        temporario_.clear();
        return Movimento::movido;
    }
    return ARQ_EXISTE(ARQ_RESOLVE_CAMINHO(destino)) ? Movimento::existe : Movimento::falhou;
}
