#include "core/partida/aplicacao.h"

#include <cstdlib>
#include <cstring>

#include "core/dados/tdmquor.h"
#include "core/espera_limitada.h"
#include "core/geral.h"
#include "core/partida/recuperacao.h"
#include "core/partida/tproentrada.h"
#include "tabela/tabela.h"

void MostraErroPadrao(const std::exception& erro) {
    GERAL().MENSAGEM(erro.what(), somERRO, kTITULO_APLICACAO);
}

bool PartidaDaAplicacao() {
    DefineAvisoDaTabela([](const std::string& aviso) { GERAL().MENSAGEM(aviso, somSUCESSO); });
    InstalaEsperaLimitada();
    if (!GERAL().ERRO_CONVERSOR_DATA.empty()) {
        // Running on a day other than the one asked for would stamp every
        // file and register with the wrong date.
        GERAL().MENSAGEM(GERAL().ERRO_CONVERSOR_DATA, somERRO, kTITULO_APLICACAO);
        return false;
    }
    try {
        TproENTRADA().PRO_ENTRADA(kVERSAO_SISTEMA);
        RecuperaExecucoesInterrompidas();
        return true;
    } catch (const std::exception& e) {
        DMQUOR().FechaTodas();
        MostraErroPadrao(e);
        return false;
    }
}

int ExecutaLinhaDeComando(const std::vector<std::string>& argumentos,
                            const SolicitacoesSistema& solicitacoes) {
    if (!PartidaDaAplicacao()) return 1;
    bool valida = true;
    try {
        valida = DespachaLinhaDeComando(argumentos, solicitacoes);
    } catch (const std::exception& e) {
        MostraErroPadrao(e);
    }
    DMQUOR().FechaTodas();
    if (!valida) return 2;
    return GERAL().Dialogo().ErrosMostrados() > 0 ? 1 : 0;
}

bool SemTela() {
    const char* sem = std::getenv("CONVERSOR_SEM_JANELA");
    if (sem && std::strcmp(sem, "1") == 0) return true;
    const char* x = std::getenv("DISPLAY");
    const char* w = std::getenv("WAYLAND_DISPLAY");
    return !(x && *x) && !(w && *w);
}
