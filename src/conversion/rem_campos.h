#pragma once
// The working fields of a remittance conversion: what the client's layout
// fills in, line after line, and what the bank's records are built from.
// Like the operation record, a field keeps its value until a layout
// overwrites it.

#include <string>

#include "conversion/tktbmanpla.h"
#include "core/texto/calendario.h"

// The client register values the conversion reads (CONVECLI).
struct TvenCLIENTE {
    std::string CODCLI;
    std::string TIPOEMP;  // "1" Cofap, "2" BR, "3" Celpav, "4" Wabco
    std::string ARQREMCLI;
    std::string ARQREMBAN;
    std::string IDENTEMP;
    std::string NOMEEMP;
    std::string LEGENINS;
    std::string NUMCONV;
    std::string AGEFOR;
    std::string TIPEQUCLI;  // "S", "N" or "D" (depends on the rates)
    int NUMPROGOP = 0;
    int ATIVICLI = 0;
    long long ULTREMCLI = 0;
    long long ULTREMBAN = 0;
};

struct TvenCAMPOSREMESSA {
    TKTBMANPLA KTBPLA;
    std::string KQUALCLIENTE;
    std::string KNUMPED;     // planilha number, 15 characters
    std::string KCGCCLI;     // buyer's CNPJ, 14 characters
    std::string KNOMECLI;
    std::string KENDERECO;
    std::string KCIDADE;
    std::string KESTADO;
    std::string KCEPCLI;
    std::string KDDDTELRAM;  // area code, telephone, extension
    std::string KNUMANDCOM;  // house number and complement
    std::string KBAIRRO;
    std::string KATIVICLI;   // activity code, 4 characters
    std::string KTIPEQUCLI;  // equalisation "S" or "N"
    std::string KNUMCONV;    // agreement number, digits as text
    std::string KAGEFOR;     // supplier's branch, digits as text
    int KNUMPROGOP = 0;      // operational programme (Wabco: consignor code)
    std::string KIDENTEMP;
    std::string KNOMEEMP;
    std::string KLEGENINS;
    TData KDATAPED = 0;      // operation date
    TData KDATAREF = 0;      // reference date of the remittance
    TData KDATAPRO = 0;      // processing date
    std::string KHORAPRO;    // processing time hhmmss
    std::string KDATACONTR;  // BR contract data, 31 characters
    int KULTREMBAN = 0;      // generation number of the bank file
    std::string WERRO = "N"; // "S" once the current operation has an irregularity
};
