// Odd and hostile files given to the real program: line ends of every kind,
// a last line without end, NUL bytes, lines of one and of 100,000
// characters, bytes Windows-1252 leaves undefined, a directory where a file
// is expected, and a disk that fills up (a file size limit). Each run ends
// with a message where something could not be done, never a crash, and
// changes nothing it should not: a file that was not taken stays, a file
// that was taken reaches the bank whole, and no file under its final name is
// cut short.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "conversion/remessa_apoio.h"
#include "support/diretorio_temporario.h"

namespace {

namespace fs = std::filesystem;

struct Execucao {
    int status = -1;
    std::string erros;
};

class ArquivosHostis : public ::testing::Test {
protected:
    DiretorioTemporario raiz;
    std::string dados = raiz / "dados";

    void SetUp() override {
        DADOS_DE_EXEMPLO(dados, CodificaData(2026, 12, 9));
        fs::create_directories(dados + "/COPIA");
    }

    // `antes` runs in the shell first (limits).
    Execucao executa(const std::string& pedido, const std::string& antes = "") {
        const std::string erros = raiz / "erros.txt";
        const std::string comando = "cd '" + dados + "' && " + antes +
                                    " CONVERSOR_SEM_JANELA=1 CONVERSOR_DATA=20261209 '" CONVERSOR_BIN
                                    "/conversor' " + pedido + " </dev/null 2>'" + erros + "'";
        const int r = std::system(("bash -c \"" + comando + "\"").c_str());
        Execucao e;
        e.status = WIFEXITED(r) ? WEXITSTATUS(r) : -1;
        e.erros = LE_ARQUIVO(erros);
        return e;
    }

    // Every file of the data directory whose name starts with `prefixo`
    // holds whole records of `largura` columns with CR LF.
    void inteiros(const std::string& prefixo, std::size_t largura) {
        for (const auto& e : fs::directory_iterator(dados)) {
            const std::string nome = e.path().filename();
            if (nome.rfind(prefixo, 0) != 0) continue;
            const std::string t = LE_ARQUIVO(e.path());
            ASSERT_EQ(t.size() % (largura + 2), 0u) << nome;
            for (std::size_t p = largura; p < t.size(); p += largura + 2)
                EXPECT_EQ(t.substr(p, 2), "\r\n") << nome << " registro " << p / (largura + 2);
        }
    }
};

}  // namespace

// Cobrança 400 client files, each odd in its own way: all are concatenated,
// each record cut or filled to 400 columns, and none is lost or doubled.
TEST_F(ArquivosHostis, ConcatenacaoLeTodoTipoDeLinha) {
    const std::string h = "01REMESSA01COBRANCA BETA";
    const std::vector<std::pair<std::string, std::string>> casos = {
        {"BETA400.001", h + "\n1 SO LF\n9\n"},
        {"BETA400.002", h + "\r1 SO CR\r9\r"},
        {"BETA400.003", h + "\r\n1 SEM FIM\r\n9"},
        {"BETA400.004", h + "\r\n1 NUL\0AQUI\r\n9\r\n"},
        {"BETA400.005", h + "\r\n1\r\n9\r\n"},
        {"BETA400.006", h + "\r\n1" + std::string(100000, 'X') + "\r\n9\r\n"},
        {"BETA400.007", h + "\r\n1 \x81\x8d\x8f\x90\x9d \xc3\xa7\r\n9\r\n"},
    };
    for (const auto& [nome, texto] : casos) GRAVA_ARQUIVO_TESTE(dados + "/" + nome, texto);
    GRAVA_ARQUIVO_TESTE(dados + "/BETA400.004", h + std::string("\r\n1 NUL\0AQUI\r\n9\r\n", 15));
    const Execucao e = executa("REMESSA");
    EXPECT_NE(e.status, -1);
    EXPECT_EQ(e.erros.find("CORE"), std::string::npos) << e.erros;
    inteiros("CB400912.", 400);
    const std::string banco = LE_ARQUIVO(dados + "/CB400912.01");
    EXPECT_EQ(banco.size(), 7u * 3 * 402) << e.erros;
    for (const auto& [nome, texto] : casos) {
        EXPECT_FALSE(fs::exists(dados + "/" + nome)) << nome;
        EXPECT_TRUE(fs::exists(dados + "/COPIA/" + nome)) << nome;
    }
    EXPECT_NE(banco.find("1 SO CR"), std::string::npos);
    EXPECT_NE(banco.find("1 SEM FIM"), std::string::npos);
    EXPECT_NE(banco.find(std::string("1 NUL\0AQUI", 10)), std::string::npos);
}

// The holding directory is a file: nothing can be taken, so every client
// file stays and no bank file appears; the person is told.
TEST_F(ArquivosHostis, GuardaQueNaoEDiretorio) {
    fs::remove(dados + "/COPIA");
    GRAVA_ARQUIVO_TESTE(dados + "/COPIA", "um arquivo\r\n");
    GRAVA_ARQUIVO_TESTE(dados + "/BETA400.001", "01REMESSA01COBRANCA BETA\r\n1 T\r\n9\r\n");
    const Execucao e = executa("REMESSA");
    EXPECT_EQ(e.status, 1);
    EXPECT_NE(e.erros.find("BETA400.001"), std::string::npos) << e.erros;
    EXPECT_TRUE(fs::exists(dados + "/BETA400.001"));
    EXPECT_FALSE(fs::exists(dados + "/CB400912.01"));
    EXPECT_EQ(LE_ARQUIVO(dados + "/COPIA"), "um arquivo\r\n");
}

// The client file of a Vendor conversion is a directory: a message, and the
// register's generations do not move.
TEST_F(ArquivosHostis, ArquivoDoClienteQueEDiretorio) {
    fs::create_directories(dados + "/COFAPREM.TXT");
    const std::string antes = CAMPO_CLIENTE(dados, "COFAP", "ULTREMBAN");
    const Execucao e = executa("CONVERTE_REMESSA COFAP");
    EXPECT_EQ(e.status, 1) << e.erros;
    EXPECT_NE(e.erros.find("ATEN"), std::string::npos) << e.erros;
    EXPECT_EQ(CAMPO_CLIENTE(dados, "COFAP", "ULTREMBAN"), antes);
    EXPECT_TRUE(fs::is_directory(dados + "/COFAPREM.TXT"));
}

// A disk that fills up while the bank file is written (a file size limit
// makes the write fail): the run says so, the client files come back to be
// read again, and no bank file is left under its final name.
TEST_F(ArquivosHostis, DiscoCheioNaConcatenacao) {
    std::string texto = "01REMESSA01COBRANCA BETA\r\n";
    for (int i = 0; i < 800; ++i) texto += "1 TITULO " + std::to_string(i) + "\r\n";
    texto += "9\r\n";
    GRAVA_ARQUIVO_TESTE(dados + "/BETA400.001", texto);
    GRAVA_ARQUIVO_TESTE(dados + "/BETA400.002", texto);
    const Execucao e = executa("REMESSA", "trap '' XFSZ; ulimit -f 200;");
    EXPECT_EQ(e.status, 1) << e.erros;
    EXPECT_NE(e.erros.find("CB400912"), std::string::npos) << e.erros;
    EXPECT_FALSE(fs::exists(dados + "/CB400912.01"));
    EXPECT_EQ(LE_ARQUIVO(dados + "/BETA400.001"), texto);
    EXPECT_EQ(LE_ARQUIVO(dados + "/BETA400.002"), texto);
    for (const auto& f : fs::directory_iterator(dados))
        EXPECT_EQ(f.path().filename().string().find(".parcial"), std::string::npos) << f.path();

    // With room again, the same files go through (under the next number:
    // the failed run had reserved its own).
    executa("REMESSA");
    std::uintmax_t escritos = 0;
    for (const auto& f : fs::directory_iterator(dados))
        if (f.path().filename().string().rfind("CB400912.", 0) == 0) escritos += f.file_size();
    EXPECT_EQ(escritos, 2u * 802 * 402);
}

// The same for a Vendor conversion: the previous bank file stays as it was
// and the generation is not spent.
TEST_F(ArquivosHostis, DiscoCheioNaConversaoVendor) {
    ALTERA_CLIENTE(dados, "COFAP", {{"TIPEQUCLI", "D"}, {"ULTREMBAN", "41"}, {"ULTREMCLI", "6"}});
    std::vector<std::string> linhas;
    for (int i = 0; i < 800; ++i) {
        char planilha[16];
        std::snprintf(planilha, sizeof planilha, "%08d", i);
        linhas.push_back(LinhaFixa()
                             .em(3, planilha).em(13, "11222333000181").em(27, "COMPRADOR")
                             .em(62, "RUA A 1").em(97, "SAO PAULO").em(127, "SP").em(129, "01310")
                             .em(134, "-").em(135, "100").em(148, "20261201").em(156, "20270115")
                             .em(176, "01,500").em(182, "1.234,56").em(279, "1,5")
                             .str());
    }
    GRAVA_ARQUIVO_TESTE(dados + "/COFAPREM.TXT", ARQUIVO_CRLF(linhas));
    GRAVA_ARQUIVO_TESTE(dados + "/VCOFAP.TXT", "ANTERIOR\r\n");
    const Execucao e = executa("CONVERTE_REMESSA COFAP", "trap '' XFSZ; ulimit -f 300;");
    EXPECT_EQ(e.status, 1) << e.erros;
    EXPECT_EQ(LE_ARQUIVO(dados + "/VCOFAP.TXT"), "ANTERIOR\r\n");
    EXPECT_EQ(CAMPO_CLIENTE(dados, "COFAP", "ULTREMBAN"), "41");
    for (const auto& f : fs::directory_iterator(dados))
        EXPECT_EQ(f.path().filename().string().find(".novo"), std::string::npos) << f.path();
}

// A client file the program may not read: it is told, and the file stays
// where it is to be read once its permissions are put right.
TEST_F(ArquivosHostis, ArquivoIlegivelFicaNoLugar) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop the superuser";
    const std::string texto = "01REMESSA01COBRANCA BETA\r\n1 T\r\n9\r\n";
    GRAVA_ARQUIVO_TESTE(dados + "/BETA400.001", texto);
    fs::permissions(dados + "/BETA400.001", fs::perms::none);
    const Execucao e = executa("REMESSA");
    fs::permissions(dados + "/BETA400.001", fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(e.status, 1) << e.erros;
    EXPECT_NE(e.erros.find("BETA400.001"), std::string::npos) << e.erros;
    EXPECT_EQ(LE_ARQUIVO(dados + "/BETA400.001"), texto);
    EXPECT_FALSE(fs::exists(dados + "/COPIA/BETA400.001"));
}

// The client table cut short (a copy that stopped half way): the run stops
// with the table's message and status 1 before it takes any file, instead of
// running with six of the nine clients gone.
TEST_F(ArquivosHostis, TabelaDeClientesIncompletaParaAExecucao) {
    const std::string texto = "01REMESSA01COBRANCA BETA\r\n1 T\r\n9\r\n";
    GRAVA_ARQUIVO_TESTE(dados + "/BETA400.001", texto);
    const std::string cli = LE_ARQUIVO(dados + "/CONVECLI.DBF");
    const auto byte = [&](std::size_t i) { return static_cast<std::size_t>(static_cast<unsigned char>(cli.at(i))); };
    const std::size_t cabecalho = byte(8) | byte(9) << 8, registro = byte(10) | byte(11) << 8;
    ASSERT_EQ(byte(4), 9u);
    GRAVA_ARQUIVO_TESTE(dados + "/CONVECLI.DBF", cli.substr(0, cabecalho + 3 * registro + 5));
    const auto conteudo = [&] {
        std::map<std::string, std::string> r;
        for (const auto& e : fs::recursive_directory_iterator(dados))
            r[e.path()] = e.is_regular_file() ? LE_ARQUIVO(e.path()) : "<dir>";
        return r;
    };
    const auto antes = conteudo();
    const Execucao e = executa("REMESSA");
    EXPECT_EQ(e.status, 1) << e.erros;
    EXPECT_NE(e.erros.find("CONVECLI.DBF ESTÁ INCOMPLETA: O CABEÇALHO ANUNCIA 9 REGISTROS E O ARQUIVO TEM 3."),
              std::string::npos)
        << e.erros;
    EXPECT_EQ(conteudo(), antes);
}
