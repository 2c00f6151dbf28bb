#pragma once
// Writer of a bank inbound file. A product file gathers every client file of
// its product and may run to millions of records, so its records go to a
// hidden temporary file beside it as they come, and the disk starts writing
// them at once, while the next client files are read. Only at the end is the
// file flushed and given its name: it appears complete or not at all, and an
// older file of that name (in any letter case) is replaced.
//
// Records are written as the staging writer writes them: trailing blanks
// dropped, blank-filled or cut to the record length, CR LF after each.
//
// The segregation writes client returns the same way, and may move a
// finished file into another directory instead of naming it where it was
// built (MoveSemSubstituir).

#include <functional>
#include <memory>
#include <string>
#include <string_view>

class ArquivoDuravel;

class ArquivoProduto {
public:
    ArquivoProduto(int tamanhoRegistro, std::string nome);
    ~ArquivoProduto();  // an unfinished file is removed
    ArquivoProduto(const ArquivoProduto&) = delete;
    ArquivoProduto& operator=(const ArquivoProduto&) = delete;

    const std::string NOMEARQSAI;
    long TOTREGGRA = 0;  // records written so far
    // The new name is flushed with its directory at once; a caller that
    // names many files may clear it and flush the directory once, after the
    // last one.
    bool sincronizaDiretorio = true;
    // Told the temporary's path and the final name as soon as the temporary
    // exists, before anything is written to it: a run's journal must know
    // it to remove it, or name it, after a crash.
    std::function<void(const std::string& temporario, const std::string& final)> aoCriarTemporario;
    // Told the temporary and the name it is about to take, just before it
    // takes it.
    std::function<void(const std::string& temporario, const std::string& final)> antesDeNomear;

    void GRAVA_INF(std::string_view registro);
    // Appends `bytes` bytes of the file open as `origem`, from `inicio`:
    // `registros` records that are already exactly as GRAVA_INF would write
    // them (each the record length, CR LF after). They are copied inside the
    // system, without passing through this process.
    void AcrescentaTrecho(int origem, long long inicio, long long bytes, long registros);

    // Appends every record written here to `destino` (copied inside the
    // system) and drops this file, finished or not (never one that took
    // its name): pieces written apart end in one file. A failure to write them here throws ErroArquivo as
    // GRAVA_ARQUIVO does; one in `destino` is its own, found when it is
    // finished.
    void JuntaEm(ArquivoProduto& destino);

    // Replaces the first record written (there must be one) by `registro`,
    // laid out as GRAVA_INF lays it out, so of the same length. A writer
    // that only knows its header once every record has gone writes a
    // placeholder first and the header last, and reads its input once.
    void ReescrevePrimeiroRegistro(std::string_view registro);

    // Hands every record written so far to the file and asks the disk to
    // start writing them, without waiting: the flush of GRAVA_ARQUIVO or
    // MoveSemSubstituir, later, finds little left to do. The memory of
    // the records goes.
    void ENCAMINHA();
    // Waits until the disk has written what ENCAMINHA handed it. A caller
    // with many files waits for all of them first: their flushes then share
    // one write of the file system's journal instead of one each.
    void AguardaDisco();

    // Finishes the file (every record flushed to disk) and leaves it
    // unnamed; false, with the staging writer's message and nothing left,
    // when the directory of the name does not exist. Other failures throw
    // ErroArquivo, leaving nothing behind.
    bool PRONTO();
    // Gives the file its name. When the directory of the name does not exist:
    // the staging writer's message and false, no file. Any other failure, now
    // or while records were written, throws ErroArquivo and leaves nothing
    // behind.
    bool GRAVA_ARQUIVO();

    // Puts the finished file at `destino` (another directory, possibly on
    // another file system) but never over an existing entry: `existe` when
    // the name is taken, `falhou` for any other refusal; in both cases the
    // finished file stays unnamed, and GRAVA_ARQUIVO or another
    // MoveSemSubstituir may follow. A failure to write the records throws
    // ErroArquivo as GRAVA_ARQUIVO does.
    enum class Movimento { movido, existe, falhou };
    Movimento MoveSemSubstituir(const std::string& destino);

    // Finishes the file as GRAVA_ARQUIVO does before naming it, and answers
    // where it lies, unnamed, for a caller that reads it back; it stays there
    // until it is named or moved, or the object is destroyed.
    const std::string& ConcluiSemNomear();

private:
    // The record laid out for the file, appended to `destino`.
    void poe(std::string& destino, std::string_view registro) const;
    bool abre();
    void descarrega();
    void escritos(long long bytes);  // counts bytes handed to the file
    void abandona();
    // Flushes every record to disk and closes the file; throws ErroArquivo
    // (leaving nothing behind) when that fails.
    void conclui();

    int tamanho_;
    std::unique_ptr<ArquivoDuravel> arquivo_;
    int fd_ = -1;
    int erro_ = 0;  // errno of the first failure
    std::string temporario_;
    std::string buffer_;
    long long escritos_ = 0;      // bytes handed to the file
    long long encaminhados_ = 0;  // bytes the disk was asked to write
    bool concluido_ = false;
};
