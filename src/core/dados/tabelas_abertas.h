#pragma once
// The tables a run or a window works on, open for the life of the object:
// opened in the order given and closed again, also when the work ends with
// an exception (a table that failed to open closes those opened before it).

#include <initializer_list>
#include <vector>

#include "tabela/tabela.h"

class TabelasAbertas {
public:
    TabelasAbertas(std::initializer_list<Tabela*> tabelas);
    ~TabelasAbertas();
    TabelasAbertas(const TabelasAbertas&) = delete;
    TabelasAbertas& operator=(const TabelasAbertas&) = delete;

private:
    std::vector<Tabela*> abertas_;
};
