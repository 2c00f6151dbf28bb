#pragma once
// The one check for a name that the system takes from a table field or
// from a file's content and is about to write: such a name must never
// reach one of the system's own files (a table, an index, a run journal, a
// run log, a temporary), a directory, or a place outside the data
// directory and the directories the registers name.

#include <string>
#include <vector>

// The reason `nome` may not be written, or empty when it may.
// `diretoriosDosCadastros`: the directories the registers name besides the
// data directory (holding directory, clients' temporary directories, the
// directories of the configured file names).
std::string RecusaNomeDeSaida(const std::string& nome,
                             const std::vector<std::string>& diretoriosDosCadastros);

// The directories the registers name, read from the open tables CONVEINS
// and CONVECLI of the data module (or, when they are not open, from the
// data directory's tables).
std::vector<std::string> DiretoriosDosCadastros();

// The installation's holding directory (DIRCOPIA), "/" as separator;
// empty when it cannot be read.
std::string DiretorioDeGuardaDaInstalacao();

// The refusal message: it names the field, the client (may be empty for
// the installation) and the reason.
std::string MensagemDeSaidaRecusada(const std::string& campo, const std::string& cliente,
                                        const std::string& nome, const std::string& motivo);
