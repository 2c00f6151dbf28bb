// Hostile index files: read or refused with an ErroTabela, never a crash or
// an endless walk.

#include <cstdint>

#include "fuzz/arquivo_fuzz.h"
#include "tabela/cdx.h"
#include "tabela/erro_tabela.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    ArquivoFuzz arquivo("T.CDX", dados, tamanho);
    try {
        (void)LeTagsDoCdx(arquivo.Caminho());
        (void)LeCdx(arquivo.Caminho());
    } catch (const ErroTabela&) {
    }
    return 0;
}
