#include "core/texto/obr_datas.h"

#include <cstdio>

#include "core/geral.h"
#include "core/texto/obr_texto.h"

namespace {

// A part of a date: digits only, blanks around allowed, at most `maximo`.
bool leParte(const std::string& parte, std::size_t maximo, int& valor, std::size_t& digitos) {
    std::size_t i = 0, f = parte.size();
    while (i < f && parte[i] == ' ') ++i;
    while (f > i && parte[f - 1] == ' ') --f;
    digitos = f - i;
    if (digitos == 0 || digitos > maximo) return false;
    valor = 0;
    for (; i < f; ++i) {
        if (parte[i] < '0' || parte[i] > '9') return false;
        valor = valor * 10 + (parte[i] - '0');
    }
    return true;
}

int anoDoDia() {
    int ano, mes, dia;
    return DecodificaData(GERAL().DATADIA, ano, mes, dia) ? ano : 2000;
}

std::string doisDigitos(int v) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", v % 100);
    return b;
}

}  // namespace

int AnoComQuatroDigitos(int anoDoisDigitos, int anoAtual) {
    const int inicio = anoAtual - 50;
    int ano = inicio / 100 * 100 + anoDoisDigitos;
    if (ano < inicio) ano += 100;
    return ano;
}

std::string OBR_DATATOSTR(TData data) {
    int ano, mes, dia;
    if (!DecodificaData(data, ano, mes, dia)) return "  /  /    ";
    char b[16];
    std::snprintf(b, sizeof b, "%02d/%02d/%04d", dia, mes, ano);
    return b;
}

TData OBR_STRTODATA(const std::string& texto) {
    if (OBR_VAZIO(texto)) return 0;
    const auto b1 = texto.find('/');
    if (b1 == std::string::npos) return 0;
    const auto b2 = texto.find('/', b1 + 1);
    if (b2 == std::string::npos || texto.find('/', b2 + 1) != std::string::npos) return 0;
    int dia, mes, ano;
    std::size_t n;
    if (!leParte(texto.substr(0, b1), 2, dia, n) ||
        !leParte(texto.substr(b1 + 1, b2 - b1 - 1), 2, mes, n) ||
        !leParte(texto.substr(b2 + 1), 4, ano, n))
        return 0;
    if (n <= 2) ano = AnoComQuatroDigitos(ano, anoDoDia());
    return CodificaData(ano, mes, dia);
}

TData OBR_TEXTOTODATA(const std::string& palavra, const std::string& texto) {
    if (palavra == "DDMMAA_DATA")
        return OBR_STRTODATA(TrechoDe(texto, 1, 2) + "/" + TrechoDe(texto, 3, 2) + "/" +
                             TrechoDe(texto, 5, 2));
    if (palavra == "AAAAMMDD_DATA")
        return OBR_STRTODATA(TrechoDe(texto, 7, 2) + "/" + TrechoDe(texto, 5, 2) + "/" +
                             TrechoDe(texto, 1, 4));
    return 0;
}

std::string OBR_DATATOTEXTO(const std::string& palavra, TData data) {
    int ano = 0, mes = 0, dia = 0;
    DecodificaData(data, ano, mes, dia);  // zeros for the empty date
    if (palavra == "DATA_DDMMAA") return doisDigitos(dia) + doisDigitos(mes) + doisDigitos(ano);
    if (palavra == "DATA_AAAAMMDD") {
        char b[16];
        std::snprintf(b, sizeof b, "%04d%02d%02d", ano, mes, dia);
        return b;
    }
    return {};
}

std::string TextoDaHora(const HoraDoDia& h) {
    char b[16];
    std::snprintf(b, sizeof b, "%02d:%02d:%02d", h.hora, h.minuto, h.segundo);
    return b;
}

std::string OBR_HORA() {
    const HoraDoDia h = GERAL().Hora();
    char b[16];
    std::snprintf(b, sizeof b, "%02d%02d%02d", h.hora, h.minuto, h.segundo);
    return b;
}
