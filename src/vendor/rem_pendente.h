#pragma once
// Pending remittances (CONVEPEN): every Cofap operation sent to the bank is
// remembered by client and planilha until the bank's return answers it.

#include <string>

#include "core/calendario.h"
#include "core/tabela/tabela.h"

// Inserts the row of this client and planilha, or refreshes the one already
// there: buyer's CNPJ and remittance date. A return date set by an earlier
// return stays. A row another workstation holds is waited for.
void REM_PENDENTE(Tabela& convepen, const std::string& codcli, const std::string& numped,
                  const std::string& cgccli, TData dataRemessa);
