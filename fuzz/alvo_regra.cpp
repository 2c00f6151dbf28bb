// Hostile stored forms of translation rules and branch lists, as a register
// edited by hand or by another tool may hold them: read, applied to lines
// and put back without a crash. A rule never moves a record's columns: what
// it rewrites keeps its length, and reading its stored form back gives the
// same rule.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "registers/manconvecli.h"
#include "routing/regra_traducao.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const std::string entrada(reinterpret_cast<const char*>(dados), tamanho);
    auto pedaco = [&](std::size_t i, std::size_t n) {
        return i < entrada.size() ? entrada.substr(i, n) : std::string();
    };
    TmanCONVECLI man;
    TKTBCONVE regras;
    man.CLI_ABRPARAM(regras, pedaco(0, 66), pedaco(66, 66), pedaco(132, 66));
    const std::string linhaOriginal = pedaco(198, 600);
    for (int n = 1; n <= TKTBCONVE::Tamanho(); ++n) {
        const TXKTBCONVE& r = regras[n];
        TKTBCONVE relidas;
        const std::string guardada = man.FechaParametrosDoCliente(r);
        man.CLI_ABRPARAM(relidas, guardada, guardada, guardada);
        if (man.FechaParametrosDoCliente(relidas[1]) != guardada) std::abort();

        const RegraTraducao regra(r);
        std::string linha = linhaOriginal;
        const std::size_t antes = linha.size();
        if (regra.Aplica(linha)) {
            const std::size_t fim = static_cast<std::size_t>(regra.Fim());
            if (linha.size() != std::max(antes, fim)) std::abort();
        } else if (linha.size() != antes && linha.size() != static_cast<std::size_t>(regra.Fim())) {
            std::abort();
        }
        std::string volta = linha;
        const bool reverteria = regra.Reverteria(volta);
        const std::size_t tamanhoVolta = volta.size();
        if (regra.Reverte(volta) != reverteria) std::abort();
        if (reverteria && volta.size() < tamanhoVolta) std::abort();
    }
    TKTBBRFILIAL filiais;
    (void)man.CLI_ABRBR("ABRE_FILIAIS", filiais, entrada);
    const std::string guardadas = man.CLI_ABRBR("FECHA_FILIAIS", filiais, "");
    TKTBBRFILIAL relidas;
    (void)man.CLI_ABRBR("ABRE_FILIAIS", relidas, guardadas);
    if (man.CLI_ABRBR("FECHA_FILIAIS", relidas, "") != guardadas) std::abort();
    return 0;
}
