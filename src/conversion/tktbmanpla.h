#pragma once
// One Vendor operation (a financed sale) as both conversions hold it between
// the client's layout and the bank's. Fields are only ever overwritten: a
// field a layout does not set keeps the previous operation's value.

#include <string>

#include "core/texto/calendario.h"

struct TKTBMANPLA {
    std::string S3_CGC1AVAL;  // first guarantor's CNPJ, 15 characters
    std::string S3_CGC2AVAL;  // second guarantor's CNPJ, 15 characters
    TData S3_DTLIQUI = 0;     // due date
    TData S3_DTPRIPAR = 0;    // due date of the first instalment
    std::string S3_NUMAUT;    // authorisation number, 8 characters
    int S3_NUMPARC = 0;       // number of instalments
    double S3_PRINFIN = 0;    // principal, in currency units
    double S3_TAXABAN = 0;    // bank's rate
    double S3_TAXAFOR = 0;    // supplier's rate
    TData S3_DATAMOV = 0;     // movement date
    // Return side.
    TData S3_DATAPAGA = 0;
    double S3_DESCONTO = 0;
    double S3_JURMORA = 0;
    double S3_MULTA = 0;
    double S3_VALPAGO = 0;
    double S3_VALPREST = 0;
};

// Next generation number of a file: the stored one plus 1, back to 1 after
// the largest number the six-digit register fields hold.
inline int ProximaGeracaoVendor(long long ultima) {
    return ultima >= 999999 || ultima < 0 ? 1 : static_cast<int>(ultima + 1);
}
