#include "core/dialogo/dialogo_roteirizado.h"

namespace {

template <typename T>
std::optional<T> tiraDaFila(std::deque<T>& fila) {
    if (fila.empty()) return std::nullopt;
    T v = std::move(fila.front());
    fila.pop_front();
    return v;
}

}  // namespace

bool DialogoRoteirizado::Pergunta(const std::string& texto, const std::string& titulo,
                                  bool padraoSim) {
    const std::optional<bool> dada = tiraDaFila(respostasSimNao).value_or(std::nullopt);
    const bool resposta = dada.value_or(padraoSim);
    perguntas.push_back({texto, titulo, padraoSim, resposta});
    return resposta;
}

void DialogoRoteirizado::ContadorInicia(const std::string& titulo, int maximo,
                                        bool comCancela, const std::string& rotulo) {
    atualizacoes_ = 0;
    contador.push_back({EventoContador::Inicia, titulo, comCancela, 0, maximo, rotulo});
}

bool DialogoRoteirizado::ContadorAtualiza(int posicao, int maximo, const std::string& rotulo) {
    contador.push_back({EventoContador::Atualiza, {}, false, posicao, maximo, rotulo});
    return ++atualizacoes_ == cancelaNaAtualizacao;
}

void DialogoRoteirizado::ContadorEncerra() {
    contador.push_back({EventoContador::Encerra, {}, false, 0, 0, {}});
}

std::optional<std::string> DialogoRoteirizado::CodigoCliente(const std::string& titulo) {
    titulosCodigoCliente.push_back(titulo);
    return tiraDaFila(respostasCodigo).value_or(std::nullopt);
}

std::optional<TData> DialogoRoteirizado::DataInicioContrato(TData preenchida) {
    datasOferecidas.push_back(preenchida);
    if (auto dada = tiraDaFila(respostasData)) return *dada;
    if (preenchida == 0) return std::nullopt;
    return preenchida;
}

TdstRELATORIO DialogoRoteirizado::DestinoRelatorio(const std::string& titulo,
                                                   const std::vector<std::string>&) {
    titulosRelatorio.push_back(titulo);
    return tiraDaFila(respostasDestino).value_or(dstCANCELA);
}

TdstRELATORIO DialogoRoteirizado::DestinoAposFalha(const std::string& titulo) {
    titulosFalha.push_back(titulo);
    return tiraDaFila(respostasDestino).value_or(dstCANCELA);
}
