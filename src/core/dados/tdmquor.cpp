#include "core/dados/tdmquor.h"

#include "core/dados/esquema.h"

namespace {

void prepara(Tabela& t, const EsquemaTabela& e) {
    t.SetDatabaseName(".");
    t.SetTableName(e.arquivo);
    t.SetExclusive(false);
    if (!e.tag.empty()) {
        t.AddIndexDef(e.tag, e.expressao);
        t.SetIndexName(e.tag);
    }
}

}  // namespace

TDMQUOR::TDMQUOR() {
    prepara(TBCONVEINS, EsquemaConveins());
    prepara(TBCONVECLI, EsquemaConvecli());
    prepara(TBCONVEPEN, EsquemaConvepen());
    prepara(TBCONVETAX, EsquemaConvetax());
}

void TDMQUOR::FechaTodas() {
    TBCONVEINS.Close();
    TBCONVECLI.Close();
    TBCONVEPEN.Close();
    TBCONVETAX.Close();
}

TDMQUOR& DMQUOR() {
    static TDMQUOR instancia;
    return instancia;
}
