#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QScrollArea>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <regex>

#include "apoio_relatorio.h"
#include "core/texto/ansi.h"
#include "core/texto/texto_ansi.h"
#include "support/geral_teste.h"
#include "ui/report/motor_relatorio_qt.h"
#include "ui/report/tfrmvisualiza.h"

namespace {

// Three pages; "alfa" twice on page 1 (line 3), once on page 3, never on 2.
ModeloRelatorio modeloBusca() {
    ModeloRelatorio m = MODELO_TESTE(3);
    m.titulo = "RELATÓRIO DE TESTE"_ansi;
    m.paginas[0].Escreve(3, 20, "ALFA e alfa");
    m.paginas[2].Escreve(50, 5, "Alfa");
    m.paginas[1].Escreve(10, 1, "Ação < & > \"ÿ€\"   "_ansi);
    return m;
}

}  // namespace

TEST(TFRMVISUALIZA, NavegaPelasPaginasEAjustaALargura) {
    const ModeloRelatorio m = modeloBusca();
    TFRMVISUALIZA janela(m);
    janela.resize(700, 500);
    janela.show();
    EXPECT_EQ(janela.windowTitle(), QStringLiteral("RELATÓRIO DE TESTE"));
    for (const auto& [acao, pagina] : {std::pair{"proxima", 2}, {"ultima", 3}, {"proxima", 3},
                                        {"anterior", 2}, {"primeira", 1}, {"anterior", 1}}) {
        janela.Acao(acao)->trigger();
        EXPECT_EQ(janela.Pagina(), pagina) << acao;
    }
    janela.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&janela));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    EXPECT_EQ(janela.Pagina(), 2);
    janela.findChild<QSpinBox*>("SPNPAGINA")->setValue(3);
    EXPECT_EQ(janela.Pagina(), 3);

    janela.DefineZoom(300);
    janela.Acao("largura")->trigger();
    QApplication::processEvents();
    auto* rolagem = janela.findChild<QScrollArea*>();
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

    // Again: page 2 has none, page 3 has one; then round to page 1.
    QTest::keyClick(campo, Qt::Key_Return);
    EXPECT_EQ(janela.Pagina(), 3);
    ASSERT_EQ(janela.Marcas().size(), 1u);
    EXPECT_EQ(janela.Marcas()[0].linha, 50);
    janela.Acao("localiza")->trigger();
    EXPECT_EQ(janela.Pagina(), 1);

    // Accented text is found; a text nowhere leaves the page alone.
    EXPECT_TRUE(janela.Localiza(QStringLiteral("AÇÃO")));
    EXPECT_EQ(janela.Pagina(), 2);
    EXPECT_FALSE(janela.Localiza(QStringLiteral("OMEGA")));
    EXPECT_EQ(janela.Pagina(), 2);
    EXPECT_TRUE(janela.Marcas().empty());
}

TEST(TFRMVISUALIZA, SalvaEmHtmlETextoQueDevolvemAsPaginas) {
    const ModeloRelatorio m = modeloBusca();
    DiretorioTemporario dir;
    TFRMVISUALIZA janela(m);

    janela.Salva(QString::fromStdString(dir / "r.html"), TFRMVISUALIZA::Formato::Html);
    const std::string html = LE_ARQUIVO(dir / "r.html");
    std::vector<std::vector<std::string>> paginas;
    const std::regex pre("<pre>([^]*?)</pre>");
    for (std::sregex_iterator i(html.begin(), html.end(), pre), fim; i != fim; ++i) {
        std::string t = Utf8ParaAnsi((*i)[1]);
        for (auto [de, para] : {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}})
            t = std::regex_replace(t, std::regex(de), para);
        paginas.emplace_back();
        for (std::size_t a = 0, b; (b = t.find('\n', a)) != std::string::npos; a = b + 1)
            paginas.back().push_back(t.substr(a, b - a));
    }
    ASSERT_EQ(paginas.size(), m.paginas.size());
    for (std::size_t p = 0; p < paginas.size(); ++p) EXPECT_EQ(paginas[p], m.paginas[p].linhas);

    janela.Salva(QString::fromStdString(dir / "r.txt"), TFRMVISUALIZA::Formato::Texto);
    std::string esperado;
    for (std::size_t p = 0; p < m.paginas.size(); ++p) {
        if (p > 0) esperado += '\f';
        for (const std::string& l : m.paginas[p].linhas) esperado += l.substr(0, l.find_last_not_of(' ') + 1) + "\r\n";
    }
    EXPECT_EQ(LE_ARQUIVO(dir / "r.txt"), esperado);
}

// The save dialog as the operator uses it: the type chosen in the list
// decides the format, and the extension of a name typed without one.
TEST(TFRMVISUALIZA, SalvarComoEscolheOFormatoPeloTipo) {
    const ModeloRelatorio m = modeloBusca();
    DiretorioTemporario dir;
    TFRMVISUALIZA janela(m);
    janela.show();
    QTimer::singleShot(0, [&] {
        auto* dialogo = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialogo, nullptr);
        auto* tipo = dialogo->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(tipo, nullptr);
        tipo->setFocus();
        QTest::keyClick(tipo, Qt::Key_Down);
        QTest::keyClick(tipo, Qt::Key_Down);
        dialogo->selectFile(QString::fromStdString(dir / "saida"));
        QMetaObject::invokeMethod(dialogo, "accept");
    });
    janela.Acao("salva")->trigger();
    EXPECT_EQ(ENTRADAS(dir.Caminho()), std::vector<std::string>{"saida.txt"});
    EXPECT_EQ(LE_ARQUIVO(dir / "saida.txt").substr(0, 16), "PAG 001 LIN 01\r\n");
}

// Closing a report with preview shows the window, modal, until it is closed.
TEST(MotorRelatorioQt, FechaComVisualizacaoMostraAJanela) {
    ModeloRelatorio m = modeloBusca();
    m.visualizar = true;
    MotorRelatorioQt motor;
    bool mostrada = false;
    QTimer::singleShot(0, [&] {
        auto* janela = qobject_cast<TFRMVISUALIZA*>(QApplication::activeModalWidget());
        ASSERT_NE(janela, nullptr);
        mostrada = true;
        janela->Acao("fecha")->trigger();
    });
    EXPECT_TRUE(motor.Fecha(m));
    EXPECT_TRUE(mostrada);
}
