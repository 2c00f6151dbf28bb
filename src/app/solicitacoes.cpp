#include "app/solicitacoes.h"

#include "routing/tarqconcatena.h"

SolicitacoesSistema SOLICITACOES_DO_SISTEMA() {
    SolicitacoesSistema s;
    s.CONCATENA_REMESSAS = CONCATENA_REMESSAS;
    return s;
}
