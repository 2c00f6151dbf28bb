#include "core/texto/texto_ansi.h"

#include "core/texto/ansi.h"

namespace {

void acrescentaUtf8(std::string& saida, char32_t cp) {
    if (cp < 0x80) {
        saida += static_cast<char>(cp);
    } else if (cp < 0x800) {
        saida += static_cast<char>(0xC0 | (cp >> 6));
        saida += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        saida += static_cast<char>(0xE0 | (cp >> 12));
        saida += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        saida += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        saida += static_cast<char>(0xF0 | (cp >> 18));
        saida += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        saida += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        saida += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char ansiDoCodigo(char32_t cp) {
    // The undefined bytes travel as the C1 controls of the same value.
    if (cp >= 0x80 && cp <= 0x9F && ansi_detalhe::kFaixa80[cp - 0x80] == 0)
        return static_cast<char>(cp);
    const int b = ansi_detalhe::byteDoCodigo(cp);
    return b < 0 ? '?' : static_cast<char>(b);
}

std::string ansiDeUtf16(const std::string& bytes, std::size_t inicio, bool bigEndian) {
    std::string saida;
    auto unidade = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    std::size_t i = inicio;
    while (i + 1 < bytes.size()) {
        char32_t u = unidade(i);
        i += 2;
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < bytes.size()) {
            const char32_t baixo = unidade(i);
            if (baixo >= 0xDC00 && baixo <= 0xDFFF) {
                i += 2;
                u = 0x10000 + ((u - 0xD800) << 10) + (baixo - 0xDC00);
            }
        }
        saida += ansiDoCodigo(u);
    }
    if (i < bytes.size()) saida += '?';  // odd byte at the end
    return saida;
}

}  // namespace

std::string AnsiParaUtf8(const std::string& ansi) {
    std::string saida;
    saida.reserve(ansi.size() + ansi.size() / 8);
    for (char c : ansi) {
        const auto b = static_cast<unsigned char>(c);
        char32_t cp = b;
        if (b >= 0x80 && b <= 0x9F && ansi_detalhe::kFaixa80[b - 0x80] != 0)
            cp = ansi_detalhe::kFaixa80[b - 0x80];
        acrescentaUtf8(saida, cp);
    }
    return saida;
}

std::string Utf8ParaAnsi(const std::string& utf8) {
    std::string saida;
    saida.reserve(utf8.size());
    std::size_t i = 0;
    const std::size_t n = utf8.size();
    while (i < n) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        int extra;
        char32_t cp;
        if (b < 0x80) { saida += static_cast<char>(b); ++i; continue; }
        if ((b & 0xE0) == 0xC0) { cp = b & 0x1F; extra = 1; }
        else if ((b & 0xF0) == 0xE0) { cp = b & 0x0F; extra = 2; }
        else if ((b & 0xF8) == 0xF0) { cp = b & 0x07; extra = 3; }
        else { saida += '?'; ++i; continue; }
        int k = 1;
        for (; k <= extra && i + k < n; ++k) {
            const auto c = static_cast<unsigned char>(utf8[i + k]);
            if ((c & 0xC0) != 0x80) break;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (k <= extra) {  // sequence cut short: one "?" for what was there
            saida += '?';
            i += k;
            continue;
        }
        saida += ansiDoCodigo(cp);
        i += 1 + extra;
    }
    return saida;
}

bool AnsiDeTextoUnicode(std::string& bytes) {
    auto comeca = [&](std::initializer_list<unsigned char> marca) {
        if (bytes.size() < marca.size()) return false;
        std::size_t i = 0;
        for (unsigned char m : marca)
            if (static_cast<unsigned char>(bytes[i++]) != m) return false;
        return true;
    };
    if (comeca({0xEF, 0xBB, 0xBF})) {
        bytes = Utf8ParaAnsi(bytes.substr(3));
        return true;
    }
    if (comeca({0xFF, 0xFE})) {
        bytes = ansiDeUtf16(bytes, 2, false);
        return true;
    }
    if (comeca({0xFE, 0xFF})) {
        bytes = ansiDeUtf16(bytes, 2, true);
        return true;
    }
    return false;
}
