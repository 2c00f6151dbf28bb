// Names that come from what a file holds, or from what someone left in the
// data directory, never lead the real program outside it: BR branch codes
// that try to climb out or name another place, return headers whose
// identification looks like a path, and client or destination names that
// are links to elsewhere. A directory beside the data directory is watched:
// nothing in it may appear, change or go.

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

std::map<std::string, std::string> retrato(const std::string& raiz, const std::string& excluido) {
    std::map<std::string, std::string> r;
    for (auto it = fs::recursive_directory_iterator(raiz); it != fs::recursive_directory_iterator(); ++it) {
        const std::string p = it->path();
        if (p == excluido) {
            it.disable_recursion_pending();
            continue;
        }
        r[p] = it->is_symlink() ? "->" + fs::read_symlink(it->path()).string()
               : it->is_regular_file() ? LE_ARQUIVO(p)
                                       : "<dir>";
    }
    return r;
}

std::string registro(int largura, const std::string& texto) {
    std::string l = texto;
    l.resize(largura, ' ');
    return l + "\r\n";
}

class NomesHostis : public ::testing::Test {
protected:
    DiretorioTemporario raiz;
    std::string dados = raiz / "dados";
    std::string fora = raiz / "fora";

    void SetUp() override {
        DADOS_DE_EXEMPLO(dados, CodificaData(2026, 12, 9));
        fs::create_directories(dados + "/COPIA");
        fs::create_directories(fora + "/sub");
        GRAVA_ARQUIVO_TESTE(fora + "/vitima", "NAO MEXA\r\n");
        GRAVA_ARQUIVO_TESTE(fora + "/sub/vitima.TXT", "NAO MEXA\r\n");
    }

    int executa(const std::string& pedido) {
        const std::string comando = "cd '" + dados +
                                    "' && CONVERSOR_SEM_JANELA=1 CONVERSOR_DATA=20261209 '" CONVERSOR_BIN
                                    "/conversor' " + pedido + " </dev/null 2>/dev/null";
        const int r = std::system(comando.c_str());
        return WIFEXITED(r) ? WEXITSTATUS(r) : -1;
    }
};

}  // namespace

TEST_F(NomesHostis, CodigosDeFilialDoArquivoDoBanco) {
    ALTERA_CLIENTE(dados, "BR", {{"ULTRETCLI", "5"}});
    const auto antes = retrato(raiz.Caminho(), dados);
    // Three columns of branch code, put where a name is made of them
    // ("R" ddmm code ".TXT").
    for (const char* filial : {"/..", "../", "..", "/fo", "\\..", ". .", "*?~", "\xff\xfe/"}) {
        std::string texto =
            registro(250, LinhaFixa().em(1, "10").em(3, "20261209").em(12, "RETORNO").em(19, "VENDOR")
                              .em(36, "QUORBR").em(118, "000077").em(245, "000001"));
        texto += registro(250, LinhaFixa().em(1, "11").em(11, "PLAN0001").em(57, "000000000010000")
                                   .em(242, filial).em(245, "000002"));
        texto += registro(250, LinhaFixa().em(1, "19").em(11, "00001").em(36, "000000000010000")
                                   .em(245, "000003"));
        GRAVA_ARQUIVO_TESTE(dados + "/RBR.TXT", texto);
        executa("CONVERTE_RETORNO BR");
        EXPECT_EQ(retrato(raiz.Caminho(), dados), antes) << filial;
        for (const auto& e : fs::directory_iterator(dados))
            EXPECT_FALSE(e.is_symlink()) << e.path();
    }
}

TEST_F(NomesHostis, IdentificacaoDoRetornoELinksNoDiretorio) {
    // The return's client file is a link planted to a file outside; the
    // return's identifications look like paths.
    fs::create_symlink(fora + "/vitima", dados + "/DELTA");
    std::string retorno;
    for (const char* ident : {"QUORDELTA", "../../fora/vitima", "/etc/passwd", "QUOR/../.."}) {
        retorno += registro(400, "0" + std::string(28, ' ') + ident);
        retorno += registro(400, "1 DETALHE");
        retorno += registro(400, "9" + std::string(393, ' ') + "000003");
    }
    GRAVA_ARQUIVO_TESTE(dados + "/RD0912.020", retorno);
    // A client remittance that is a link to a file outside, and one that is a
    // directory.
    fs::create_symlink(fora + "/sub/vitima.TXT", dados + "/BETA400.001");
    fs::create_directories(dados + "/BETA400.002");
    const auto antes = retrato(raiz.Caminho(), dados);

    executa("RETORNO 7");
    executa("REMESSA");
    EXPECT_EQ(retrato(raiz.Caminho(), dados), antes);
    // The planted names are still what they were: nothing moved them away.
    EXPECT_TRUE(fs::is_symlink(dados + "/BETA400.001"));
    EXPECT_TRUE(fs::is_directory(dados + "/BETA400.002"));
}
