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

void ResumoDaConcatenacao(TarqCONCATENA& run) {
    std::size_t clientes = 0;
    for (const auto& lista : run.KTBREMESSAS) clientes += lista.size();
    ResumoLido(quantos(clientes, "arquivos remessa de clientes"));
    if (!run.KTBOUTREM.empty())
        ResumoRecusado(quantos(run.KTBOUTREM.size(), "arquivos não considerados nesta concatenação"_ansi));
}

void ResumoDaSegregacao(const TarqSEGREGA& run) {
    long long clientes = 0;
    for (const std::int32_t n : run.KTOTCLIENTES) clientes += n;
    ResumoGravado(std::to_string(clientes) + " arquivos retorno de clientes (passada " +
                   std::to_string(run.KPASSADA) + ")");
    if (!run.NomeDoLog().empty()) ResumoGravado("log da segregação: "_ansi + run.NomeDoLog());
    if (!run.KTBOUTRET.empty())
        ResumoRecusado(quantos(run.KTBOUTRET.size(), "arquivos não considerados nesta segregação"_ansi));
}

void ResumoDaLimpeza(const TpenLIMPEZA& run) {
    if (!run.Aberta() || run.WPES == 0) return;
    ResumoLido(quantos(static_cast<std::size_t>(run.WPES), "remessas pendentes examinadas"));
    ResumoGravado(quantos(static_cast<std::size_t>(run.WEXC), "excluídas"_ansi) + ", " +
                   quantos(static_cast<std::size_t>(run.WMAN), "mantidas"));
}
