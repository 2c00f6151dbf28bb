// Hostile bank Vendor return files: header checks, the totals scan and the
// client records built from each line, for every company type, without a
// crash; a record that fits never outgrows its columns.

#include <cstdint>
#include <cstdlib>

#include "conversion/ret_arquivo_banco.h"
#include "conversion/ret_arquivo_cliente.h"
#include "core/arquivos/leitura_externo.h"
#include "core/texto/calendario.h"
#include "fuzz/arquivo_fuzz.h"

namespace {
void confere(const TvenREGRETORNO& r, std::size_t maximo) {
    if (r.falhas.empty() && r.conteudo.size() > maximo) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    ArquivoFuzz arquivo("RETORNO.TXT", dados, tamanho);
    TaexLEITURAEXTERNO leitor;
    if (!leitor.TXT_TO_MEMO(arquivo.Caminho())) return 0;
    const std::vector<std::string>& linhas = leitor.TABDADOS;
    if (linhas.empty()) return 0;
    for (const char* tipo : {"1", "2", "4"}) {
        (void)RET_CONFEREHEADER(linhas.front(), tipo, "QUORFUZZ", 42);
        (void)RET_TAMANHOREGISTRO(tipo);
    }
    (void)RET_GERACAOHEADER(linhas.front());
    for (bool br : {false, true}) {
        const TvenTOTAISRETORNO t = RET_LETOTAIS(linhas, br);
        (void)RET_CONFERETOTAIS(t);
    }
    TvenDADOSCOFAP cofap;
    cofap.cgcfor = "11222333000181";
    cofap.identemp = "QUORFUZZ";
    cofap.nomeemp = "FUZZ";
    cofap.hoje = DATA_CODIFICA(2026, 12, 9);
    cofap.geracao = 42;
    confere(RET_COFAPHEADER(cofap), 394);
    confere(RET_BRHEADER(linhas.front(), 7), 244);
    TvenTOTAISFILIAL filial;
    TvenCENTAVOS pago = 0;
    long long detalhes = 0;
    for (std::size_t i = 0; i < linhas.size() && i < 5000; ++i) {
        const std::string& l = linhas[i];
        (void)RET_LINHAVAZIA(l);
        (void)RET_VALOR(l, 1);
        const TvenPARCELACOFAP p = RET_LEPARCELACOFAP(l);
        confere(RET_COFAPPARCELA(cofap, p, "11222333000181"), 394);
        pago += p.valpago;
        ++detalhes;
        confere(RET_BRDETALHE(l), 244);
        filial.Soma(l);
        confere(RET_BRTRAILLER(l, filial), 244);
        (void)RET_WABCOPAGAMENTO(7, l);
    }
    confere(RET_COFAPTRAILLER(cofap, detalhes, pago), 394);
    return 0;
}
