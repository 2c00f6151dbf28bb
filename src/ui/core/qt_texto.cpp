#include "ui/core/qt_texto.h"

#include <QList>

#include "core/texto/ansi.h"

// Windows-1252 maps 0xA0..0xFF straight to Latin-1; only 0x80..0x9F differ.
QString QtDeAnsi(const std::string& ansi) {
    QString s;
    s.reserve(static_cast<qsizetype>(ansi.size()));
    for (unsigned char c : ansi) {
        char32_t cp = c;
        if (c >= 0x80 && c < 0xA0 && ansi_detalhe::kFaixa80[c - 0x80] != 0)
            cp = ansi_detalhe::kFaixa80[c - 0x80];
        s.append(QChar(static_cast<char16_t>(cp)));
    }
    return s;
}

std::string QtParaAnsi(const QString& texto) {
    std::string r;
    r.reserve(static_cast<size_t>(texto.size()));
    for (QChar ch : texto) {
        int b = ansi_detalhe::byteDoCodigo(ch.unicode());
        r.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return r;
}

bool QtCabeEmAnsi(const QString& texto) {
    for (char32_t c : texto.toUcs4())
        if (ansi_detalhe::byteDoCodigo(c) < 0) return false;
    return true;
}
