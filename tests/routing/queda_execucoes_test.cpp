// The real program killed (SIGKILL) at many moments of a concatenation, a
// segregation and a Vendor conversion. After each kill: the tables open and
// read through; no file under a final name is cut short; every client file
// is either still where it was or in the holding directory, whole; no record
// reaches the bank twice. A run without interruption afterwards finishes
// the work.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <thread>

#include "conversion/remessa_apoio.h"
#include "support/diretorio_temporario.h"
#include "tabela/tabela.h"

namespace {

namespace fs = std::filesystem;
using Relogio = std::chrono::steady_clock;

std::string registro(int largura, const std::string& texto) {
    std::string l = texto;
    l.resize(largura, ' ');
    return l + "\r\n";
}

// Starts the program in `dados`; kills it after `espera` unless it ended
// first. Returns how long it ran.
std::chrono::microseconds executa(const std::string& dados, const std::vector<std::string>& args,
                                  std::chrono::microseconds espera, bool& morto) {
    const auto inicio = Relogio::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(dados.c_str()) != 0) ::_exit(98);
        ::setenv("CONVERSOR_SEM_JANELA", "1", 1);
        ::setenv("CONVERSOR_DATA", "20261209", 1);
        const int nulo = ::open("/dev/null", O_RDWR);
        ::dup2(nulo, 0);
        ::dup2(nulo, 2);
        std::vector<char*> argv;
        const std::string programa = CONVERSOR_BIN "/conversor";
        argv.push_back(const_cast<char*>(programa.c_str()));
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(programa.c_str(), argv.data());
        ::_exit(97);
    }
    morto = false;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (Relogio::now() - inicio >= espera) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            morto = WIFSIGNALED(status);
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return std::chrono::duration_cast<std::chrono::microseconds>(Relogio::now() - inicio);
}

void tabelasLegiveis(const std::string& dados) {
    for (const char* nome : {"CONVECLI.DBF", "CONVEINS.DBF", "CONVEPEN.DBF", "CONVETAX.DBF"}) {
        Tabela t;
        t.SetDatabaseName(dados);
        t.SetTableName(nome);
        EXPECT_NO_THROW({
            t.Open();
            for (t.First(); !t.Eof(); t.Next())
                for (const DefCampo& c : t.FieldDefs()) (void)t.FieldByName(c.nome).AsString();
        }) << nome;
    }
}

// Kill moments spread over the length of an uninterrupted run, with the
// first ones close to the start, where the files are taken.
std::vector<std::chrono::microseconds> momentos(std::chrono::microseconds duracao, int n) {
    std::vector<std::chrono::microseconds> r;
    for (int i = 1; i <= n; ++i) r.push_back(duracao * i * i / ((n + 1) * (n + 1)));
    return r;
}

constexpr int kRodadas = 10;

}  // namespace

class QuedaExecucoes : public ::testing::Test {
protected:
    DiretorioTemporario raiz;
    std::string dados = raiz / "dados";

    void instala() {
        fs::remove_all(dados);
        DADOS_DE_EXEMPLO(dados, CodificaData(2026, 12, 9));
        fs::create_directories(dados + "/COPIA");
    }

    // No file under a final name is partial: names from `prefixos` hold
    // whole records of `largura`.
    void saidasInteiras(const std::map<std::string, int>& prefixos) {
        for (const auto& e : fs::directory_iterator(dados)) {
            const std::string nome = e.path().filename();
            for (const auto& [prefixo, largura] : prefixos) {
                if (nome.rfind(prefixo, 0) == 0) {
                    EXPECT_EQ(fs::file_size(e.path()) % (largura + 2), 0u) << nome;
                }
            }
        }
    }
};

TEST_F(QuedaExecucoes, Concatenacao) {
    // Client files of two products, big enough for the run to last.
    std::map<std::string, std::string> clientes;
    for (int i = 1; i <= 30; ++i) {
        char ext[8];
        std::snprintf(ext, sizeof ext, "%03d", i);
        const bool cobranca = i % 2;
        const int largura = cobranca ? 400 : 250;
        std::string texto = cobranca ? registro(400, "01REMESSA01COBRANCA BETA")
                                     : registro(250, "00         REMESSA00VENDOR VALE");
        for (int j = 0; j < 400; ++j)
            texto += registro(largura, (cobranca ? "1 BETA " : "01VALE ") + std::string(ext) + " " +
                                           std::to_string(j));
        texto += registro(largura, cobranca ? "9" : "09");
        clientes[(cobranca ? "BETA400." : "VALE250.") + std::string(ext)] = texto;
    }
    auto prepara = [&] {
        instala();
        for (const auto& [nome, texto] : clientes) GRAVA_ARQUIVO_TESTE(dados + "/" + nome, texto);
    };
    prepara();
    bool morto = false;
    const auto duracao = executa(dados, {"REMESSA"}, std::chrono::seconds(60), morto);
    ASSERT_FALSE(morto);

    int mortos = 0;
    for (const auto espera : momentos(duracao, kRodadas)) {
        SCOPED_TRACE("morto após " + std::to_string(espera.count()) + " us");
        prepara();
        executa(dados, {"REMESSA"}, espera, morto);
        mortos += morto;
        tabelasLegiveis(dados);
        saidasInteiras({{"CB400912.", 400}, {"VD250912.", 250}});
        // Each client file is whole, here or in the holding directory, and
        // only one of them has gone to the bank if it has left.
        for (const auto& [nome, texto] : clientes) {
            const bool aqui = fs::exists(dados + "/" + nome);
            const bool guardado = fs::exists(dados + "/COPIA/" + nome);
            EXPECT_NE(aqui, guardado) << nome;
            EXPECT_EQ(LE_ARQUIVO(dados + (aqui ? "/" : "/COPIA/") + nome), texto) << nome;
        }
        std::map<std::string, int> enviados;
        for (const auto& e : fs::directory_iterator(dados)) {
            const std::string nome = e.path().filename();
            if (nome.rfind("CB400912.", 0) && nome.rfind("VD250912.", 0)) continue;
            const std::string texto = LE_ARQUIVO(e.path());
            const std::size_t l = nome[0] == 'C' ? 402 : 252;
            for (std::size_t p = 0; p + l <= texto.size(); p += l) ++enviados[texto.substr(p, l)];
        }
        for (const auto& [nome, texto] : clientes) {
            const std::size_t l = nome[0] == 'B' ? 402 : 252;
            const std::string detalhe = texto.substr(l, l);
            if (fs::exists(dados + "/" + nome)) EXPECT_EQ(enviados[detalhe], 0) << nome;
            else EXPECT_LE(enviados[detalhe], 1) << nome;
        }
        // The next run takes what was left.
        executa(dados, {"REMESSA"}, std::chrono::seconds(60), morto);
        for (const auto& [nome, texto] : clientes) EXPECT_FALSE(fs::exists(dados + "/" + nome)) << nome;
        tabelasLegiveis(dados);
    }
    // Most moments fall inside the run: the kills are real.
    EXPECT_GE(mortos, kRodadas / 2);
}

TEST_F(QuedaExecucoes, Segregacao) {
    std::string retorno;
    for (int i = 0; i < 150; ++i) {
        retorno += registro(400, "0" + std::string(28, ' ') + "QUORDELTA");
        retorno += registro(400, "1" + std::string(48, ' ') + "DESCONTO " + std::to_string(i));
        retorno += registro(400, "9" + std::string(393, ' ') + "000003");
    }
    auto prepara = [&] {
        instala();
        GRAVA_ARQUIVO_TESTE(dados + "/RD0912.020", retorno);
    };
    prepara();
    bool morto = false;
    const auto duracao = executa(dados, {"RETORNO", "7"}, std::chrono::seconds(60), morto);
    ASSERT_FALSE(morto);
    ASSERT_EQ(LE_ARQUIVO(dados + "/DELTA"), retorno);

    int mortos = 0;
    for (const auto espera : momentos(duracao, kRodadas)) {
        SCOPED_TRACE("morto após " + std::to_string(espera.count()) + " us");
        prepara();
        executa(dados, {"RETORNO", "7"}, espera, morto);
        mortos += morto;
        tabelasLegiveis(dados);
        // The bank file is never lost: it is still to be read or kept whole
        // as the backup.
        const bool aqui = fs::exists(dados + "/RD0912.020");
        EXPECT_NE(aqui, fs::exists(dados + "/RD0912.ANT"));
        EXPECT_EQ(LE_ARQUIVO(dados + (aqui ? "/RD0912.020" : "/RD0912.ANT")), retorno);
        // The client's file, if there, holds whole blocks from the start.
        if (fs::exists(dados + "/DELTA")) {
            const std::string delta = LE_ARQUIVO(dados + "/DELTA");
            EXPECT_EQ(delta.size() % (3 * 402), 0u);
            EXPECT_EQ(retorno.compare(0, delta.size(), delta), 0);
        }
    }
    // Most moments fall inside the run: the kills are real.
    EXPECT_GE(mortos, kRodadas / 2);
}

TEST_F(QuedaExecucoes, ConversaoVendor) {
    std::vector<std::string> linhas;
    for (int i = 0; i < 3000; ++i) {
        char planilha[16];
        std::snprintf(planilha, sizeof planilha, "%08d", i);
        linhas.push_back(LinhaFixa()
                             .em(3, planilha).em(13, "11222333000181").em(27, "COMPRADOR")
                             .em(62, "RUA A 1").em(97, "SAO PAULO").em(127, "SP").em(129, "01310")
                             .em(134, "-").em(135, "100").em(148, "20261201").em(156, "20270115")
                             .em(176, "01,500").em(182, "1.234,56").em(279, "1,5")
                             .str());
    }
    const std::string cliente = ARQUIVO_CRLF(linhas);
    auto prepara = [&] {
        instala();
        ALTERA_CLIENTE(dados, "COFAP", {{"TIPEQUCLI", "D"}, {"ULTREMBAN", "41"}, {"ULTREMCLI", "6"}});
        GRAVA_ARQUIVO_TESTE(dados + "/COFAPREM.TXT", cliente);
        // The bank file of the day before, still to be sent.
        GRAVA_ARQUIVO_TESTE(dados + "/VCOFAP.TXT", registro(250, "00ANTERIOR"));
    };
    prepara();
    bool morto = false;
    const auto duracao = executa(dados, {"CONVERTE_REMESSA", "COFAP"}, std::chrono::seconds(60), morto);
    ASSERT_FALSE(morto);
    ASSERT_EQ(CAMPO_CLIENTE(dados, "COFAP", "ULTREMBAN"), "42");

    int mortos = 0;
    for (const auto espera : momentos(duracao, kRodadas)) {
        SCOPED_TRACE("morto após " + std::to_string(espera.count()) + " us");
        prepara();
        executa(dados, {"CONVERTE_REMESSA", "COFAP"}, espera, morto);
        mortos += morto;
        tabelasLegiveis(dados);
        EXPECT_EQ(LE_ARQUIVO(dados + "/COFAPREM.TXT"), cliente);
        // The bank file is the old one or the whole new one, and a new one
        // carries a generation the register has recorded as issued.
        const auto banco = LINHAS_CRLF(LE_ARQUIVO(dados + "/VCOFAP.TXT"));
        const std::string geracao = CAMPO_CLIENTE(dados, "COFAP", "ULTREMBAN");
        if (banco.size() == 1) {
            EXPECT_EQ(banco[0].substr(0, 10), "00ANTERIOR");
        } else {
            ASSERT_EQ(banco.size(), 1u + 2 * 3000 + 1);
            EXPECT_EQ(banco.back().substr(0, 2), "09");
            EXPECT_EQ(banco[0].substr(117, 6), "000042");
            EXPECT_EQ(geracao, "42");
        }
        EXPECT_TRUE(geracao == "41" || geracao == "42") << geracao;
    }
    // Most moments fall inside the run: the kills are real.
    EXPECT_GE(mortos, kRodadas / 2);
}
