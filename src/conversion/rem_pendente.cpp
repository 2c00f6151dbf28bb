#include "conversion/rem_pendente.h"

#include <unordered_map>

#include "core/obr_edita.h"

namespace {

void preenche(Tabela& convepen, const std::string& cgccli, TData dataRemessa) {
    convepen.FieldByName("CGCCLI").SetAsString(cgccli);
    convepen.FieldByName("DTREMESSA").SetAsDate(dataRemessa);
    convepen.Post();
}

// A planilha as Locate compares it: trailing blanks do not count.
std::string semBrancosAoFim(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

}  // namespace

void REM_PENDENTE(Tabela& convepen, const std::string& codcli, const std::string& numped,
                  const std::string& cgccli, TData dataRemessa) {
    if (convepen.Locate("CODCLI;NUMPED", {codcli, numped})) {
        OBR_EDITA(convepen);
    } else {
        convepen.Append();
        convepen.FieldByName("CODCLI").SetAsString(codcli);
        convepen.FieldByName("NUMPED").SetAsString(numped);
    }
    preenche(convepen, cgccli, dataRemessa);
}

void RegistraPendentes(Tabela& convepen, const std::string& codcli,
                   const std::vector<OperacaoPendente>& operacoes, TData dataRemessa) {
    // One batch for the whole file: the refreshed rows tell other
    // workstations once, the new ones are written together.
    convepen.IniciaLote();
    try {
        // New planilhas in the order they first appear, each with its last
        // CNPJ: the rows one call per operation would have appended.
        std::vector<OperacaoPendente> novas;
        std::unordered_map<std::string, std::size_t> posicaoDaNova;
        posicaoDaNova.reserve(operacoes.size());
        for (const OperacaoPendente& op : operacoes) {
            const std::string chave = semBrancosAoFim(op.numped);
            if (const auto it = posicaoDaNova.find(chave); it != posicaoDaNova.end()) {
                novas[it->second].cgccli = op.cgccli;
            } else if (convepen.Locate("CODCLI;NUMPED", {codcli, op.numped})) {
                OBR_EDITA(convepen);
                preenche(convepen, op.cgccli, dataRemessa);
            } else {
                posicaoDaNova.emplace(chave, novas.size());
                novas.push_back(op);
            }
        }
        for (const OperacaoPendente& op : novas) {
            convepen.Append();
            convepen.FieldByName("CODCLI").SetAsString(codcli);
            convepen.FieldByName("NUMPED").SetAsString(op.numped);
            preenche(convepen, op.cgccli, dataRemessa);
        }
    } catch (...) {
        // What was written stays, as one call per operation would leave it.
        try {
            convepen.EncerraLote();
        } catch (...) {
        }
        throw;
    }
    convepen.EncerraLote();
}
