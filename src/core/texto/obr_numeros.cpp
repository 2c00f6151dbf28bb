#include "core/texto/obr_numeros.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "core/texto/obr_texto.h"

namespace {

std::string asteriscos(int largura) { return OBR_REPLICA("*", largura); }

// Adds half a unit of the last kept decimal, with the value's sign, so that
// cutting the fraction afterwards rounds half away from zero.
double arredondaParaCorte(double valor, int decimais) {
    if (valor == 0) return valor;
    return valor + std::copysign(0.5 * std::pow(10.0, -decimais), valor);
}

void separa(const std::string& geral, std::string& inteiro, std::string& fracao) {
    const auto virgula = geral.find(',');
    inteiro = geral.substr(0, virgula);
    fracao = virgula == std::string::npos ? std::string() : geral.substr(virgula + 1);
}

std::string fracaoCom(std::string fracao, int decimais) {
    fracao.resize(static_cast<std::size_t>(decimais), '0');
    return fracao;
}

}  // namespace

std::string TextoDoNumero(double valor) {
    if (std::isnan(valor)) return "NAN";
    if (std::isinf(valor)) return valor < 0 ? "-INF" : "INF";
    if (valor == 0) return "0";
    // 15 significant digits, correctly rounded, independent of the locale.
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(valor),
                                 std::chars_format::scientific, 14);
    const std::string cientifico(buf, r.ptr);  // d.dddddddddddddde+XX
    std::string digitos = cientifico.substr(0, 1) + cientifico.substr(2, 14);
    const int expoente = std::atoi(cientifico.c_str() + cientifico.find('e') + 1);
    while (digitos.size() > 1 && digitos.back() == '0') digitos.pop_back();

    std::string inteiro, fracao;
    if (expoente >= 0) {
        const auto nInteiro = static_cast<std::size_t>(expoente) + 1;
        if (digitos.size() <= nInteiro) {
            inteiro = digitos + std::string(nInteiro - digitos.size(), '0');
        } else {
            inteiro = digitos.substr(0, nInteiro);
            fracao = digitos.substr(nInteiro);
        }
    } else {
        inteiro = "0";
        fracao = std::string(static_cast<std::size_t>(-expoente - 1), '0') + digitos;
    }
    std::string texto = valor < 0 ? "-" : "";
    texto += inteiro;
    if (!fracao.empty()) texto += "," + fracao;
    return texto;
}

double OBR_VALOR(const std::string& texto) {
    if (OBR_VAZIO(texto)) return 0;
    std::string tomados;
    bool temVirgula = false;
    bool temDigito = false;
    for (char c : texto) {
        if (c == ' ' || c == '.') continue;
        if (c == '-') {
            if (!tomados.empty()) break;
            tomados += c;
        } else if (c == ',') {
            if (temVirgula) break;
            temVirgula = true;
            tomados += '.';
        } else if (c >= '0' && c <= '9') {
            temDigito = true;
            tomados += c;
        } else {
            break;
        }
    }
    // A lone sign or decimal mark is no number.
    if (!temDigito) return 0;
    double valor = 0;
    const char* fim = tomados.data() + tomados.size();
    const auto r = std::from_chars(tomados.data(), fim, valor);
    return r.ec == std::errc() ? valor : 0;
}

std::string OBR_INTTOSTR(long long valor, int largura) {
    const std::string texto = std::to_string(valor);
    if (largura <= 0) return texto;
    if (texto.size() > static_cast<std::size_t>(largura)) return asteriscos(largura);
    return OBR_ESPACOS(largura - static_cast<int>(texto.size())) + texto;
}

std::string OBR_FLOATTOSTR(int largura, int decimais, double valor) {
    if (!std::isfinite(valor)) return asteriscos(largura > 0 ? largura : 1);
    std::string inteiro, fracao;
    separa(TextoDoNumero(arredondaParaCorte(valor, decimais)), inteiro, fracao);
    std::string texto = inteiro;
    if (decimais > 0) texto += "," + fracaoCom(fracao, decimais);
    if (largura <= 0) return texto;
    if (texto.size() > static_cast<std::size_t>(largura)) return asteriscos(largura);
    return OBR_ESPACOS(largura - static_cast<int>(texto.size())) + texto;
}

std::string OBR_ZEROS(int largura, int decimais, double valor) {
    const double escalado = valor * std::pow(10.0, decimais);
    if (!std::isfinite(escalado)) return asteriscos(largura);
    std::string inteiro, fracao;
    separa(TextoDoNumero(escalado), inteiro, fracao);
    const int n = static_cast<int>(inteiro.size());
    if (n > largura) return asteriscos(largura);
    return OBR_REPLICA("0", largura - n) + inteiro;
}

std::string OBR_PICTURE(const std::string& picture, double valor) {
    const auto branco = picture.find(' ');
    const std::string funcao = branco == std::string::npos ? "" : picture.substr(0, branco);
    const std::string mascara = branco == std::string::npos ? picture : picture.substr(branco + 1);
    const int tamanho = static_cast<int>(mascara.size());
    if (!std::isfinite(valor)) return asteriscos(tamanho);

    const auto ponto = mascara.find('.');
    std::string mascaraInteira =
        ponto == std::string::npos ? mascara : mascara.substr(0, ponto + 1);
    const int decimais =
        ponto == std::string::npos ? 0 : static_cast<int>(mascara.size() - ponto - 1);
    if (funcao == "@E") {
        for (char& c : mascaraInteira) {
            if (c == '.') c = ',';
            else if (c == ',') c = '.';
        }
    }

    std::string inteiro, fracao;
    separa(TextoDoNumero(arredondaParaCorte(valor, decimais)), inteiro, fracao);
    fracao = fracaoCom(fracao, decimais);

    const char enchimento = mascara.empty() || mascara[0] == '9' ? ' ' : mascara[0];
    // Digits are placed from the right; `resta` counts those not yet placed.
    std::size_t resta = inteiro.size();
    for (auto i = mascaraInteira.size(); i-- > 0;) {
        char& c = mascaraInteira[i];
        if (c == '9' || c == '*') {
            c = resta > 0 ? inteiro[--resta] : enchimento;
        } else if (resta == 1 && inteiro[0] == '-') {
            c = '-';
            resta = 0;
        } else if (resta == 0) {
            c = enchimento;
        }
    }
    if (resta > 0) return asteriscos(tamanho);
    return mascaraInteira + fracao;
}
