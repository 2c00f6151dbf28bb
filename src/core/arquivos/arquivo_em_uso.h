#pragma once
// Whether a file the runs are about to take is still being written by
// another process (a transfer program still receiving it): such a file is
// incomplete, and must be left where it is for a later run.
//
// The system's own answer is a read lease: Linux refuses one while any
// process holds the file open for writing. Where no lease can be had (a
// file of another user without CAP_LEASE, NFS, some FUSE file systems), a
// file whose size or modification time changes over kEsperaDeGravacao is
// taken as still being written; that wait only happens for those files,
// and once for all of them.

#include <chrono>
#include <set>
#include <string>
#include <vector>

enum class EstadoDeGravacao { encerrada, emCurso, desconhecida };

// How long a file must stay unchanged, where no lease tells, to be taken
// as complete.
inline constexpr std::chrono::milliseconds kEsperaDeGravacao{1500};

// By a read lease on `fd`, open read-only: `desconhecida` when the system
// gives no lease for it.
EstadoDeGravacao GravacaoPelaConcessao(int fd);
// The same for a path (opened here, never through a link); a name that
// is no regular file is no file being written.
EstadoDeGravacao GravacaoPelaConcessao(const std::string& caminho);

// The paths of `caminhos` whose files are still being written: the lease
// where one can be had, the wait for the others.
std::set<std::string> AindaEmGravacao(const std::vector<std::string>& caminhos);

// The log text for such a file, after its name.
std::string TextoAindaEmGravacao();
