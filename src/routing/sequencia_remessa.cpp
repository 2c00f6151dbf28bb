#include "routing/sequencia_remessa.h"

#include "core/obr_edita.h"
#include "tabela/tabela.h"

std::string SubstituiPrimeira(const std::string& texto, const std::string& de,
                              const std::string& para) {
    const auto pos = texto.find(de);
    if (de.empty() || pos == std::string::npos) return texto;
    std::string r = texto;
    r.replace(pos, de.size(), para);
    return r;
}

int ProximaSequencia(long long armazenado, const std::string& ultdatcob,
                      const std::string& ddmm) {
    if (armazenado > 98) return 1;
    if (ddmm != ultdatcob || armazenado < 0) return 1;
    return static_cast<int>(armazenado) + 1;
}

int ReservaSequencia(Tabela& conveins, const std::string& campo, const std::string& ddmm,
                      const std::function<void(long long, int, const std::string&)>& antesDeGravar) {
    OBR_EDITA(conveins);
    try {
        const long long anterior = conveins.FieldByName(campo).AsInteger();
        const std::string diaAnterior = conveins.FieldByName("ULTDATCOB").AsString();
        const int numero = ProximaSequencia(anterior, diaAnterior, ddmm);
        if (antesDeGravar) antesDeGravar(anterior, numero, diaAnterior);
        conveins.FieldByName(campo).SetAsInteger(numero);
        // The day goes with the number, in the same write: a run on another
        // workstation that reserves before this one has finished must see
        // that today's numbering has begun, or it would start it again at 1
        // and its file would replace this one's.
        conveins.FieldByName("ULTDATCOB").SetAsString(ddmm);
        conveins.Post();
        return numero;
    } catch (...) {
        conveins.Cancel();
        throw;
    }
}
