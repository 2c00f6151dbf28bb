#pragma once
// What every start of the program does, with or without a screen: the
// start-up check, then either one command-line request or the main window.

#include <exception>
#include <string>
#include <vector>

#include "core/partida/linha_comando.h"

inline constexpr const char* kTITULO_APLICACAO = "Conversor de Arquivo";

// The application's standard error box: an error no run caught (engine
// errors, files that cannot be created), shown with the program's title.
void MostraErroPadrao(const std::exception& erro);

// Wires the engine's notices to the operator and runs the start-up check.
// False when it failed (its error was shown): no request may run then.
bool PartidaDaAplicacao();

// Runs one command-line request after the start-up check and answers the
// exit status: 0 when no error message was shown, 1 when one was, 2 when the
// command line itself was invalid.
int ExecutaLinhaDeComando(const std::vector<std::string>& argumentos,
                            const SolicitacoesSistema& solicitacoes);

// True when no window can or may be shown: no DISPLAY nor WAYLAND_DISPLAY,
// or CONVERSOR_SEM_JANELA=1.
bool SemTela();
