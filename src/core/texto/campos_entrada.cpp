#include "core/texto/campos_entrada.h"

#include <charconv>
#include <cmath>

#include "core/texto/obr_datas.h"
#include "core/texto/obr_numeros.h"
#include "core/texto/obr_texto.h"

namespace {

constexpr char kDecimal = ',';
constexpr char kMilhar = '.';

bool digito(char c) { return c >= '0' && c <= '9'; }

// "1234567" -> "1.234.567"
std::string agrupaMilhares(const std::string& inteiro) {
    std::string r;
    const std::size_t n = inteiro.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) r += kMilhar;
        r += inteiro[i];
    }
    return r;
}

}  // namespace

// ---- date ------------------------------------------------------------------

std::optional<std::string> RegrasCampoData::DefineData(TData data) {
    KDATADIG = data;
    if (data == 0) return std::nullopt;
    return OBR_DATATOSTR(data);
}

bool RegrasCampoData::Sai(const std::string& texto) {
    // An empty field holds no date: a date the operator erased is gone, so
    // that what is saved is what the screen shows.
    if (AparaPontas(texto) == "/  /") {
        KDATADIG = 0;
        return false;
    }
    if (const TData d = OBR_STRTODATA(texto); d != 0) {
        KDATADIG = d;
        return false;
    }
    KDATADIG = 0;
    return texto != kMascaraVazia;
}

// ---- whole number ------------------------------------------------------------

void RegrasCampoInteiro::DefineInteiros(int inteiros) { KINTEIROS = inteiros < 1 ? 1 : inteiros; }

std::string RegrasCampoInteiro::DefineValor(int valor) {
    KASINTEGER = valor;
    return Texto();
}

std::string RegrasCampoInteiro::Texto() const {
    const std::string t = std::to_string(KASINTEGER);
    const int n = static_cast<int>(t.size());
    return n >= KINTEIROS ? t : OBR_ESPACOS(KINTEIROS - n) + t;
}

bool RegrasCampoInteiro::Tecla() {
    if (!KLIMPA) return false;
    KLIMPA = false;
    return true;
}

std::string RegrasCampoInteiro::Sai(const std::string& texto) {
    KASINTEGER = OBR_STRTOINT(texto);
    KLIMPA = true;
    return Texto();
}

// ---- decimal number ----------------------------------------------------------

std::string RegrasCampoFloat::DefineValor(double valor) {
    KASFLOAT = valor;
    return NumeroComMilhar(valor, KINTEIROS + KDECIMAIS, KDECIMAIS);
}

std::string RegrasCampoFloat::Alinha(const std::string& texto) const {
    const int largura = KINTEIROS + KDECIMAIS + 1;
    const int n = static_cast<int>(texto.size());
    return n >= largura ? texto : OBR_ESPACOS(largura - n) + texto;
}

std::string RegrasCampoFloat::Muda(const std::string& texto) const {
    return KPREPARAMASK ? Alinha(texto) : texto;
}

RegrasCampoFloat::Tecla RegrasCampoFloat::Digita(char tecla, const std::string& texto) {
    Tecla r;
    KPREPARAMASK = false;
    KDIGITOU = true;
    std::string atual = texto;
    if (KLIMPA) {
        r.esvazia = true;
        KLIMPA = false;
        atual.clear();
    }
    const bool separador = tecla == kDecimal || tecla == kMilhar;
    // Until a mark is typed only the integer digits fit; the mark then makes
    // room for itself and the decimals.
    if (!separador && atual.find_first_of(",.") == std::string::npos) limite = KINTEIROS;
    r.aceita = digito(tecla) || separador || tecla == '\b' || tecla == '-';
    if (separador) limite = static_cast<int>(atual.size()) + KDECIMAIS + 1;
    return r;
}

bool RegrasCampoFloat::Cabe(int tamanho, int selecionados, int inseridos) const {
    return limite <= 0 || tamanho - selecionados + inseridos <= limite;
}

void RegrasCampoFloat::EditadoSemTecla() {
    KDIGITOU = true;
    KPREPARAMASK = false;
}

std::optional<std::string> RegrasCampoFloat::Sai(const std::string& texto) {
    if (!KDIGITOU && !AparaPontas(texto).empty()) return std::nullopt;
    std::string t = texto.empty() ? "0" : texto;
    if (const auto milhar = t.find(kMilhar); milhar != std::string::npos) {
        const auto decimal = t.find(kDecimal);
        if (decimal != std::string::npos && t.find(kMilhar, decimal) == std::string::npos) {
            // Both marks, the thousands ones in front: a value as this field
            // shows it ("1.234,00"), edited in place. The full stops only
            // group digits.
            std::string semMilhar;
            for (char c : t)
                if (c != kMilhar) semMilhar += c;
            t = semMilhar;
        } else {
            // A full stop typed as decimal mark (the numeric keypad's key).
            t[milhar] = kDecimal;
            t = t.substr(0, milhar + 8);
        }
    }
    double valor = 0;
    if (!LeNumeroDigitado(t, valor)) valor = 0;
    const std::string mostrado = Alinha(NumeroComMilhar(valor, KINTEIROS + KDECIMAIS, KDECIMAIS));
    KASFLOAT = OBR_VALOR(mostrado);
    KPREPARAMASK = true;
    KDIGITOU = false;
    return mostrado;
}

// ---- number texts ------------------------------------------------------------

std::string NumeroComMilhar(double valor, int precisao, int decimais) {
    if (!std::isfinite(valor)) return TextoDoNumero(valor);
    if (decimais < 0) decimais = 0;
    const double absoluto = std::fabs(valor);
    std::string geral = TextoDoNumero(absoluto);
    const auto virgula = geral.find(kDecimal);
    const std::string parteInteira = geral.substr(0, virgula);
    const int digitosInteiros = parteInteira == "0" ? 0 : static_cast<int>(parteInteira.size());
    int casas = precisao - digitosInteiros;
    if (casas > decimais) casas = decimais;
    if (casas < 0) casas = 0;

    const std::string arredondado = OBR_FLOATTOSTR(0, casas, absoluto);
    const auto marca = arredondado.find(kDecimal);
    const std::string inteiro = arredondado.substr(0, marca);
    std::string fracao = marca == std::string::npos ? "" : arredondado.substr(marca + 1);
    fracao.resize(static_cast<std::size_t>(decimais), '0');

    bool zero = true;
    for (char c : inteiro + fracao)
        if (c != '0') zero = false;
    std::string r = valor < 0 && !zero ? "-" : "";
    r += agrupaMilhares(inteiro);
    if (decimais > 0) r += kDecimal + fracao;
    return r;
}

bool LeNumeroDigitado(const std::string& texto, double& valor) {
    const std::string t = AparaPontas(texto);
    std::string c;  // in the form from_chars reads
    std::size_t i = 0;
    const std::size_t n = t.size();
    if (i < n && (t[i] == '-' || t[i] == '+')) {
        if (t[i] == '-') c += '-';
        ++i;
    }
    int digitos = 0;
    for (; i < n && digito(t[i]); ++i, ++digitos) c += t[i];
    if (i < n && t[i] == kDecimal) {
        c += '.';
        for (++i; i < n && digito(t[i]); ++i, ++digitos) c += t[i];
    }
    if (digitos == 0) return false;
    if (i < n && (t[i] == 'E' || t[i] == 'e')) {
        c += 'e';
        ++i;
        if (i < n && (t[i] == '-' || t[i] == '+')) c += t[i++];
        int expoente = 0;
        for (; i < n && digito(t[i]); ++i, ++expoente) c += t[i];
        if (expoente == 0) return false;
    }
    if (i != n) return false;
    double v = 0;
    const auto r = std::from_chars(c.data(), c.data() + c.size(), v);
    if (r.ec != std::errc() || r.ptr != c.data() + c.size() || !std::isfinite(v)) return false;
    valor = v;
    return true;
}

// ---- radio choice -------------------------------------------------------------

int IndiceDoMarcado(const std::vector<bool>& marcados, int atual) {
    for (std::size_t i = 0; i < marcados.size(); ++i)
        if (marcados[i]) return static_cast<int>(i);
    return atual;
}
