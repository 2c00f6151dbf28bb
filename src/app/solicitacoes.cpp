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

SolicitacoesSistema MontaSolicitacoesSistema() {
    SolicitacoesSistema s;
    s.CONCATENA_REMESSAS = CONCATENA_REMESSAS;
    s.SEGREGA_RETORNOS = SEGREGA_RETORNOS;
    s.VEN_CONVREMESSA = VEN_CONVREMESSA;
    s.VEN_CONVRETORNO = VEN_CONVRETORNO;
    return s;
}

JanelasSistema MontaJanelasSistema() {
    JanelasSistema j;
    j.mnu_manutconvecli = [] { AbreManutencaoDeClientes(); };
    j.mnu_manutconvetax = [] { AbreManutencaoDeTaxas(); };
    j.mnu_listaconvecli = [] { ImprimeListagemDeClientes(); };
    j.mnu_statussistema = [] { AbreStatusDoSistema(); };
    j.mnu_instalacaosistema = [] { AbreInstalacaoDoSistema(); };
    j.mnu_arqlimpeza = [] { LimpezaDasRemessasPendentes(); };
    return j;
}
