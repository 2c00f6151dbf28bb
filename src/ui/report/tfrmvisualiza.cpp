#include "ui/report/tfrmvisualiza.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QFile>
#include <cstring>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <stdexcept>

#include "core/arquivos/arquivo_inteiro.h"
#include "core/arquivos/erro_arquivo.h"
#include "ui/core/qt_texto.h"
#include "ui/report/motor_relatorio_qt.h"

namespace {

constexpr int kZOOM_MINIMO = 10;
constexpr int kZOOM_MAXIMO = 500;
constexpr int kBORDA = 12;  // grey around the sheet, in screen pixels

}  // namespace

// The sheet of the page shown, at the window's zoom: white paper, the bands
// of continuous paper, the search marks and the text, all drawn by the same
// routine as the printer and the PDF.
class PaginaVisualizada : public QWidget {
public:
    PaginaVisualizada(const ModeloRelatorio& modelo, const GeometriaRelatorio& g, QWidget* pai)
        : QWidget(pai), desenhista_(modelo, g) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void Mostra(int indice, int zoom, const std::vector<MarcaRelatorio>* marcas) {
        indice_ = indice;
        marcas_ = marcas;
        escala_ = zoom / 100.0 * logicalDpiX() / kPONTOS_POR_POLEGADA;
        const QSizeF papel = desenhista_.Geometria().papel * escala_;
        setFixedSize(static_cast<int>(papel.width()) + 2 * kBORDA,
                     static_cast<int>(papel.height()) + 2 * kBORDA);
        update();
    }
    // Where a stretch of the page is, in this widget's pixels.
    QRect Retangulo(const QRectF& pontos) const {
        return QRectF(kBORDA + pontos.x() * escala_, kBORDA + pontos.y() * escala_,
                      pontos.width() * escala_, pontos.height() * escala_)
            .toAlignedRect();
    }
    double LarguraPapelA100() const {
        return desenhista_.Geometria().papel.width() * logicalDpiX() / kPONTOS_POR_POLEGADA;
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Dark));
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.translate(kBORDA, kBORDA);
        p.scale(escala_, escala_);
        p.fillRect(QRectF(QPointF(0, 0), desenhista_.Geometria().papel), Qt::white);
        static const std::vector<MarcaRelatorio> nenhuma;
        try {
            desenhista_.Desenha(p, indice_, true, marcas_ ? *marcas_ : nenhuma);
        } catch (const std::exception& e) {
            p.resetTransform();
            p.drawText(rect(), Qt::AlignCenter, QtDeAnsi(e.what()));
        }
    }

private:
    DesenhistaRelatorio desenhista_;
    int indice_ = 0;
    double escala_ = 1;
    const std::vector<MarcaRelatorio>* marcas_ = nullptr;
};

TFRMVISUALIZA::TFRMVISUALIZA(const ModeloRelatorio& modelo, MotorRelatorioQt* motor, QWidget* pai)
    : QDialog(pai),
      modelo_(modelo),
      motor_(motor),
      geometria_(CalculaGeometria(modelo, MargensMinimasPadrao())) {
    setObjectName(QStringLiteral("FRMVISUALIZA"));
    setWindowTitle(QtDeAnsi(modelo.titulo));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    setModal(true);

    QToolBar* barra = montaBarra();
    auto* focaLocaliza = new QAction(this);
    focaLocaliza->setShortcut(QKeySequence::Find);
    connect(focaLocaliza, &QAction::triggered, this, [this] {
        edtLocaliza_->setFocus();
        edtLocaliza_->selectAll();
    });
    addAction(focaLocaliza);
    montaFolha(barra);

    connect(spnPagina_, &QSpinBox::valueChanged, this, [this](int p) { IrParaPagina(p); });
    connect(spnZoom_, &QSpinBox::valueChanged, this, [this](int z) { DefineZoom(z); });
    connect(edtLocaliza_, &QLineEdit::returnPressed, this, &TFRMVISUALIZA::localizaProxima);

    // Wide screens get a larger starting zoom.
    const QScreen* tela = screen() ? screen() : QGuiApplication::primaryScreen();
    int zoom = modelo.zoomPercentual;
    if (tela && tela->geometry().width() > 800) zoom += 20;
    if (tela) resize(tela->availableGeometry().size() * 9 / 10);
    zoom_ = std::clamp(zoom, kZOOM_MINIMO, kZOOM_MAXIMO);
    atualiza();
    rolagem_->setFocus();
}

QAction* TFRMVISUALIZA::comIcone(QAction* a, QStyle::StandardPixmap icone) const {
    a->setIcon(style()->standardIcon(icone));
    return a;
}

QToolBar* TFRMVISUALIZA::montaBarra() {
    auto* barra = new QToolBar(this);
    barra->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const std::vector<QAction*> setas = poeNavegacao(barra);
    barra->addSeparator();
    poeZoom(barra);
    barra->addSeparator();
    poeLocaliza(barra);
    barra->addSeparator();
    poeSaidas(barra);
    // The page arrows show only their icons (the hint names them), so that
    // the search field keeps its room on a narrow screen.
    for (QAction* a : setas)
        if (auto* b = qobject_cast<QToolButton*>(barra->widgetForAction(a))) b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    return barra;
}

std::vector<QAction*> TFRMVISUALIZA::poeNavegacao(QToolBar* barra) {
    std::vector<QAction*> setas;
    auto seta = [&](QAction* a, QStyle::StandardPixmap icone) {
        setas.push_back(comIcone(a, icone));
        return a;
    };
    barra->addAction(seta(acao("primeira", QStringLiteral("Primeira"), QStringLiteral("Primeira página"),
                               QKeySequence(Qt::CTRL | Qt::Key_Home), &TFRMVISUALIZA::primeira),
                          QStyle::SP_MediaSkipBackward));
    barra->addAction(seta(acao("anterior", QStringLiteral("Anterior"), QStringLiteral("Página anterior"),
                               QKeySequence(Qt::Key_PageUp), &TFRMVISUALIZA::anterior),
                          QStyle::SP_ArrowLeft));
    spnPagina_ = new QSpinBox(barra);
    spnPagina_->setObjectName(QStringLiteral("SPNPAGINA"));
    spnPagina_->setToolTip(QStringLiteral("Ir para a página"));
    spnPagina_->setRange(std::min(1, Paginas()), std::max(1, Paginas()));
    spnPagina_->setKeyboardTracking(false);
    barra->addWidget(new QLabel(QStringLiteral(" Página "), barra));
    barra->addWidget(spnPagina_);
    lblTotal_ = new QLabel(QStringLiteral(" de %1 ").arg(Paginas()), barra);
    barra->addWidget(lblTotal_);
    barra->addAction(seta(acao("proxima", QStringLiteral("Próxima"), QStringLiteral("Próxima página"),
                               QKeySequence(Qt::Key_PageDown), &TFRMVISUALIZA::proxima),
                          QStyle::SP_ArrowRight));
    barra->addAction(seta(acao("ultima", QStringLiteral("Última"), QStringLiteral("Última página"),
                               QKeySequence(Qt::CTRL | Qt::Key_End), &TFRMVISUALIZA::ultima),
                          QStyle::SP_MediaSkipForward));
    return setas;
}

void TFRMVISUALIZA::poeZoom(QToolBar* barra) {
    barra->addAction(acao("reduz", QStringLiteral("−"), QStringLiteral("Reduzir"),
                          QKeySequence(Qt::CTRL | Qt::Key_Minus), &TFRMVISUALIZA::reduz));
    spnZoom_ = new QSpinBox(barra);
    spnZoom_->setObjectName(QStringLiteral("SPNZOOM"));
    spnZoom_->setToolTip(QStringLiteral("Zoom"));
    spnZoom_->setRange(kZOOM_MINIMO, kZOOM_MAXIMO);
    spnZoom_->setSingleStep(10);
    spnZoom_->setSuffix(QStringLiteral(" %"));
    spnZoom_->setKeyboardTracking(false);
    barra->addWidget(spnZoom_);
    barra->addAction(acao("amplia", QStringLiteral("+"), QStringLiteral("Ampliar"),
                          QKeySequence(Qt::CTRL | Qt::Key_Plus), &TFRMVISUALIZA::amplia));
    barra->addAction(acao("largura", QStringLiteral("Largura"),
                          QStringLiteral("Ajusta o zoom à largura da página"), QKeySequence(),
                          &TFRMVISUALIZA::AjustaLargura));
}

void TFRMVISUALIZA::poeLocaliza(QToolBar* barra) {
    edtLocaliza_ = new QLineEdit(barra);
    edtLocaliza_->setObjectName(QStringLiteral("EDTLOCALIZA"));
    edtLocaliza_->setPlaceholderText(QStringLiteral("Localizar texto"));
    edtLocaliza_->setClearButtonEnabled(true);
    edtLocaliza_->setMinimumWidth(160);
    edtLocaliza_->setMaximumWidth(240);
    barra->addWidget(edtLocaliza_);
    barra->addAction(comIcone(acao("localiza", QStringLiteral("Localizar"),
                                   QStringLiteral("Localiza o texto na próxima página que o contém"),
                                   QKeySequence(Qt::Key_F3), &TFRMVISUALIZA::localizaProxima),
                              QStyle::SP_FileDialogContentsView));
}

void TFRMVISUALIZA::poeSaidas(QToolBar* barra) {
    barra->addAction(comIcone(acao("salva", QStringLiteral("Salvar"),
                                   QStringLiteral("Salva o relatório em PDF, HTML ou texto"),
                                   QKeySequence::Save, &TFRMVISUALIZA::salvaComo),
                              QStyle::SP_DialogSaveButton));
    barra->addAction(acao("imprime", QStringLiteral("Imprimir"), QStringLiteral("Imprime o relatório"),
                          QKeySequence::Print, &TFRMVISUALIZA::imprime));
    barra->addAction(comIcone(acao("fecha", QStringLiteral("Fechar"), QStringLiteral("Fecha a visualização"),
                                   QKeySequence(), &TFRMVISUALIZA::reject),
                              QStyle::SP_DialogCloseButton));
}

void TFRMVISUALIZA::montaFolha(QToolBar* barra) {
    folha_ = new PaginaVisualizada(modelo_, geometria_, this);
    rolagem_ = new QScrollArea(this);
    rolagem_->setBackgroundRole(QPalette::Dark);
    rolagem_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    rolagem_->setWidget(folha_);
    lblSituacao_ = new QLabel(this);
    lblSituacao_->setObjectName(QStringLiteral("LBLSITUACAO"));
    lblSituacao_->setIndent(6);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->setSpacing(2);
    layout->addWidget(barra);
    layout->addWidget(rolagem_, 1);
    layout->addWidget(lblSituacao_);
}

TFRMVISUALIZA::~TFRMVISUALIZA() = default;

QAction* TFRMVISUALIZA::acao(const QString& nome, const QString& texto, const QString& dica,
                             const QKeySequence& atalho, void (TFRMVISUALIZA::*efeito)()) {
    auto* a = new QAction(texto, this);
    a->setObjectName(nome);
    a->setToolTip(dica);
    if (!atalho.isEmpty()) a->setShortcut(atalho);
    connect(a, &QAction::triggered, this, efeito);
    addAction(a);
    acoes_[nome] = a;
    return a;
}

QAction* TFRMVISUALIZA::Acao(const QString& nome) const {
    const auto i = acoes_.find(nome);
    return i == acoes_.end() ? nullptr : i->second;
}

QString TFRMVISUALIZA::Situacao() const { return lblSituacao_->text(); }

void TFRMVISUALIZA::IrParaPagina(int pagina) {
    const int p = std::clamp(pagina, 1, std::max(1, Paginas())) - 1;
    if (p == atual_) return;
    atual_ = p;
    marcaPagina();
    atualiza();
    rolagem_->verticalScrollBar()->setValue(0);
}

void TFRMVISUALIZA::DefineZoom(int percentual) {
    const int z = std::clamp(percentual, kZOOM_MINIMO, kZOOM_MAXIMO);
    if (z == zoom_) return;
    zoom_ = z;
    atualiza();
}

void TFRMVISUALIZA::AjustaLargura() {
    const int disponivel = rolagem_->viewport()->width() - 2 * kBORDA;
    DefineZoom(static_cast<int>(disponivel * 100.0 / folha_->LarguraPapelA100()));
}

void TFRMVISUALIZA::atualiza() {
    const int n = Paginas();
    for (const char* nome : {"primeira", "anterior"}) acoes_[nome]->setEnabled(atual_ > 0);
    for (const char* nome : {"proxima", "ultima"}) acoes_[nome]->setEnabled(atual_ + 1 < n);
    acoes_["reduz"]->setEnabled(zoom_ > kZOOM_MINIMO);
    acoes_["amplia"]->setEnabled(zoom_ < kZOOM_MAXIMO);
    {
        const QSignalBlocker b1(spnPagina_), b2(spnZoom_);
        spnPagina_->setValue(n > 0 ? atual_ + 1 : 0);
        spnZoom_->setValue(zoom_);
    }
    folha_->Mostra(atual_, zoom_, &marcas_);
}

bool TFRMVISUALIZA::paginaTem(int indice, const QString& texto) const {
    for (const std::string& l : modelo_.paginas[static_cast<std::size_t>(indice)].linhas)
        if (QtDeAnsi(l).contains(texto, Qt::CaseInsensitive)) return true;
    return false;
}

void TFRMVISUALIZA::marcaPagina() {
    marcas_.clear();
    if (termo_.isEmpty() || Paginas() == 0) return;
    const auto& linhas = modelo_.paginas[static_cast<std::size_t>(atual_)].linhas;
    for (std::size_t i = 0; i < linhas.size(); ++i) {
        const QString l = QtDeAnsi(linhas[i]);
        for (qsizetype c = l.indexOf(termo_, 0, Qt::CaseInsensitive); c >= 0;
             c = l.indexOf(termo_, c + termo_.size(), Qt::CaseInsensitive))
            marcas_.push_back({static_cast<int>(i) + 1, static_cast<int>(c) + 1,
                               static_cast<int>(termo_.size())});
    }
}

bool TFRMVISUALIZA::Localiza(const QString& texto) {
    const bool continua = !termo_.isEmpty() && texto.compare(termo_, Qt::CaseInsensitive) == 0;
    termo_ = texto;
    const int n = Paginas();
    if (texto.isEmpty() || n == 0) {
        marcaPagina();
        atualiza();
        lblSituacao_->clear();
        return false;
    }
    const int inicio = continua ? atual_ + 1 : atual_;
    for (int k = 0; k < n; ++k) {
        const int p = (inicio + k) % n;
        if (!paginaTem(p, texto)) continue;
        const bool voltou = p < atual_ || (continua && p == atual_);
        if (p != atual_) {
            atual_ = p;
            rolagem_->verticalScrollBar()->setValue(0);
        }
        marcaPagina();
        atualiza();
        if (!marcas_.empty())
            rolagem_->ensureVisible(folha_->Retangulo(geometria_.Celula(marcas_.front().linha, 1)).center().x(),
                                    folha_->Retangulo(geometria_.Celula(marcas_.front().linha, 1)).center().y(),
                                    20, 60);
        lblSituacao_->setText(QStringLiteral("\"%1\": %2 ocorrência(s) na página %3%4")
                                  .arg(texto)
                                  .arg(marcas_.size())
                                  .arg(p + 1)
                                  .arg(voltou ? QStringLiteral(" (pesquisa recomeçou do início)") : QString()));
        return true;
    }
    marcaPagina();
    atualiza();
    lblSituacao_->setText(QStringLiteral("\"%1\" não foi encontrado no relatório.").arg(texto));
    return false;
}

void TFRMVISUALIZA::localizaProxima() {
    if (edtLocaliza_->text().isEmpty()) {
        edtLocaliza_->setFocus();
        return;
    }
    Localiza(edtLocaliza_->text());
}

void TFRMVISUALIZA::Salva(const QString& arquivo, Formato formato) {
    if (formato == Formato::Pdf) {
        GravaRelatorioEmPdf(modelo_, arquivo);
        return;
    }
    // HTML is UTF-8 throughout; plain text keeps the system's own code page
    // and line ends, like every other file it writes.
    const std::string conteudo =
        formato == Formato::Html ? RelatorioEmHtml(modelo_) : RelatorioEmTexto(modelo_);
    try {
        GravaArquivoCompleto(QFile::encodeName(arquivo).toStdString(), conteudo);
    } catch (const ErroArquivo& e) {
        throw std::runtime_error(QtParaAnsi(QStringLiteral("Não foi possível gravar o arquivo %1: %2")
                                                  .arg(arquivo, QString::fromLocal8Bit(
                                                                    std::strerror(e.ErroSistema())))));
    }
}

void TFRMVISUALIZA::salvaComo() {
    struct Tipo {
        QString filtro;
        QString sufixo;
        Formato formato;
    };
    const std::vector<Tipo> tipos = {
        {QStringLiteral("Documento PDF (*.pdf)"), QStringLiteral("pdf"), Formato::Pdf},
        {QStringLiteral("Página HTML (*.html *.htm)"), QStringLiteral("html"), Formato::Html},
        {QStringLiteral("Texto (*.txt)"), QStringLiteral("txt"), Formato::Texto},
    };
    QFileDialog dialogo(this, QStringLiteral("Salvar relatório como"));
    dialogo.setOption(QFileDialog::DontUseNativeDialog);
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setFileMode(QFileDialog::AnyFile);
    dialogo.setLabelText(QFileDialog::LookIn, QStringLiteral("Pasta:"));
    dialogo.setLabelText(QFileDialog::FileName, QStringLiteral("Nome do arquivo:"));
    dialogo.setLabelText(QFileDialog::FileType, QStringLiteral("Tipo:"));
    dialogo.setLabelText(QFileDialog::Accept, QStringLiteral("&Salvar"));
    dialogo.setLabelText(QFileDialog::Reject, QStringLiteral("&Cancelar"));
    QStringList filtros;
    for (const Tipo& t : tipos) filtros << t.filtro;
    dialogo.setNameFilters(filtros);
    dialogo.setDefaultSuffix(tipos.front().sufixo);
    connect(&dialogo, &QFileDialog::filterSelected, &dialogo, [&](const QString& filtro) {
        for (const Tipo& t : tipos)
            if (t.filtro == filtro) dialogo.setDefaultSuffix(t.sufixo);
    });
    QString nome = windowTitle();
    nome.replace(QLatin1Char(' '), QLatin1Char('_')).replace(QLatin1Char('/'), QLatin1Char('_'));
    dialogo.selectFile(nome.isEmpty() ? QStringLiteral("relatorio") : nome);
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return;

    // A name typed with a known extension is written in that format, whatever
    // the type chosen; otherwise the type decides.
    const QString arquivo = dialogo.selectedFiles().front();
    const QString sufixo = QFileInfo(arquivo).suffix().toLower();
    Formato formato = Formato::Pdf;
    for (const Tipo& t : tipos)
        if (t.filtro == dialogo.selectedNameFilter()) formato = t.formato;
    if (sufixo == QLatin1String("pdf")) formato = Formato::Pdf;
    else if (sufixo == QLatin1String("html") || sufixo == QLatin1String("htm")) formato = Formato::Html;
    else if (sufixo == QLatin1String("txt")) formato = Formato::Texto;
    try {
        Salva(arquivo, formato);
        lblSituacao_->setText(QStringLiteral("Relatório salvo em %1").arg(arquivo));
    } catch (const std::exception& e) {
        lblSituacao_->setText(QtDeAnsi(e.what()));
        QMessageBox::warning(this, QStringLiteral("Salvar relatório"), QtDeAnsi(e.what()));
    }
}

void TFRMVISUALIZA::imprime() {
    std::unique_ptr<QPrinter> propria;
    QPrinter* impressora = motor_ ? motor_->Impressora() : nullptr;
    if (!impressora && !QPrinterInfo::defaultPrinter().isNull()) {
        propria = std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
        impressora = propria.get();
    }
    if (!impressora) {
        QMessageBox::warning(this, QStringLiteral("Imprimir"),
                             QStringLiteral("Nenhuma impressora está instalada ou selecionada."));
        return;
    }
    QPrintDialog dialogo(impressora, this);
    dialogo.setWindowTitle(QStringLiteral("Imprimir"));
    dialogo.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCurrentPage |
                       QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize);
    dialogo.setMinMax(1, std::max(1, Paginas()));
    if (dialogo.exec() != QDialog::Accepted) return;
    int de = 0, ate = Paginas() - 1;
    if (impressora->printRange() == QPrinter::PageRange && impressora->fromPage() > 0) {
        de = impressora->fromPage() - 1;
        ate = std::min(ate, impressora->toPage() - 1);
    } else if (impressora->printRange() == QPrinter::CurrentPage) {
        de = ate = atual_;
    }
    // The range is for this printing only; reports closed later print whole.
    impressora->setPrintRange(QPrinter::AllPages);
    impressora->setFromTo(0, 0);
    if (ImprimeRelatorio(*impressora, modelo_, de, ate))
        lblSituacao_->setText(QStringLiteral("Relatório enviado para %1").arg(impressora->printerName()));
    else
        QMessageBox::warning(this, QStringLiteral("Imprimir"),
                             QStringLiteral("A impressora %1 não está disponível para uso.")
                                 .arg(impressora->printerName()));
}
