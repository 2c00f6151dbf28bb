#include "app/solicitacoes.h"

#include "registers/cli_listagem.h"

SolicitacoesSistema SOLICITACOES_DO_SISTEMA() {
    SolicitacoesSistema s;
    return s;
}

JanelasSistema JANELAS_DO_SISTEMA() {
    JanelasSistema j;
    j.mnu_listaconvecli = [] { LISTAGEM_CLIENTES(); };
    return j;
}
