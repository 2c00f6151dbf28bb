#pragma once
// The four client remittance layouts (Cofap, BR, Celpav, Wabco): the values a
// run starts with, the preparation each type needs, the reading of one line
// into the working fields, the equalisation flag and the operation checks.
//
// Columns are 1-based; a field that lies beyond the end of a short line is
// the part of it that exists, possibly nothing.

#include <functional>
#include <string>
#include <vector>

#include "conversion/rem_campos.h"

inline constexpr const char* kTIPO_COFAP = "1";
inline constexpr const char* kTIPO_BR = "2";
inline constexpr const char* kTIPO_CELPAV = "3";
inline constexpr const char* kTIPO_WABCO = "4";

// Celpav files open with this many header lines, which carry no operation.
inline constexpr int kCELPAV_LINHAS_CABECALHO = 3;

// The `tamanho` characters of `linha` from column `inicio`.
std::string CampoDaRemessa(const std::string& linha, int inicio, int tamanho);
// The same field into `destino`, in the room it already has: every line of a
// file fills the same working fields again.
void CampoDaRemessaEm(std::string& destino, const std::string& linha, int inicio, int tamanho);

// Values set once per run, before the first line, for every client type.
void ValoresIniciaisDaRemessa(TvenCAMPOSREMESSA& k, const TvenCLIENTE& cliente, TData hoje,
                         const std::string& horaHHMMSS);

// Contract start date a Cofap file offers for the start-date question
// (columns 148-155 of its first line); 0 when there is none.
TData DataInicioCofap(const std::string& primeiraLinha);

// Preparation by type, after the initial values. Cofap takes the contract
// start date the person confirmed; Celpav looks at every operation line for
// the reference date. BR's only preparation is the header check
// (BrTemHeader), Wabco's sets the dates of the day.
void PreparaCofap(TvenCAMPOSREMESSA& k, const TvenCLIENTE& cliente, TData inicioContrato,
                      TData hoje);
void PreparaCelpav(TvenCAMPOSREMESSA& k, const TvenCLIENTE& cliente,
                       const std::vector<std::string>& linhas);
void PreparaWabco(TvenCAMPOSREMESSA& k, TData hoje);
bool BrTemHeader(const std::vector<std::string>& linhas);

void LeLinhaCofap(TvenCAMPOSREMESSA& k, const std::string& linha);
void LeLinhaCelpav(TvenCAMPOSREMESSA& k, const std::string& linha);
void LeLinhaWabco(TvenCAMPOSREMESSA& k, const std::string& linha);

// A BR file is already in the bank's record layout; columns 1-2 say which
// record a line is.
enum TregBR { brHEADER, brOPERACAO, brCLIENTE, brOUTRO };
// What a BR operation's rates are looked up with: its rates are never taken
// from the file.
struct TvenCONSULTATAXA {
    std::string produto;  // 1 character
    int dias = 0;         // due date minus contract date (may be negative)
    TData data = 0;       // contract date
};
TregBR LeLinhaBr(TvenCAMPOSREMESSA& k, const std::string& linha, TvenCONSULTATAXA& consulta);

// Equalisation flag of a Cofap or Celpav operation: the register's "S" or
// "N", or, when the register says it depends, "N" exactly when both rates
// read the same to six decimals.
void EqualizacaoDaRemessa(TvenCAMPOSREMESSA& k, const std::string& tipequcli);

// The checks of a Cofap or Celpav operation, all of them, in order; each
// failure is handed to `ocorrencia` with its message.
void CriticaDaRemessa(const TvenCAMPOSREMESSA& k,
                 const std::function<void(const std::string&)>& ocorrencia);
