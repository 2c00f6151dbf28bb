#include <gtest/gtest.h>

#include "core/dados/dia_exemplo.h"
#include "core/dados/instalacao.h"
#include "core/texto/ansi.h"
#include "registers/cli_cadastro.h"
#include "support/dados_teste.h"

namespace {

// A client of item index `indice` that passes every check, to spoil one
// field at a time.
void preencheValido(TcadCLIENTE& c, int indice) {
    c.TXTCODCLI = "CLI1";
    c.TXTNOMEEMP = "EMPRESA";
    c.ITEMINDEX = indice;
    c.KARQREMBAN = "REMBAN";
    c.KARQRETBAN = "RETBAN";
    c.KARQRETCLI = "RETCLI";
    c.KLEGENINS = "LEG";
    c.KIDENTEMP = "IDENT";
    c.KNUMPROGOP = 12;
    c.KATIVICLI = 3;
    c.KTIPEQUCLI = "N";
    c.KNUMCONV = "123";
    c.KAGEFOR = "0001";
    c.KCGCCLI = "11222333000181";
}

class CliCadastro : public ::testing::Test {
protected:
    CliCadastro() {
        DMQUOR().TBCONVECLI.Open();
        DMQUOR().TBCONVEPEN.Open();
    }
    Tabela& cli() { return DMQUOR().TBCONVECLI; }
    std::string ultimaMensagem() {
        auto m = dados.mensagens();
        return m.empty() ? std::string() : m.back();
    }
    bool valida(TcadCLIENTE& c) { return c.CLI_KMENS(false); }

    DadosDeTeste dados;
    TmanCONVECLI oman;
};

}  // namespace

TEST(CliValidaCampo, TamanhosPosicoesETextos) {
    std::string m;
    EXPECT_TRUE(CLI_VALIDACAMPO(0, 0, "C", " ", "", m));  // an empty rule
    EXPECT_EQ(m, "");
    EXPECT_TRUE(CLI_VALIDACAMPO(36, 46, "C", "12345678901", " ABCDEFGHIJK ", m));
    EXPECT_FALSE(CLI_VALIDACAMPO(36, 46, "C", "1234567890", "ABCDEFGHIJK", m));
    EXPECT_EQ(m, "CAMPO ORIGINAL MENOR QUE O TAMANHO INFORMADO.");
    EXPECT_FALSE(CLI_VALIDACAMPO(36, 46, "C", "12345678901", "ABCDEFGHIJKL", m));
    EXPECT_EQ(m, "CAMPO DE TRADUÇÃO MAIOR QUE O TAMANHO INFORMADO."_ansi);
    // Each record length has its own limit.
    EXPECT_FALSE(CLI_VALIDACAMPO(250, 251, "V", "12", "34", m));
    EXPECT_EQ(m, "POSIÇÃO FINAL DO CAMPO > TAMANHO DO REGISTRO(250)"_ansi);
    EXPECT_TRUE(CLI_VALIDACAMPO(399, 400, "C", "12", "34", m));
    EXPECT_FALSE(CLI_VALIDACAMPO(239, 241, "A", "123", "456", m));
    // Which part is missing is said in this order.
    EXPECT_FALSE(CLI_VALIDACAMPO(0, 5, "C", "", "", m));
    EXPECT_EQ(m, "POSIÇÃO INICIAL NÃO INFORMADA."_ansi);
    EXPECT_FALSE(CLI_VALIDACAMPO(5, 0, "C", "", "", m));
    EXPECT_EQ(m, "POSIÇÃO FINAL CAMPO NÃO INFORMADO."_ansi);
    EXPECT_FALSE(CLI_VALIDACAMPO(36, 46, "C", "", "", m));  // positions with empty texts
    EXPECT_EQ(m, "TRADUÇÃO PARA O CAMPO NÃO INFORMADA."_ansi);
}

TEST_F(CliCadastro, GruposDeVerificacaoNaOrdemEComSubstituicao) {
    TcadCLIENTE c(cli(), oman, fmINCLUSAO);
    c.FormShow();
    // Celpav: group 2 replaces group 1's message; once it is satisfied,
    // group 1's own failure shows.
    preencheValido(c, 2);
    c.TXTNOMEEMP = "";
    c.KNUMPROGOP = 0;
    EXPECT_FALSE(valida(c));
    EXPECT_EQ(ultimaMensagem(), "PROGRAMA OPERACIONAL DA EMPRESA NÃO INFORMADO."_ansi);
    c.KNUMPROGOP = 5;
    EXPECT_FALSE(valida(c));
    EXPECT_EQ(ultimaMensagem(), "NOME DA EMPRESA NÃO FOI INFORMADO."_ansi);
    c.TXTNOMEEMP = "EMPRESA";
    c.KTIPEQUCLI = "";  // a Celpav window never confirmed
    EXPECT_FALSE(valida(c));
    EXPECT_EQ(ultimaMensagem(), "NÃO IDENTIFICADO SE É EQUALIZAÇÃO ANTECIPADA OU NÃO."_ansi);

    // CNPJ: required for Cofap only, checked for every type.
    preencheValido(c, 0);
    c.KCGCCLI = "";
    EXPECT_FALSE(valida(c));
    EXPECT_EQ(ultimaMensagem(), "CNPJ DO CLIENTE NÃO FOI INFORMADO."_ansi);
    preencheValido(c, 1);
    c.KCGCCLI = "";
    EXPECT_TRUE(valida(c));
    c.KCGCCLI = "11222333000182";
    EXPECT_FALSE(valida(c));
    EXPECT_NE(ultimaMensagem().find("CNPJ"), std::string::npos) << ultimaMensagem();

    // Legend: a digit first is refused for every type; empty only for 1, 3, 4.
    preencheValido(c, 5);
    c.KLEGENINS = "1AB";
    EXPECT_FALSE(valida(c));
    EXPECT_EQ(ultimaMensagem(), "LEGENDA (MNEMÔNICO) DEVE INICIAR COM LETRA."_ansi);
    c.KLEGENINS = "";
    EXPECT_TRUE(valida(c));
    preencheValido(c, 3);
    c.KLEGENINS = "";
    EXPECT_FALSE(valida(c));
    EXPECT_EQ(ultimaMensagem(), "LEGENDA (MNEMÔNICO) NÃO INFORMADO."_ansi);

    // Wabco's programme field is its consignor code; Cofap's is the programme.
    preencheValido(c, 3);
    c.KNUMPROGOP = 0;
    EXPECT_FALSE(valida(c));
    EXPECT_EQ(ultimaMensagem(), "CÓDIGO DA EMPRESA CONSIGNANTE NÃO INFORMADO."_ansi);
    preencheValido(c, 0);
    c.KNUMPROGOP = 0;
    EXPECT_FALSE(valida(c));
    EXPECT_EQ(ultimaMensagem(), "PROGRAMA OPERACIONAL DA EMPRESA NÃO INFORMADO."_ansi);

}

TEST_F(CliCadastro, RegrasECodigosDeCobranca) {
    TcadCLIENTE c(cli(), oman, fmINCLUSAO);
    c.FormShow();
    preencheValido(c, 5);  // Cobrança 400
    ASSERT_TRUE(c.DetalhaCliente());
    // The default positions come with empty texts: refused until filled in.
    EXPECT_FALSE(valida(c));
    EXPECT_EQ(ultimaMensagem(), "CAMPO 1 : TRADUÇÃO PARA O CAMPO NÃO INFORMADA."_ansi);
    c.KTBHEACON[1] = {36, 46, "12345678901", "ABCDEFGHIJK"};
    c.KTBHEACON[2] = {};
    c.KTBDETCON[2] = {};
    // The first detail rule is numbered 1 as well.
    c.KTBDETCON[1] = {20, 37, "SHORT", "ABCDEFGHIJKLMNOPQR"};
    EXPECT_FALSE(valida(c));
    EXPECT_EQ(ultimaMensagem(), "CAMPO 1 : CAMPO ORIGINAL MENOR QUE O TAMANHO INFORMADO.");
    // Group 4 replaces group 3's message.
    c.KCODCOBLIQ = "02";
    EXPECT_FALSE(valida(c));
    EXPECT_EQ(ultimaMensagem(), "DIRETÓRIO TEMPORÁRIO PRECISA SER INFORMADO (PARA CÓDIGO)."_ansi);
    c.KTBDETCON[1] = {};
    c.KCODCOBLIQ = "";
    c.KDIRTEMP = "TMP";
    EXPECT_FALSE(valida(c));
    EXPECT_EQ(ultimaMensagem(), "PELO MENOS UM CÓDIGO PRECISA SER INFORMADO (COM DIRETÓRIO)."_ansi);
    c.KCODCOBCON = "06";
    EXPECT_TRUE(valida(c));

    // Vendor 240 and Desconto rules are stored unchecked.
    for (int indice : {6, 8}) {
        preencheValido(c, indice);
        c.KTBHEACON[1] = {59, 71, "", ""};
        EXPECT_TRUE(valida(c)) << indice;
    }
}

TEST_F(CliCadastro, DetalhamentoPoeAsPosicoesPadraoSoNaInclusao) {
    TcadCLIENTE c(cli(), oman, fmINCLUSAO);
    c.FormShow();
    EXPECT_FALSE(c.DetalhaCliente());
    EXPECT_EQ(ultimaMensagem(),
              "AINDA NÃO FOI DEFINIDO O TIPO DA EMPRESA. NÃO PODE FAZER O DETALHAMENTO."_ansi);
    c.ITEMINDEX = 7;  // Vendor 250
    c.KTBDETCON[3] = {1, 2, "AB", "CD"};  // typed in an earlier opening
    ASSERT_TRUE(c.DetalhaCliente());
    EXPECT_EQ(c.KTBHEACON[1].S5_INI, 36);
    EXPECT_EQ(c.KTBHEACON[1].S5_FIN, 46);
    EXPECT_EQ(c.KTBDETCON[1].S5_INI, 101);
    EXPECT_EQ(c.KTBDETCON[1].S5_FIN, 105);
    EXPECT_EQ(c.KTBDETCON[3].S5_INI, 0);
    EXPECT_EQ(c.KTBHEACON[1].S5_ORI, "");
    // Rules confirmed in the detail window stay for the next opening...
    c.KTBHEACON[1].S5_ORI = "12345678901";
    c.KTBDETCON[3] = {1, 2, "AB", "CD"};
    ASSERT_TRUE(c.DetalhaCliente());
    EXPECT_EQ(c.KTBHEACON[1].S5_ORI, "12345678901");
    EXPECT_EQ(c.KTBDETCON[3].S5_TRA, "CD");
    // ...until another type is chosen, whose defaults then apply.
    c.ITEMINDEX = 5;  // Cobrança 400
    ASSERT_TRUE(c.DetalhaCliente());
    EXPECT_EQ(c.KTBHEACON[2].S5_INI, 77);
    EXPECT_EQ(c.KTBHEACON[1].S5_ORI, "");
}

// The operator must be able to open any client of the example day and save
// it unchanged: every register passes the register's own checks.
TEST(CliCadastroExemplo, ClientesDoDiaDeExemploPassamNaVerificacao) {
    const TData dia = CodificaData(2026, 12, 9);
    GeralDeTeste g(dia);
    DiretorioDeTrabalho d;
    InstalaDiretorioDeDados(".", true, dia);
    InstalaDiaDeExemplo(".", dia);
    Tabela& cli = DMQUOR().TBCONVECLI;
    cli.Open();
    TmanCONVECLI oman;
    int clientes = 0;
    for (cli.First(); !cli.Eof(); cli.Next(), ++clientes) {
        TcadCLIENTE c(cli, oman, fmALTERACAO);
        c.FormShow();
        EXPECT_TRUE(c.CLI_KMENS(false))
            << c.TXTCODCLI << ": "
            << (g.dialogo().mensagens.empty() ? "" : g.dialogo().mensagens.back().texto);
    }
    EXPECT_GE(clientes, 9);
    DMQUOR().FechaTodas();
}

TEST_F(CliCadastro, GravaInclusaoEAlteracaoNoLugar) {
    TcadCLIENTE c(cli(), oman, fmINCLUSAO);
    c.FormShow();
    preencheValido(c, 5);
    ASSERT_TRUE(c.DetalhaCliente());
    c.KTBHEACON[1] = {36, 46, "12345678901", "ABCDEFGHIJK"};
    c.KTBHEACON[2] = {};
    c.KTBDETCON[1] = {};
    c.KTBDETCON[2] = {};
    c.KULTPASCLI = 7;
    ASSERT_TRUE(c.CLI_KMENS(true));
    ASSERT_EQ(cli().RecordCount(), 1);
    ASSERT_TRUE(cli().Locate("CODCLI", {"CLI1"}));
    EXPECT_EQ(cli().FieldByName("TIPOEMP").AsString(), "C");
    EXPECT_EQ(cli().FieldByName("DATAINC").AsDate(), dados.g.geral().DATADIA);
    EXPECT_EQ(cli().FieldByName("ULTPASCLI").AsInteger(), 7);
    EXPECT_EQ(cli().FieldByName("CGCFOR").AsString(), "11222333000181");
    EXPECT_EQ(cli().FieldByName("CONHEACP1").Bruto(),
              " 36 4612345678901" + std::string(19, ' ') + "ABCDEFGHIJK" + std::string(19, ' '));
    EXPECT_EQ(cli().FieldByName("CONDETCP3").Bruto(), "  0  0" + std::string(60, ' '));

    // A code typed with a trailing blank is the same code.
    TcadCLIENTE d(cli(), oman, fmINCLUSAO);
    d.FormShow();
    preencheValido(d, 4);
    d.TXTCODCLI = "CLI1 ";
    EXPECT_FALSE(d.CLI_KMENS(true));
    EXPECT_EQ(ultimaMensagem(), "CÓDIGO DO CLIENTE INFORMADO JÁ EXISTENTE NA TABELA."_ansi);

    // Altering: the same row, its inclusion date kept, a new type written.
    dados.g.geral().DATADIA += 10;
    ASSERT_TRUE(cli().Locate("CODCLI", {"CLI1"}));
    TcadCLIENTE a(cli(), oman, fmALTERACAO);
    a.FormShow();
    EXPECT_FALSE(a.CodigoHabilitado());
    EXPECT_EQ(a.ITEMINDEX, 5);
    EXPECT_EQ(a.KTBHEACON[1].S5_TRA, "ABCDEFGHIJK");
    EXPECT_EQ(a.KULTPASCLI, 7);
    a.TXTNOMEEMP = "OUTRO NOME";
    ASSERT_TRUE(a.CLI_KMENS(true));  // no duplicate check on alteration
    EXPECT_EQ(cli().RecordCount(), 1);
    ASSERT_TRUE(cli().Locate("CODCLI", {"CLI1"}));
    EXPECT_EQ(cli().FieldByName("NOMEEMP").AsString(), "OUTRO NOME");
    EXPECT_EQ(cli().FieldByName("DATAINC").AsDate(), dados.g.geral().DATADIA - 10);
}

TEST_F(CliCadastro, FiliaisDoBrSoNoPrimeiroCampoDeDetalhe) {
    cli().Append();
    cli().FieldByName("CODCLI").SetAsString("BR1");
    cli().FieldByName("TIPOEMP").SetAsString("2");
    cli().FieldByName("CONDETCP1").SetAsString("001     5002    12");
    cli().FieldByName("CONDETCP2").SetAsString("GUARDADO");
    cli().Post();
    TcadCLIENTE c(cli(), oman, fmALTERACAO);
    c.FormShow();
    EXPECT_EQ(c.KTBBRFILIAL[2].S6_FILIAL, "002");
    EXPECT_EQ(c.KTBBRFILIAL[2].S6_ULTRETBR, 12);
    preencheValido(c, 1);
    c.TXTCODCLI = "BR1";
    c.KCGCCLI = "";
    c.KTBBRFILIAL[3] = {"7", 999};
    ASSERT_TRUE(c.CLI_KMENS(true));
    ASSERT_TRUE(cli().Locate("CODCLI", {"BR1"}));
    EXPECT_EQ(cli().FieldByName("CONDETCP1").Bruto().substr(0, 45),
              "001     5"
              "002    12"
              "7     999"
              "        0"
              "        0");
    EXPECT_EQ(cli().FieldByName("CONDETCP2").AsString(), "GUARDADO");
}

TEST_F(CliCadastro, GravacaoQueFalhaNaoDeixaMeioCliente) {
    TcadCLIENTE c(cli(), oman, fmINCLUSAO);
    c.FormShow();
    preencheValido(c, 1);
    c.KULTREMBAN = 1234567;  // wider than its field
    EXPECT_THROW(c.CLI_KMENS(true), ErroTabela);
    EXPECT_EQ(cli().RecordCount(), 0);
}

TEST_F(CliCadastro, ExclusaoRecusadaComPendenciasEConfirmadaSemElas) {
    for (const char* codigo : {"A1", "B2"}) {
        cli().Append();
        cli().FieldByName("CODCLI").SetAsString(codigo);
        cli().Post();
    }
    Tabela& pen = DMQUOR().TBCONVEPEN;
    pen.Append();
    pen.FieldByName("CODCLI").SetAsString("A1");
    pen.FieldByName("DTRETORNO").SetAsDate(CodificaData(2020, 1, 1));  // answered long ago
    pen.Post();

    ASSERT_TRUE(cli().Locate("CODCLI", {"A1"}));
    EXPECT_FALSE(ExcluiCliente(cli(), pen));
    EXPECT_EQ(ultimaMensagem(),
              "CLIENTE COM REMESSAS PENDENTES DE RETORNO. NÃO PODE SER EXCLUÍDO."_ansi);
    EXPECT_TRUE(dados.dialogo().perguntas.empty());

    ASSERT_TRUE(cli().Locate("CODCLI", {"B2"}));
    EXPECT_FALSE(ExcluiCliente(cli(), pen));  // Enter answers the default, Não
    ASSERT_EQ(dados.dialogo().perguntas.size(), 1u);
    EXPECT_EQ(dados.dialogo().perguntas[0].titulo, "Cliente : B2");
    EXPECT_FALSE(dados.dialogo().perguntas[0].padraoSim);
    dados.dialogo().respostasSimNao.push_back(true);
    ASSERT_TRUE(cli().Locate("CODCLI", {"B2"}));
    EXPECT_TRUE(ExcluiCliente(cli(), pen));
    EXPECT_EQ(cli().RecordCount(), 1);

    const auto linhas = LinhasDosClientes(cli());
    ASSERT_EQ(linhas.size(), 1u);
    EXPECT_EQ(linhas[0].CODCLI, "A1");
}
