#include "ui/report/motor_relatorio_qt.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <algorithm>
#include <stdexcept>

#include "core/geral.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_datas.h"
#include "ui/core/qt_texto.h"
#include "ui/report/desenho_relatorio.h"
#include "ui/report/tfrmvisualiza.h"

namespace {

// Fonts, and so PDF files, need a Qt GUI application. A run without a screen
// starts none, so the first PDF starts one on the offscreen platform; it
// stays until the process ends, since Qt cannot start a second one.
void garanteAplicacaoGrafica() {
    QCoreApplication* existente = QCoreApplication::instance();
    if (qobject_cast<QGuiApplication*>(existente)) return;
    if (existente)
        throw std::runtime_error("o gerador de PDF precisa de uma aplicação gráfica do Qt"_ansi);
    static int argc = 3;
    static char nome[] = "conversor", opcao[] = "-platform", plataforma[] = "offscreen";
    static char* argv[] = {nome, opcao, plataforma, nullptr};
    // Qt wants a private runtime directory and complains on the terminal of
    // every unattended run when the session gives none: make its default.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray dir = "/tmp/runtime-" + QByteArray::number(static_cast<qulonglong>(::getuid()));
        if (::mkdir(dir.constData(), 0700) == 0 || errno == EEXIST) qputenv("XDG_RUNTIME_DIR", dir);
    }
    new QGuiApplication(argc, argv);
}

}  // namespace

bool ImprimeRelatorio(QPrinter& impressora, const ModeloRelatorio& modelo, int primeira,
                      int ultima) {
    if (!impressora.isValid()) return false;
    impressora.setFullPage(true);
    impressora.setPageSize(QPageSize(QPageSize::A4));
    impressora.setPageOrientation(QPageLayout::Portrait);
    impressora.setDocName(QtDeAnsi(modelo.titulo));
    // The sheet is laid out as for the PDF, but never closer to the edge
    // than this printer can print.
    QPageLayout layout = impressora.pageLayout();
    layout.setUnits(QPageLayout::Point);
    const QMarginsF minimas = layout.minimumMargins();
    QMarginsF margens = MargensMinimasPadrao();
    margens = QMarginsF(std::max(margens.left(), PontosDePt(minimas.left())),
                        std::max(margens.top(), PontosDePt(minimas.top())),
                        std::max(margens.right(), PontosDePt(minimas.right())),
                        std::max(margens.bottom(), PontosDePt(minimas.bottom())));
    const GeometriaRelatorio g = CalculaGeometria(modelo, margens);
    return DesenhaPaginas(impressora, modelo, g, primeira, ultima);
}

MotorRelatorioQt::MotorRelatorioQt() = default;
MotorRelatorioQt::~MotorRelatorioQt() = default;

QPrinter* MotorRelatorioQt::Impressora() {
    if (impressora_ && !QPrinterInfo::printerInfo(impressora_->printerName()).isNull())
        return impressora_.get();
    impressora_.reset();
    const QPrinterInfo padrao = QPrinterInfo::defaultPrinter();
    if (padrao.isNull()) return nullptr;
    impressora_ = std::make_unique<QPrinter>(padrao, QPrinter::HighResolution);
    return impressora_.get();
}

bool MotorRelatorioQt::Fecha(const ModeloRelatorio& modelo) {
    if (modelo.visualizar) {
        TFRMVISUALIZA janela(modelo, this, QApplication::activeWindow());
        janela.exec();
        return true;
    }
    QPrinter* impressora = Impressora();
    if (!impressora) return false;
    return ImprimeRelatorio(*impressora, modelo, 0, static_cast<int>(modelo.paginas.size()) - 1);
}

void MotorRelatorioQt::GravaPdf(const ModeloRelatorio& modelo, const std::string& arquivo) {
    garanteAplicacaoGrafica();
    GravaRelatorioEmPdf(modelo, QtDeAnsi(arquivo));
}

std::string MotorRelatorioQt::ImpressoraAtual() {
    if (impressora_ && !QPrinterInfo::printerInfo(impressora_->printerName()).isNull())
        return QtParaAnsi(impressora_->printerName());
    return QtParaAnsi(QPrinterInfo::defaultPrinterName());
}

void MotorRelatorioQt::SetupImpressora() {
    const QList<QPrinterInfo> impressoras = QPrinterInfo::availablePrinters();
    if (impressoras.isEmpty()) throw std::runtime_error("nenhuma impressora instalada");
    if (!Impressora())
        impressora_ = std::make_unique<QPrinter>(impressoras.front(), QPrinter::HighResolution);
    // Choosing the printer (and its paper and copies) is all the setup does:
    // nothing is printed here, so the accept button says so.
    QPrintDialog dialogo(impressora_.get(), QApplication::activeWindow());
    dialogo.setWindowTitle(QStringLiteral("Setup da Impressora"));
    dialogo.setOptions(QAbstractPrintDialog::PrintShowPageSize |
                       QAbstractPrintDialog::PrintCollateCopies);
    if (auto* botoes = dialogo.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = botoes->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("OK"));
    dialogo.exec();
}

int MotorRelatorioQt::ImpressorasInstaladas() {
    return static_cast<int>(QPrinterInfo::availablePrinterNames().size());
}

// Usable: installed and not reporting an error.
int MotorRelatorioQt::ImpressorasDisponiveis() {
    const QList<QPrinterInfo> impressoras = QPrinterInfo::availablePrinters();
    return static_cast<int>(std::count_if(impressoras.begin(), impressoras.end(),
                                          [](const QPrinterInfo& i) { return i.state() != QPrinter::Error; }));
}

std::vector<std::string> MotorRelatorioQt::NomesDasImpressoras() {
    std::vector<std::string> r;
    for (const QString& n : QPrinterInfo::availablePrinterNames()) r.push_back(QtParaAnsi(n));
    return r;
}

std::string NomeDoArquivoSemTela(const std::string& titulo) {
    std::string r = titulo;
    for (char& c : r)
        if (c == ' ' || c == '/') c = '_';
    return r.empty() ? std::string("RELATORIO") : r;
}

bool MotorRelatorioSemTela::Fecha(const ModeloRelatorio& modelo) {
    const std::string base = NomeDoArquivoSemTela(modelo.titulo) + "_" +
                             OBR_DATATOTEXTO("DATA_AAAAMMDD", GERAL().DATADIA) + "_" + OBR_HORA();
    // Two reports of one title closed within the same second must not
    // overwrite each other.
    std::string nome = base + ".PDF";
    for (int n = 2; QFileInfo::exists(QtDeAnsi(nome)); ++n) nome = base + "_" + std::to_string(n) + ".PDF";
    GravaPdf(modelo, nome);
    ultimoArquivo_ = nome;
    GERAL().Dialogo().Mensagem("Relatório gravado no arquivo "_ansi + nome, somSUCESSO,
                               "Relatório"_ansi);
    return true;
}

void MotorRelatorioSemTela::GravaPdf(const ModeloRelatorio& modelo, const std::string& arquivo) {
    garanteAplicacaoGrafica();
    GravaRelatorioEmPdf(modelo, QtDeAnsi(arquivo));
}

void MotorRelatorioSemTela::SetupImpressora() {
    throw std::runtime_error("sem tela não há setup de impressora"_ansi);
}
