#pragma once
// Waits for what another workstation holds (a record being edited, a
// table's header during an append). After a few seconds the person is told
// what is held; on a screen Cancel gives up, and without one the wait gives
// up by itself after CONVERSOR_ESPERA_MAX seconds (600 when unset or not a
// whole number), so that a scheduler's time limit never kills a run halfway
// through: the run ends with an error and undoes what it had begun.

#include <string>

#include "tabela/erro_tabela.h"
#include "tabela/trava.h"

// The wait was given up (time limit or Cancel); the operation was not done.
class ErroEsperaAbandonada : public ErroTabela {
public:
    using ErroTabela::ErroTabela;
};

class EsperaLimitada : public EsperaDeTrava {
public:
    // `oQue` names what is held ("O REGISTRO 3 DA TABELA ... ESTÁ EM USO POR
    // OUTRO PROCESSO"). Without `podeDesistir` the wait is told, never given up.
    EsperaLimitada(std::string oQue, bool podeDesistir);
    ~EsperaLimitada() override;
    EsperaLimitada(const EsperaLimitada&) = delete;
    EsperaLimitada& operator=(const EsperaLimitada&) = delete;

    // One pause of 200 ms (GERAL().Espera), then the notice, Cancel and the
    // time limit, counted in the pauses' time.
    void Pausa() override;

private:
    std::string oQue_;
    bool podeDesistir_;
    int maximo_;  // CONVERSOR_ESPERA_MAX, read when the wait begins
    int esperouMs_ = 0;
    bool avisou_ = false;
};

// CONVERSOR_ESPERA_MAX, in seconds.
int EsperaMaximaEmSegundos();

// Makes the table engine wait the same way.
void InstalaEsperaLimitada();
