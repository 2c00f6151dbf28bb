#include "core/dados/tabelas_abertas.h"

TabelasAbertas::TabelasAbertas(std::initializer_list<Tabela*> tabelas) {
    try {
        for (Tabela* t : tabelas) {
            t->Open();
            abertas_.push_back(t);
        }
    } catch (...) {
        for (Tabela* t : abertas_) t->Close();
        throw;
    }
}

TabelasAbertas::~TabelasAbertas() {
    for (Tabela* t : abertas_) {
        try {
            t->Close();
        } catch (...) {
            // A destructor may not throw; what the work wrote is on disk by
            // now, and an index file left behind is rebuilt at the next open.
        }
    }
}
