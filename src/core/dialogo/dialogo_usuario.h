#pragma once
// Everything the motor says to the person, or asks, goes through this port:
// the Qt windows implement it on a screen, the console implementation on a
// terminal (or for nobody, in unattended runs), the scripted one in tests.
//
// Texts are Windows-1252. A line break inside a message is "\n" ("\r\n" is
// accepted as well).

#include <optional>
#include <string>
#include <vector>

#include "core/dialogo/som.h"
#include "core/texto/calendario.h"

// Where a report goes, as chosen in the report choice window.
enum TdstRELATORIO { dstIMPRESSORA, dstVIDEO, dstPDF, dstCANCELA };

class DialogoUsuario {
public:
    virtual ~DialogoUsuario() = default;

    // Shows a message box (OK only) with the title given; somERRO is a
    // warning, every other kind is information. Counts the errors shown.
    void Mensagem(const std::string& texto, TsomOPCOES tipo, const std::string& titulo);
    // somERRO messages shown so far: a run started from the command line ends
    // with status 1 when there was one.
    int ErrosMostrados() const { return erros_; }

    // Yes/no question; true for Sim. `padraoSim` is the default button, the
    // answer of a person who just presses Enter.
    virtual bool Pergunta(const std::string& texto, const std::string& titulo,
                          bool padraoSim) = 0;

    virtual void Cursor(bool espera) = 0;

    // The progress window: shown, updated, closed. Atualiza lets pending
    // events be handled and answers true when Cancel was pressed since the
    // last call.
    virtual void ContadorInicia(const std::string& titulo, int maximo, bool comCancela,
                                const std::string& rotulo) = 0;
    virtual bool ContadorAtualiza(int posicao, int maximo, const std::string& rotulo) = 0;
    virtual void ContadorEncerra() = 0;

    // A wait for a record or table another workstation holds, once it has
    // lasted a few seconds. EsperaInicia tells what is held; EsperaContinua,
    // between tries, answers false when the person gave up (Cancel);
    // EsperaEncerra ends it either way. On a screen it is a window of its
    // own with Cancel (a run's progress window stays as it is); without one
    // nobody can cancel (PodeCancelarEspera false), so the wait has a limit.
    virtual bool PodeCancelarEspera() const = 0;
    virtual void EsperaInicia(const std::string& texto) = 0;
    virtual bool EsperaContinua(int segundos) = 0;
    virtual void EsperaEncerra() = 0;

    // Plays the tones and returns when they have ended.
    virtual void Toca(const std::vector<Tom>& tons) = 0;

    // The client code of a conversion run (window titled `titulo`); nothing
    // when the person cancels.
    virtual std::optional<std::string> CodigoCliente(const std::string& titulo) = 0;
    // The contract start date of a Cofap run, offered pre-filled; nothing on
    // Cancel. An emptied field answers the empty date 0.
    virtual std::optional<TData> DataInicioContrato(TData preenchida) = 0;
    // The report choice window: title and description lines of the report.
    virtual TdstRELATORIO DestinoRelatorio(const std::string& titulo,
                                           const std::vector<std::string>& descricao) = 0;
    // The printer could not take the report titled `titulo`: dstVIDEO,
    // dstPDF or dstCANCELA (the pages are dropped).
    virtual TdstRELATORIO DestinoAposFalha(const std::string& titulo) = 0;

protected:
    virtual void MostraMensagem(const std::string& texto, TsomOPCOES tipo,
                                const std::string& titulo) = 0;

private:
    int erros_ = 0;
};
