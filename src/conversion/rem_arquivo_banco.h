#pragma once
// The bank's Vendor remittance file: 250-column records, a header, the
// client, operation or consignment records and a trailer with totals, each
// numbered in columns 245-250. Two variants: Vendor (00, 02, 01, 09) for
// Cofap, BR and Celpav, consignment (40, 41, 49) for Wabco.
//
// A record is built first, then staged. Building reports every numeric value
// that its zero-filled field cannot hold (negative, or too many digits): such
// a record is never staged, since asterisks or a sign inside a digit field
// would reach the bank as a wrong amount.

#include <string>
#include <vector>

#include "conversion/rem_campos.h"
#include "core/arquivos/grava_externo.h"
#include "core/texto/centavos.h"

inline constexpr int kTAMANHO_REGISTRO_BANCO = 250;

// Columns 1-244 of one record, and what could not be written in it.
struct TvenREGISTRO {
    std::string conteudo;
    std::vector<std::string> falhas;  // one message per value that does not fit
    Centavos principalCentavos = 0;  // operation and consignment records
};

TvenREGISTRO MontaRegistroHeader(const TvenCAMPOSREMESSA& k, bool consignacao);
TvenREGISTRO MontaRegistroCliente(const TvenCAMPOSREMESSA& k);
TvenREGISTRO MontaRegistroOperacao(const TvenCAMPOSREMESSA& k);
TvenREGISTRO MontaRegistroConsignacao(const TvenCAMPOSREMESSA& k);

// Stages records on the writer and keeps the file's counters.
class TvenGRAVAREMESSA {
public:
    explicit TvenGRAVAREMESSA(TaexGRAVAEXTERNO& saida) : saida_(saida) {}

    int WTOTREGGR = 0;        // records staged (sequence number of the last one)
    int WTOTREGTI = 0;        // operation or consignment records staged
    Centavos WTOTVALTI = 0;  // their principal

    // Frames a record (blank-filled to 244 columns, sequence number appended)
    // and stages it.
    void REM_GRAVAREG(const std::string& conteudo);
    // Counts the record among the operations, then frames and stages it.
    // The total is the sum of the amounts as written in the records, so the
    // trailer always agrees with them to the cent.
    void REM_GRAVAOPERACAO(const TvenREGISTRO& registro);

    // Builds and stages the trailer. When the file cannot hold this
    // remittance (operation count, total or sequence number too large for
    // their fields) nothing is staged and the reasons are answered.
    std::vector<std::string> REM_GRAVATRAILLER(const TvenCAMPOSREMESSA& k, bool consignacao);

private:
    TaexGRAVAEXTERNO& saida_;
    bool totalExcedido_ = false;
};
