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
        (void)ConfereHeaderDoRetorno(linhas.front(), tipo, "QUORFUZZ", 42);
        (void)TamanhoDoRegistroRetorno(tipo);
    }
    (void)GeracaoDoHeader(linhas.front());
    for (bool br : {false, true}) {
        const TvenTOTAISRETORNO t = LeTotaisDoRetorno(linhas, br);
        (void)ConfereTotaisDoRetorno(t);
    }
    TvenDADOSCOFAP cofap;
    cofap.cgcfor = "11222333000181";
    cofap.identemp = "QUORFUZZ";
    cofap.nomeemp = "FUZZ";
    cofap.hoje = CodificaData(2026, 12, 9);
    cofap.geracao = 42;
    confere(HeaderCofap(cofap), 394);
    confere(HeaderBr(linhas.front(), 7), 244);
    TvenTOTAISFILIAL filial;
    Centavos pago = 0;
    long long detalhes = 0;
    for (std::size_t i = 0; i < linhas.size() && i < 5000; ++i) {
        const std::string& l = linhas[i];
        (void)LinhaVazia(l);
        (void)ValorDoRetorno(l, 1);
        const TvenPARCELACOFAP p = LeParcelaCofap(l);
        confere(ParcelaCofap(cofap, p, "11222333000181"), 394);
        pago += p.valpago;
        ++detalhes;
        confere(DetalheBr(l), 244);
        filial.Soma(l);
        confere(TrailerBr(l, filial), 244);
        (void)PagamentoWabco(7, l);
    }
    confere(TrailerCofap(cofap, detalhes, pago), 394);
    return 0;
}
