#pragma once
// The bank's Vendor return file as the return conversion reads it: 250-column
// records, header "10" (consignment: "40") on the first line, detail records,
// and one or more trailers "19" (consignment: "49") with counts and totals.
//
// Before anything is written the file must pass two checks: its header
// (record type, return marker and, for Cofap, the client's identification and
// the expected generation) and its totals (what the trailers inform against
// what the records hold, for the records "11", "13" and "14").
//
// Amounts are kept in cents, as whole numbers: the file carries them as
// digits with two implied decimals, and a sum done in binary fractions could
// differ from the trailer by a cent.

#include <string>
#include <vector>

#include "core/texto/centavos.h"

// The `tamanho` columns of `linha` from `inicio` (1-based); past the end of a
// short line, the part that exists.
std::string CampoDoRetorno(const std::string& linha, int inicio, int tamanho);
// Record type: columns 1-2.
inline std::string TipoDoRegistroRetorno(const std::string& linha) { return CampoDoRetorno(linha, 1, 2); }
// Amount field of 15 columns, in cents.
Centavos ValorDoRetorno(const std::string& linha, int inicio);
// A line with nothing but blanks (or nothing at all) is no record.
bool LinhaVazia(const std::string& linha);

// The header checks, in order, on the first line. `tipoEmpresa` "1" Cofap,
// "2" BR, "4" Wabco; `geracaoEsperada` only matters to Cofap. Answers the
// message of the first check that fails, empty when the header passes.
std::string ConfereHeaderDoRetorno(const std::string& header, const std::string& tipoEmpresa,
                              const std::string& identemp, int geracaoEsperada);
// Generation number the header carries (columns 118-123).
int GeracaoDoHeader(const std::string& header);

// What the scan of the whole file found.
struct TvenTOTAISRETORNO {
    bool temTrailler = false;
    // Index 0 record "11", 1 record "13", 2 record "14".
    long long qtdLida[3] = {0, 0, 0};
    Centavos valorLido[3] = {0, 0, 0};
    long long qtdInformada[3] = {0, 0, 0};
    Centavos valorInformado[3] = {0, 0, 0};
    // BR: branch codes of the detail records, in order of first appearance.
    std::vector<std::string> filiais;
};

TvenTOTAISRETORNO LeTotaisDoRetorno(const std::vector<std::string>& linhas, bool br);

// Empty when the trailers agree with the records; otherwise the message that
// ends the run (no trailer at all, or the counts and totals side by side).
// Values are compared as numbers: a count or total too large for the
// message's picture must still be told apart.
std::string ConfereTotaisDoRetorno(const TvenTOTAISRETORNO& t);
