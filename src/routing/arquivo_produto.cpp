#include "routing/arquivo_produto.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "core/arquivos/arquivo_duravel.h"
#include "core/arquivos/caminho_arquivo.h"
#include "core/arquivos/erro_arquivo.h"
#include "core/geral.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_texto.h"
#include "tabela/nome_arquivo.h"

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


}  // namespace

ArquivoProduto::ArquivoProduto(int tamanhoRegistro, std::string nome)
    : NOMEARQSAI(std::move(nome)), tamanho_(tamanhoRegistro) {
    buffer_.reserve(kPedaco + static_cast<std::size_t>(tamanho_) + 2);
}

ArquivoProduto::~ArquivoProduto() { abandona(); }

void ArquivoProduto::abandona() {
    arquivo_.reset();  // an unnamed temporary goes with it
    fd_ = -1;
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

void ArquivoProduto::ReescrevePrimeiroRegistro(std::string_view registro) {
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

void ArquivoProduto::AguardaDisco() {
    if (erro_ || fd_ < 0) return;
    ::sync_file_range(fd_, 0, 0,
                      SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
}

bool ArquivoProduto::abre() {
    if (fd_ >= 0) return true;
    if (arquivo_) return false;  // already finished
    // A file of the same name in another case is the same file to this
    // system: it is the one replaced.
    arquivo_ = std::make_unique<ArquivoDuravel>(ResolveCaminho(NOMEARQSAI));
    if (arquivo_->Erro()) {
        erro_ = arquivo_->Erro();
        return false;
    }
    fd_ = arquivo_->Fd();
    temporario_ = arquivo_->Temporario();
    if (aoCriarTemporario) aoCriarTemporario(temporario_, arquivo_->Destino());
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

void ArquivoProduto::AcrescentaTrecho(int origem, long long inicio, long long bytes, long registros) {
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

void ArquivoProduto::JuntaEm(ArquivoProduto& destino) {
    descarrega();
    // A finished file has closed its descriptor: it is read back from
    // where it lies, unnamed.
    int proprio = -1;
    if (!erro_ && fd_ < 0 && escritos_ > 0) {
        proprio = temporario_.empty() ? -1 : ::open(temporario_.c_str(), O_RDONLY | O_CLOEXEC);
        if (proprio < 0) erro_ = temporario_.empty() ? EBADF : errno;
    }
    if (erro_) {
        abandona();
        throw ErroAoGravar(NOMEARQSAI, erro_);
    }
    if (escritos_ > 0) destino.AcrescentaTrecho(fd_ >= 0 ? fd_ : proprio, 0, escritos_, TOTREGGRA);
    if (proprio >= 0) ::close(proprio);
    abandona();
}

void ArquivoProduto::conclui() {
    if (concluido_) return;
    descarrega();
    if (!erro_ && abre()) erro_ = arquivo_->Conclui();
    fd_ = -1;
    if (erro_) {
        abandona();
        throw ErroAoGravar(NOMEARQSAI, erro_);
    }
    concluido_ = true;
}

bool ArquivoProduto::PRONTO() {
    if (!diretorioExiste(OBR_PARTEARQ(NOMEARQSAI, 0))) {
        abandona();
        GERAL().MENSAGEM("GRAVA_ARQUIVO-IMPOSSIVEL CRIAR O ARQUIVO EXTERNO SOLICITADO.\n"
                         "Nome do arquivo : " +
                             NOMEARQSAI + "\nErro DOS - código : 3 DIRETORIO INEXISTENTE"_ansi,
                         somERRO);
        return false;
    }
    // A name held by a directory could never be given: found now, before
    // the run commits to it.
    struct stat st {};
    if (::stat(ResolveCaminho(NOMEARQSAI).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        abandona();
        throw ErroAoGravar(NOMEARQSAI, EISDIR);
    }
    conclui();
    return true;
}

bool ArquivoProduto::GRAVA_ARQUIVO() {
    if (!PRONTO()) return false;
    if (antesDeNomear) antesDeNomear(temporario_, arquivo_->Destino());
    if (const int erro = arquivo_->Nomeia(true, sincronizaDiretorio)) {
        erro_ = erro;
        abandona();
        throw ErroAoGravar(NOMEARQSAI, erro_);
    }
    temporario_.clear();
    return true;
}

const std::string& ArquivoProduto::ConcluiSemNomear() {
    conclui();
    return temporario_;
}

ArquivoProduto::Movimento ArquivoProduto::MoveSemSubstituir(const std::string& destino) {
    conclui();
    if (ArquivoExiste(ResolveCaminho(destino))) return Movimento::existe;
    if (antesDeNomear) antesDeNomear(temporario_, destino);
    const int erro = arquivo_->NomeiaComo(destino, false, sincronizaDiretorio);
    if (erro == 0) {
        temporario_.clear();
        return Movimento::movido;
    }
    if (erro == EEXIST) return Movimento::existe;
    // Another file system: the general move copies, flushes and only then
    // deletes, never over an existing name.
    if (erro != EXDEV) return Movimento::falhou;
    if (GERAL().OBR_RENOMEIAARQ(temporario_, destino)) {
        temporario_.clear();
        return Movimento::movido;
    }
    return ArquivoExiste(ResolveCaminho(destino)) ? Movimento::existe : Movimento::falhou;
}
