#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <regex>

#include "apoio_relatorio.h"
#include "core/ansi.h"
#include "report/toprint.h"
#include "support/geral_teste.h"
#include "ui/report/desenho_relatorio.h"
#include "ui/report/motor_relatorio_qt.h"

namespace {

std::string numero3(int n) {
    char b[8];
    std::snprintf(b, sizeof b, "%03d", n);
    return b;
}

// Writes a 130-column run log of two pages through the report service, as a
// run that names its PDF file does, and answers the file's name.
std::string gravaLogDuasPaginas(const std::string& regua) {
    EXPECT_TRUE(IMP_PREPARA("LOG DE CONCATENACAO", {}));
    oPRINT->COLUNAS = 130;
    oPRINT->KNOMEdoARQUIVOemPDF = "LOG_TESTE";
    oPRINT->TITCAB1 = "REGISTRO  DESCRICAO";
    oPRINT->IMPINICIALIZA(-1, "", false);
    oPRINT->INCLINHA(1);
    oPRINT->CHARSAY(1, regua);
    for (int i = 1; i <= 70; ++i) {
        oPRINT->INCLINHA(1);
        oPRINT->CHARSAY(1, "REGISTRO " + numero3(i));
        oPRINT->CHARSAY(100, "VALOR " + numero3(i * 7));
    }
    EJECT(krSEM_MENSAGEM);
    return "LOG_TESTE_20260315_090807.PDF";
}

// Without root's power to write anywhere, for the life of the object.
class SemPrivilegio {
public:
    SemPrivilegio() : root_(::geteuid() == 0) {
        if (root_ && ::seteuid(65534) != 0) ADD_FAILURE() << "seteuid";
    }
    ~SemPrivilegio() {
        if (root_ && ::seteuid(0) != 0) std::abort();
    }

private:
    bool root_;
};

// Files may not grow past `bytes` for the life of the object: a full disk.
class DiscoCheio {
public:
    explicit DiscoCheio(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &antes_);
        sinal_ = ::signal(SIGXFSZ, SIG_IGN);
        rlimit l = antes_;
        l.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &l);
    }
    ~DiscoCheio() {
        ::setrlimit(RLIMIT_FSIZE, &antes_);
        ::signal(SIGXFSZ, sinal_);
    }

private:
    rlimit antes_{};
    sighandler_t sinal_;
};

}  // namespace

// A 130-column report at both pitches the service asks for: 17 characters
// per inch fits A4 portrait as it is; 10 would need 13.2 inches and is
// narrowed to fit rather than cut.
TEST(PdfRelatorio, LogDe130ColunasEmDuasPaginasNaOrdemESemCorte) {
    if (!TEM_PROGRAMA("pdftotext") || !TEM_PROGRAMA("pdfinfo")) GTEST_SKIP() << "sem poppler-utils";
    const std::string regua = "INICIO" + std::string(116, '.') + "FINAL130";
    ASSERT_EQ(regua.size(), 130u);

    for (const bool condensado : {true, false}) {
        SCOPED_TRACE(condensado ? "17 cpi" : "10 cpi");
        GeralDeTeste g(DATA_CODIFICA(2026, 3, 15));
        g.hora = {9, 8, 7};
        g.geral().RAZAOSOC = "BANCO QUOR";
        g.geral().OPCAOIMP = condensado;
        DiretorioDeTrabalho dir;
        MotorDeTeste motor(std::make_unique<MotorRelatorioSemTela>());

        const std::string arquivo = gravaLogDuasPaginas(regua);
        EXPECT_EQ(ENTRADAS(), std::vector<std::string>{arquivo});
        EXPECT_TRUE(g.dialogo().mensagens.empty());
        EXPECT_EQ(PAGINAS_DO_PDF(arquivo), 2);

        const std::string texto = SAIDA_DE("pdftotext -layout " + arquivo + " -");
        const auto quebra = texto.find('\f');
        ASSERT_NE(quebra, std::string::npos);
        EXPECT_NE(texto.find(regua), std::string::npos);
        EXPECT_TRUE(std::regex_search(texto.substr(0, quebra), std::regex("Pagina : +1\n")));
        EXPECT_TRUE(std::regex_search(texto.substr(quebra), std::regex("Pagina : +2\n")));
        // Every record once, in order, the first 53 on page 1.
        std::vector<int> registros;
        const std::regex re(R"(REGISTRO (\d{3}) +VALOR (\d{3}))");
        for (std::sregex_iterator i(texto.begin(), texto.end(), re), fim; i != fim; ++i) {
            registros.push_back(std::stoi((*i)[1]));
            EXPECT_EQ(std::stoi((*i)[2]), registros.back() * 7);
            EXPECT_EQ(i->position() < static_cast<long>(quebra), registros.back() <= 53);
        }
        std::vector<int> esperados(70);
        for (int i = 0; i < 70; ++i) esperados[static_cast<std::size_t>(i)] = i + 1;
        EXPECT_EQ(registros, esperados);

        // The 130th column is on the sheet, and at 17 cpi the line spans
        // exactly 130 columns of 1/17 inch.
        double largura = 0;
        bool achou = false;
        for (const PalavraPdf& p : PALAVRAS_DO_PDF(arquivo, &largura)) {
            if (p.texto != regua) continue;
            achou = true;
            EXPECT_GT(p.xMin, 5.0);
            EXPECT_LT(p.xMax, largura - 5.0);
            if (condensado) {
                EXPECT_NEAR(p.xMax - p.xMin, 130 * 72.0 / 17, 1.0);
            }
        }
        EXPECT_TRUE(achou);
        EXPECT_NEAR(largura, 595.3, 1.0);  // A4 portrait
    }
}

TEST(PdfRelatorio, FalhaDeGravacaoNaoDeixaArquivoAlgum) {
    DiretorioTemporario dir;
    const ModeloRelatorio m = MODELO_TESTE(40);
    MotorRelatorioSemTela motor;
    motor.GravaPdf(m, dir / "CERTO.PDF");  // the same report can be written
    ASSERT_GT(LE_ARQUIVO(dir / "CERTO.PDF").size(), 8192u);
    ::unlink((dir / "CERTO.PDF").c_str());

    ::chmod(dir.Caminho().c_str(), 0555);
    try {
        SemPrivilegio p;
        motor.GravaPdf(m, dir / "SOLEITURA.PDF");
        ADD_FAILURE() << "gravou num diretório somente de leitura";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("SOLEITURA.PDF"), std::string::npos) << e.what();
    }
    ::chmod(dir.Caminho().c_str(), 0755);
    EXPECT_TRUE(ENTRADAS(dir.Caminho()).empty());

    // The disk fills up half-way through the file.
    try {
        DiscoCheio d(8192);
        motor.GravaPdf(m, dir / "CHEIO.PDF");
        ADD_FAILURE() << "gravou além do limite";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("CHEIO.PDF"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(ENTRADAS(dir.Caminho()).empty());
}

TEST(MotorRelatorioSemTela, FechaGravaPdfComTituloDataEHoraSemSobrescrever) {
    GeralDeTeste g(DATA_CODIFICA(2026, 3, 15));
    g.hora = {12, 34, 56};
    DiretorioDeTrabalho dir;
    MotorRelatorioSemTela motor;
    ModeloRelatorio m = MODELO_TESTE(2);
    m.titulo = "LISTAGEM DE CLIENTES/COFAP";
    m.visualizar = true;  // no screen to preview on: a file all the same

    EXPECT_TRUE(motor.Fecha(m));
    EXPECT_TRUE(motor.Fecha(m));  // same second
    const std::string primeiro = "LISTAGEM_DE_CLIENTES_COFAP_20260315_123456.PDF";
    const std::string segundo = "LISTAGEM_DE_CLIENTES_COFAP_20260315_123456_2.PDF";
    EXPECT_EQ(ENTRADAS(), (std::vector<std::string>{primeiro, segundo}));
    EXPECT_EQ(motor.UltimoArquivo(), segundo);
    ASSERT_EQ(g.dialogo().mensagens.size(), 2u);
    EXPECT_NE(g.dialogo().mensagens[1].texto.find(segundo), std::string::npos);
    EXPECT_NE(g.dialogo().mensagens[1].tipo, somERRO);
    if (TEM_PROGRAMA("pdfinfo")) {
        EXPECT_EQ(PAGINAS_DO_PDF(primeiro), 2);
    }

    // No printers: the setup fails, and says how many there are.
    EXPECT_EQ(motor.ImpressoraAtual(), "");
    MotorDeTeste instalado(std::make_unique<MotorRelatorioSemTela>());
    IMP_SETUPIMPRESSORA();
    ASSERT_EQ(g.dialogo().mensagens.size(), 3u);
    EXPECT_NE(g.dialogo().mensagens[2].texto.find("Instaladas: 0"), std::string::npos);
}

// Whatever the model asks, the text stays inside the margins: the pitch and
// line spacing are kept when they fit and narrowed just enough when not.
TEST(GeometriaRelatorio, TextoSempreDentroDaFolha) {
    struct Caso {
        int colunas, cpi, lpi, linhasPorPagina;
        int linhaMaisLonga, paginaMaisLonga;
        bool cabe;  // at the asked pitch and spacing
    };
    const Caso casos[] = {
        {80, 10, 6, 60, 80, 60, true},     {132, 17, 6, 60, 130, 60, true},
        {132, 17, 8, 60, 132, 60, true},   {132, 10, 6, 60, 130, 60, false},
        {80, 10, 6, 60, 100, 60, false},   {80, 10, 6, 60, 80, 99, false},
    };
    const QMarginsF margens = MARGENS_MINIMAS_PADRAO();
    for (const Caso& c : casos) {
        SCOPED_TRACE(testing::Message() << c.colunas << " colunas a " << c.cpi << " cpi, linha de "
                                        << c.linhaMaisLonga << ", " << c.paginaMaisLonga << " linhas");
        ModeloRelatorio m;
        m.colunas = c.colunas;
        m.caracteresPorPolegada = c.cpi;
        m.linhasPorPolegada = c.lpi;
        m.linhasPorPagina = c.linhasPorPagina;
        m.paginas.resize(2);
        m.paginas[1].Escreve(c.paginaMaisLonga, 1, std::string(static_cast<std::size_t>(c.linhaMaisLonga), 'X'));
        const GeometriaRelatorio g = GEOMETRIA_RELATORIO(m, margens);
        const QRectF folha(QPointF(0, 0), g.papel);
        const QRectF texto = g.Celula(1, 1, c.linhaMaisLonga).united(g.Celula(c.paginaMaisLonga, 1));
        EXPECT_TRUE(folha.marginsRemoved(margens).adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(texto));
        if (c.cabe) {
            EXPECT_DOUBLE_EQ(g.passo, 1200.0 / c.cpi);
            EXPECT_DOUBLE_EQ(g.entrelinha, 1200.0 / c.lpi);
        } else {
            EXPECT_LE(g.passo, 1200.0 / c.cpi);
            EXPECT_LE(g.entrelinha, 1200.0 / c.lpi);
            EXPECT_LT(g.passo * g.entrelinha, 1200.0 / c.cpi * 1200.0 / c.lpi);
        }
    }
}
