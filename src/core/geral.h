#pragma once
// The general services object: the process-wide values (the day's date, the
// version, the printing options), the dialogue with the person (messages,
// questions, cursor, sounds, the progress counter) and the directory helpers
// the runs share. One instance serves the whole process, reached by GERAL().

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/dialogo/dialogo_usuario.h"
#include "core/dialogo/som.h"
#include "core/texto/calendario.h"

struct HoraDoDia {
    int hora = 0;
    int minuto = 0;
    int segundo = 0;
};

// Functions of the progress counter for callers that report through a single
// entry point (ContadorPorFuncao).
enum TprgFUNCAO {
    prgINICIALIZA,
    prgSO_CONTA,
    prgENCERRA,
    prgCOM_MENSAGEM,
    prgSEM_MENSAGEM,
    prgSO_INTERROMPE
};

// What the progress window shows; kept here so that every dialogue behaves
// alike.
struct EstadoContador {
    int KTOTALGERAL = 0;  // steps counted since the counter started
    int posicao = 0;      // of the bar
    int maximo = 0;
    std::string LBLPROGRESSO = "0%";
};

class TmvGERAL {
public:
    // DATADIA is today, or the date CONVERSOR_DATA=AAAAMMDD sets; messages
    // go to the console dialogue until another one is installed.
    TmvGERAL();
    explicit TmvGERAL(std::unique_ptr<DialogoUsuario> dialogo);
    ~TmvGERAL();
    TmvGERAL(const TmvGERAL&) = delete;
    TmvGERAL& operator=(const TmvGERAL&) = delete;

    TData DATADIA = 0;      // the system's today, fixed for the whole run
    std::string RAZAOSOC;   // company name of listing headers
    bool OPCAOIMP = false;  // printing option of the listings
    bool MODOTESTE = false; // test mode of the printing
    bool FLAGINTERROMPE = false;  // Cancel pressed on the progress window
    std::string KVERSAO_ATUAL;    // set by the start-up check

    // Set when CONVERSOR_DATA held no valid date (DATADIA is then the
    // machine's date): the start-up must refuse to run on a wrong day.
    std::string ERRO_CONVERSOR_DATA;

    // What the recovery of interrupted runs did, waiting for the next run
    // log to record it.
    std::vector<std::string> RECUPERACOES;

    DialogoUsuario& Dialogo() { return *dialogo_; }
    void DefineDialogo(std::unique_ptr<DialogoUsuario> dialogo);

    // Time of day for OBR_HORA; tests fix it.
    HoraDoDia Hora() const { return relogio_(); }
    void DefineRelogio(std::function<HoraDoDia()> relogio) { relogio_ = std::move(relogio); }
    // Pause used by the waits (OBR_EDITA); tests replace it.
    void Espera(int milissegundos) { espera_(milissegundos); }
    void DefineEspera(std::function<void(int)> espera) { espera_ = std::move(espera); }

    // Sound of the kind, then a box with OK. An empty title is "Atenção..."
    // for somERRO and "Aviso..." for the other kinds.
    void MENSAGEM(const std::string& KMENS, TsomOPCOES KSOM, const std::string& KCABEC = "");
    void MYBEEP_SOM(TsomOPCOES KSOM);
    void CURSORESPERA();
    void CURSORDEFAULT();

    void CONTADOR_INICIALIZA(int KTOTTERINF, bool KTEMOPCAO, const std::string& KCABEC);
    void CONTADOR_SO_CONTA();
    void CONTADOR_ENCERRA();
    // prgSO_INTERROMPE only reads FLAGINTERROMPE; any other function counts
    // one step first. Answers FLAGINTERROMPE.
    bool ContadorPorFuncao(TprgFUNCAO funcao);
    const EstadoContador& Contador() const { return contador_; }

    // Directory helpers. There are no drive letters here: both give the
    // current directory as it is.
    void RECUPERA_DIRCOMPLETOsemDRIVE(std::string& diretorio) const;
    void DIRCOMPLETOCOMDRIVE(std::string& diretorio) const;
    // Renames or moves; false when it fails, and never replaces an existing
    // file or directory of the new name.
    bool OBR_RENOMEIAARQ(const std::string& KNOMEATUAL, const std::string& KNOMENOVO);
    bool EMP_DIRMUDA(const std::string& KDIRNOVO);
    // Creates the directory and every missing parent; false at the first one
    // that cannot be created.
    bool EMP_DIRCRIA(const std::string& KDIRCRIA);

private:
    std::unique_ptr<DialogoUsuario> dialogo_;
    std::function<HoraDoDia()> relogio_;
    std::function<void(int)> espera_;
    EstadoContador contador_;
};

// The process's general services object, created at first use.
TmvGERAL& GERAL();
// Puts `novo` in place (tests, and the start-up with the Qt dialogue);
// answers the one it replaces, which may be empty.
std::unique_ptr<TmvGERAL> InstalaGeral(std::unique_ptr<TmvGERAL> novo);

// The wait cursor for the life of the object.
class CursorDeEspera {
public:
    CursorDeEspera() { GERAL().CURSORESPERA(); }
    ~CursorDeEspera() { GERAL().CURSORDEFAULT(); }
    CursorDeEspera(const CursorDeEspera&) = delete;
    CursorDeEspera& operator=(const CursorDeEspera&) = delete;
};

// Yes/no question after the question sound. The title "S" or "N" gives the
// box title "Confirme"; a title beginning with "S_" or "N_" loses those two
// characters; the letter chooses the default button (Sim or Não), and any
// other title keeps Sim as default.
bool OBR_CONFIRMA(const std::string& texto, const std::string& titulo);
