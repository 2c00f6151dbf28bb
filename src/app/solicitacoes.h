#pragma once
// The runs and windows the program offers, gathered in one place: each
// subsystem's entry is wired here as it is built.

#include "core/partida/linha_comando.h"
#include "ui/core/tmdientrada.h"

SolicitacoesSistema MontaSolicitacoesSistema();
// The windows behind the main menu's register and housekeeping entries.
JanelasSistema MontaJanelasSistema();
