#pragma once
// The run journal: what a run that moves, renames or deletes files, names
// outputs or posts numbers is doing, written to disk before each step, so
// that the next run finishes or undoes whatever a crash, a power cut or a
// scheduler's timeout left half done.
//
// A journal is one hidden file of the data directory, appended line by line
// (each line carries its own checksum, so a line cut short by a crash is
// known as such) and locked by its run while the run is alive. A unit of
// work writes:
// - before anything else, what it will undo: outputs being written
//   (`Saida`: a temporary and the name it will get), inputs it moves away
//   (`Move`), numbers it posts before its outputs are named (`Numero`);
// - optionally the test that tells, after a crash, whether the unit's one
//   committing table write was made (`Se`);
// - then, once every output is complete on disk, what is left to do and
//   the commit itself (`Confirma`);
// - then it does those steps and removes the journal (`Conclui`).
// Recovery of a journal without its commit undoes: temporaries removed,
// moved inputs put back, numbers restored when nobody took the next one.
// With its commit it finishes: outputs named, the remaining table writes
// and deletions done. Every step can be done twice without harm.

#include <string>
#include <utility>
#include <vector>

class DiarioExecucao {
public:
    // A step to do once the unit is committed.
    struct Passo {
        enum class Tipo { define, apaga } tipo = Tipo::apaga;
        std::string caminho;  // apaga
        std::string tabela, campoChave, valorChave, campo, valor;  // define
    };
    static Passo Define(std::string tabela, std::string campoChave, std::string valorChave,
                        std::string campo, std::string valor);
    static Passo Apaga(std::string caminho);

    // Creates and locks the journal in the data directory; throws
    // ErroArquivo when it cannot.
    explicit DiarioExecucao(const std::string& descricao);
    // A unit that did not reach Conclui (an exception) is resolved at once,
    // as recovery would resolve it.
    ~DiarioExecucao();
    DiarioExecucao(const DiarioExecucao&) = delete;
    DiarioExecucao& operator=(const DiarioExecucao&) = delete;

    // `substitui`: the output replaces an older file of its name; otherwise
    // it never does, and when its name is taken the last number of the name
    // moves on until a free one is found.
    // `agora` false: the line reaches the disk with the next line flushed,
    // for a unit that writes that line at once, before anything it guards.
    void Saida(const std::string& temporario, const std::string& final, bool substitui, bool agora = true);
    // `renomeia`: a rename within one file system, never a copy, so that
    // finding both names means the move was not made.
    void MoveFeito(const std::string& origem, const std::string& destino, bool renomeia = false);
    // The move written down last was not made (another workstation moved
    // the file first): undoing must not touch it.
    void MoveNaoFeito();
    // `temporario` is about to take the name `final` before the unit
    // commits: undoing removes the file under that name, if it is this one,
    // and puts back the older file the name held (kept aside until then).
    void Criado(const std::string& temporario, const std::string& final);
    // A field about to be posted: table (name of the data directory), the
    // record (key field and value; empty key: the first record), the field,
    // its value before and after.
    // A second field of the same write (`campo2`) is restored with it, and
    // only with it.
    void Numero(const std::string& tabela, const std::string& campoChave,
                const std::string& valorChave, const std::string& campo,
                const std::string& anterior, const std::string& novo,
                const std::string& campo2 = {}, const std::string& anterior2 = {},
                const std::string& novo2 = {});
    void Se(const std::string& tabela, const std::string& campoChave, const std::string& valorChave,
            const std::string& campo, const std::string& valor);
    // Several fields of one record (field, value), all of which must hold,
    // reaching the disk together.
    void Se(const std::string& tabela, const std::string& campoChave, const std::string& valorChave,
            const std::vector<std::pair<std::string, std::string>>& campos);
    void Confirma(const std::vector<Passo>& depois = {});
    bool Confirmado() const { return confirmado_; }
    // The unit committed through the table write its `Se` tests look for:
    // nothing more is written here, and from now on it is finished, never
    // undone.
    void Comprometido() { confirmado_ = true; }
    // Done: the journal goes.
    void Conclui();
    // A committed step could not be finished here (a name refused): the
    // journal stays on disk, unlocked, for the next run's recovery.
    void DeixaParaARecuperacao();
    // Finishes or undoes the unit now, as recovery would; answers what was
    // done, in a few words. The journal goes.
    std::string Resolve();
    // Undoes the unit now, whatever its `Se` tests say (the run itself
    // gave up; a crash did not interrupt it).
    std::string Desfaz();

private:
    // One line, flushed to disk unless `sincronizaLinha` is false (a line
    // flushed with the next).
    void grava(const std::vector<std::string>& campos, bool sincronizaLinha = true);
    void sincroniza();

    std::string caminho_;
    std::vector<std::string> guardados_;  // older files kept aside by Criado
    int fd_ = -1;
    bool confirmado_ = false;
    bool concluido_ = false;
};

// Journals of runs that are no longer alive, in the data directory: each
// is taken under its lock, finished or undone, and removed; the abandoned
// temporaries of `diretorios` (and of the data directory) are removed. One
// line per journal resolved (nothing when there was none).
std::vector<std::string> RecuperaDiarios(const std::vector<std::string>& diretorios = {});
// A name of this system's journals.
bool EhDiarioDeExecucao(const std::string& nome);
