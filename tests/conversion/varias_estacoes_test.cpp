// Eight workstations on one data directory at once: two conversions of the
// same Vendor client, two concatenations, two segregations and two processes
// writing the client register, all started together. Afterwards every table
// must open and read through, every client record must have arrived exactly
// once, no generation may have been issued twice, no counter update may
// have been lost and no output file may be cut short.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <thread>

#include "conversion/remessa_apoio.h"
#include "support/diretorio_temporario.h"
#include "support/processo_filho.h"
#include "tabela/tabela.h"

namespace {

namespace fs = std::filesystem;

std::string cofap(const std::string& planilha, const char* cnpj, const char* principal) {
    return LinhaFixa()
        .em(3, planilha).em(13, cnpj).em(27, "COMPRADOR").em(62, "RUA A 1").em(97, "SAO PAULO")
        .em(127, "SP").em(129, "01310").em(134, "-").em(135, "100").em(148, "20261201")
        .em(156, "20270115").em(176, "01,500").em(182, principal).em(279, "1,5")
        .str();
}

std::string registro(int largura, const std::string& texto) {
    std::string l = texto;
    l.resize(largura, ' ');
    return l + "\r\n";
}

// A client field increased by one, `vezes` times, each under the record lock
// and waiting for it while another process holds it.
int incrementa(const std::string& dados, const std::string& codigo, int vezes) {
    Tabela t;
    t.SetDatabaseName(dados);
    t.SetTableName("CONVECLI.DBF");
    t.Open();
    for (int i = 0; i < vezes; ++i) {
        if (!t.Locate("CODCLI", {codigo})) return 2;
        for (;;) {
            try {
                t.Edit();
                break;
            } catch (const ErroRegistroBloqueado&) {
                ::usleep(2000);
            }
        }
        t.FieldByName("ULTRETBAN").SetAsInteger(t.FieldByName("ULTRETBAN").AsInteger() + 1);
        t.Post();
    }
    return 0;
}

// Every record of a table, read through to the end.
long leTudo(const std::string& dados, const std::string& nome) {
    Tabela t;
    t.SetDatabaseName(dados);
    t.SetTableName(nome);
    t.Open();
    long n = 0;
    for (t.First(); !t.Eof(); t.Next(), ++n)
        for (const DefCampo& c : t.FieldDefs()) (void)t.FieldByName(c.nome).AsString();
    return n;
}

}  // namespace

TEST(VariasEstacoes, OitoProcessosNoMesmoDiretorio) {
    DiretorioTemporario raiz;
    const std::string dados = raiz / "dados";
    DADOS_DE_EXEMPLO(dados, CodificaData(2026, 12, 9));
    ALTERA_CLIENTE(dados, "COFAP", {{"TIPEQUCLI", "D"}, {"ULTREMBAN", "41"}, {"ULTREMCLI", "6"}});
    fs::create_directories(dados + "/COPIA");

    // The Vendor client's file, kept where it is by its conversion.
    GRAVA_ARQUIVO_TESTE(dados + "/COFAPREM.TXT",
                        ARQUIVO_CRLF({cofap("00001234", "11222333000181", "1.234,56"),
                                      cofap("00001235", "60701190000104", "10000,00")}));
    // Client files for the concatenation: each a record that names it.
    std::set<std::string> esperados400, esperados250;
    for (int i = 1; i <= 12; ++i) {
        char ext[8];
        std::snprintf(ext, sizeof ext, "%03d", i);
        const std::string t400 = std::string("1 TITULO BETA ") + ext;
        const std::string t250 = std::string("01VENDOR VALE ") + ext;
        GRAVA_ARQUIVO_TESTE(dados + "/BETA400." + ext,
                            registro(400, "01REMESSA01COBRANCA BETA") + registro(400, t400) +
                                registro(400, "9"));
        GRAVA_ARQUIVO_TESTE(dados + "/VALE250." + ext,
                            registro(250, "00         REMESSA00VENDOR VALE") + registro(250, t250) +
                                registro(250, "09"));
        esperados400.insert(registro(400, t400));
        esperados250.insert(registro(250, t250));
    }
    // A bank return with one block of DELTA.
    const std::string retorno = registro(400, "0" + std::string(28, ' ') + "QUORDELTA") +
                                registro(400, "1" + std::string(48, ' ') + "DESCONTO 1") +
                                registro(400, "9" + std::string(393, ' ') + "000003");
    GRAVA_ARQUIVO_TESTE(dados + "/RD0912.020", retorno);
    const long ultretbanAntes = std::stol(CAMPO_CLIENTE(dados, "BETA400", "ULTRETBAN"));

    // The register writers are forked before any thread exists.
    std::vector<std::unique_ptr<ProcessoFilho>> cadastro;
    for (int i = 0; i < 2; ++i)
        cadastro.push_back(std::make_unique<ProcessoFilho>([&](const CanalProcesso& c) {
            c.Recebe();
            return incrementa(dados, "BETA400", 40);
        }));

    struct Execucao {
        std::string pedido;
        int status = -1;
        std::string erros;
    };
    std::vector<Execucao> execucoes;
    for (const char* p : {"CONVERTE_REMESSA COFAP", "CONVERTE_REMESSA COFAP", "REMESSA", "REMESSA",
                          "RETORNO 7", "RETORNO 7"})
        execucoes.push_back(Execucao{p, -1, {}});
    std::vector<std::thread> linhas;
    for (auto& c : cadastro) c->Canal().Envia('V');
    for (std::size_t i = 0; i < execucoes.size(); ++i)
        linhas.emplace_back([&, i] {
            const std::string erros = raiz / ("erros" + std::to_string(i));
            const std::string comando = "cd '" + dados +
                                        "' && CONVERSOR_SEM_JANELA=1 CONVERSOR_DATA=20261209 '" CONVERSOR_BIN
                                        "/conversor' " +
                                        execucoes[i].pedido + " </dev/null 2>'" + erros + "'";
            const int r = std::system(comando.c_str());
            execucoes[i].status = WIFEXITED(r) ? WEXITSTATUS(r) : -1;
            execucoes[i].erros = LE_ARQUIVO(erros);
        });
    for (auto& l : linhas) l.join();
    for (auto& c : cadastro) EXPECT_EQ(c->Espera(), 0);

    std::string relato;
    for (const auto& e : execucoes)
        relato += "== " + e.pedido + " (" + std::to_string(e.status) + ")\n" + e.erros;
    SCOPED_TRACE(relato);

    // Every table opens and reads through.
    for (const char* t : {"CONVECLI.DBF", "CONVEINS.DBF", "CONVEPEN.DBF", "CONVETAX.DBF"})
        EXPECT_NO_THROW(leTudo(dados, t)) << t;

    // No lost update in the register.
    EXPECT_EQ(std::stol(CAMPO_CLIENTE(dados, "BETA400", "ULTRETBAN")), ultretbanAntes + 80);

    // Each conversion that wrote the bank file issued a generation of its
    // own: the stored generation moved on by exactly that many, and the file
    // is whole and carries the last one.
    int gravadas = 0;
    for (const auto& e : execucoes)
        if (e.pedido.rfind("CONVERTE", 0) == 0 && e.erros.find("Registros Gravados : 2") != std::string::npos)
            ++gravadas;
    EXPECT_GE(gravadas, 1);
    const int geracao = std::stoi(CAMPO_CLIENTE(dados, "COFAP", "ULTREMBAN"));
    EXPECT_EQ(geracao, 41 + gravadas);
    const auto banco = LINHAS_CRLF(LE_ARQUIVO(dados + "/VCOFAP.TXT"));
    ASSERT_EQ(banco.size(), 6u);
    EXPECT_EQ(banco[0].substr(117, 6), "0000" + std::to_string(geracao));
    EXPECT_EQ(banco.back().substr(0, 2), "09");
    EXPECT_EQ(PENDENTES(dados).size(), 2u);

    // Every concatenated record is in exactly one bank file, and every client
    // file left the directory with its copy kept.
    std::map<std::string, int> vistos400, vistos250;
    for (const auto& e : fs::directory_iterator(dados)) {
        const std::string nome = e.path().filename();
        const std::string texto = LE_ARQUIVO(e.path());
        auto conta = [&](std::map<std::string, int>& vistos, std::size_t largura) {
            EXPECT_EQ(texto.size() % (largura + 2), 0u) << nome << " cortado";
            for (std::size_t p = 0; p + largura + 2 <= texto.size(); p += largura + 2)
                ++vistos[texto.substr(p, largura + 2)];
        };
        if (nome.rfind("CB400912.", 0) == 0) conta(vistos400, 400);
        if (nome.rfind("VD250912.", 0) == 0) conta(vistos250, 250);
        EXPECT_EQ(nome.find(".novo"), std::string::npos) << nome;
    }
    for (const auto& r : esperados400) EXPECT_EQ(vistos400[r], 1) << r.substr(0, 20);
    for (const auto& r : esperados250) EXPECT_EQ(vistos250[r], 1) << r.substr(0, 20);
    for (int i = 1; i <= 12; ++i) {
        char ext[8];
        std::snprintf(ext, sizeof ext, "%03d", i);
        for (const std::string& n : {std::string("BETA400.") + ext, std::string("VALE250.") + ext}) {
            EXPECT_FALSE(fs::exists(dados + "/" + n)) << n;
            EXPECT_TRUE(fs::exists(dados + "/COPIA/" + n)) << n;
        }
    }

    // The return reached its client once, and the bank file became the backup.
    EXPECT_EQ(LE_ARQUIVO(dados + "/DELTA"), retorno);
    EXPECT_EQ(LE_ARQUIVO(dados + "/RD0912.ANT"), retorno);
}

// A scheduled run while another workstation keeps the installation's record
// in edit: a notice on the error output after a few seconds, then it gives
// up at CONVERSOR_ESPERA_MAX with status 1, every file as it was.
TEST(VariasEstacoes, ExecucaoSemTelaDesisteDoRegistroPreso) {
    DiretorioTemporario raiz;
    const std::string dados = raiz / "dados";
    DADOS_DE_EXEMPLO(dados, CodificaData(2026, 12, 9));
    fs::create_directories(dados + "/COPIA");
    GRAVA_ARQUIVO_TESTE(dados + "/BETA400.001", registro(400, "01REMESSA01COBRANCA BETA") +
                                                    registro(400, "1 TITULO BETA 001") + registro(400, "9"));
    std::map<std::string, std::string> antes;
    for (const auto& e : fs::directory_iterator(dados))
        if (e.is_regular_file()) antes[e.path().filename()] = LE_ARQUIVO(e.path());

    Tabela outraEstacao;
    outraEstacao.SetDatabaseName(dados);
    outraEstacao.SetTableName("CONVEINS.DBF");
    outraEstacao.Open();
    outraEstacao.First();
    outraEstacao.Edit();
    const std::string erros = raiz / "erros";
    const std::string comando = "cd '" + dados +
                                "' && CONVERSOR_SEM_JANELA=1 CONVERSOR_ESPERA_MAX=4 CONVERSOR_DATA=20261209 '" CONVERSOR_BIN
                                "/conversor' REMESSA </dev/null 2>'" + erros + "'";
    const int r = std::system(comando.c_str());
    outraEstacao.Cancel();
    const std::string saida = LE_ARQUIVO(erros);
    SCOPED_TRACE(saida);
    EXPECT_TRUE(WIFEXITED(r) && WEXITSTATUS(r) == 1);
    const auto aviso = saida.find("AVISO: O REGISTRO 1 DA TABELA");
    ASSERT_NE(aviso, std::string::npos);
    EXPECT_NE(saida.find("AGUARDANDO ATÉ 4 SEGUNDOS", aviso), std::string::npos);
    EXPECT_NE(saida.find("ATENÇÃO: Conversor de Arquivo: O REGISTRO 1 DA TABELA", aviso), std::string::npos);
    EXPECT_NE(saida.find("CONVERSOR_ESPERA_MAX", aviso), std::string::npos);
    std::map<std::string, std::string> depois;
    for (const auto& e : fs::directory_iterator(dados))
        if (e.is_regular_file()) depois[e.path().filename()] = LE_ARQUIVO(e.path());
    EXPECT_EQ(depois, antes);
}
