#pragma once
// Text inside the motor is Windows-1252: one byte is one character, so every
// column position of a file layout counts bytes. Source files are UTF-8, so a
// literal holding a non-ASCII character is converted at compile time:
//     std::string t = "ATENÇÃO"_ansi;
// A character that Windows-1252 cannot hold stops the build.

#include <array>
#include <cstddef>
#include <string>

namespace ansi_detalhe {

// Code points of the bytes 0x80..0x9F in Windows-1252; 0 marks the five
// positions the code page leaves undefined.
inline constexpr char32_t kFaixa80[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Byte for a code point, or -1 when Windows-1252 has no such character.
constexpr int byteDoCodigo(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i)
        if (kFaixa80[i] == cp && cp != 0) return 0x80 + i;
    return -1;
}

template <std::size_t N>
struct TextoFixo {
    char bytes[N]{};
    constexpr TextoFixo(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i) bytes[i] = s[i];
    }
};

// Decodes UTF-8 and re-encodes as Windows-1252; returns the byte count.
template <std::size_t N>
constexpr std::size_t converte(const char (&in)[N], char (&out)[N]) {
    std::size_t o = 0;
    for (std::size_t i = 0; i + 1 < N;) {
        auto b = static_cast<unsigned char>(in[i]);
        char32_t cp;
        int extra;
        if (b < 0x80) { cp = b; extra = 0; }
        else if ((b & 0xE0) == 0xC0) { cp = b & 0x1F; extra = 1; }
        else if ((b & 0xF0) == 0xE0) { cp = b & 0x0F; extra = 2; }
        else if ((b & 0xF8) == 0xF0) { cp = b & 0x07; extra = 3; }
        else throw "literal is not valid UTF-8";
        if (i + extra >= N) throw "literal is not valid UTF-8";
        for (int k = 1; k <= extra; ++k) {
            auto c = static_cast<unsigned char>(in[i + k]);
            if ((c & 0xC0) != 0x80) throw "literal is not valid UTF-8";
            cp = (cp << 6) | (c & 0x3F);
        }
        int byte = byteDoCodigo(cp);
        if (byte < 0) throw "character has no Windows-1252 form";
        out[o++] = static_cast<char>(byte);
        i += 1 + extra;
    }
    return o;
}

template <TextoFixo S>
struct Convertido {
    static constexpr auto dados = [] {
        struct R { char b[sizeof(S.bytes)]{}; std::size_t n = 0; } r{};
        r.n = converte(S.bytes, r.b);
        return r;
    }();
};

}  // namespace ansi_detalhe

template <ansi_detalhe::TextoFixo S>
inline std::string operator""_ansi() {
    constexpr auto& d = ansi_detalhe::Convertido<S>::dados;
    return std::string(d.b, d.n);
}
