#include "vendor/rem_pendente.h"

#include "core/obr_edita.h"

void REM_PENDENTE(Tabela& convepen, const std::string& codcli, const std::string& numped,
                  const std::string& cgccli, TData dataRemessa) {
    if (convepen.Locate("CODCLI;NUMPED", {codcli, numped})) {
        OBR_EDITA(convepen);
    } else {
        convepen.Append();
        convepen.FieldByName("CODCLI").SetAsString(codcli);
        convepen.FieldByName("NUMPED").SetAsString(numped);
    }
    convepen.FieldByName("CGCCLI").SetAsString(cgccli);
    convepen.FieldByName("DTREMESSA").SetAsDate(dataRemessa);
    convepen.Post();
}
