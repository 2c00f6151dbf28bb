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

namespace {

// The planilhas of a file, each once, in the order they first appear, with
// the CNPJ of their last operation: what one call per operation leaves in
// each row.
std::vector<OperacaoPendente> planilhasDoArquivo(const std::vector<OperacaoPendente>& operacoes) {
    std::vector<OperacaoPendente> planilhas;
    std::unordered_map<std::string, std::size_t> posicao;
    posicao.reserve(operacoes.size());
    for (const OperacaoPendente& op : operacoes) {
        const auto [it, nova] = posicao.emplace(semBrancosAoFim(op.numped), planilhas.size());
        if (nova) planilhas.push_back(op);
        else planilhas[it->second].cgccli = op.cgccli;
    }
    return planilhas;
}

}  // namespace

void RegistraPendentes(Tabela& convepen, const std::string& codcli,
                   const std::vector<OperacaoPendente>& operacoes, TData dataRemessa) {
    // One batch for the whole file: the refreshed rows tell other
    // workstations once, the new ones are written together.
    convepen.IniciaLote();
    try {
        const std::vector<OperacaoPendente> planilhas = planilhasDoArquivo(operacoes);
        Campo& cgccli = convepen.FieldByName("CGCCLI");
        Campo& dtremessa = convepen.FieldByName("DTREMESSA");
        // The rows already there, refreshed in blocks; those the engine
        // leaves to us (a row another workstation holds) one by one, waiting
        // for them as always.
        const std::vector<Tabela::Localizado> feitos = convepen.EditaLocalizados(
            "CODCLI;NUMPED", planilhas.size(),
            [&](std::size_t i, std::vector<ValorBusca>& v) {
                v.emplace_back(codcli);
                v.emplace_back(planilhas[i].numped);
            },
            [&](std::size_t i) {
                cgccli.SetAsString(planilhas[i].cgccli);
                dtremessa.SetAsDate(dataRemessa);
            });
        std::vector<std::size_t> novas;
        for (std::size_t i = 0; i < planilhas.size(); ++i) {
            if (feitos[i] == Tabela::Localizado::Editado) continue;
            if (feitos[i] == Tabela::Localizado::Adiado &&
                convepen.Locate("CODCLI;NUMPED", {codcli, planilhas[i].numped})) {
                OBR_EDITA(convepen);
                preenche(convepen, planilhas[i].cgccli, dataRemessa);
            } else {
                novas.push_back(i);
            }
        }
        for (const std::size_t i : novas) {
            convepen.Append();
            convepen.FieldByName("CODCLI").SetAsString(codcli);
            convepen.FieldByName("NUMPED").SetAsString(planilhas[i].numped);
            preenche(convepen, planilhas[i].cgccli, dataRemessa);
        }
    } catch (...) {
        // What was written stays.
        try {
            convepen.EncerraLote();
        } catch (...) {
        }
        throw;
    }
    convepen.EncerraLote();
}
