#include "ui/report/desenho_relatorio.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QFile>
#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "core/arquivos/arquivo_duravel.h"
#include "ui/core/qt_texto.h"

namespace {

// Bands under every other pair of lines, and the search highlight.
const QColor kCOR_LISTRA(226, 240, 226);
const QColor kCOR_MARCA(255, 226, 64);

}  // namespace

QRectF GeometriaRelatorio::Celula(int linha, int coluna, int n) const {
    return QRectF(esquerda + (coluna - 1) * passo, topo + (linha - 1) * entrelinha, n * passo,
                  entrelinha);
}

QMarginsF MargensMinimasPadrao() {
    const double m = PontosDeMm(kMARGEM_MINIMA_MM);
    return QMarginsF(m, m, m, m);
}

GeometriaRelatorio CalculaGeometria(const ModeloRelatorio& modelo, QMarginsF margens) {
    GeometriaRelatorio g;
    g.papel = QSizeF(PontosDeMm(210.0), PontosDeMm(297.0));

    // Texts are never cut at the right margin by the report service, so a
    // line may run past the model's columns; the page is laid out for the
    // longest one as well.
    std::size_t maisLonga = 0, maisLinhas = 0;
    for (const PaginaRelatorio& p : modelo.paginas) {
        maisLinhas = std::max(maisLinhas, p.linhas.size());
        for (const std::string& l : p.linhas) {
            const std::size_t fim = l.find_last_not_of(' ');
            if (fim != std::string::npos) maisLonga = std::max(maisLonga, fim + 1);
        }
    }
    const int colunasModelo = std::max(1, modelo.colunas);
    const int linhasModelo = std::max(1, modelo.linhasPorPagina);
    g.colunas = std::max(colunasModelo, static_cast<int>(maisLonga));
    g.linhas = std::max(linhasModelo, static_cast<int>(maisLinhas));

    const double cpi = modelo.caracteresPorPolegada > 0 ? modelo.caracteresPorPolegada : 10;
    const double lpi = modelo.linhasPorPolegada > 0 ? modelo.linhasPorPolegada : 6;
    const double largura = g.papel.width() - margens.left() - margens.right();
    const double altura = g.papel.height() - margens.top() - margens.bottom();
    g.passo = std::min(kPONTOS_POR_POLEGADA / cpi, largura / g.colunas);
    g.entrelinha = std::min(kPONTOS_POR_POLEGADA / lpi, altura / g.linhas);

    // The model's block is centred on the sheet; a longer line or page
    // pushes it back towards the top-left, never past the margins.
    g.esquerda = (g.papel.width() - colunasModelo * g.passo) / 2;
    g.esquerda = std::min(g.esquerda, g.papel.width() - margens.right() - g.colunas * g.passo);
    g.esquerda = std::max(g.esquerda, margens.left());
    g.topo = (g.papel.height() - linhasModelo * g.entrelinha) / 2;
    g.topo = std::min(g.topo, g.papel.height() - margens.bottom() - g.linhas * g.entrelinha);
    g.topo = std::max(g.topo, margens.top());
    return g;
}

DesenhistaRelatorio::DesenhistaRelatorio(const ModeloRelatorio& modelo,
                                         const GeometriaRelatorio& geometria)
    : modelo_(modelo), geo_(geometria) {}

// Every character is placed by hand at its column: no text shaping, no
// advance of the font's own to trust, the same positions on every device.
// The font is sized in the painter's units (dots) so that its letters are
// as wide as a column, but never taller than a line.
void DesenhistaRelatorio::preparaFonte() {
    if (fonte_.isValid()) return;
    QFont f;
    f.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono"),
                   QStringLiteral("Noto Sans Mono"), QStringLiteral("Nimbus Mono PS"),
                   QStringLiteral("Courier New"), QStringLiteral("monospace")});
    f.setStyleHint(QFont::TypeWriter, QFont::PreferOutline);
    f.setFixedPitch(true);
    fonte_ = QRawFont::fromFont(f);
    if (!fonte_.isValid()) fonte_ = QRawFont::fromFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Blank pages would pass for a report: refuse instead.
    if (!fonte_.isValid())
        throw std::runtime_error(QtParaAnsi(QStringLiteral("nenhuma fonte de largura fixa instalada (fonts-dejavu-core)")));

    constexpr double kREFERENCIA = 1000.0;
    fonte_.setPixelSize(kREFERENCIA);
    const QList<quint32> m = fonte_.glyphIndexesForString(QStringLiteral("M"));
    const QList<QPointF> avanco = fonte_.advancesForGlyphIndexes(m);
    const double proporcao = avanco.isEmpty() ? 0.6 : std::max(avanco.front().x() / kREFERENCIA, 0.1);
    fonte_.setPixelSize(std::min(geo_.passo / proporcao, geo_.entrelinha));
    linhaBase_ = (geo_.entrelinha + fonte_.ascent() - fonte_.descent()) / 2;

    // Blanks and control characters (tabs, stray carriage returns, the codes
    // Windows-1252 leaves undefined) put no ink on the page; a character the
    // font lacks shows as "?".
    const quint32 interrogacao = fonte_.glyphIndexesForString(QStringLiteral("?")).value(0);
    for (int b = 0x21; b < 0x100; ++b) {
        const QChar c = QtDeAnsi(std::string(1, static_cast<char>(b))).front();
        if (c.unicode() == 0x7F || (c.unicode() >= 0x80 && c.unicode() < 0xA0) || c.unicode() == 0xA0) continue;
        const quint32 g = fonte_.glyphIndexesForString(QString(c)).value(0);
        glifos_[static_cast<std::size_t>(b)] = g != 0 ? g : interrogacao;
    }
}

void DesenhistaRelatorio::Desenha(QPainter& pintor, int indice, bool listrado,
                                  const std::vector<MarcaRelatorio>& marcas) {
    if (indice < 0 || indice >= static_cast<int>(modelo_.paginas.size())) return;
    preparaFonte();
    pintor.save();

    if (listrado) {
        const double x = PontosDeMm(kMARGEM_MINIMA_MM);
        const double w = geo_.papel.width() - 2 * x;
        for (int l = 1; l <= geo_.linhas; l += 4) {
            const int n = std::min(2, geo_.linhas - l + 1);
            pintor.fillRect(QRectF(x, geo_.topo + (l - 1) * geo_.entrelinha, w, n * geo_.entrelinha),
                            kCOR_LISTRA);
        }
    }
    for (const MarcaRelatorio& m : marcas) pintor.fillRect(geo_.Celula(m.linha, m.coluna, m.tamanho), kCOR_MARCA);

    pintor.setPen(Qt::black);
    QList<quint32> glifos;
    QList<QPointF> posicoes;
    QGlyphRun corrida;
    corrida.setRawFont(fonte_);
    const std::vector<std::string>& linhas = modelo_.paginas[static_cast<std::size_t>(indice)].linhas;
    for (std::size_t i = 0; i < linhas.size(); ++i) {
        const std::string& l = linhas[i];
        const double y = static_cast<double>(i) * geo_.entrelinha + linhaBase_;
        glifos.clear();
        posicoes.clear();
        for (std::size_t c = 0; c < l.size(); ++c) {
            const quint32 g = glifos_[static_cast<unsigned char>(l[c])];
            if (g == 0) continue;
            glifos.append(g);
            posicoes.append(QPointF(static_cast<double>(c) * geo_.passo, y));
        }
        if (glifos.isEmpty()) continue;
        corrida.setGlyphIndexes(glifos);
        corrida.setPositions(posicoes);
        pintor.drawGlyphRun(QPointF(geo_.esquerda, geo_.topo), corrida);
    }
    pintor.restore();
}

bool DesenhaPaginas(QPagedPaintDevice& dispositivo, const ModeloRelatorio& modelo,
                    const GeometriaRelatorio& geometria, int primeira, int ultima) {
    QPainter pintor;
    if (!pintor.begin(&dispositivo)) return false;
    const double sx = dispositivo.logicalDpiX() / kPONTOS_POR_POLEGADA;
    const double sy = dispositivo.logicalDpiY() / kPONTOS_POR_POLEGADA;
    pintor.scale(sx, sy);
    DesenhistaRelatorio desenhista(modelo, geometria);
    for (int i = primeira; i <= ultima; ++i) {
        if (i > primeira && !dispositivo.newPage()) {
            pintor.end();
            return false;
        }
        desenhista.Desenha(pintor, i);
    }
    return pintor.end();
}

namespace {

[[noreturn]] void falhaPdf(const QString& arquivo, const QString& motivo) {
    throw std::runtime_error(QtParaAnsi(QStringLiteral("Não foi possível gravar o arquivo PDF %1: %2")
                                              .arg(arquivo, motivo)));
}

}  // namespace

void GravaRelatorioEmPdf(const ModeloRelatorio& modelo, const QString& arquivo) {
    // Through the system's durable writer: a failure never leaves a
    // truncated PDF under the real name, and a PDF that has its name is on
    // disk.
    ArquivoDuravel duravel(QFile::encodeName(arquivo).toStdString());
    QFile arq;
    if (duravel.Erro() ||
        !arq.open(duravel.Fd(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
        falhaPdf(arquivo, duravel.Erro() ? QString::fromLocal8Bit(std::strerror(duravel.Erro()))
                                         : arq.errorString());
    bool desenhado = false;
    {
        QPdfWriter pdf(&arq);
        pdf.setResolution(static_cast<int>(kPONTOS_POR_POLEGADA));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0)));
        pdf.setTitle(QtDeAnsi(modelo.titulo));
        pdf.setCreator(QStringLiteral("Conversor de Arquivo"));
        const GeometriaRelatorio g = CalculaGeometria(modelo, MargensMinimasPadrao());
        desenhado = DesenhaPaginas(pdf, modelo, g, 0, static_cast<int>(modelo.paginas.size()) - 1);
    }
    if (!desenhado) falhaPdf(arquivo, QStringLiteral("o gerador de PDF não pôde ser iniciado"));
    const bool escrito = arq.flush() && arq.error() == QFileDevice::NoError;
    arq.close();
    if (!escrito) falhaPdf(arquivo, arq.errorString());
    if (const int erro = duravel.Nomeia(true))
        falhaPdf(arquivo, QString::fromLocal8Bit(std::strerror(erro)));
}
