#include "app/solicitacoes.h"

#include "registers/cli_listagem.h"
#include "routing/tarqconcatena.h"
#include "routing/tarqsegrega.h"
#include "vendor/rem_processa.h"
#include "vendor/ret_processa.h"

SolicitacoesSistema SOLICITACOES_DO_SISTEMA() {
    SolicitacoesSistema s;
    s.CONCATENA_REMESSAS = CONCATENA_REMESSAS;
    s.SEGREGA_RETORNOS = SEGREGA_RETORNOS;
    s.VEN_CONVREMESSA = VEN_CONVREMESSA;
    s.VEN_CONVRETORNO = VEN_CONVRETORNO;
    return s;
}

JanelasSistema JANELAS_DO_SISTEMA() {
    JanelasSistema j;
    j.mnu_listaconvecli = [] { LISTAGEM_CLIENTES(); };
    return j;
}
