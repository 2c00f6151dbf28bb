#pragma once
// The rate lookup for Vendor operations whose client file carries no rates.

#include <string>

#include "core/texto/calendario.h"
#include "tabela/tabela.h"

// Walks the open rate table in its index order (start date, product, days)
// and takes the first row of exactly this product that covers at least
// `dias` days and whose period holds `data` (both ends included): the
// earliest start date wins, then the shortest term that still covers. Leaves
// the table on that row. Without one, shows the message naming date, product
// and days and answers false.
bool TAX_LOCALIZA(Tabela& convetax, const std::string& produto, int dias, TData data,
                  double& taxaban, double& taxafor);
