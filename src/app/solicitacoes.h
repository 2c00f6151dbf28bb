#pragma once
// The runs and windows the program offers, gathered in one place: each
// subsystem's entry is wired here as it is built.

#include "core/linha_comando.h"

SolicitacoesSistema SOLICITACOES_DO_SISTEMA();
