#pragma once
// The installation record's settings as the installation window edits them
// (INS_GRAVA) and as the status window shows them with the record counts of
// the tables.

#include <string>

// The twelve settings of CONVEINS that drive the batch routing.
struct TinsSISTEMA {
    int PRAZOPEN = 0;  // retention of answered pending remittances, days
    std::string ARQREMC24;
    int SEQREMC24 = 0;
    std::string ARQREMC40;
    int SEQREMC40 = 0;
    std::string ARQREMVEN;
    int SEQREMVEN = 0;
    std::string ARQREMV24;
    int SEQREMV24 = 0;
    std::string ARQREMDES;
    int SEQREMDES = 0;
    std::string DIRCOPIA;
};

// From the open CONVEINS record.
TinsSISTEMA CarregaInstalacao();
// Refuses, with the message, a sequence number given for a product whose
// file name is blank; otherwise stores all twelve settings in CONVEINS
// (waiting while another workstation holds the record) and answers true.
bool INS_GRAVA(const TinsSISTEMA& ins);

// What the status window shows, every label as text.
struct TinsSTATUS {
    std::string PRAZOPEN;
    std::string ARQREMC24, SEQREMC24, ARQREMC40, SEQREMC40, ARQREMVEN, SEQREMVEN;
    std::string ARQREMV24, SEQREMV24, ARQREMDES, SEQREMDES;
    std::string DIRCOPIA;
    std::string TOTCLI, TOTTAX, TOTPEN;  // four places, asterisks above 9999
};
// From the open CONVEINS, CONVECLI, CONVETAX and CONVEPEN.
TinsSTATUS LeStatusDoSistema();
