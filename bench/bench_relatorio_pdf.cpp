// PDF writing figure: a report of N pages (default 10,000) of 130-column
// run-log lines, 60 lines a page at 17 characters per inch, written to a PDF
// file on the offscreen platform, as a run without a screen does.
//
//   bench_relatorio_pdf [paginas] [arquivo.pdf]
//
// Without a file name the PDF goes to a temporary directory and is removed.

#include <stdlib.h>

#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "report/modelo_relatorio.h"
#include "ui/report/desenho_relatorio.h"
#include "medida.h"

namespace {

std::string numero(long n, int largura) {
    std::string s = std::to_string(n);
    return std::string(static_cast<std::size_t>(std::max(0, largura - static_cast<int>(s.size()))), ' ') + s;
}

ModeloRelatorio modelo(int paginas) {
    ModeloRelatorio m;
    m.titulo = "RELATORIO DE CONCATENACAO DE REMESSAS";
    m.colunas = 132;
    m.linhasPorPagina = 60;
    m.linhasPorPolegada = 6;
    m.caracteresPorPolegada = 17;
    m.paginas.resize(static_cast<std::size_t>(paginas));
    long registro = 0;
    for (int p = 0; p < paginas; ++p) {
        PaginaRelatorio& pg = m.paginas[static_cast<std::size_t>(p)];
        pg.Escreve(1, 1, "BANCO QUOR DE INVESTIMENTOS S.A.");
        pg.Escreve(1, 119, "Pagina :" + numero(p + 1, 4));
        pg.Escreve(2, 48, m.titulo);
        pg.Escreve(4, 115, "Data: 15/03/2026");
        pg.Escreve(6, 1, "CLIENTE   ARQUIVO                 REGISTRO  TIPO  NUMERO DO PEDIDO      VALOR "
                         "DO TITULO   VENCIMENTO  SITUACAO");
        for (int l = 8; l <= 60; ++l, ++registro)
            pg.Escreve(l, 1, "CLI" + numero(registro % 997, 4) + "   REM" + numero(registro % 31, 5) +
                                 ".TXT        " + numero(registro, 9) + "  01    " +
                                 numero(1000000000L + registro * 7919 % 1000003, 16) + "      " +
                                 numero(registro * 37 % 9999999, 12) + ",00   15/04/2026  ACEITO" +
                                 std::string(20, ' ') + "FIM");
    }
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    const int paginas = argc > 1 ? std::atoi(argv[1]) : 10000;
    std::string arquivo = argc > 2 ? argv[2] : "";
    std::filesystem::path temporario;
    if (arquivo.empty()) {
        char dir[] = "/tmp/bench-relatorio-XXXXXX";
        if (!::mkdtemp(dir)) return 1;
        temporario = dir;
        arquivo = (temporario / "relatorio.pdf").string();
    }
    static int qargc = 3;
    static char a0[] = "bench_relatorio_pdf", a1[] = "-platform", a2[] = "offscreen";
    static char* qargv[] = {a0, a1, a2, nullptr};
    QGuiApplication app(qargc, qargv);

    const auto t0 = std::chrono::steady_clock::now();
    const ModeloRelatorio m = modelo(paginas);
    const auto t1 = std::chrono::steady_clock::now();
    GravaRelatorioEmPdf(m, QString::fromLocal8Bit(arquivo.c_str()));
    const auto t2 = std::chrono::steady_clock::now();

    const double montagem = std::chrono::duration<double>(t1 - t0).count();
    const double gravacao = std::chrono::duration<double>(t2 - t1).count();
    std::printf("paginas: %d\nmodelo montado em: %.2f s\nPDF gravado em: %.2f s (%.2f ms/pagina)\n"
                "tamanho do PDF: %.1f MB\n",
                paginas, montagem, gravacao, gravacao * 1000 / paginas,
                std::filesystem::file_size(arquivo) / 1048576.0);
    // No baseline: nothing outside the program draws the same pages. The
    // input is the page model the report holds in memory, 60 lines of 132
    // columns a page.
    medida::publica({"relatório em PDF", std::to_string(paginas) + " páginas", gravacao, "", 0,
                     static_cast<double>(paginas), "páginas", medida::picoProprio(),
                     medida::mib(static_cast<double>(paginas) * 60 * 133), ""});
    if (!temporario.empty()) std::filesystem::remove_all(temporario);
    return 0;
}
