// The segregation and the consolidation when things go wrong. Whatever
// happens, a block of the bank file is either in its client's file or in
// the backup of the bank file, never lost and never delivered twice; a
// parked return is deleted only once its consolidated files are written.

#include <gtest/gtest.h>

#include "core/diario_execucao.h"
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/texto/ansi.h"
#include "routing/ambiente_concatenacao.h"
#include "routing/tarqsegrega.h"
#include "support/processo_filho.h"
#include "tabela/nome_arquivo.h"

namespace {

using Linhas = std::vector<std::string>;
namespace fs = std::filesystem;

const std::string dez(10, ' ');

bool temLinha(const std::string& log, const std::string& linha) {
    return log.find(LINHA(120, {{1, linha}}) + "\r\n") != std::string::npos;
}

// A Cobrança 400 client identified by "000000000" + two digits.
void cliente(AmbienteConcatenacao& a, const char* codigo, const char* id, const std::string& arqretcli,
             const char* dirtemp = "") {
    a.Cliente(codigo, "C", "", {{"ARQRETCLI", arqretcli}, {"DIRTEMP", dirtemp},
                                {"CONHEACP1", REGRA("036", "046", "", std::string("000000000") + id)}});
}

Linhas bloco(const char* id, bool comTrailer = true) {
    Linhas l{LINHA(400, {{1, "02RETORNO01COBRANCA"}, {36, std::string("000000000") + id}}),
             LINHA(400, {{1, "1"}, {20, std::string("DETALHE ") + id}})};
    if (comTrailer) l.push_back(LINHA(400, {{1, "9"}}));
    return l;
}

Linhas junta(std::initializer_list<Linhas> blocos) {
    Linhas r;
    for (const Linhas& b : blocos) r.insert(r.end(), b.begin(), b.end());
    return r;
}

}  // namespace

// Names no client file may take, and blocks that never end: logged, not
// written, kept in the backup of the bank file.
TEST(SegregacaoFalhas, BlocosQueNaoPodemSerEntregues) {
    AmbienteConcatenacao a;
    cliente(a, "C01", "01", "../FORA.RET");
    cliente(a, "C02", "02", "RC0912.ANT");
    cliente(a, "C03", "03", "convecli.dbf");
    cliente(a, "C04", "04", "");
    cliente(a, "C05", "05", "IGUAL.RET");
    cliente(a, "C06", "06", "igual.ret");
    cliente(a, "C07", "07", "SEMFIM.RET");
    cliente(a, "C08", "08", "ULTIMO.RET");
    const std::string tabela = LE_ARQUIVO("CONVECLI.DBF");
    const std::string banco = TEXTO(junta({bloco("01"), bloco("02"), bloco("03"), bloco("04"), bloco("05"),
                                           bloco("06"), bloco("07", false), bloco("05"), bloco("08", false)}));
    GRAVA_ARQUIVO_TESTE("RC0912.020", banco);

    SEGREGA_RETORNOS(0);

    EXPECT_EQ(a.Mensagens(), Linhas{});
    EXPECT_EQ(LE_ARQUIVO("RC0912.ANT"), banco);
    EXPECT_EQ(LE_ARQUIVO("CONVECLI.DBF"), tabela);
    EXPECT_FALSE(ArquivoExiste("../FORA.RET"));
    // C05's two blocks, one after the other; C06 may not take its file.
    EXPECT_EQ(LE_ARQUIVO("IGUAL.RET"), TEXTO(junta({bloco("05"), bloco("05")})));
    for (const char* nunca : {"igual.ret", "SEMFIM.RET", "ULTIMO.RET"}) EXPECT_FALSE(ArquivoExiste(nunca)) << nunca;
    const std::string log = LE_ARQUIVO("CV091234.LOG");
    for (const std::string& linha : {
             dez + "../FORA.RET - NOME DE ARQUIVO INVÁLIDO - NÃO GRAVADO"_ansi,
             dez + "RC0912.ANT - NOME RESERVADO PELO SISTEMA - NÃO GRAVADO"_ansi,
             dez + "convecli.dbf - NOME RESERVADO PELO SISTEMA - NÃO GRAVADO"_ansi,
             dez + "C04 - NOME DE ARQUIVO INVÁLIDO - NÃO GRAVADO"_ansi,
             dez + "IGUAL.RET - Gravado com sucesso",
             dez + "igual.ret - NOME JÁ GRAVADO PARA OUTRO CLIENTE - NÃO GRAVADO"_ansi,
             dez + "SEMFIM.RET - BLOCO SEM TRAILER - NÃO GRAVADO"_ansi,
             dez + "IGUAL.RET - Gravado com sucesso - junto ao bloco anterior",
             dez + "ULTIMO.RET - BLOCO SEM TRAILER - NÃO GRAVADO"_ansi,
             "Arquivos de Cobrança 400 gravados:    2"_ansi,
         })
        EXPECT_TRUE(temLinha(log, linha)) << linha;
    for (const auto& nome : ENTRADAS(".")) EXPECT_EQ(nome.find(".parcial"), std::string::npos) << nome;
}

// Clients whose blocks come again and again, more of them at once than are
// gathered at once, one of them failing to park its returns: every client
// file holds its blocks in the bank file's order, each once.
TEST(SegregacaoFalhas, BlocosQueVoltamMuitasVezes) {
    AmbienteConcatenacao a;
    GRAVA_ARQUIVO_TESTE("ARQUIVO", "x");
    std::vector<std::string> ids;
    for (int c = 10; c < 30; ++c) ids.push_back(std::to_string(c));
    for (const std::string& id : ids) cliente(a, ("K" + id).c_str(), id.c_str(), "K" + id + ".RET");
    cliente(a, "P50", "50", "P50.RET", "ARQUIVO");
    ids.push_back("50");
    auto blocoDaVez = [](const std::string& id, int vez) {
        Linhas b = bloco(id.c_str());
        b[1] = LINHA(400, {{1, "1"}, {20, "DETALHE " + id + " VEZ " + std::to_string(vez)}});
        return b;
    };
    Linhas banco;
    for (int vez = 0; vez < 3; ++vez)
        for (const std::string& id : ids) {
            const Linhas b = blocoDaVez(id, vez);
            banco.insert(banco.end(), b.begin(), b.end());
        }
    GRAVA_ARQUIVO_TESTE("RC0912.020", TEXTO(banco));

    SEGREGA_RETORNOS(0);

    EXPECT_EQ(LE_ARQUIVO("RC0912.ANT"), TEXTO(banco));
    for (const std::string& id : ids) {
        const std::string arquivo = (id == "50" ? "P" : "K") + id + ".RET";
        EXPECT_EQ(LE_ARQUIVO(arquivo), TEXTO(junta({blocoDaVez(id, 0), blocoDaVez(id, 1), blocoDaVez(id, 2)})))
            << arquivo;
    }
    const std::string log = LE_ARQUIVO("CV091234.LOG");
    std::size_t juntos = 0;
    for (std::size_t p = 0; (p = log.find("junto ao bloco anterior", p)) != std::string::npos; ++p) ++juntos;
    EXPECT_EQ(juntos, 2 * ids.size());
    EXPECT_TRUE(temLinha(log, "Arquivos de Cobrança 400 gravados:   63"_ansi));
    for (const auto& nome : ENTRADAS("."))
        EXPECT_TRUE(nome[0] != '.' && !EhDiarioDeExecucao(nome)) << nome;
}

// A temporary directory that cannot take the return leaves it in the
// working directory; a parked name already taken is never replaced.
TEST(SegregacaoFalhas, EstacionamentoImpossivelOuNomeOcupado) {
    AmbienteConcatenacao a;
    GRAVA_ARQUIVO_TESTE("ARQUIVO", "x");
    cliente(a, "P1", "01", "P1.RET", "ARQUIVO");
    cliente(a, "P2", "02", "P2.RET", a.d.caminho().c_str());
    cliente(a, "P3", "03", "P3.RET", "TEMP/P3");
    fs::create_directories("TEMP/P3");
    GRAVA_ARQUIVO_TESTE("TEMP/P3/rc123456.003", "PARQUEADO ANTES\r\n");
    GRAVA_ARQUIVO_TESTE("RC0912.020", TEXTO(junta({bloco("01"), bloco("02"), bloco("03")})));

    SEGREGA_RETORNOS(0);

    EXPECT_EQ(LE_ARQUIVO("P1.RET"), TEXTO(bloco("01")));
    EXPECT_EQ(LE_ARQUIVO("P2.RET"), TEXTO(bloco("02")));
    EXPECT_EQ(LE_ARQUIVO("ARQUIVO"), "x");
    EXPECT_EQ(ENTRADAS("TEMP/P3"), (Linhas{"RC123456.004", "rc123456.003"}));
    EXPECT_EQ(LE_ARQUIVO("TEMP/P3/rc123456.003"), "PARQUEADO ANTES\r\n");
    EXPECT_EQ(LE_ARQUIVO("TEMP/P3/RC123456.004"), TEXTO(bloco("03")));
    const std::string log = LE_ARQUIVO("CV091234.LOG");
    for (const std::string& linha : {dez + "P1.RET - Gravado com sucesso", "NÃO CONSEGUIU MOVER O ARQUIVO: P1.RET"_ansi,
                                     dez + "P2.RET - Gravado com sucesso", "NÃO CONSEGUIU MOVER O ARQUIVO: P2.RET"_ansi,
                                     dez + "P3.RET - Movido para diretorio temporario"})
        EXPECT_TRUE(temLinha(log, linha)) << linha;
    // Only the log file knows the move failed.
    for (const std::string& l : a.Log()) EXPECT_EQ(l.find("MOVER"), std::string::npos) << l;
}

// A bank file that cannot be read, holds nothing, or cannot become its
// backup is not split: it stays where it is, and the operator hears of it.
TEST(SegregacaoFalhas, ArquivoDoBancoQueNaoSePodeSegregar) {
    AmbienteConcatenacao a;
    cliente(a, "C01", "01", "C01.RET");
    a.Cliente("R01", "R", "", {{"ARQRETCLI", "R01.RET"}, {"CONHEACP1", REGRA("059", "071", "", "0000000000001")}});
    DiretorioTemporario fora;
    GRAVA_ARQUIVO_TESTE(fora / "SEGREDO", TEXTO(bloco("01")));
    ASSERT_EQ(::symlink((fora / "SEGREDO").c_str(), "RC0912.020"), 0);
    GRAVA_ARQUIVO_TESTE("RD0912.020", "");
    GRAVA_ARQUIVO_TESTE("RO0912.020", "\x1A");
    const std::string rr = TEXTO({LINHA(240, {{1, "34100000"}, {59, "0000000000001"}}), LINHA(240, {{1, "34199999"}})});
    GRAVA_ARQUIVO_TESTE("RR0912.020", rr);
    fs::create_directory("RR0912.ANT");
    GRAVA_ARQUIVO_TESTE("RR0912.ANT/DENTRO", "x");
    // Two names of one file: renaming one to the other moves nothing.
    GRAVA_ARQUIVO_TESTE("RE0912.020", TEXTO({LINHA(250, {{1, "10"}}), LINHA(250, {{1, "19"}})}));
    ASSERT_EQ(::link("RE0912.020", "RE0912.ANT"), 0);

    SEGREGA_RETORNOS(0);

    EXPECT_EQ(a.Mensagens(), (Linhas{"NÃO CONSEGUIU TRANSFORMAR O ARQUIVO TEXTO EM MEMÓRIA.\nARQUIVO PROCURADO: RC0912.020"_ansi,
                                     "NÃO CONSEGUIU MOVER O ARQUIVO RETORNO DO BANCO RR0912.020 PARA RR0912.ANT. NADA FOI "
                                     "SEGREGADO; O ARQUIVO FICA PARA A PRÓXIMA EXECUÇÃO."_ansi,
                                     "NÃO CONSEGUIU MOVER O ARQUIVO RETORNO DO BANCO RE0912.020 PARA RE0912.ANT. NADA FOI "
                                     "SEGREGADO; O ARQUIVO FICA PARA A PRÓXIMA EXECUÇÃO."_ansi}));
    for (const auto& m : a.g.dialogo().mensagens) EXPECT_EQ(m.tipo, somERRO);
    EXPECT_EQ(LE_ARQUIVO(fora / "SEGREDO"), TEXTO(bloco("01")));
    EXPECT_FALSE(ArquivoExiste("C01.RET"));
    EXPECT_FALSE(ArquivoExiste("R01.RET"));
    EXPECT_EQ(LE_ARQUIVO("RR0912.020"), rr);
    for (const char* fica : {"RC0912.020", "RD0912.020", "RO0912.020", "RE0912.020"}) EXPECT_TRUE(fs::exists(fs::symlink_status(fica))) << fica;
    for (const char* nao : {"RC0912.ANT", "RD0912.ANT", "RO0912.ANT"}) EXPECT_FALSE(ArquivoExiste(nao)) << nao;
    const std::string log = LE_ARQUIVO("CV091234.LOG");
    for (const std::string& linha : {
             dez + "RC0912.020 - ARQUIVO RETORNO DO BANCO NÃO PÔDE SER LIDO."_ansi,
             dez + "RD0912.020 - NENHUMA OPERAÇÃO DISPONÍVEL PARA LEITURA NO ARQUIVO RETORNO."_ansi,
             dez + "RO0912.020 - NENHUMA OPERAÇÃO DISPONÍVEL PARA LEITURA NO ARQUIVO RETORNO."_ansi,
             dez + "RR0912.020 - NÃO FOI MOVIDO PARA RR0912.ANT - NÃO SEGREGADO"_ansi,
         })
        EXPECT_TRUE(temLinha(log, linha)) << linha;
}

// A consolidated file that cannot be written, occurrence lists never
// filled in, a temporary directory that is not there: the parked returns
// and the planilha stay.
TEST(ConsolidacaoFalhas, NadaSeApagaSemOsArquivosGravados) {
    AmbienteConcatenacao a;
    auto consolidado = [&a](const char* codigo, const char* arqretcli, const char* dir, const char* liq,
                            const char* con, const char* plan = "") {
        a.Cliente(codigo, "C", "", {{"ARQRETCLI", arqretcli}, {"DIRTEMP", dir}, {"CODCOBLIQ", liq},
                                    {"CODCOBCON", con}, {"NOMEPLAN", plan}});
    };
    consolidado("C1", "BLOQ.RET", "TEMP/C1", "06", "TODOS", "SIM");
    consolidado("C2", "VAZIO.RET", "TEMP/C2", "", " ");
    consolidado("C3", "LONGE.RET", "TEMP/NAOEXISTE", "TODOS", "TODOS");
    const Linhas parque = {LINHA(400, {{1, "0"}, {95, "091219"}}),
                           LINHA(400, {{1, "1"}, {71, "TITULO000001"}, {109, "06"}, {153, "0000000000100"}}),
                           LINHA(400, {{1, "9"}})};
    const std::string planilha = TEXTO({LINHA_CURTA({{1, "1TITULO000001"}, {22, "0000000000100"}})});
    for (const char* dir : {"TEMP/C1", "TEMP/C2"}) {
        fs::create_directories(dir);
        GRAVA_ARQUIVO_TESTE(std::string(dir) + "/RC090000.001", TEXTO(parque));
    }
    GRAVA_ARQUIVO_TESTE("TEMP/C1/PLAN0912.TXT", planilha);
    fs::create_directory("BLOQ.RT1");  // the first file cannot take its name

    SEGREGA_RETORNOS(0);

    EXPECT_EQ(a.Mensagens().size(), 1u);  // the writer's error for BLOQ.RT1
    EXPECT_TRUE(fs::is_directory("BLOQ.RT1"));
    // Both consolidated files or neither: the second is not written alone.
    EXPECT_FALSE(ArquivoExiste("BLOQ.RT2"));
    EXPECT_EQ(ENTRADAS("TEMP/C1"), (Linhas{"PLAN0912.TXT", "RC090000.001"}));
    EXPECT_EQ(LE_ARQUIVO("TEMP/C1/PLAN0912.TXT"), planilha);
    EXPECT_EQ(ENTRADAS("TEMP/C2"), Linhas{"RC090000.001"});
    const std::string log = LE_ARQUIVO("CV091234.LOG");
    for (const std::string& linha : {
             dez + "- Concluído com sucesso. Títulos lidos: 1 - Valor da operação: "_ansi + std::string(14, ' ') + "1,00",
             dez + "BLOQ.RT1 - 1o. Arquivo Retorno NAO GRAVADO",
             dez + "BLOQ.RT2 - 2o. Arquivo Retorno NAO GRAVADO",
             dez + "- Arquivos do diretório temporário mantidos para nova consolidação: TEMP/C1"_ansi,
             "OCORRÊNCIAS DOS ARQUIVOS RETORNO NÃO DEFINIDAS PARA O CLIENTE C2 - ARQUIVOS MANTIDOS EM TEMP/C2"_ansi,
             "DIRETÓRIO TEMPORÁRIO NÃO DISPONÍVEL: TEMP/NAOEXISTE"_ansi,
             "Arquivos de Cobrança 400 gravados:    0"_ansi,
         })
        EXPECT_TRUE(temLinha(log, linha)) << linha;
    for (const auto& nome : ENTRADAS(".")) EXPECT_FALSE(EhDiarioDeExecucao(nome)) << nome;
}

// A parked return that cannot be read stops its client's consolidation
// before anything is written; every parked file stays. Run by an
// unprivileged user, for whom permissions count.
TEST(ConsolidacaoFalhas, ArquivoEstacionadoIlegivelGuardaTodos) {
    AmbienteConcatenacao a;
    a.Cliente("C1", "C", "", {{"ARQRETCLI", "C1.RET"}, {"DIRTEMP", "TEMP/C1"}, {"CODCOBLIQ", "TODOS"}});
    fs::create_directories("TEMP/C1");
    const std::string parque = TEXTO({LINHA(400, {{1, "0"}}), LINHA(400, {{1, "1"}, {109, "06"}}), LINHA(400, {{1, "9"}})});
    GRAVA_ARQUIVO_TESTE("TEMP/C1/RC090000.001", parque);
    GRAVA_ARQUIVO_TESTE("TEMP/C1/RC090000.002", parque);
    for (const auto& e : fs::recursive_directory_iterator("."))
        fs::permissions(e.path(), fs::perms::all);
    fs::permissions(".", fs::perms::all);
    fs::permissions("TEMP/C1/RC090000.002", fs::perms::none);

    ProcessoFilho filho([](const CanalProcesso&) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 10;
        SEGREGA_RETORNOS(0);
        if (!temLinha(LE_ARQUIVO("CV091234.LOG"),
                      "NÃO CONSEGUIU LER O ARQUIVO: TEMP/C1/RC090000.002 - ARQUIVOS MANTIDOS"_ansi))
            return 11;
        return 0;
    });
    EXPECT_EQ(filho.Espera(), 0);
    EXPECT_EQ(ENTRADAS("TEMP/C1"), (Linhas{"RC090000.001", "RC090000.002"}));
    EXPECT_FALSE(ArquivoExiste("C1.RT1"));
}

// A temporary directory that is the holding directory (here through a
// link), or another client's, is refused for consolidation: the remittance
// copies there are not parked returns and stay; only the system's own
// parked names are ever consolidated.
TEST(ConsolidacaoFalhas, DiretorioTemporarioQueNaoEDoCliente) {
    AmbienteConcatenacao a;
    a.InstalacaoPadrao();
    fs::create_directories("GUARDA");
    fs::create_directory_symlink("GUARDA", "ATALHO");
    a.Cliente("C1", "C", "", {{"ARQRETCLI", "C1.RET"}, {"DIRTEMP", "ATALHO"}, {"CODCOBLIQ", "TODOS"},
                              {"CODCOBCON", "TODOS"}});
    const Linhas parque = {LINHA(400, {{1, "0"}, {95, "091219"}}), LINHA(400, {{1, "1"}, {109, "06"}}),
                           LINHA(400, {{1, "9"}})};
    GRAVA_ARQUIVO_TESTE("GUARDA/BETA.001", TEXTO(parque));
    GRAVA_ARQUIVO_TESTE("GUARDA/RC090000.001", TEXTO(parque));
    SEGREGA_RETORNOS(0);
    ASSERT_EQ(a.Mensagens().size(), 1u);
    EXPECT_NE(a.Mensagens()[0].find("GUARDA"), std::string::npos) << a.Mensagens()[0];
    EXPECT_EQ(ENTRADAS("GUARDA"), (Linhas{"BETA.001", "RC090000.001"}));
    EXPECT_FALSE(ArquivoExiste("C1.RT1"));

    // Its own directory: the remittance-like name is left alone.
    a.Cliente("C2", "C", "", {{"ARQRETCLI", "C2.RET"}, {"DIRTEMP", "TEMP/C2"}, {"CODCOBLIQ", "TODOS"},
                              {"CODCOBCON", "TODOS"}});
    fs::create_directories("TEMP/C2");
    GRAVA_ARQUIVO_TESTE("TEMP/C2/BETA.001", TEXTO(parque));
    GRAVA_ARQUIVO_TESTE("TEMP/C2/RC090000.001", TEXTO(parque));
    a.g.dialogo().mensagens.clear();
    SEGREGA_RETORNOS(0);
    EXPECT_EQ(ENTRADAS("TEMP/C2"), Linhas{"BETA.001"});
    EXPECT_TRUE(ArquivoExiste("C2.RT1"));
}
