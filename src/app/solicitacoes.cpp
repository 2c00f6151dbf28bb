#include "app/solicitacoes.h"

#include "vendor/rem_processa.h"

SolicitacoesSistema SOLICITACOES_DO_SISTEMA() {
    SolicitacoesSistema s;
    s.VEN_CONVREMESSA = VEN_CONVREMESSA;
    return s;
}
