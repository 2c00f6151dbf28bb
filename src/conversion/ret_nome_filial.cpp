#include "conversion/ret_nome_filial.h"

#include <cstdio>

#include "core/texto/ansi.h"
#include "core/texto/obr_datas.h"

std::string ArquivoDaFilial(TData hoje, const std::string& filial) {
    return "R" + OBR_DATATOTEXTO("DATA_DDMMAA", hoje).substr(0, 4) + filial + ".TXT";
}

namespace {

bool controle(unsigned char c) { return c < 0x20 || c == 0x7F; }

}  // namespace

std::string FilialImpropria(const std::string& filial) {
    for (unsigned char c : filial) {
        // "\" is refused as well: where these files may be taken to, it is
        // a directory separator.
        if (c == '/' || c == '\\')
            return "O CÓDIGO DA FILIAL CONTÉM UM SEPARADOR DE DIRETÓRIO"_ansi;
        if (controle(c)) return "O CÓDIGO DA FILIAL CONTÉM UM CARACTERE DE CONTROLE"_ansi;
    }
    return {};
}

std::string FilialVisivel(const std::string& filial) {
    std::string r;
    for (unsigned char c : filial) {
        if (controle(c)) {
            char b[8];
            std::snprintf(b, sizeof b, "[%02X]", c);
            r += b;
        } else {
            r += static_cast<char>(c);
        }
    }
    return r;
}
