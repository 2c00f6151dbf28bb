#pragma once
// The client register: the rows the list window shows, the refused or
// confirmed deletion, and the insert/alter window's working copy of one
// client with its validation (CLI_KMENS) and its write to CONVECLI.
//
// The windows only show and collect: they copy their controls into a
// TcadCLIENTE, call its operations and copy the fields back.

#include <cstdint>
#include <string>
#include <vector>

#include "registers/manconvecli.h"
#include "registers/registro_tabela.h"
#include "tabela/tabela.h"

// One row of the client list, in the table's index order (CODCLI).
struct LinhaCliente {
    std::string CODCLI;
    std::string TIPOEMP;
    std::string NOMEEMP;
    std::uint32_t registro = 0;  // record number, to find the row again
};
std::vector<LinhaCliente> LinhasDosClientes(Tabela& convecli);

// "Exclui" of the list window on the current CONVECLI row: refused while
// CONVEPEN holds any row of the client, otherwise deleted after the
// question. True when the row was deleted.
bool ExcluiCliente(Tabela& convecli, Tabela& convepen);

// The detail window of each item index of the company-type group.
enum TdetJANELA {
    detNENHUMA,
    detCOFAP,
    detBR,
    detCELPAV,
    detWABCO,
    detVENDOR250240,
    detCOBRANCA,
    detDESCONTO
};
TdetJANELA JanelaDeDetalheDoCliente(int itemIndex);

// Checks one translation rule of a client of type `tipo`; false with the
// reason in `mensagem`.
bool CLI_VALIDACAMPO(int inicio, int fim, const std::string& tipo, const std::string& original,
                     const std::string& traducao, std::string& mensagem);

// The working copy of one client that the insert/alter window and its
// detail windows edit: the code, name and type the insert/alter window
// shows, and one working field per client field. Texts are Windows-1252.
struct CamposCliente {
    std::string TXTCODCLI;
    std::string TXTNOMEEMP;
    int ITEMINDEX = -1;  // of the company-type group; -1 = none chosen

    std::string KARQREMCLI, KARQREMBAN, KARQRETBAN, KARQRETCLI;
    int KULTREMCLI = 0, KULTREMBAN = 0, KULTRETBAN = 0, KULTRETCLI = 0;
    std::string KLEGENINS, KIDENTEMP;
    int KNUMPROGOP = 0, KATIVICLI = 0;
    std::string KNUMCONV, KAGEFOR, KCGCCLI, KTIPEQUCLI;
    std::string KDIRTEMP, KCODCOBLIQ, KCODCOBCON;
    int KULTPASCLI = 0;
    std::string KNOMEPLAN;
    // The stored rule texts as read when the window was shown.
    std::string KCONHEACP1, KCONHEACP2, KCONHEACP3;
    std::string KCONDETCP1, KCONDETCP2, KCONDETCP3;
    TKTBCONVE KTBHEACON, KTBDETCON;  // header and detail rules being edited
    TKTBBRFILIAL KTBBRFILIAL;        // a BR client's branches being edited
};

// The insert/alter window's operations over its client.
class TcadCLIENTE : public CamposCliente {
public:
    TcadCLIENTE(Tabela& convecli, const TmanCONVECLI& omanCONVECLI, TfmINCALT funcao);

    const TfmINCALT KFUNCAO;

    bool Inclusao() const { return KFUNCAO == fmINCLUSAO; }
    // The code can be typed only for a new client: a client's code never
    // changes.
    bool CodigoHabilitado() const { return Inclusao(); }
    // Company-type code of ITEMINDEX; empty when none is chosen.
    std::string Tipo() const;
    const TmanCONVECLI& Servicos() const { return oman_; }

    // Showing the window: empty fields for a new client, the current
    // CONVECLI row's fields otherwise; then the rules, or for BR the
    // branches, of the type the client has now.
    void FormShow();

    // The detail button. False, after the message, when no type is chosen.
    // For a new client, the first press for a type sets that type's default
    // rule positions and reads both rule groups anew; later presses for the
    // same type keep what the operator typed in the detail window.
    bool DetalhaCliente();

    // Validates the whole client; with `gravar` also writes it. On a failed
    // check the message is shown and the answer is false.
    bool CLI_KMENS(bool gravar);

private:
    // The groups of checks of CLI_KMENS for the type `t`: the message of the
    // first failing check of the group, empty when it passes. The first
    // looks the code up in CONVECLI, which moves its cursor.
    std::string falhaNosDados(const std::string& t);
    std::string falhaNoContratoVendor(const std::string& t) const;
    std::string falhaNasRegras(const std::string& t) const;
    std::string falhaNaGuardaDeRetornos(const std::string& t) const;
    void grava(const std::string& tipo);

    Tabela& convecli_;
    const TmanCONVECLI& oman_;
    int tipoDosPadroes_ = -1;  // item index whose default positions were set
};
