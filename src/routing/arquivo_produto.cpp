#include "routing/arquivo_produto.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

void ArquivoProduto::GRAVA_INF(const std::string& registro) {
    ++TOTREGGRA;
    if (erro_) return;
    buffer_ += OBR_AJUSTA(registro, tamanho_, true, 0);
    buffer_ += "\r\n";
    if (buffer_.size() >= kPedaco) descarrega();
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
    escritos_ += static_cast<long long>(buffer_.size());
    buffer_.clear();
    if (escritos_ - encaminhados_ >= kEncaminha) {
        // Only a request: the disk writes while the run goes on, and the
        // final flush finds little left to do.
        ::sync_file_range(fd_, encaminhados_, escritos_ - encaminhados_, SYNC_FILE_RANGE_WRITE);
        encaminhados_ = escritos_;
    }
}

bool ArquivoProduto::GRAVA_ARQUIVO() {
    if (!diretorioExiste(OBR_PARTEARQ(NOMEARQSAI, 0))) {
        abandona();
        GERAL().MENSAGEM("GRAVA_ARQUIVO-IMPOSSIVEL CRIAR O ARQUIVO EXTERNO SOLICITADO.\n"
                         "Nome do arquivo : " +
                             NOMEARQSAI + "\nErro DOS - código : 3 DIRETORIO INEXISTENTE"_ansi,
                         somERRO);
        return false;
    }
    descarrega();
    if (!erro_ && abre() && ::fsync(fd_) != 0) erro_ = errno;
    if (fd_ >= 0 && ::close(fd_) != 0 && !erro_) erro_ = errno;
    fd_ = -1;
    // A file of the same name in another case is the same file to this
    // system: it is the one replaced.
    const std::string destino = ARQ_RESOLVE_CAMINHO(NOMEARQSAI);
    if (!erro_ && ::rename(temporario_.c_str(), destino.c_str()) != 0) erro_ = errno;
    if (erro_) {
        abandona();
        throw ErroArquivo("ERRO AO GRAVAR O ARQUIVO "_ansi + NOMEARQSAI + " : " + std::strerror(erro_),
                          erro_);
    }
    temporario_.clear();
    // The new name reaches the disk with its directory.
    const int dir = ::open(diretorioDe(destino).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}
