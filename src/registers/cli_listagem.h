#pragma once
// The client listing: every client of the register with its file names and,
// for Cobrança 400 and Vendor 250 clients, their translation rules, as a
// 130-column report.

#include "registers/manconvecli.h"
#include "tabela/tabela.h"

// Prints the listing from the open CONVECLI table, walking it from its
// current order's first row.
void CLI_LISTAGEM(Tabela& convecli, const TmanCONVECLI& omanCONVECLI);

// Menu entry: opens CONVECLI, prints the listing, closes the table.
void ImprimeListagemDeClientes();
