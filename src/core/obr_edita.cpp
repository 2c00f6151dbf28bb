#include "core/obr_edita.h"

#include "core/geral.h"

void OBR_EDITA_COM(const std::function<void()>& edita) {
    for (;;) {
        try {
            edita();
            return;
        } catch (const ErroRegistroBloqueado&) {
            GERAL().Espera(200);
        }
    }
}
