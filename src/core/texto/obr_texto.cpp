#include "core/texto/obr_texto.h"

#include <charconv>

namespace {

bool ehBrancoOuControle(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

std::string AparaDireita(const std::string& texto) {
    std::size_t fim = texto.size();
    while (fim > 0 && ehBrancoOuControle(texto[fim - 1])) --fim;
    return texto.substr(0, fim);
}

std::string AparaEsquerda(const std::string& texto) {
    std::size_t ini = 0;
    while (ini < texto.size() && ehBrancoOuControle(texto[ini])) ++ini;
    return texto.substr(ini);
}

std::string AparaPontas(const std::string& texto) {
    return AparaEsquerda(AparaDireita(texto));
}

std::string OBR_AJUSTA(const std::string& texto, int tamanho, bool alinhaEsquerda,
                       int modoTrim) {
    const std::string t = modoTrim == 0   ? AparaDireita(texto)
                          : modoTrim == 1 ? AparaEsquerda(texto)
                                          : AparaPontas(texto);
    const std::size_t n = tamanho > 0 ? static_cast<std::size_t>(tamanho) : 0;
    if (t.size() >= n) return alinhaEsquerda ? t.substr(0, n) : t.substr(t.size() - n);
    return alinhaEsquerda ? t + std::string(n - t.size(), ' ')
                          : std::string(n - t.size(), ' ') + t;
}

std::string TrechoDe(const std::string& texto, int inicio, int quantidade) {
    if (inicio < 1 || quantidade <= 0 || static_cast<std::size_t>(inicio) > texto.size())
        return {};
    return texto.substr(static_cast<std::size_t>(inicio - 1), static_cast<std::size_t>(quantidade));
}

std::string OBR_ESPACOS(int quantidade) {
    return std::string(quantidade > 0 ? static_cast<std::size_t>(quantidade) : 0, ' ');
}

std::string OBR_REPLICA(const std::string& pedaco, int quantidade) {
    std::string r;
    for (int i = 0; i < quantidade; ++i) r += pedaco;
    return r;
}

std::string OBR_DIREITA(const std::string& texto, int quantidade) {
    if (quantidade <= 0) return {};
    const auto n = static_cast<std::size_t>(quantidade);
    return n >= texto.size() ? texto : texto.substr(texto.size() - n);
}

int OBR_POSULTIMA(const std::string& pedaco, const std::string& texto) {
    if (pedaco.empty()) return 0;
    const auto p = texto.rfind(pedaco);
    return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

bool OBR_ISLETRA(const std::string& texto) {
    if (texto.empty()) return false;
    const char c = texto[0];
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

int OBR_TAMREGISTRO(const std::string& tipoEmpresa) {
    if (tipoEmpresa == "A" || tipoEmpresa == "R") return 240;
    if (tipoEmpresa == "C" || tipoEmpresa == "D") return 400;
    if (tipoEmpresa == "V") return 250;
    return 0;
}

bool OBR_VAZIO(const std::string& texto) {
    for (char c : texto)
        if (c != ' ' && c != '.' && c != '/') return false;
    return true;
}

int OBR_STRTOINT(const std::string& texto) {
    const std::string t = AparaPontas(texto);
    if (t.empty()) return 0;
    std::string tomados;
    for (char c : t)
        if ((c >= '0' && c <= '9') || c == '-' || c == ',') tomados += c;
    int valor = 0;
    const char* fim = tomados.data() + tomados.size();
    const auto r = std::from_chars(tomados.data(), fim, valor);
    if (r.ec != std::errc() || r.ptr != fim) return 0;
    return valor;
}
