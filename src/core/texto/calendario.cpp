#include "core/texto/calendario.h"

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
long diasDesdeEpoca(long a, unsigned m, unsigned d) {
    a -= m <= 2;
    const long era = (a >= 0 ? a : a - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(a - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

const long kBase = diasDesdeEpoca(1899, 12, 30);

}  // namespace

bool EhAnoBissexto(int ano) {
    return (ano % 4 == 0 && ano % 100 != 0) || ano % 400 == 0;
}

int DiasDoMes(int ano, int mes) {
    static const int dias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (mes < 1 || mes > 12) return 0;
    return mes == 2 && EhAnoBissexto(ano) ? 29 : dias[mes - 1];
}

TData CodificaData(int ano, int mes, int dia) {
    if (ano < 1 || ano > 9999 || mes < 1 || mes > 12 || dia < 1 ||
        dia > DiasDoMes(ano, mes))
        return 0;
    return static_cast<TData>(diasDesdeEpoca(ano, static_cast<unsigned>(mes),
                                             static_cast<unsigned>(dia)) - kBase);
}

bool DecodificaData(TData data, int& ano, int& mes, int& dia) {
    if (data == 0) return false;
    long z = static_cast<long>(data) + kBase + 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long a = static_cast<long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    a += m <= 2;
    if (a < 1 || a > 9999) return false;
    ano = static_cast<int>(a);
    mes = static_cast<int>(m);
    dia = static_cast<int>(d);
    return true;
}
