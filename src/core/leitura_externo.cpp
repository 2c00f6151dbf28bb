#include "core/leitura_externo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/geral.h"
#include "core/tabela/nome_arquivo.h"
#include "core/texto_ansi.h"

namespace {

bool leArquivoInteiro(const std::string& caminho, std::string& conteudo) {
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
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        conteudo.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return ok;
}

}  // namespace

std::vector<std::string> TEXTO_EM_LINHAS(const std::string& texto) {
    std::vector<std::string> linhas;
    std::size_t ini = 0;
    const std::size_t n = texto.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (texto[i] != '\r' && texto[i] != '\n') continue;
        linhas.push_back(texto.substr(ini, i - ini));
        if (texto[i] == '\r' && i + 1 < n && texto[i + 1] == '\n') ++i;
        ini = i + 1;
    }
    if (ini < n) linhas.push_back(texto.substr(ini));
    return linhas;
}

bool TaexLEITURAEXTERNO::TXT_TO_MEMO(const std::string& KARQ_A_SER_LIDO) {
    TABDADOS.clear();
    return ANEXA_TO_MEMO(KARQ_A_SER_LIDO);
}

bool TaexLEITURAEXTERNO::ANEXA_TO_MEMO(const std::string& KARQ_A_SER_LIDO) {
    TmvGERAL& geral = GERAL();
    geral.CURSORESPERA();
    std::string conteudo;
    const bool lido = leArquivoInteiro(ARQ_RESOLVE_CAMINHO(KARQ_A_SER_LIDO), conteudo);
    if (lido) {
        ANSI_DE_TEXTO_UNICODE(conteudo);
        for (auto& l : TEXTO_EM_LINHAS(conteudo)) TABDADOS.push_back(std::move(l));
        if (!TABDADOS.empty() && TABDADOS.back() == "\x1A") TABDADOS.pop_back();
    }
    geral.CURSORDEFAULT();
    return lido;
}
