#include "core/arquivos/leitura_externo.h"

#include <algorithm>
#include <cstring>

#include "core/arquivos/arquivo_inteiro.h"
#include "core/geral.h"
#include "core/texto/texto_ansi.h"
#include "tabela/nome_arquivo.h"

void CortadorDeLinhas::Acrescenta(std::string_view pedaco) {
    if (pedaco.empty()) return;  // a CR at the end of the last piece still waits
    const char* ini = pedaco.data();
    const char* const fim = ini + pedaco.size();
    if (crNoFim_ && ini < fim && *ini == '\n') ++ini;  // the LF of a CR LF cut in two
    crNoFim_ = false;
    // The next CR and the next LF, each looked for again only once passed:
    // a text without one of them is still read in one sweep.
    const auto proximo = [fim](const char* de, char c) {
        const void* p = de < fim ? std::memchr(de, c, static_cast<std::size_t>(fim - de)) : nullptr;
        return p ? static_cast<const char*>(p) : fim;
    };
    const char* cr = proximo(ini, '\r');
    const char* lf = proximo(ini, '\n');
    for (;;) {
        if (cr < ini) cr = proximo(ini, '\r');
        if (lf < ini) lf = proximo(ini, '\n');
        const char* const quebra = std::min(cr, lf);
        if (quebra == fim) break;
        if (resto_.empty()) {
            linhas_.emplace_back(ini, static_cast<std::size_t>(quebra - ini));
        } else {
            resto_.append(ini, static_cast<std::size_t>(quebra - ini));
            linhas_.push_back(std::move(resto_));
            resto_.clear();
        }
        ini = quebra + 1;
        if (*quebra == '\r') {
            if (ini == fim) crNoFim_ = true;
            else if (*ini == '\n') ++ini;
        }
    }
    resto_.append(ini, static_cast<std::size_t>(fim - ini));
}

void CortadorDeLinhas::Termina() {
    if (!resto_.empty()) linhas_.push_back(std::move(resto_));
    resto_.clear();
    crNoFim_ = false;
}

std::vector<std::string> TextoEmLinhas(const std::string& texto) {
    std::vector<std::string> linhas;
    // Counted first, so that the lines are never moved while they are cut.
    linhas.reserve(static_cast<std::size_t>(std::count(texto.begin(), texto.end(), '\n')) + 1);
    CortadorDeLinhas cortador(linhas);
    cortador.Acrescenta(texto);
    cortador.Termina();
    return linhas;
}

namespace {

// The lines of a file read a piece at a time, so that its text is never
// held whole beside them. A file that begins with a Unicode byte-order mark
// is kept whole and converted first. False when it cannot be read.
bool leLinhas(const std::string& caminho, std::vector<std::string>& linhas) {
    CortadorDeLinhas cortador(linhas);
    std::string unicode;
    bool primeiro = true;
    bool marca = false;
    const bool ok = LeArquivoEmPedacos(caminho, [&](std::string_view lido, std::size_t tamanho) {
        if (primeiro) {
            primeiro = false;
            const auto c = static_cast<unsigned char>(lido[0]);
            marca = c == 0xEF || c == 0xFF || c == 0xFE;
            // As many lines as the first piece's average foretells (a
            // client's lines are alike; a short header does not skew it).
            const auto quebras = static_cast<std::size_t>(std::count(lido.begin(), lido.end(), '\n'));
            if (!marca && quebras > 0) linhas.reserve(tamanho / (lido.size() / quebras) + 1);
        }
        if (marca) unicode += lido;
        else cortador.Acrescenta(lido);
    });
    if (!ok) return false;
    if (marca) {
        AnsiDeTextoUnicode(unicode);
        linhas = TextoEmLinhas(unicode);
    } else {
        cortador.Termina();
    }
    return true;
}

}  // namespace

bool TaexLEITURAEXTERNO::TXT_TO_MEMO(const std::string& KARQ_A_SER_LIDO) {
    TABDADOS.clear();
    return ANEXA_TO_MEMO(KARQ_A_SER_LIDO);
}

bool TaexLEITURAEXTERNO::ANEXA_TO_MEMO(const std::string& KARQ_A_SER_LIDO) {
    CursorDeEspera cursor;
    std::vector<std::string> linhas;
    if (!leLinhas(ResolveCaminho(KARQ_A_SER_LIDO), linhas)) return false;
    if (TABDADOS.empty()) {
        TABDADOS = std::move(linhas);
    } else {
        TABDADOS.reserve(TABDADOS.size() + linhas.size());
        for (auto& l : linhas) TABDADOS.push_back(std::move(l));
    }
    if (!TABDADOS.empty() && TABDADOS.back() == "\x1A") TABDADOS.pop_back();
    return true;
}
