#pragma once
// A data directory of the current version as the current directory, with
// the scripted general services object, for tests of the registers and the
// housekeeping runs. The data module's tables are closed again at the end.

#include "core/dados/tdmquor.h"
#include "support/geral_teste.h"

class DadosDeTeste {
public:
    explicit DadosDeTeste(TData dia = CodificaData(2026, 3, 15));
    ~DadosDeTeste();
    GeralDeTeste g;
    DialogoRoteirizado& dialogo() { return g.dialogo(); }
    // Texts of the messages shown so far, in order.
    std::vector<std::string> mensagens() const;

private:
    DiretorioDeTrabalho dir_;
};
