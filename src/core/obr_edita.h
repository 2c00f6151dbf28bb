#pragma once
// Putting a record in edit mode when other workstations may hold it.

#include <functional>

#include "tabela/tabela.h"

// The edit operation, tried again every 200 ms while another process holds
// the record, as long as EsperaLimitada allows (then ErroEsperaAbandonada).
// Any other failure (a closed or read-only table, a lost file) is passed on
// at once: waiting would never end it.
void EditaComEspera(const std::function<void()>& edita);

inline void OBR_EDITA(Tabela& tabela) {
    EditaComEspera([&tabela] { tabela.Edit(); });
}
