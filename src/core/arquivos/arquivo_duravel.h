#pragma once
// The one way this system writes a file that must survive a crash or a power
// cut: a temporary beside the target (a hidden name of the system's own),
// streamed writes, a flush to disk, then the name (over an older file, or
// never over one), then the directory flushed. Until it has its name nobody
// sees the file; once it has it, it is whole on disk.
//
// While a writer is alive it holds a lock on its temporary, so that a later
// run (on this or another workstation) can tell an abandoned temporary from
// one still being written, and remove only the first.
//
// Failures are errno values: each caller turns them into its own error.

#include <sys/types.h>

#include <functional>
#include <set>
#include <string>
#include <string_view>

class ArquivoDuravel {
public:
    // The temporary is created at once, with the permissions of the file it
    // will replace or, for a new file, the usual ones (umask applies).
    explicit ArquivoDuravel(std::string destino);
    // Removes the temporary when it was never named or handed over.
    ~ArquivoDuravel();
    ArquivoDuravel(const ArquivoDuravel&) = delete;
    ArquivoDuravel& operator=(const ArquivoDuravel&) = delete;

    const std::string& Destino() const { return destino_; }
    const std::string& Temporario() const { return temporario_; }
    int Fd() const { return fd_; }
    // errno of the first failure (creation, write, flush, naming); 0 if none.
    int Erro() const { return erro_; }

    // Appends at the end of what was written; false after any failure.
    // Every megabyte or so is started on its way to the disk at once.
    bool Escreve(std::string_view dados);
    // Starts what was written and not yet sent on its way to the disk,
    // without waiting: a caller with other work before the flush.
    void EnviaAoDisco();

    // Flushes the data to disk and closes the file, leaving it unnamed (a
    // run's journal names it later). 0 or errno; on failure the temporary
    // is removed.
    int Conclui();
    // Conclui, then the name: over an older file (`substitui`) or never over
    // an existing entry (EEXIST, the temporary kept for another name). The
    // directory is flushed unless `sincronizaDiretorio` is false (a caller
    // naming many files flushes it once). 0 or errno; on any failure other
    // than EEXIST the temporary is removed and an older file is untouched.
    int Nomeia(bool substitui, bool sincronizaDiretorio = true);
    // Names it at another place of the same directory or another one on
    // the same file system (see Nomeia); a refusal there keeps the
    // temporary, so that it may still take its own name.
    int NomeiaComo(const std::string& destino, bool substitui, bool sincronizaDiretorio = true);
    // Keeps the descriptor open after naming and hands it to the caller
    // (a table goes on working on the file it just rebuilt).
    int EntregaDescritor();
    // The temporary is no longer this object's to remove: a journal owns it.
    void Solta() { solto_ = true; }
    // Removes the temporary now.
    void Abandona();

private:
    int descarrega();
    void fecha();

    static constexpr std::size_t kEnvioAoDisco = 1u << 20;

    std::string destino_;
    std::string temporario_;
    int fd_ = -1;
    std::size_t escritos_ = 0;  // bytes written so far
    std::size_t enviados_ = 0;  // of which already sent to the disk
    int erro_ = 0;
    bool concluido_ = false;
    bool nomeado_ = false;
    bool solto_ = false;
    bool manterDescritor_ = false;
};

// Creates a file under a fresh name from `nome` (O_CREAT | O_EXCL | `flags`)
// and takes `trava` on it; answers the descriptor and sets `caminho`, or -1
// with errno. Between the creation and the lock, another process's cleanup
// may find the file unlocked, take it for abandoned and remove it (or hold
// it to do so): such a file is left to that cleanup and another name tried,
// so that what is written never goes into a file nobody can find.
int CriaETrava(const std::function<std::string()>& nome, int flags, mode_t modo,
               const std::function<bool(int)>& trava, std::string& caminho);

// Renames `de` to `para` (replacing or never) and flushes the directory of
// `para`. 0 or errno.
int RenomeiaDuravel(const std::string& de, const std::string& para, bool substitui);
// The directory holding `caminho` (or the directory itself when
// `ehDiretorio`) flushed to disk, so that names made there last.
void SincronizaDiretorio(const std::string& caminho, bool ehDiretorio = false);
// A fresh hidden name beside `destino` of the kind the durable writer's
// temporaries take: recovery removes such a file once no live run holds
// it or names it.
std::string NomeTemporarioAoLado(const std::string& destino);
// A name of the durable writer's temporaries.
bool EhTemporarioDuravel(const std::string& nome);
// Removes the temporaries of `diretorio` whose writer is gone (no lock
// held on them) and that no live run's journal still names (`vivos`, full
// paths as the journals write them); answers how many.
int LimpaTemporariosAbandonados(const std::string& diretorio, const std::set<std::string>& vivos = {});
// Removes one temporary when its writer is gone; true when it did.
bool RemoveSeAbandonado(const std::string& caminho);
