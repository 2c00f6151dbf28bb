#pragma once
// Pending remittances (CONVEPEN): every Cofap operation sent to the bank is
// remembered by client and planilha until the bank's return answers it.

#include <string>
#include <vector>

#include "core/texto/calendario.h"
#include "tabela/tabela.h"

// Inserts the row of this client and planilha, or refreshes the one already
// there: buyer's CNPJ and remittance date. A return date set by an earlier
// return stays. A row another workstation holds is waited for.
void REM_PENDENTE(Tabela& convepen, const std::string& codcli, const std::string& numped,
                  const std::string& cgccli, TData dataRemessa);

struct OperacaoPendente {
    std::string numped;
    std::string cgccli;
};

// REM_PENDENTE for each operation of a file, in order, with the table left
// as those calls would leave it; the new rows are appended in batches after
// every existing one was refreshed, a planilha repeated in the file taking
// the CNPJ of its last operation.
void RegistraPendentes(Tabela& convepen, const std::string& codcli,
                   const std::vector<OperacaoPendente>& operacoes, TData dataRemessa);
