#pragma once
// A whole working day to try the system on: the sample clients' registers
// completed (translation rules, branches, temporary directory, planilha,
// last pass) and the files of the day laid in the data directory, each in
// the layout its run reads:
//
// - Vendor remittances of the clients COFAP, BR, CELPAV and WABCO;
// - the bank's Vendor returns for COFAP, BR and WABCO, answering those
//   remittances;
// - collection remittances of the five products (ACME240, BETA400, DELTA,
//   RIO240, VALE250), numbered ".001";
// - the bank's collection returns of the day, in BANCO/1 (one per product,
//   for the first pass) and BANCO/2 (a second Cobrança 400 return, for the
//   second pass, which is BETA400's last): the operator moves each group
//   into the data directory before its pass; BETA400's planilha in its
//   temporary directory.
//
// The dates in the files are `hoje` and days after it.

#include <string>

#include "core/texto/calendario.h"

// Throws ErroTabela when a file of the day is already in `diretorio` (in
// any letter case), so that the installation can refuse before it creates
// anything.
void ConfereDiaDeExemplo(const std::string& diretorio, TData hoje);

// Needs the tables made by InstalaDiretorioDeDados(diretorio, true, hoje). Refuses
// (ErroTabela), writing nothing, when any file of the day is already there.
void InstalaDiaDeExemplo(const std::string& diretorio, TData hoje);
