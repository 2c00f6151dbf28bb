// Hostile text files through the two line readers of the routing runs: the
// streamed reader and the whole-file reader must give the same lines, and
// where the streamed reader says a line lies in the file followed by CR LF,
// it must be there byte for byte (the segregation copies those bytes instead
// of the line).

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/arquivos/leitura_externo.h"
#include "fuzz/arquivo_fuzz.h"
#include "routing/leitor_linhas.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    ArquivoFuzz arquivo("RD0912.001", dados, tamanho);
    TaexLEITURAEXTERNO inteiro;
    const bool leuInteiro = inteiro.TXT_TO_MEMO(arquivo.Caminho());
    LeitorDeLinhas leitor;
    if (leitor.Abre(arquivo.Caminho()) != LeitorDeLinhas::Abertura::aberto) {
        if (leuInteiro) std::abort();
        return 0;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(dados), tamanho);
    std::size_t n = 0;
    std::string_view linha;
    while (leitor.Proxima(linha)) {
        if (!leuInteiro || n >= inteiro.TABDADOS.size() || inteiro.TABDADOS[n] != linha) std::abort();
        ++n;
        long long inicio = 0;
        if (leitor.TrechoDoArquivo(inicio)) {
            const std::string esperado = std::string(linha) + "\r\n";
            if (inicio < 0 || static_cast<std::size_t>(inicio) + esperado.size() > tamanho ||
                bytes.substr(static_cast<std::size_t>(inicio), esperado.size()) != esperado)
                std::abort();
        }
    }
    if (leitor.Falhou() || n != inteiro.TABDADOS.size()) std::abort();
    return 0;
}
