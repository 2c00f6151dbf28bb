#include "conversion/ret_perfis.h"

#include "conversion/rem_leiautes.h"

namespace {

const TvenPERFILRETORNO kPERFIS[] = {
    {kTIPO_COFAP, 400, 394, false, true, true, true, passaPARCELAS},
    {kTIPO_BR, 250, 244, false, false, false, false, passaFILIAIS},
    {kTIPO_WABCO, 28, 0, true, false, false, false, passaPAGAMENTOS},
};

}  // namespace

const TvenPERFILRETORNO* PerfilDoRetorno(const std::string& tipo) {
    for (const TvenPERFILRETORNO& p : kPERFIS)
        if (tipo == p.tipo) return &p;
    return nullptr;
}
