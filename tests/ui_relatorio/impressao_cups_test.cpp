// Printing through a real print queue: a private cupsd with a cups-pdf
// queue as the system's only (and default) printer. The client listing and
// a run log go through the program's printing path (report service, Qt
// report engine, QPrinter, CUPS); the PDF the queue produces is read back.
// The choice window and the printer setup are opened with the queue there.
//
// cupsd and the cups-pdf backend must run as root: without root, or
// without the Debian packages cups and printer-driver-cups-pdf, the tests
// are skipped with the reason.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <thread>

#include "apoio_relatorio.h"
#include "core/dados/dia_exemplo.h"
#include "core/dados/instalacao.h"
#include "core/dados/tdmquor.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_texto.h"
#include "registers/cli_listagem.h"
#include "report/resumo_execucao.h"
#include "report/toprint.h"
#include "routing/tarqconcatena.h"
#include "support/geral_teste.h"
#include "tabela/tabela.h"
#include "ui/report/motor_relatorio_qt.h"
#include "ui/report/tfrmimptestaimp.h"
#include "ui/report/tfrmvisualiza.h"

namespace {

bool existe(const char* caminho) { return ::access(caminho, F_OK) == 0; }

void grava(const std::string& arquivo, const std::string& texto) {
    std::ofstream(arquivo) << texto;
}

// Why this machine cannot run the queue; empty when it can.
std::string semCups() {
    if (::geteuid() != 0) return "precisa de root: cupsd e o backend cups-pdf rodam como root";
    for (const char* p : {"/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/bin/lpstat",
                          "/usr/lib/cups/backend/cups-pdf", "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"})
        if (!existe(p)) return std::string("sem ") + p + " (pacotes cups e printer-driver-cups-pdf)";
    if (std::system("command -v pdftotext >/dev/null && command -v pdfinfo >/dev/null") != 0)
        return "sem poppler-utils";
    return {};
}

// A cupsd of its own (its own configuration, spool and socket) with one
// cups-pdf queue writing into `saida`. The queue's cups-pdf settings are
// the only thing outside the private directory: cups-pdf reads them from
// /etc/cups/cups-pdf-<name>.conf, the name being the device URI's path.
class CupsPrivado {
public:
    std::string motivo;  // why it did not start
    std::string fila;
    std::string saida;

    CupsPrivado() {
        char modelo[] = "/tmp/cups-conversor-XXXXXX";
        if (!::mkdtemp(modelo)) { motivo = "mkdtemp"; return; }
        dir_ = modelo;
        ::chmod(dir_.c_str(), 0755);  // the filters run as lp
        for (const char* d : {"spool", "cache", "log", "state", "run", "ppd", "saida"})
            ::mkdir((dir_ + "/" + d).c_str(), 0755);
        saida = dir_ + "/saida";
        ::chmod(saida.c_str(), 0777);
        fila = "conversor_teste_" + std::to_string(::getpid());
        socket_ = dir_ + "/run/cups.sock";
        grava(dir_ + "/cupsd.conf",
              "Listen " + socket_ + "\nLogLevel warn\nWebInterface No\nBrowsing No\n"
              "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
              "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n");
        grava(dir_ + "/cups-files.conf",
              "ServerRoot " + dir_ + "\nRequestRoot " + dir_ + "/spool\nCacheDir " + dir_ +
                  "/cache\nStateDir " + dir_ + "/state\nTempDir " + dir_ + "/spool\nErrorLog " +
                  dir_ + "/log/error_log\nAccessLog " + dir_ + "/log/access_log\nPageLog " + dir_ +
                  "/log/page_log\nPrintcap " + dir_ + "/printcap\nServerBin /usr/lib/cups\n"
                  "DataDir /usr/share/cups\nUser lp\nGroup lp\nSystemGroup root lpadmin\n");
        confPdf_ = "/etc/cups/cups-pdf-" + fila + ".conf";
        grava(confPdf_, "Out " + saida + "\nAnonDirName " + saida + "\nLog " + dir_ + "/log\n");

        cupsd_.setProcessChannelMode(QProcess::MergedChannels);
        cupsd_.start(QStringLiteral("/usr/sbin/cupsd"),
                     {QStringLiteral("-f"), QStringLiteral("-c"), QString::fromStdString(dir_ + "/cupsd.conf"),
                      QStringLiteral("-s"), QString::fromStdString(dir_ + "/cups-files.conf")});
        if (!cupsd_.waitForStarted(10000)) { motivo = "cupsd não partiu"; return; }
        ::setenv("CUPS_SERVER", socket_.c_str(), 1);
        if (!espera([this] { return SAIDA_DO_COMANDO("lpstat -r 2>&1").find("is running") != std::string::npos; })) {
            motivo = "cupsd não respondeu: " + std::string(cupsd_.readAll().constData()) + logDeErro();
            return;
        }
        const std::string adiciona = "lpadmin -p " + fila + " -E -v cups-pdf:/" + fila +
                                     " -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"
                                     // The queue turns the job into PostScript for
                                     // cups-pdf; through poppler's default renderer
                                     // the text of the PDF that comes back is
                                     // Type 3 glyphs pdftotext cannot read.
                                     " -o pdftops-renderer-default=pdftocairo 2>&1 && lpadmin -d " +
                                     fila + " 2>&1";
        if (std::system((adiciona + " >/dev/null").c_str()) != 0) {
            motivo = "lpadmin recusou a fila: " + SAIDA_DO_COMANDO(adiciona) + logDeErro();
            return;
        }
    }
    ~CupsPrivado() {
        if (cupsd_.state() != QProcess::NotRunning) {
            cupsd_.terminate();
            if (!cupsd_.waitForFinished(10000)) cupsd_.kill();
            cupsd_.waitForFinished(5000);
        }
        ::unsetenv("CUPS_SERVER");
        if (!confPdf_.empty()) ::unlink(confPdf_.c_str());
        if (!dir_.empty()) QDir(QString::fromStdString(dir_)).removeRecursively();
    }

    // Every job of the queue finished (or failed: its state is then in the
    // failure), within a bound that only a stuck queue reaches.
    ::testing::AssertionResult esperaTrabalhos(std::size_t pdfs) const {
        if (!espera([&] {
                return SAIDA_DO_COMANDO("lpstat -W not-completed -o " + fila + " 2>/dev/null").empty() &&
                       Pdfs().size() >= pdfs;
            }))
            return ::testing::AssertionFailure()
                   << "a fila não terminou: " << SAIDA_DO_COMANDO("lpstat -W all -l -o " + fila + " 2>&1")
                   << logDeErro() << " PDFs: " << Pdfs().size();
        return ::testing::AssertionSuccess();
    }

    std::vector<std::string> Pdfs() const {
        std::vector<std::string> r;
        for (const QString& f : QDir(QString::fromStdString(saida)).entryList({QStringLiteral("*.pdf")}, QDir::Files))
            r.push_back(saida + "/" + f.toStdString());
        return r;
    }

    std::string logDeErro() const { return SAIDA_DO_COMANDO("cat '" + dir_ + "/log/error_log' 2>/dev/null"); }

private:
    template <typename F>
    static bool espera(F pronto) {
        for (int i = 0; i < 1200; ++i) {  // two minutes at most
            if (pronto()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

    std::string dir_, socket_, confPdf_;
    QProcess cupsd_;
};

// The PDF with its pages separated, in the layout of the sheet.
std::vector<std::string> paginasDe(const std::string& pdf) {
    const std::string texto = SAIDA_DO_COMANDO("pdftotext -layout '" + pdf + "' -");
    std::vector<std::string> r;
    std::size_t i = 0;
    for (std::size_t f; (f = texto.find('\f', i)) != std::string::npos; i = f + 1) r.push_back(texto.substr(i, f - i));
    if (i < texto.size() && texto.find_first_not_of(" \n", i) != std::string::npos) r.push_back(texto.substr(i));
    return r;
}

int paginasDoPdf(const std::string& pdf) {
    std::smatch m;
    const std::string info = SAIDA_DO_COMANDO("pdfinfo '" + pdf + "'");
    return std::regex_search(info, m, std::regex(R"(Pages:\s+(\d+))")) ? std::stoi(m[1]) : -1;
}

// The PDF whose text holds `marca`; empty when none does.
std::string pdfCom(const std::vector<std::string>& pdfs, const std::string& marca) {
    for (const std::string& p : pdfs)
        if (SAIDA_DO_COMANDO("pdftotext -layout '" + p + "' -").find(marca) != std::string::npos) return p;
    return {};
}

// Each page carries its own number in the header, in order.
void conferePaginas(const std::string& pdf, int esperadas) {
    const std::vector<std::string> paginas = paginasDe(pdf);
    EXPECT_EQ(paginasDoPdf(pdf), esperadas);
    ASSERT_EQ(paginas.size(), static_cast<std::size_t>(esperadas));
    for (int p = 0; p < esperadas; ++p)
        EXPECT_TRUE(std::regex_search(paginas[p], std::regex("Pagina : +" + std::to_string(p + 1) + "\n")))
            << "página " << p + 1 << ":\n" << paginas[p];
}

// One private server for the tests of this suite. libcups keeps the server
// of the process's first printer query: when some other test of the same
// process asked before, the queue is not seen, and the test says so rather
// than print on the machine's own printers.
class ImpressaoCups : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        motivo_ = semCups();
        if (!motivo_.empty()) return;
        cups_ = new CupsPrivado;
        if (!cups_->motivo.empty()) motivo_ = "cupsd não pôde rodar aqui: " + cups_->motivo;
    }
    static void TearDownTestSuite() {
        delete cups_;
        cups_ = nullptr;
    }
    void SetUp() override {
        if (!motivo_.empty()) GTEST_SKIP() << motivo_;
        if (!QPrinterInfo::availablePrinterNames().contains(QString::fromStdString(cups_->fila)))
            GTEST_SKIP() << "este processo já consultou outro servidor CUPS; rode o teste sozinho "
                            "(--gtest_filter=ImpressaoCups.*), como o ctest faz";
    }
    static inline std::string motivo_;
    static inline CupsPrivado* cups_ = nullptr;
};

}  // namespace

// The listing of the sample clients, and the run log of the sample day's
// concatenation printed from its preview, each a job of the queue, come back
// as PDFs with their pages and lines.
TEST_F(ImpressaoCups, ListagemDeClientesERelatorioDeExecucaoNaFila) {
    GeralDeTeste g(CodificaData(2026, 12, 9));
    DiretorioDeTrabalho dir;
    MotorDeTeste motor(std::make_unique<MotorRelatorioQt>());
    ASSERT_EQ(MotorDeRelatorioAtual()->ImpressorasInstaladas(), 1);
    ASSERT_EQ(MotorDeRelatorioAtual()->ImpressoraAtual(), cups_->fila);

    InstalaDiretorioDeDados(dir.caminho(), /*exemplo*/ true, CodificaData(2026, 12, 9));
    std::vector<std::string> clientes;
    {
        Tabela& cli = DMQUOR().TBCONVECLI;
        cli.Open();
        for (cli.First(); !cli.Eof(); cli.Next())
            clientes.push_back(AparaPontas(cli.FieldByName("CODCLI").AsString()));
        cli.Close();
    }
    ASSERT_GE(clientes.size(), 2u);
    g.dialogo().respostasDestino.push_back(dstIMPRESSORA);
    ImprimeListagemDeClientes();
    ASSERT_EQ(g.dialogo().titulosRelatorio.size(), 1u);
    EXPECT_TRUE(g.dialogo().titulosFalha.empty());
    ASSERT_TRUE(cups_->esperaTrabalhos(1));

    // A run log: the concatenation of the sample day writes its log to a PDF
    // file; the operator prints it from the preview the summary opens.
    InstalaDiaDeExemplo(dir.caminho(), CodificaData(2026, 12, 9));
    AbreResumo("CONCATENAÇÃO"_ansi);
    CONCATENA_REMESSAS();
    std::optional<ResumoExecucao> resumo = FechaResumo();
    ASSERT_TRUE(resumo && resumo->paginas && !resumo->relatorio.empty());
    ModeloRelatorio paginas = *resumo->paginas;
    paginas.visualizar = true;
    ASSERT_GE(paginas.paginas.size(), 1u);
    {
        TFRMVISUALIZA previa(paginas, dynamic_cast<MotorRelatorioQt*>(MotorDeRelatorioAtual()));
        bool dialogoAceito = false;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(0, [&] {
                if (auto* d = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
                    dialogoAceito = true;
                    d->accept();
                }
            });
            QAction* imprime = previa.findChild<QAction*>(QStringLiteral("imprime"));
            if (imprime) imprime->trigger();
            previa.reject();
        });
        previa.exec();
        ASSERT_TRUE(dialogoAceito);
    }
    ASSERT_TRUE(cups_->esperaTrabalhos(2));

    const std::vector<std::string> pdfs = cups_->Pdfs();
    ASSERT_EQ(pdfs.size(), 2u);
    const std::string listagem = pdfCom(pdfs, "LISTAGEM DA TABELA DE CLIENTES");
    const std::string log = pdfCom(pdfs, "CONCATENAÇÃO");
    ASSERT_FALSE(listagem.empty()) << SAIDA_DO_COMANDO("pdftotext -layout '" + pdfs[0] + "' -");
    ASSERT_FALSE(log.empty());
    std::cout << "Primeiras linhas do PDF da fila (" << listagem << "):\n"
              << SAIDA_DO_COMANDO("pdftotext -layout '" + listagem + "' - | head -12") << std::endl;

    conferePaginas(listagem, 1);
    const std::string textoListagem = SAIDA_DO_COMANDO("pdftotext -layout '" + listagem + "' -");
    for (const std::string& c : clientes)
        EXPECT_TRUE(std::regex_search(textoListagem, std::regex("(^|\n) *" + c + " ")))
            << c << " fora da listagem:\n" << textoListagem;
    EXPECT_TRUE(std::regex_search(
        textoListagem, std::regex("Total de empresas cadastradas : +" + std::to_string(clientes.size()) + "\n")))
        << textoListagem;

    // The printed log is the log file, page by page and line by line.
    const int paginasDoArquivo = paginasDoPdf(resumo->relatorio);
    EXPECT_EQ(paginasDoArquivo, static_cast<int>(paginas.paginas.size()));
    conferePaginas(log, paginasDoArquivo);
    auto linhas = [](const std::string& pdf) {
        std::vector<std::string> r;
        std::istringstream texto(SAIDA_DO_COMANDO("pdftotext -layout '" + pdf + "' -"));
        for (std::string l; std::getline(texto, l);) {
            std::string semEspacos;
            std::istringstream palavras(l);
            for (std::string w; palavras >> w;) semEspacos += (semEspacos.empty() ? "" : " ") + w;
            if (!semEspacos.empty()) r.push_back(semEspacos);
        }
        return r;
    };
    const std::vector<std::string> doArquivo = linhas(resumo->relatorio);
    EXPECT_GT(doArquivo.size(), 8u);
    EXPECT_EQ(linhas(log), doArquivo);
}

// The choice window names the queue as the current printer and lists the
// system's printers (the queue alone), and its Setup
// opens the print dialog with the queue among the printers to choose.
TEST_F(ImpressaoCups, JanelaDeEscolhaESetupComAFilaDoSistema) {
    MotorDeTeste motor(std::make_unique<MotorRelatorioQt>());
    const QString fila = QString::fromStdString(cups_->fila);
    QString rotulo, lista;
    QStringList doSetup;
    bool setupAberto = false;
    QTimer::singleShot(0, [&] {
        QPointer<TFRMIMPTESTAIMP> j = qobject_cast<TFRMIMPTESTAIMP*>(QApplication::activeModalWidget());
        if (!j) return ADD_FAILURE() << "janela de escolha não aberta";
        rotulo = j->LBLIMPRESSORA->text();
        lista = j->LBLIMPRESSORAS->isVisibleTo(j) ? j->LBLIMPRESSORAS->text() : QString();
        QTimer::singleShot(0, [&, j] {
            auto* dialogo = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            if (dialogo) {
                setupAberto = true;
                for (QComboBox* c : dialogo->findChildren<QComboBox*>())
                    for (int k = 0; k < c->count(); ++k) doSetup << c->itemText(k);
                dialogo->reject();
            }
            QTimer::singleShot(0, [j] {
                if (j) j->BTNCANCELA->click();
            });
        });
        j->BTNSETUP->click();
    });
    EXPECT_EQ(EscolheDestinoDoRelatorio("LISTAGEM DE CLIENTES", {"linha"}), dstCANCELA);
    EXPECT_TRUE(rotulo.endsWith(QStringLiteral("Padrão : ") + fila)) << rotulo.toStdString();
    EXPECT_EQ(lista, QStringLiteral("Impressoras do sistema : ") + fila);
    EXPECT_TRUE(setupAberto);
    EXPECT_TRUE(doSetup.contains(fila)) << doSetup.join(QStringLiteral(", ")).toStdString();
}
