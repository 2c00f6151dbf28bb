#pragma once
// The command line: one request, run unattended, after which the process
// ends. The runs themselves are handed in by the application, so the
// dispatch knows the requests and their rules, not how each run is built.

#include <functional>
#include <string>
#include <vector>

struct SolicitacoesSistema {
    std::function<void()> CONCATENA_REMESSAS;
    std::function<void(int passada)> SEGREGA_RETORNOS;
    // Client code, and whether it came from the command line (the run then
    // asks no confirmation).
    std::function<void(const std::string& codigo, bool linhaComando)> VEN_CONVREMESSA;
    std::function<void(const std::string& codigo, bool linhaComando)> VEN_CONVRETORNO;
};

// Message shown for a run that this version does not have yet.
void AvisaSolicitacaoIndisponivel(const std::string& nome);

// A segregation pass number must lie between 0 and 99; otherwise its
// message is shown and the answer is false. The command line and the
// menu's pass window ask the same.
bool PassadaAceita(int passada);

// "conversor --help": the requests, the environment and the exit statuses,
// in Portuguese (Windows-1252).
std::string UsoDaLinhaDeComando();

// Runs the request the arguments name (the program name not included).
// Answers false when the command line itself was invalid (unknown request,
// pass number out of range): its message was shown and nothing ran.
bool DespachaLinhaDeComando(const std::vector<std::string>& argumentos,
                            const SolicitacoesSistema& solicitacoes);
