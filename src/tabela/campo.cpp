#include "tabela/campo.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/texto/ansi.h"
#include "tabela/tabela.h"

namespace dbf_valor {

double LeNumero(std::string_view bruto) {
    std::size_t i = 0;
    while (i < bruto.size() && (bruto[i] == ' ' || bruto[i] == '\0')) ++i;
    std::size_t f = bruto.size();
    while (f > i && (bruto[f - 1] == ' ' || bruto[f - 1] == '\0')) --f;
    if (i == f) return 0.0;
    std::string texto(bruto.substr(i, f - i));
    for (char& c : texto)
        if (c == ',') c = '.';
    const char* ini = texto.c_str();
    if (*ini == '+') ++ini;
    double v = 0.0;
    auto r = std::from_chars(ini, texto.c_str() + texto.size(), v);
    if (r.ec != std::errc()) return 0.0;
    return v;
}

TData LeData(std::string_view bruto) {
    if (bruto.size() < 8) return 0;
    int partes[3] = {0, 0, 0};
    const int tam[3] = {4, 2, 2};
    std::size_t p = 0;
    for (int k = 0; k < 3; ++k) {
        for (int j = 0; j < tam[k]; ++j, ++p) {
            char c = bruto[p];
            if (c < '0' || c > '9') return 0;
            partes[k] = partes[k] * 10 + (c - '0');
        }
    }
    return CodificaData(partes[0], partes[1], partes[2]);
}

bool FormataNumero(double valor, int tamanho, int decimais, std::string& saida) {
    if (!std::isfinite(valor)) return false;
    const long double escalado = static_cast<long double>(valor) * powl(10.0L, decimais);
    if (fabsl(escalado) >= 9.0e18L) return false;
    long long n = llroundl(escalado);
    const bool negativo = n < 0;
    unsigned long long a = negativo ? 0ULL - static_cast<unsigned long long>(n)
                                    : static_cast<unsigned long long>(n);
    std::string digitos = std::to_string(a);
    if (decimais > 0) {
        if (static_cast<int>(digitos.size()) <= decimais)
            digitos.insert(0, static_cast<std::size_t>(decimais + 1) - digitos.size(), '0');
        digitos.insert(digitos.size() - static_cast<std::size_t>(decimais), 1, '.');
    }
    if (negativo) digitos.insert(0, 1, '-');
    if (static_cast<int>(digitos.size()) > tamanho) return false;
    saida.assign(static_cast<std::size_t>(tamanho) - digitos.size(), ' ');
    saida += digitos;
    return true;
}

std::string FormataData(TData valor) {
    int a, m, d;
    if (!DecodificaData(valor, a, m, d)) return std::string(8, ' ');
    if (a < 0 || a > 9999) {
        char b[16];
        std::snprintf(b, sizeof b, "%04d%02d%02d", a, m, d);
        return b;
    }
    // Every date field of every record written goes through here.
    const char t[8] = {static_cast<char>('0' + a / 1000), static_cast<char>('0' + a / 100 % 10),
                       static_cast<char>('0' + a / 10 % 10), static_cast<char>('0' + a % 10),
                       static_cast<char>('0' + m / 10),      static_cast<char>('0' + m % 10),
                       static_cast<char>('0' + d / 10),      static_cast<char>('0' + d % 10)};
    return std::string(t, 8);
}

}  // namespace dbf_valor

namespace {

std::string apara(std::string_view s) {
    std::size_t f = s.size();
    while (f > 0 && (s[f - 1] == ' ' || s[f - 1] == '\0')) --f;
    return std::string(s.substr(0, f));
}

std::string numeroGeral(double v) {
    char b[64];
    std::snprintf(b, sizeof b, "%.15g", v);
    std::string s = b;
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}

}  // namespace

const DefCampo& Campo::Def() const { return tabela_->FieldDefs()[static_cast<std::size_t>(indice_)]; }

std::string_view Campo::Bruto() const {
    const DefCampo& d = Def();
    return std::string_view(tabela_->BufferRegistro() + d.deslocamento,
                            static_cast<std::size_t>(d.tamanho));
}

bool Campo::IsNull() const {
    for (char c : Bruto())
        if (c != ' ' && c != '\0') return false;
    return true;
}

std::string Campo::AsString() const {
    switch (Def().tipo) {
        case 'D': {
            int a, m, d;
            if (!DecodificaData(AsDate(), a, m, d)) return std::string();
            char b[16];
            std::snprintf(b, sizeof b, "%02d/%02d/%04d", d, m, a);
            return b;
        }
        case 'N':
        case 'F':
            if (IsNull()) return std::string();
            return numeroGeral(AsFloat());
        default:
            return apara(Bruto());
    }
}

double Campo::AsFloat() const { return dbf_valor::LeNumero(Bruto()); }

long long Campo::AsInteger() const { return std::llround(AsFloat()); }

TData Campo::AsDate() const {
    if (Def().tipo != 'D') return 0;
    return dbf_valor::LeData(Bruto());
}

void Campo::SetAsString(const std::string& valor) {
    const DefCampo& d = Def();
    switch (d.tipo) {
        case 'D': {
            std::string v = apara(valor);
            if (v.empty() || v == "  /  /    ") return SetAsDate(0);
            int dia = 0, mes = 0, ano = 0;
            char s1 = 0, s2 = 0;
            TData data = 0;
            if (std::sscanf(v.c_str(), "%d%c%d%c%d", &dia, &s1, &mes, &s2, &ano) == 5)
                data = CodificaData(ano, mes, dia);
            if (data == 0)
                throw ErroTabela("DATA INVÁLIDA PARA O CAMPO "_ansi + d.nome + ": " + valor);
            return SetAsDate(data);
        }
        case 'N':
        case 'F': {
            std::string v = apara(valor);
            if (v.empty()) return Clear();
            return SetAsFloat(dbf_valor::LeNumero(v));
        }
        default: {
            char* b = tabela_->BufferParaEscrita() + d.deslocamento;
            const std::size_t n = std::min(valor.size(), static_cast<std::size_t>(d.tamanho));
            std::memcpy(b, valor.data(), n);
            std::memset(b + n, ' ', static_cast<std::size_t>(d.tamanho) - n);
        }
    }
}

void Campo::SetAsFloat(double valor) {
    const DefCampo& d = Def();
    if (d.tipo != 'N' && d.tipo != 'F') {
        if (d.tipo == 'D') return SetAsDate(static_cast<TData>(valor));
        return SetAsString(numeroGeral(valor));
    }
    std::string texto;
    if (!dbf_valor::FormataNumero(valor, d.tamanho, d.decimais, texto))
        throw ErroTabela("VALOR "_ansi + numeroGeral(valor) + " NÃO CABE NO CAMPO "_ansi + d.nome +
                         " (" + std::to_string(d.tamanho) + "," + std::to_string(d.decimais) +
                         ") DA TABELA " + tabela_->CaminhoArquivo());
    std::memcpy(tabela_->BufferParaEscrita() + d.deslocamento, texto.data(), texto.size());
}

void Campo::SetAsInteger(long long valor) {
    const DefCampo& d = Def();
    if (d.tipo == 'C') return SetAsString(std::to_string(valor));
    SetAsFloat(static_cast<double>(valor));
}

void Campo::SetAsDate(TData valor) {
    const DefCampo& d = Def();
    if (d.tipo != 'D')
        throw ErroTabela("O CAMPO "_ansi + d.nome + " NÃO É DE DATA"_ansi);
    const std::string t = dbf_valor::FormataData(valor);
    std::memcpy(tabela_->BufferParaEscrita() + d.deslocamento, t.data(), 8);
}

void Campo::Clear() {
    const DefCampo& d = Def();
    std::memset(tabela_->BufferParaEscrita() + d.deslocamento, ' ',
                static_cast<std::size_t>(d.tamanho));
}
