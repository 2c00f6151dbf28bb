#include "app/solicitacoes.h"

SolicitacoesSistema SOLICITACOES_DO_SISTEMA() {
    SolicitacoesSistema s;
    return s;
}
