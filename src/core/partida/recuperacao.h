#pragma once
// At the start of every request, of every menu run and of the window: the
// runs that a crash, a power cut or a timeout stopped half way are finished
// or undone before anything else touches the data directory, and the
// operator is told what was done, in one message.

#include <string>
#include <vector>

// Resolves the journals of runs no longer alive and removes abandoned
// temporaries of the data directory, the holding directory and the
// clients' temporary directories. Answers the lines shown (none when there
// was nothing to do); a recovery that could not be finished is an error
// message, and its journal stays for the next run.
std::vector<std::string> RecuperaExecucoesInterrompidas();
