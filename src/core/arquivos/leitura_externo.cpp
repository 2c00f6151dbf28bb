#include "core/arquivos/leitura_externo.h"

#include <algorithm>
#include <cstring>

#include "core/arquivos/arquivo_inteiro.h"
#include "core/geral.h"
#include "core/texto/texto_ansi.h"
#include "tabela/nome_arquivo.h"

std::vector<std::string> TextoEmLinhas(const std::string& texto) {
    std::vector<std::string> linhas;
    // Counted first, so that the lines are never moved while they are read.
    linhas.reserve(static_cast<std::size_t>(std::count(texto.begin(), texto.end(), '\n')) + 1);
    const char* ini = texto.data();
    const char* const fim = ini + texto.size();
    // The next CR and the next LF, each looked for again only once passed:
    // a file without one of them is still read in one sweep.
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
        linhas.emplace_back(ini, static_cast<std::size_t>(quebra - ini));
        ini = quebra + 1;
        if (*quebra == '\r' && ini < fim && *ini == '\n') ++ini;
    }
    if (ini < fim) linhas.emplace_back(ini, static_cast<std::size_t>(fim - ini));
    return linhas;
}

bool TaexLEITURAEXTERNO::TXT_TO_MEMO(const std::string& KARQ_A_SER_LIDO) {
    TABDADOS.clear();
    return ANEXA_TO_MEMO(KARQ_A_SER_LIDO);
}

bool TaexLEITURAEXTERNO::ANEXA_TO_MEMO(const std::string& KARQ_A_SER_LIDO) {
    CursorDeEspera cursor;
    std::string conteudo;
    if (!LeArquivoInteiro(ResolveCaminho(KARQ_A_SER_LIDO), conteudo)) return false;
    AnsiDeTextoUnicode(conteudo);
    std::vector<std::string> linhas = TextoEmLinhas(conteudo);
    if (TABDADOS.empty()) {
        TABDADOS = std::move(linhas);
    } else {
        TABDADOS.reserve(TABDADOS.size() + linhas.size());
        for (auto& l : linhas) TABDADOS.push_back(std::move(l));
    }
    if (!TABDADOS.empty() && TABDADOS.back() == "\x1A") TABDADOS.pop_back();
    return true;
}
