#pragma once
// A report as pages of fixed-column text: what every report engine renders
// (printer, preview, PDF, HTML, plain text) and what tests assert on.

#include <string>
#include <vector>

struct PaginaRelatorio {
    std::vector<std::string> linhas;  // line 1 first; Windows-1252 text

    // Writes `texto` at 1-based line and column, over what was there;
    // nothing is cut at the right margin.
    void Escreve(int linha, int coluna, const std::string& texto);
};

struct ModeloRelatorio {
    std::string titulo;         // as the engine shows it ("/" replaced by "-")
    int colunas = 80;           // columns of a line the engine must fit on the paper
    int linhasPorPagina = 60;
    int linhasPorPolegada = 6;  // 6 or 8
    int caracteresPorPolegada = 10;  // 10 or 17
    bool visualizar = false;    // preview before printing
    int zoomPercentual = 100;   // preview zoom before the wide-screen bonus
    std::vector<PaginaRelatorio> paginas;
};

// Plain text: pages separated by a form feed, lines by CR LF.
std::string RelatorioEmTexto(const ModeloRelatorio& modelo);
// A self-contained HTML document (UTF-8), one <pre> block per page.
std::string RelatorioEmHtml(const ModeloRelatorio& modelo);
