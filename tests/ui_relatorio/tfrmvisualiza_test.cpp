#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QSpinBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <regex>

#include "apoio_relatorio.h"
#include "core/ansi.h"
#include "core/texto_ansi.h"
#include "support/geral_teste.h"
#include "ui/report/motor_relatorio_qt.h"
#include "ui/report/tfrmvisualiza.h"

namespace {

// Three pages; "Alfa" twice on page 1 (line 3), once on page 3, never on 2.
ModeloRelatorio modeloBusca() {
    ModeloRelatorio m = MODELO_TESTE(3);
    m.titulo = "RELATÓRIO DE TESTE"_ansi;
    m.paginas[0].Escreve(3, 20, "ALFA e alfa");
    m.paginas[2].Escreve(50, 5, "Alfa");
    m.paginas[1].Escreve(10, 1, "Ação < & > \"ÿ€\"   "_ansi);
    return m;
}

std::string semBrancosAoFim(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// The page lines of a saved HTML report, back in Windows-1252.
std::vector<std::vector<std::string>> paginasDoHtml(const std::string& html) {
    std::vector<std::vector<std::string>> r;
    const std::regex pre("<pre>([^]*?)</pre>");
    for (std::sregex_iterator i(html.begin(), html.end(), pre), fim; i != fim; ++i) {
        std::string t = (*i)[1];
        for (auto [de, para] : {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}})
            for (std::size_t p; (p = t.find(de)) != std::string::npos;) t.replace(p, std::string(de).size(), para);
        std::vector<std::string> linhas;
        for (std::size_t a = 0, b; (b = t.find('\n', a)) != std::string::npos; a = b + 1)
            linhas.push_back(UTF8_PARA_ANSI(t.substr(a, b - a)));
        r.push_back(linhas);
    }
    return r;
}

}  // namespace

TEST(TFRMVISUALIZA, NavegaPelasPaginas) {
    const ModeloRelatorio m = modeloBusca();
    TFRMVISUALIZA janela(m);
    janela.show();
    EXPECT_EQ(janela.windowTitle(), QStringLiteral("RELATÓRIO DE TESTE"));
    EXPECT_EQ(janela.Pagina(), 1);
    EXPECT_FALSE(janela.Acao("anterior")->isEnabled());

    janela.Acao("proxima")->trigger();
    EXPECT_EQ(janela.Pagina(), 2);
    janela.Acao("ultima")->trigger();
    EXPECT_EQ(janela.Pagina(), 3);
    EXPECT_FALSE(janela.Acao("proxima")->isEnabled());
    janela.Acao("anterior")->trigger();
    EXPECT_EQ(janela.Pagina(), 2);
    janela.Acao("primeira")->trigger();
    EXPECT_EQ(janela.Pagina(), 1);

    // Page Down, and a page typed in the page field.
    janela.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&janela));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    EXPECT_EQ(janela.Pagina(), 2);
    auto* spn = janela.findChild<QSpinBox*>("SPNPAGINA");
    spn->setValue(3);
    EXPECT_EQ(janela.Pagina(), 3);
    janela.IrParaPagina(99);
    EXPECT_EQ(janela.Pagina(), 3);
    EXPECT_EQ(spn->value(), 3);
}

TEST(TFRMVISUALIZA, ZoomEAjusteALargura) {
    const ModeloRelatorio m = modeloBusca();
    TFRMVISUALIZA janela(m);
    janela.resize(700, 500);
    janela.show();
    const int inicial = janela.Zoom();
    janela.Acao("amplia")->trigger();
    EXPECT_EQ(janela.Zoom(), inicial + 10);
    janela.Acao("reduz")->trigger();
    janela.Acao("reduz")->trigger();
    EXPECT_EQ(janela.Zoom(), inicial - 10);

    janela.DefineZoom(300);
    auto* rolagem = janela.findChild<QScrollArea*>();
    QApplication::processEvents();
    EXPECT_TRUE(rolagem->horizontalScrollBar()->maximum() > 0);
    janela.Acao("largura")->trigger();
    QApplication::processEvents();
    EXPECT_LT(janela.Zoom(), 100);
    EXPECT_LE(rolagem->widget()->width(), rolagem->viewport()->width());
    EXPECT_GE(rolagem->widget()->width(), rolagem->viewport()->width() - 20);
}

TEST(TFRMVISUALIZA, LocalizaMarcaEPulaParaAProximaPaginaComOTexto) {
    const ModeloRelatorio m = modeloBusca();
    TFRMVISUALIZA janela(m);
    janela.show();

    // Typed and Enter: both matches of page 1, case ignored.
    auto* campo = janela.findChild<QLineEdit*>("EDTLOCALIZA");
    QTest::keyClicks(campo, "alfa");
    QTest::keyClick(campo, Qt::Key_Return);
    EXPECT_EQ(janela.Pagina(), 1);
    ASSERT_EQ(janela.Marcas().size(), 2u);
    EXPECT_EQ(janela.Marcas()[0].linha, 3);
    EXPECT_EQ(janela.Marcas()[0].coluna, 20);
    EXPECT_EQ(janela.Marcas()[1].coluna, 27);
    EXPECT_EQ(janela.Marcas()[1].tamanho, 4);

    // Again: page 2 has none, page 3 has one; then round to page 1.
    QTest::keyClick(campo, Qt::Key_Return);
    EXPECT_EQ(janela.Pagina(), 3);
    ASSERT_EQ(janela.Marcas().size(), 1u);
    EXPECT_EQ(janela.Marcas()[0].linha, 50);
    janela.Acao("localiza")->trigger();
    EXPECT_EQ(janela.Pagina(), 1);
    EXPECT_EQ(janela.Marcas().size(), 2u);

    // Accented text is found; a text nowhere leaves the page alone.
    EXPECT_TRUE(janela.Localiza(QStringLiteral("AÇÃO")));
    EXPECT_EQ(janela.Pagina(), 2);
    EXPECT_FALSE(janela.Localiza(QStringLiteral("OMEGA")));
    EXPECT_EQ(janela.Pagina(), 2);
    EXPECT_TRUE(janela.Marcas().empty());
    EXPECT_TRUE(janela.Situacao().contains(QStringLiteral("OMEGA")));
}

TEST(TFRMVISUALIZA, SalvaEmHtmlTextoEPdf) {
    const ModeloRelatorio m = modeloBusca();
    DiretorioTemporario dir;
    TFRMVISUALIZA janela(m);

    janela.Salva(QString::fromStdString(dir / "r.html"), TFRMVISUALIZA::Formato::Html);
    const auto html = paginasDoHtml(LE_ARQUIVO(dir / "r.html"));
    ASSERT_EQ(html.size(), m.paginas.size());
    for (std::size_t p = 0; p < html.size(); ++p) EXPECT_EQ(html[p], m.paginas[p].linhas);

    janela.Salva(QString::fromStdString(dir / "r.txt"), TFRMVISUALIZA::Formato::Texto);
    const std::string texto = LE_ARQUIVO(dir / "r.txt");
    std::string esperado;
    for (std::size_t p = 0; p < m.paginas.size(); ++p) {
        if (p > 0) esperado += '\f';
        for (const std::string& l : m.paginas[p].linhas) esperado += semBrancosAoFim(l) + "\r\n";
    }
    EXPECT_EQ(texto, esperado);

    janela.Salva(QString::fromStdString(dir / "r.pdf"), TFRMVISUALIZA::Formato::Pdf);
    if (TEM_PROGRAMA("pdfinfo")) {
        EXPECT_EQ(PAGINAS_DO_PDF(dir / "r.pdf"), 3);
    }

    EXPECT_THROW(janela.Salva(QString::fromStdString(dir / "nao/existe.txt"), TFRMVISUALIZA::Formato::Texto),
                 std::runtime_error);
}

// The save dialog as the operator uses it: the type chosen in the list
// decides the format and the extension of a name typed without one.
TEST(TFRMVISUALIZA, SalvarComoEscolheOFormatoPeloTipo) {
    const ModeloRelatorio m = modeloBusca();
    DiretorioTemporario dir;
    TFRMVISUALIZA janela(m);
    janela.show();
    QTimer::singleShot(0, [&] {
        auto* dialogo = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialogo, nullptr);
        EXPECT_EQ(dialogo->windowTitle(), QStringLiteral("Salvar relatório como"));
        auto* tipo = dialogo->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(tipo, nullptr);
        tipo->setFocus();
        QTest::keyClick(tipo, Qt::Key_Down);
        QTest::keyClick(tipo, Qt::Key_Down);
        EXPECT_EQ(dialogo->selectedNameFilter(), QStringLiteral("Texto (*.txt)"));
        dialogo->selectFile(QString::fromStdString(dir / "saida"));
        QMetaObject::invokeMethod(dialogo, "accept");
    });
    janela.Acao("salva")->trigger();
    EXPECT_EQ(ENTRADAS(dir.Caminho()), std::vector<std::string>{"saida.txt"});
    EXPECT_EQ(LE_ARQUIVO(dir / "saida.txt").substr(0, 16), "PAG 001 LIN 01\r\n");
}

// Closing a report with preview shows the window, modal, until it is
// closed; without a printer, closing it without preview fails.
TEST(MotorRelatorioQt, VisualizacaoEImpressoraAusente) {
    ModeloRelatorio m = modeloBusca();
    m.visualizar = true;
    MotorRelatorioQt motor;
    QString titulo;
    QTimer::singleShot(0, [&] {
        auto* janela = qobject_cast<TFRMVISUALIZA*>(QApplication::activeModalWidget());
        ASSERT_NE(janela, nullptr);
        titulo = janela->windowTitle();
        janela->Acao("fecha")->trigger();
    });
    EXPECT_TRUE(motor.Fecha(m));
    EXPECT_EQ(titulo, QStringLiteral("RELATÓRIO DE TESTE"));

    if (motor.ImpressorasInstaladas() > 0) GTEST_SKIP() << "esta máquina tem impressoras";
    m.visualizar = false;
    EXPECT_FALSE(motor.Fecha(m));
    EXPECT_EQ(motor.ImpressoraAtual(), "");
    EXPECT_THROW(motor.SetupImpressora(), std::runtime_error);
}
