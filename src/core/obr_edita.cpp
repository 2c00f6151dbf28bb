#include "core/obr_edita.h"

#include <memory>

#include "core/espera_limitada.h"

void EditaComEspera(const std::function<void()>& edita) {
    std::unique_ptr<EsperaLimitada> espera;
    for (;;) {
        try {
            edita();
            return;
        } catch (const ErroRegistroBloqueado& e) {
            if (!espera) espera = std::make_unique<EsperaLimitada>(e.what(), true);
            espera->Pausa();
        }
    }
}
