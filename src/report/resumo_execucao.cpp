#include "report/resumo_execucao.h"

#include "core/texto/ansi.h"

namespace {

std::optional<ResumoExecucao>& aberto() {
    static std::optional<ResumoExecucao> r;
    return r;
}

void junta(std::vector<std::string> ResumoExecucao::*lista, const std::string& linha) {
    if (aberto()) ((*aberto()).*lista).push_back(linha);
}

}  // namespace

std::string ResumoExecucao::Linha() const {
    // The run log first: a long line is cut at the right of the bar.
    std::string r = titulo;
    const char* separador = ": ";
    if (!relatorio.empty()) {
        r += separador + ("relatório "_ansi + relatorio);
        separador = "; ";
    }
    for (const auto* lista : {&lidos, &gravados, &recusados})
        for (const std::string& l : *lista) {
            r += separador + l;
            separador = "; ";
        }
    return r;
}

void AbreResumo(const std::string& titulo) {
    aberto() = ResumoExecucao{};
    aberto()->titulo = titulo;
}

std::optional<ResumoExecucao> FechaResumo() {
    std::optional<ResumoExecucao> r = std::move(aberto());
    aberto().reset();
    return r;
}

void ResumoLido(const std::string& linha) { junta(&ResumoExecucao::lidos, linha); }
void ResumoGravado(const std::string& linha) { junta(&ResumoExecucao::gravados, linha); }
void ResumoRecusado(const std::string& linha) { junta(&ResumoExecucao::recusados, linha); }

void ResumoRelatorio(const std::string& arquivo, const ModeloRelatorio& paginas) {
    if (!aberto()) return;
    aberto()->relatorio = arquivo;
    aberto()->paginas = paginas;
}

std::string ResumoRegistros(long long n) { return std::to_string(n) + (n == 1 ? " registro" : " registros"); }
