#include "conversion/resumo_vendor.h"

#include <string>

#include "conversion/rem_processa.h"
#include "conversion/ret_processa.h"
#include "report/resumo_execucao.h"

namespace {

// Nothing was read when the run stopped before the file (a question
// answered No, a client without a file): there is nothing to tell.
void lidoERecusado(const std::string& arquivo, int lidos, int desprezados) {
    if (lidos == 0) return;
    ResumoLido(arquivo + ": " + ResumoRegistros(lidos));
    if (desprezados > 0) ResumoRecusado(std::to_string(desprezados) + " registros desprezados");
}

}  // namespace

void ResumoDaRemessaVendor(const TvenREMESSA& run) {
    lidoERecusado(run.KARQREMCLI, run.WPES, run.WDES);
}

void ResumoDoRetornoVendor(const TvenRETORNO& run) {
    lidoERecusado(run.KARQRETBAN, run.WPES, run.WDES);
}
