#include "routing/leitor_linhas.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/arquivos/arquivo_inteiro.h"
#include "core/texto/texto_ansi.h"

namespace {

constexpr std::size_t kPedaco = 4 << 20;

bool comecaComMarcaUnicode(std::string_view b) {
    return b.substr(0, 3) == "\xEF\xBB\xBF" || b.substr(0, 2) == "\xFF\xFE" || b.substr(0, 2) == "\xFE\xFF";
}

}  // namespace

LeitorDeLinhas::~LeitorDeLinhas() { fecha(); }

void LeitorDeLinhas::fecha() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

LeitorDeLinhas::Abertura LeitorDeLinhas::Abre(const std::string& caminho) {
    fecha();
    tamanho_ = pos_ = 0;
    base_ = inicioLinha_ = 0;
    fim_ = falhou_ = pulaLF_ = convertido_ = comCRLF_ = false;
    fd_ = ::open(caminho.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd_ < 0) return errno == ENOENT ? Abertura::ausente : Abertura::ilegivel;
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        fecha();
        return Abertura::ilegivel;
    }
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    // A small file is read in one piece of its own size; a buffer big
    // enough from an earlier file serves again.
    const std::size_t desejada =
        std::min(kPedaco, std::max<std::size_t>(64 << 10, static_cast<std::size_t>(st.st_size) + 1));
    if (capacidade_ < desejada || capacidade_ > kPedaco) {
        buffer_.reset(new char[desejada]);
        capacidade_ = desejada;
    }
    if (!enche() && falhou_) return Abertura::ilegivel;
    if (comecaComMarcaUnicode(std::string_view(buffer_.get(), tamanho_))) {
        // Unicode text is rare and small: read whole and converted at once.
        while (enche()) {
        }
        if (falhou_) return Abertura::ilegivel;
        std::string texto(buffer_.get(), tamanho_);
        AnsiDeTextoUnicode(texto);
        convertido_ = true;
        buffer_.reset(new char[texto.size() + 1]);
        capacidade_ = texto.size() + 1;
        tamanho_ = texto.size();
        std::memcpy(buffer_.get(), texto.data(), texto.size());
    }
    return Abertura::aberto;
}

bool LeitorDeLinhas::enche() {
    if (fim_ || falhou_ || fd_ < 0) return false;
    if (pos_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + pos_, tamanho_ - pos_);
        tamanho_ -= pos_;
        base_ += static_cast<long long>(pos_);
        pos_ = 0;
    }
    semLF_ = false;
    if (capacidade_ - tamanho_ < capacidade_ / 2) {
        // A line longer than the buffer: room for more of it.
        std::unique_ptr<char[]> maior(new char[capacidade_ * 2]);
        std::memcpy(maior.get(), buffer_.get(), tamanho_);
        buffer_ = std::move(maior);
        capacidade_ *= 2;
    }
    ssize_t n;
    do {
        n = ::read(fd_, buffer_.get() + tamanho_, capacidade_ - tamanho_);
    } while (n < 0 && errno == EINTR);
    if (n > 0) {
        tamanho_ += static_cast<std::size_t>(n);
        return true;
    }
    if (n < 0) falhou_ = true;
    fim_ = true;
    return false;
}

void LeitorDeLinhas::pulaLF() {
    if (pulaLF_ && pos_ < tamanho_) {
        if (buffer_[pos_] == '\n') ++pos_;
        pulaLF_ = false;
    }
}

bool LeitorDeLinhas::haMais() {
    for (;;) {
        pulaLF();
        if (pos_ < tamanho_) return true;
        if (!enche()) return false;
    }
}

bool LeitorDeLinhas::Proxima(std::string_view& linha) {
    static const std::string marca(1, '\x1A');
    comCRLF_ = false;
    for (;;) {
        pulaLF();
        if (pulaLF_ && !fim_) {
            if (!enche() && falhou_) return false;
            continue;
        }
        const char* ini = buffer_.get() + pos_;
        const std::size_t resta = tamanho_ - pos_;
        // The next LF, then a CR before it: each search stops at the line's
        // end. A buffer without LF (lines ended by CR alone) is searched
        // for it once.
        const char* lf = semLF_ ? nullptr : static_cast<const char*>(std::memchr(ini, '\n', resta));
        if (!lf) semLF_ = true;
        const char* cr = static_cast<const char*>(
            std::memchr(ini, '\r', lf ? static_cast<std::size_t>(lf - ini) : resta));
        const char* fimLinha = cr ? cr : lf;
        if (!fimLinha) {
            if (!fim_) {
                if (!enche() && falhou_) return false;
                continue;
            }
            // The last line, without a line end.
            pos_ = tamanho_;
            if (resta == 0 || (resta == 1 && *ini == '\x1A')) return false;
            inicioLinha_ = base_ + static_cast<long long>(ini - buffer_.get());
            linha = std::string_view(ini, resta);
            return true;
        }
        const std::size_t tam = static_cast<std::size_t>(fimLinha - ini);
        inicioLinha_ = base_ + static_cast<long long>(pos_);
        pos_ += tam + 1;
        if (*fimLinha == '\r') {
            if (pos_ < tamanho_) {
                if (buffer_[pos_] == '\n') {
                    ++pos_;
                    comCRLF_ = !convertido_;
                }
            } else {
                pulaLF_ = true;
            }
        }
        if (tam == 1 && *ini == '\x1A') {
            // The end-of-file mark is dropped only as the last line.
            if (!haMais()) return false;
            comCRLF_ = false;
            linha = marca;
            return true;
        }
        linha = std::string_view(ini, tam);
        return true;
    }
}
