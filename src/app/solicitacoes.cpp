#include "app/solicitacoes.h"

#include "conversion/rem_processa.h"
#include "conversion/ret_processa.h"
#include "registers/cli_listagem.h"
#include "routing/limpeza.h"
#include "routing/tarqconcatena.h"
#include "routing/tarqsegrega.h"
#include "ui/registers/tfrmclimanut.h"
#include "ui/registers/tfrmtaxmanut.h"
#include "ui/routing/tfrminssistema.h"

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
    j.mnu_manutconvecli = [] { MANUTENCAO_CLIENTES(); };
    j.mnu_manutconvetax = [] { MANUTENCAO_TAXAS(); };
    j.mnu_listaconvecli = [] { LISTAGEM_CLIENTES(); };
    j.mnu_statussistema = [] { STATUS_SISTEMA(); };
    j.mnu_instalacaosistema = [] { INSTALACAO_SISTEMA(); };
    j.mnu_arqlimpeza = [] { LimpezaDasRemessasPendentes(); };
    return j;
}
