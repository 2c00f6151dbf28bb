#include "core/texto/centavos.h"

#include <cmath>
#include <string>

#include "core/texto/obr_numeros.h"

Centavos CentavosDoCampo(std::string_view digitos) {
    Centavos v = 0;
    for (char c : digitos) {
        if (c < '0' || c > '9') return std::llround(OBR_VALOR(std::string(digitos)));
        v = v * 10 + (c - '0');
    }
    return v;
}
