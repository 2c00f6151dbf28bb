#include "routing/resumo_roteamento.h"

#include <string>

#include "core/texto/ansi.h"
#include "report/resumo_execucao.h"
#include "routing/limpeza.h"
#include "routing/tarqconcatena.h"
#include "routing/tarqsegrega.h"

namespace {

std::string quantos(std::size_t n, const std::string& coisa) { return std::to_string(n) + " " + coisa; }

}  // namespace

void RESUMO_CONCATENACAO(TarqCONCATENA& run) {
    std::size_t clientes = 0;
    for (const auto& lista : run.KTBREMESSAS) clientes += lista.size();
    RESUMO_LIDO(quantos(clientes, "arquivos remessa de clientes"));
    if (!run.KTBOUTREM.empty())
        RESUMO_RECUSADO(quantos(run.KTBOUTREM.size(), "arquivos não considerados nesta concatenação"_ansi));
}

void RESUMO_SEGREGACAO(const TarqSEGREGA& run) {
    long long clientes = 0;
    for (const std::int32_t n : run.KTOTCLIENTES) clientes += n;
    RESUMO_GRAVADO(std::to_string(clientes) + " arquivos retorno de clientes (passada " +
                   std::to_string(run.KPASSADA) + ")");
    if (!run.NomeDoLog().empty()) RESUMO_GRAVADO("log da segregação: "_ansi + run.NomeDoLog());
    if (!run.KTBOUTRET.empty())
        RESUMO_RECUSADO(quantos(run.KTBOUTRET.size(), "arquivos não considerados nesta segregação"_ansi));
}

void RESUMO_LIMPEZA(const TpenLIMPEZA& run) {
    if (!run.Aberta() || run.WPES == 0) return;
    RESUMO_LIDO(quantos(static_cast<std::size_t>(run.WPES), "remessas pendentes examinadas"));
    RESUMO_GRAVADO(quantos(static_cast<std::size_t>(run.WEXC), "excluídas"_ansi) + ", " +
                   quantos(static_cast<std::size_t>(run.WMAN), "mantidas"));
}
