#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <regex>

#include "apoio_relatorio.h"
#include "report/toprint.h"
#include "support/geral_teste.h"
#include "ui/report/desenho_relatorio.h"
#include "ui/report/motor_relatorio_qt.h"

namespace {

// The PDF read back with poppler-utils.
bool temPoppler() { return std::system("command -v pdftotext >/dev/null && command -v pdfinfo >/dev/null") == 0; }

int paginasDoPdf(const std::string& arquivo) {
    std::smatch m;
    const std::string info = SAIDA_DO_COMANDO("pdfinfo '" + arquivo + "'");
    return std::regex_search(info, m, std::regex(R"(Pages:\s+(\d+))")) ? std::stoi(m[1]) : -1;
}

}  // namespace

// A 130-column run log written through the report service to its PDF, at
// both pitches the service asks for: 17 characters per inch fits A4 portrait
// as it is; 10 would need 13.2 inches and is narrowed rather than cut.
TEST(PdfRelatorio, LogDe130ColunasEmDuasPaginasNaOrdemESemCorte) {
    if (!temPoppler()) GTEST_SKIP() << "sem poppler-utils";
    const std::string regua = "INICIO" + std::string(116, '.') + "FINAL130";
    for (const bool condensado : {true, false}) {
        SCOPED_TRACE(condensado ? "17 cpi" : "10 cpi");
        GeralDeTeste g(CodificaData(2026, 3, 15));
        g.hora = {9, 8, 7};
        g.geral().OPCAOIMP = condensado;
        DiretorioDeTrabalho dir;
        MotorDeTeste motor(std::make_unique<MotorRelatorioSemTela>());

        ASSERT_TRUE(IMP_PREPARA("LOG DE CONCATENACAO", {}));
        oPRINT->COLUNAS = 130;
        oPRINT->KNOMEdoARQUIVOemPDF = "LOG";
        oPRINT->TITCAB1 = "REGISTRO  DESCRICAO";
        oPRINT->IMPINICIALIZA(-1, "", false);
        oPRINT->INCLINHA(1);
        oPRINT->CHARSAY(1, regua);
        for (int i = 1; i <= 70; ++i) {
            oPRINT->INCLINHA(1);
            oPRINT->CHARSAY(1, "REGISTRO " + std::to_string(100 + i));
            oPRINT->CHARSAY(100, "VALOR " + std::to_string(1000 + i));
        }
        EJECT(krSEM_MENSAGEM);

        const std::string arquivo = "LOG_20260315_090807.PDF";
        ASSERT_EQ(ENTRADAS(), std::vector<std::string>{arquivo});
        EXPECT_EQ(paginasDoPdf(arquivo), 2);
        const std::string texto = SAIDA_DO_COMANDO("pdftotext -layout " + arquivo + " -");
        const auto quebra = texto.find('\f');
        EXPECT_TRUE(std::regex_search(texto.substr(0, quebra), std::regex("Pagina : +1\n")));
        EXPECT_TRUE(std::regex_search(texto.substr(quebra), std::regex("Pagina : +2\n")));
        // Every record once, in order, whole, the first 53 on page 1.
        int esperado = 101;
        const std::regex re(R"(REGISTRO (\d+) +VALOR (\d+))");
        for (std::sregex_iterator i(texto.begin(), texto.end(), re), fim; i != fim; ++i, ++esperado) {
            EXPECT_EQ(std::stoi((*i)[1]), esperado);
            EXPECT_EQ(std::stoi((*i)[2]), esperado + 900);
            EXPECT_EQ(i->position() < static_cast<long>(quebra), esperado <= 153);
        }
        EXPECT_EQ(esperado, 171);

        // The 130th column is on the sheet; at 17 cpi the line spans exactly
        // 130 columns of 1/17 inch.
        const std::string caixas = SAIDA_DO_COMANDO("pdftotext -bbox " + arquivo + " -");
        std::smatch p;
        ASSERT_TRUE(std::regex_search(caixas, p, std::regex(R"re(<page width="([\d.]+)")re")));
        EXPECT_NEAR(std::stod(p[1]), 595.3, 1.0);  // A4 portrait
        ASSERT_TRUE(std::regex_search(caixas, p, std::regex(R"re(xMin="([\d.]+)" yMin="[\d.]+" xMax="([\d.]+)"[^>]*>)re" + regua)));
        EXPECT_GT(std::stod(p[1]), 5.0);
        EXPECT_LT(std::stod(p[2]), 590.0);
        if (condensado) {
            EXPECT_NEAR(std::stod(p[2]) - std::stod(p[1]), 130 * 72.0 / 17, 1.0);
        }
    }
}

// Nothing is left under the final name, nor beside it, when the directory
// is read-only or the disk fills up half-way through the file.
TEST(PdfRelatorio, FalhaDeGravacaoNaoDeixaArquivoAlgum) {
    DiretorioTemporario dir;
    const ModeloRelatorio m = MODELO_TESTE(40);
    MotorRelatorioSemTela motor;
    motor.GravaPdf(m, dir / "CERTO.PDF");
    ASSERT_GT(LE_ARQUIVO(dir / "CERTO.PDF").size(), 8192u);
    ::unlink((dir / "CERTO.PDF").c_str());

    ::chmod(dir.Caminho().c_str(), 0555);
    const bool root = ::geteuid() == 0;  // root writes anywhere: be nobody
    ASSERT_TRUE(!root || ::seteuid(65534) == 0);
    try {
        motor.GravaPdf(m, dir / "SOLEITURA.PDF");
        ADD_FAILURE() << "gravou num diretório somente de leitura";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("SOLEITURA.PDF"), std::string::npos) << e.what();
    }
    if (root && ::seteuid(0) != 0) std::abort();
    ::chmod(dir.Caminho().c_str(), 0755);
    EXPECT_TRUE(ENTRADAS(dir.Caminho()).empty());

    rlimit antes{};
    ::getrlimit(RLIMIT_FSIZE, &antes);
    rlimit cheio = antes;
    cheio.rlim_cur = 8192;
    const auto sinal = ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &cheio);
    EXPECT_THROW(motor.GravaPdf(m, dir / "CHEIO.PDF"), std::runtime_error);
    ::setrlimit(RLIMIT_FSIZE, &antes);
    ::signal(SIGXFSZ, sinal);
    EXPECT_TRUE(ENTRADAS(dir.Caminho()).empty());
}

TEST(MotorRelatorioSemTela, FechaGravaPdfComTituloDataEHoraSemSobrescrever) {
    GeralDeTeste g(CodificaData(2026, 3, 15));
    g.hora = {12, 34, 56};
    DiretorioDeTrabalho dir;
    MotorRelatorioSemTela motor;
    ModeloRelatorio m = MODELO_TESTE(2);
    m.titulo = "LISTAGEM DE CLIENTES/COFAP";
    m.visualizar = true;  // no screen to preview on: a file all the same

    EXPECT_TRUE(motor.Fecha(m));
    EXPECT_TRUE(motor.Fecha(m));  // within the same second
    const std::string primeiro = "LISTAGEM_DE_CLIENTES_COFAP_20260315_123456.PDF";
    const std::string segundo = "LISTAGEM_DE_CLIENTES_COFAP_20260315_123456_2.PDF";
    EXPECT_EQ(ENTRADAS(), (std::vector<std::string>{primeiro, segundo}));
    ASSERT_EQ(g.dialogo().mensagens.size(), 2u);
    EXPECT_NE(g.dialogo().mensagens[1].texto.find(segundo), std::string::npos);
    EXPECT_NE(g.dialogo().mensagens[1].tipo, somERRO);
}

// Whatever the model asks, the text stays inside the margins: pitch and line
// spacing are kept when they fit, narrowed just enough when not.
TEST(GeometriaRelatorio, TextoSempreDentroDaFolha) {
    struct Caso {
        int colunas, cpi, maisLonga, linhas;
        bool cabe;
    } const casos[] = {{80, 10, 80, 60, true},   {132, 17, 130, 60, true}, {132, 10, 130, 60, false},
                       {80, 10, 100, 60, false}, {80, 10, 80, 99, false}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(testing::Message() << c.colunas << "/" << c.cpi << "/" << c.maisLonga << "/" << c.linhas);
        ModeloRelatorio m;
        m.colunas = c.colunas;
        m.caracteresPorPolegada = c.cpi;
        m.paginas.resize(2);
        m.paginas[1].Escreve(c.linhas, 1, std::string(static_cast<std::size_t>(c.maisLonga), 'X'));
        const GeometriaRelatorio g = CalculaGeometria(m, MargensMinimasPadrao());
        const QRectF texto = g.Celula(1, 1, c.maisLonga).united(g.Celula(c.linhas, 1));
        const QRectF util = QRectF(QPointF(0, 0), g.papel).marginsRemoved(MargensMinimasPadrao());
        EXPECT_TRUE(util.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(texto));
        EXPECT_EQ(g.passo == 1200.0 / c.cpi && g.entrelinha == 200.0, c.cabe);
    }
}
