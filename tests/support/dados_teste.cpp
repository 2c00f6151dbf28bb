#include "support/dados_teste.h"

#include "core/dados/instalacao.h"

DadosDeTeste::DadosDeTeste(TData dia) : g(dia) { InstalaDiretorioDeDados(".", false, dia); }

DadosDeTeste::~DadosDeTeste() {
    DMQUOR().FechaTodas();
    DMQUOR().TBCONVEPEN.SetExclusive(false);
}

std::vector<std::string> DadosDeTeste::mensagens() const {
    std::vector<std::string> r;
    for (const auto& m : const_cast<GeralDeTeste&>(g).dialogo().mensagens) r.push_back(m.texto);
    return r;
}
