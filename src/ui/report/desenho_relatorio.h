#pragma once
// How a report page is laid on paper, and the one routine that draws it: the
// PDF file, the printer and the preview window all go through here, so that
// what the operator sees is what comes out.
//
// Lengths are in dots of 1/1200 inch, measured from the top-left corner of
// the sheet. The painter handed to DesenhistaRelatorio must already be scaled
// to that unit.

#include <QRawFont>
#include <array>
#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

#include "report/modelo_relatorio.h"

class QPainter;
class QPagedPaintDevice;

inline constexpr double kPONTOS_POR_POLEGADA = 1200.0;

// Dots of a length in millimetres, and of one in PostScript points.
constexpr double PontosDeMm(double mm) { return mm * kPONTOS_POR_POLEGADA / 25.4; }
constexpr double PontosDePt(double pt) { return pt * kPONTOS_POR_POLEGADA / 72.0; }

// Blank border kept around the text even where the device could print
// closer to the edge: an 80-column line at 10 characters per inch still fits
// across A4 with it.
inline constexpr double kMARGEM_MINIMA_MM = 3.0;

struct GeometriaRelatorio {
    QSizeF papel;           // A4 portrait
    double esquerda = 0;    // left edge of column 1
    double topo = 0;        // top edge of line 1
    double passo = 0;       // width of one column
    double entrelinha = 0;  // height of one line
    int colunas = 0;        // columns laid out (the model's, or its longest line)
    int linhas = 0;         // lines laid out (the model's, or its longest page)

    // Rectangle of `n` characters from 1-based line and column.
    QRectF Celula(int linha, int coluna, int n = 1) const;
    // The whole block of text.
    QRectF AreaTexto() const { return Celula(1, 1, colunas).united(Celula(linhas, 1, colunas)); }
};

// A4 portrait at the model's pitch and line spacing. Where a line (the
// model's column count, or a longer line of its pages) or a page would not
// fit inside the margins, the pitch or the spacing is narrowed just enough
// to fit it: nothing is ever cut off.
GeometriaRelatorio CalculaGeometria(const ModeloRelatorio& modelo, QMarginsF margensMinimas);
QMarginsF MargensMinimasPadrao();

// A stretch of characters to highlight (preview search).
struct MarcaRelatorio {
    int linha = 1;   // 1-based
    int coluna = 1;  // 1-based
    int tamanho = 0;
};

class DesenhistaRelatorio {
public:
    DesenhistaRelatorio(const ModeloRelatorio& modelo, const GeometriaRelatorio& geometria);

    // Draws page `indice` (0-based). `listrado` lays light bands under every
    // other pair of lines, like continuous paper; `marcas` are highlighted.
    // The painter is left as it was found. Throws std::runtime_error when
    // the machine has no font to draw with.
    void Desenha(QPainter& pintor, int indice, bool listrado = false,
                 const std::vector<MarcaRelatorio>& marcas = {});

    const GeometriaRelatorio& Geometria() const { return geo_; }

private:
    void preparaFonte();

    const ModeloRelatorio& modelo_;
    GeometriaRelatorio geo_;
    QRawFont fonte_;
    std::array<quint32, 256> glifos_{};  // glyph of each byte; 0 = draw nothing
    double linhaBase_ = 0;
};

// Writes every page of the model to a PDF file. The file appears under its
// name only when complete; throws std::runtime_error (Windows-1252 text)
// when it cannot be written.
void GravaRelatorioEmPdf(const ModeloRelatorio& modelo, const QString& arquivo);

// Draws pages [primeira, ultima] (0-based, inclusive) on a printer or PDF
// writer already set to A4 portrait with its origin at the sheet's corner.
// False when the device refused to start; throws as Desenha does.
bool DesenhaPaginas(QPagedPaintDevice& dispositivo, const ModeloRelatorio& modelo,
                    const GeometriaRelatorio& geometria, int primeira, int ultima);
