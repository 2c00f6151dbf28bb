#pragma once
// What sets the three Vendor return layouts apart, one profile each: how the
// bank's header is checked, which generation the client file carries, how
// its records are laid out and which pass over the bank's records builds
// them. The run asks only the profile.

#include <string>

// The passes over the bank's records, one per kind of client file.
enum TvenPASSADARETORNO {
    passaPARCELAS,    // one record per instalment, pending planilhas looked up
    passaFILIAIS,     // one file per branch, the bank's records passed on
    passaPAGAMENTOS,  // one short record per payment
};

struct TvenPERFILRETORNO {
    const char* tipo;             // TIPOEMP
    int tamanhoRegistro;          // record length of the client file
    // Columns of a record before its six-digit sequence number; 0 when the
    // record is written as built, without one.
    int colunasAntesDaSequencia;
    bool consignacao;             // bank header "40" and trailer "49"
    // The bank header must carry the client's identification and the
    // generation expected; otherwise the generation is the one it carries.
    bool confereIdentificacao;
    bool geracaoDoCliente;        // the client file is numbered, three digits
    bool traillerProprio;         // the client file ends with a trailer of its own
    TvenPASSADARETORNO passada;
};

// The profile of a company type; null for a type without a return.
const TvenPERFILRETORNO* PerfilDoRetorno(const std::string& tipo);

// BR writes one file per branch: no client file name in the register.
inline bool PorFilial(const TvenPERFILRETORNO& p) { return p.passada == passaFILIAIS; }
