#include "conversion/ret_perfis.h"

#include "conversion/rem_leiautes.h"

namespace {

const TvenPERFILRETORNO kPERFIS[] = {
    {.tipo = kTIPO_COFAP,
     .tamanhoRegistro = 400,
     .colunasAntesDaSequencia = 394,
     .consignacao = false,
     .confereIdentificacao = true,
     .geracaoDoCliente = true,
     .traillerProprio = true,
     .passada = passaPARCELAS},
    {.tipo = kTIPO_BR,
     .tamanhoRegistro = 250,
     .colunasAntesDaSequencia = 244,
     .consignacao = false,
     .confereIdentificacao = false,
     .geracaoDoCliente = false,  // each branch file has its own
     .traillerProprio = false,
     .passada = passaFILIAIS},
    {.tipo = kTIPO_WABCO,
     .tamanhoRegistro = 28,
     .colunasAntesDaSequencia = 0,
     .consignacao = true,
     .confereIdentificacao = false,
     .geracaoDoCliente = false,
     .traillerProprio = false,
     .passada = passaPAGAMENTOS},
};

}  // namespace

const TvenPERFILRETORNO* PerfilDoRetorno(const std::string& tipo) {
    for (const TvenPERFILRETORNO& p : kPERFIS)
        if (tipo == p.tipo) return &p;
    return nullptr;
}
