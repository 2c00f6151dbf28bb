// Files still arriving when a run starts: a client remittance or a bank
// return that a transfer program is still writing, or a remittance that
// ended before its trailer, is left where it is, logged, and taken whole
// by a later run.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/texto/ansi.h"
#include "routing/ambiente_concatenacao.h"
#include "routing/tarqconcatena.h"
#include "routing/tarqsegrega.h"
#include "support/processo_filho.h"
#include "tabela/nome_arquivo.h"

namespace {

using Linhas = std::vector<std::string>;

const std::string kAindaGravando =
    "AINDA ESTÁ SENDO GRAVADO (ARQUIVO INCOMPLETO); SERÁ LIDO NA PRÓXIMA EXECUÇÃO."_ansi;

bool contem(const Linhas& linhas, const std::string& linha) {
    return std::find(linhas.begin(), linhas.end(), linha) != linhas.end();
}

bool escreve(int fd, const std::string& texto) {
    return ::write(fd, texto.data(), texto.size()) == static_cast<ssize_t>(texto.size());
}

// A transfer program: writes `inicio` to `caminho`, says 'p', keeps the
// file open until told 'c', then writes `resto`, closes it and says 'f'.
ProcessoFilho transferencia(const std::string& caminho, const std::string& inicio, const std::string& resto) {
    return ProcessoFilho([=](const CanalProcesso& canal) {
        const int fd = ::open(caminho.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (fd < 0 || !escreve(fd, inicio)) return 10;
        canal.Envia('p');
        if (canal.Recebe() != 'c' || !escreve(fd, resto) || ::close(fd) != 0) return 11;
        canal.Envia('f');
        return 0;
    });
}

// The bank files of this run's products, by name.
Linhas produtos() {
    Linhas r;
    for (const std::string& n : ENTRADAS(".")) if (n.rfind("CB4", 0) == 0) r.push_back(n);
    return r;
}

Linhas remessa(const char* marca) {
    return {LINHA(400, {{1, "01REMESSA01COBRANCA"}}), LINHA(400, {{1, "1"}, {20, marca}}),
            LINHA(400, {{1, "1"}, {20, marca}}), LINHA(400, {{1, "9"}})};
}

}  // namespace

TEST(ArquivosChegando, RemessaIncompletaFicaParaAProximaExecucao) {
    AmbienteConcatenacao a;
    a.InstalacaoPadrao();
    for (const char* c : {"BETA", "GAMA", "DELTA"}) a.Cliente(c, "C", c);
    const Linhas beta = remessa("BETA"), gama = remessa("GAMA"), delta = remessa("DELTA");
    const std::string betaInicio = TEXTO({beta[0], beta[1]});
    ProcessoFilho filho = transferencia("BETA.001", betaInicio, TEXTO({beta[2], beta[3]}));
    ASSERT_EQ(filho.Canal().Recebe(), 'p');
    // Cut before its trailer, though no longer open.
    const std::string gamaCortada = TEXTO({gama[0], gama[1], gama[2]});
    GRAVA_ARQUIVO_TESTE("GAMA.001", gamaCortada);
    // Complete: its trailer is followed by the end-of-file mark and a blank
    // line, as some senders write them.
    GRAVA_ARQUIVO_TESTE("DELTA.001", TEXTO(delta) + "\x1A\r\n   \r\n");

    CONCATENA_REMESSAS();

    EXPECT_EQ(a.Mensagens(), Linhas{});
    EXPECT_EQ(LE_ARQUIVO("BETA.001"), betaInicio);
    EXPECT_EQ(LE_ARQUIVO("GAMA.001"), gamaCortada);
    EXPECT_EQ(ENTRADAS("GUARDA"), Linhas{"DELTA.001"});
    ASSERT_EQ(produtos().size(), 1u);
    const std::string primeiro = produtos()[0];
    EXPECT_EQ(LE_ARQUIVO(primeiro).substr(0, TEXTO(delta).size()), TEXTO(delta));
    EXPECT_EQ(LE_ARQUIVO(primeiro).find("BETA"), std::string::npos);
    const Linhas log = a.Log();
    EXPECT_TRUE(contem(log, "    BETA.001  " + kAindaGravando)) << ::testing::PrintToString(log);
    EXPECT_TRUE(contem(log, "    GAMA.001  SEM TRAILER (ARQUIVO INCOMPLETO); SERÁ LIDO NA PRÓXIMA EXECUÇÃO."_ansi))
        << ::testing::PrintToString(log);

    // The transfer ends: the next run takes the whole file, once.
    filho.Canal().Envia('c');
    ASSERT_EQ(filho.Canal().Recebe(), 'f');
    EXPECT_EQ(filho.Espera(), 0);
    a.motor->pdfs.clear();
    CONCATENA_REMESSAS();
    EXPECT_EQ(a.Mensagens(), Linhas{});
    EXPECT_FALSE(ArquivoExiste("BETA.001"));
    EXPECT_EQ(LE_ARQUIVO("GUARDA/BETA.001"), TEXTO(beta));
    const Linhas agora = produtos();
    ASSERT_EQ(agora.size(), 2u);
    const std::string segundo = agora[0] == primeiro ? agora[1] : agora[0];
    EXPECT_EQ(LE_ARQUIVO(segundo), TEXTO(beta));
    EXPECT_EQ(LE_ARQUIVO("GAMA.001"), gamaCortada);
}

TEST(ArquivosChegando, RetornoDoBancoAindaSendoGravadoFicaCandidato) {
    AmbienteConcatenacao a;
    a.Cliente("C01", "C", "", {{"ARQRETCLI", "C01.RET"}, {"CONHEACP1", REGRA("036", "046", "", "00000000001")}});
    const Linhas bloco = {LINHA(400, {{1, "02RETORNO01COBRANCA"}, {36, "00000000001"}}),
                          LINHA(400, {{1, "1"}, {20, "DETALHE"}}), LINHA(400, {{1, "9"}})};
    const std::string inicio = TEXTO({bloco[0], bloco[1]});
    ProcessoFilho filho = transferencia("RC0912.020", inicio, TEXTO({bloco[2]}));
    ASSERT_EQ(filho.Canal().Recebe(), 'p');

    SEGREGA_RETORNOS(0);

    EXPECT_EQ(a.Mensagens(), Linhas{});
    EXPECT_EQ(LE_ARQUIVO("RC0912.020"), inicio);
    EXPECT_FALSE(ArquivoExiste("RC0912.ANT"));
    EXPECT_FALSE(ArquivoExiste("C01.RET"));
    const std::string linha = LINHA(120, {{1, std::string(10, ' ') + "RC0912.020 - " + kAindaGravando}}) + "\r\n";
    EXPECT_NE(LE_ARQUIVO("CV091234.LOG").find(linha), std::string::npos) << LE_ARQUIVO("CV091234.LOG");

    filho.Canal().Envia('c');
    ASSERT_EQ(filho.Canal().Recebe(), 'f');
    EXPECT_EQ(filho.Espera(), 0);
    SEGREGA_RETORNOS(0);
    EXPECT_EQ(a.Mensagens(), Linhas{});
    EXPECT_EQ(LE_ARQUIVO("RC0912.ANT"), TEXTO(bloco));
    EXPECT_EQ(LE_ARQUIVO("C01.RET"), TEXTO(bloco));
    EXPECT_FALSE(ArquivoExiste("RC0912.020"));
}
