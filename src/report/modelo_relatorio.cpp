#include "report/modelo_relatorio.h"

#include "core/texto/texto_ansi.h"

void PaginaRelatorio::Escreve(int linha, int coluna, const std::string& texto) {
    if (linha < 1) linha = 1;
    if (coluna < 1) coluna = 1;
    if (static_cast<int>(linhas.size()) < linha) linhas.resize(static_cast<std::size_t>(linha));
    std::string& l = linhas[static_cast<std::size_t>(linha - 1)];
    const std::size_t ini = static_cast<std::size_t>(coluna - 1);
    if (l.size() < ini + texto.size()) l.resize(ini + texto.size(), ' ');
    l.replace(ini, texto.size(), texto);
}

std::string RelatorioEmTexto(const ModeloRelatorio& modelo) {
    std::string r;
    for (std::size_t p = 0; p < modelo.paginas.size(); ++p) {
        if (p > 0) r += '\f';
        for (const std::string& l : modelo.paginas[p].linhas) {
            std::string s = l;
            while (!s.empty() && s.back() == ' ') s.pop_back();
            r += s + "\r\n";
        }
    }
    return r;
}

namespace {

std::string escapa(const std::string& ansi) {
    std::string r;
    for (char c : ansi) {
        switch (c) {
            case '<': r += "&lt;"; break;
            case '>': r += "&gt;"; break;
            case '&': r += "&amp;"; break;
            default: r += c;
        }
    }
    return AnsiParaUtf8(r);
}

}  // namespace

std::string RelatorioEmHtml(const ModeloRelatorio& modelo) {
    std::string r =
        "<!DOCTYPE html>\n<html lang=\"pt-BR\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
        escapa(modelo.titulo) +
        "</title>\n<style>\n"
        "body { background: #ddd; }\n"
        "pre { background: #fff; margin: 1em auto; padding: 1em; width: max-content;\n"
        "      font-family: monospace; page-break-after: always; }\n"
        "</style>\n</head>\n<body>\n";
    for (const PaginaRelatorio& p : modelo.paginas) {
        r += "<pre>";
        for (const std::string& l : p.linhas) r += escapa(l) + "\n";
        r += "</pre>\n";
    }
    r += "</body>\n</html>\n";
    return r;
}
