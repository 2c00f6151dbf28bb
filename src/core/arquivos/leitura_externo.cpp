#include "core/arquivos/leitura_externo.h"

#include <algorithm>

#include "core/arquivos/arquivo_inteiro.h"
#include "core/geral.h"
#include "core/texto/texto_ansi.h"
#include "tabela/nome_arquivo.h"

std::vector<std::string> TextoEmLinhas(const std::string& texto) {
    std::vector<std::string> linhas;
    // Counted first, so that the lines are never moved while they are read.
    linhas.reserve(static_cast<std::size_t>(std::count(texto.begin(), texto.end(), '\n')) + 1);
    std::size_t ini = 0;
    const std::size_t n = texto.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (texto[i] != '\r' && texto[i] != '\n') continue;
        linhas.emplace_back(texto, ini, i - ini);
        if (texto[i] == '\r' && i + 1 < n && texto[i + 1] == '\n') ++i;
        ini = i + 1;
    }
    if (ini < n) linhas.emplace_back(texto, ini);
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
