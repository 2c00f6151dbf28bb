#include "tabela/indice_memoria.h"

#include <algorithm>

void IndiceMemoria::Constroi(std::vector<std::uint32_t> recnos) {
    Ordem menor{this};
    std::sort(recnos.begin(), recnos.end(), menor);
    ordem_.clear();
    for (std::uint32_t r : recnos) ordem_.insert(ordem_.end(), r);
}
