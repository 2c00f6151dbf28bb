#include "conversion/rem_pendente.h"

#include <cstdint>
#include <functional>
#include <string_view>

#include "core/obr_edita.h"

namespace {

void preenche(Tabela& convepen, const std::string& cgccli, TData dataRemessa) {
    convepen.FieldByName("CGCCLI").SetAsString(cgccli);
    convepen.FieldByName("DTREMESSA").SetAsDate(dataRemessa);
    convepen.Post();
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
// each row. A file holds up to a hundred thousand of them: the planilhas
// seen are found through a flat table of their places, and point into the
// operations rather than copy them.
struct Planilha {
    const std::string* numped;  // of its first operation
    const std::string* cgccli;  // of its last one
};

std::vector<Planilha> planilhasDoArquivo(const std::vector<OperacaoPendente>& operacoes) {
    std::vector<Planilha> planilhas;
    planilhas.reserve(operacoes.size());
    std::vector<std::string_view> chaves;  // of each planilha, trailing blanks off
    chaves.reserve(operacoes.size());
    std::size_t capacidade = 16;
    while (capacidade < 2 * operacoes.size()) capacidade *= 2;
    std::vector<std::uint32_t> lugares(capacidade, 0);  // planilha + 1; 0 = free
    const std::hash<std::string_view> espalha;
    for (const OperacaoPendente& op : operacoes) {
        std::string_view chave = op.numped;
        while (!chave.empty() && chave.back() == ' ') chave.remove_suffix(1);
        std::size_t p = espalha(chave) & (capacidade - 1);
        while (lugares[p] != 0 && chaves[lugares[p] - 1] != chave) p = (p + 1) & (capacidade - 1);
        if (lugares[p] != 0) {
            planilhas[lugares[p] - 1].cgccli = &op.cgccli;
        } else {
            planilhas.push_back({&op.numped, &op.cgccli});
            chaves.push_back(chave);
            lugares[p] = static_cast<std::uint32_t>(planilhas.size());
        }
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
        const std::vector<Planilha> planilhas = planilhasDoArquivo(operacoes);
        Campo& cgccli = convepen.FieldByName("CGCCLI");
        Campo& dtremessa = convepen.FieldByName("DTREMESSA");
        // The rows already there, refreshed in blocks; those the engine
        // leaves to us (a row another workstation holds) one by one, waiting
        // for them as always.
        const std::vector<Tabela::Localizado> feitos = convepen.EditaLocalizados(
            "CODCLI;NUMPED", planilhas.size(),
            [&](std::size_t i, std::vector<ValorBusca>& v) {
                v.emplace_back(codcli);
                v.emplace_back(*planilhas[i].numped);
            },
            [&](std::size_t i) {
                cgccli.SetAsString(*planilhas[i].cgccli);
                dtremessa.SetAsDate(dataRemessa);
            });
        std::vector<std::size_t> novas;
        for (std::size_t i = 0; i < planilhas.size(); ++i) {
            if (feitos[i] == Tabela::Localizado::Editado) continue;
            if (feitos[i] == Tabela::Localizado::Adiado &&
                convepen.Locate("CODCLI;NUMPED", {codcli, *planilhas[i].numped})) {
                OBR_EDITA(convepen);
                preenche(convepen, *planilhas[i].cgccli, dataRemessa);
            } else {
                novas.push_back(i);
            }
        }
        Campo& codigo = convepen.FieldByName("CODCLI");
        Campo& numped = convepen.FieldByName("NUMPED");
        for (const std::size_t i : novas) {
            convepen.Append();
            codigo.SetAsString(codcli);
            numped.SetAsString(*planilhas[i].numped);
            cgccli.SetAsString(*planilhas[i].cgccli);
            dtremessa.SetAsDate(dataRemessa);
            convepen.Post();
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
