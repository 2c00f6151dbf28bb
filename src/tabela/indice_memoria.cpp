#include "tabela/indice_memoria.h"

#include <algorithm>

void IndiceMemoria::Constroi(std::vector<std::uint32_t> recnos) {
    Ordem menor{this};
    // Tables are often written in key order: then there is nothing to sort.
    if (!std::is_sorted(recnos.begin(), recnos.end(), menor)) std::sort(recnos.begin(), recnos.end(), menor);
    ordem_.clear();
    for (std::uint32_t r : recnos) ordem_.insert(ordem_.end(), r);
}
