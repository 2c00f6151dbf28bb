#include <gtest/gtest.h>

#include <sstream>

#include "core/dialogo/dialogo_console.h"
#include "core/geral.h"
#include "core/texto/ansi.h"

namespace {

struct Console {
    std::ostringstream saida;
    std::istringstream entrada;
    DialogoConsole dialogo;
    explicit Console(bool terminal, const std::string& digitado = "")
        : entrada(digitado), dialogo({&saida, &entrada, terminal, false}) {}
};

}  // namespace

TEST(DialogoConsole, MensagemEmUtf8ComOTipoNaFrente) {
    std::ostringstream saida;
    TmvGERAL geral(std::make_unique<DialogoConsole>(
        DialogoConsole::Config{&saida, nullptr, false, false}));
    geral.MENSAGEM("ARQUIVO NÃO ENCONTRADO.\r\nNome : X"_ansi, somERRO);
    geral.MENSAGEM("Conversão concluída."_ansi, somSUCESSO);
    geral.MENSAGEM("FALHOU.", somERRO, "Erro de tratamento de arquivo");
    geral.MENSAGEM("FIM", somFINALIZA);
    EXPECT_EQ(saida.str(),
              "ATENÇÃO: ARQUIVO NÃO ENCONTRADO.\nNome : X\n"
              "AVISO: Conversão concluída.\n"
              "ATENÇÃO: Erro de tratamento de arquivo: FALHOU.\n"
              "AVISO: FIM\n");
    EXPECT_EQ(geral.Dialogo().ErrosMostrados(), 2);
}

TEST(DialogoConsole, SemTerminalNinguemEsperaResposta) {
    Console c(false, "n\nCLIENTE\n05/03/2019\ni\n");
    EXPECT_TRUE(c.dialogo.Pergunta("Confirma?", "Confirme", true));
    EXPECT_FALSE(c.dialogo.Pergunta("Exclui?", "Cliente", false));
    EXPECT_EQ(c.dialogo.ErrosMostrados(), 0);
    // Typed input cannot be given: Cancel, and the reason is an error.
    EXPECT_EQ(c.dialogo.CodigoCliente("Leitura do Arquivo Remessa"), std::nullopt);
    EXPECT_EQ(c.dialogo.ErrosMostrados(), 1);
    const TData d = CodificaData(2019, 1, 2);
    EXPECT_EQ(c.dialogo.DataInicioContrato(d), d);
    EXPECT_EQ(c.dialogo.DataInicioContrato(0), std::nullopt);
    EXPECT_EQ(c.dialogo.ErrosMostrados(), 2);
    EXPECT_EQ(c.dialogo.DestinoRelatorio("LISTAGEM", {}), dstPDF);
    std::string resto;
    std::getline(c.entrada, resto);
    EXPECT_EQ(resto, "n");  // nothing was read
    EXPECT_NE(c.saida.str().find("CÓDIGO DO CLIENTE"), std::string::npos);
}

TEST(DialogoConsole, NoTerminalPerguntaEConverteODigitado) {
    Console c(true, "talvez\nn\n\nAÇÃO-01\n\n31/12/2019\nx\ni\n");
    EXPECT_FALSE(c.dialogo.Pergunta("Confirma?", "Confirme", true));  // asked again after "talvez"
    EXPECT_TRUE(c.dialogo.Pergunta("Confirma?", "Confirme", true));   // Enter
    EXPECT_EQ(c.dialogo.CodigoCliente("Remessa"), std::optional<std::string>("AÇÃO-01"_ansi));
    const TData d = CodificaData(2019, 1, 2);
    EXPECT_EQ(c.dialogo.DataInicioContrato(d), d);  // Enter keeps the pre-filled date
    EXPECT_EQ(c.dialogo.DataInicioContrato(d), CodificaData(2019, 12, 31));
    EXPECT_EQ(c.dialogo.DestinoRelatorio("LISTAGEM", {"linha"}), dstIMPRESSORA);
    EXPECT_FALSE(c.dialogo.Pergunta("Confirma?", "Confirme", false));  // end of input
    EXPECT_EQ(c.dialogo.CodigoCliente("Remessa"), std::nullopt);
    EXPECT_EQ(c.dialogo.ErrosMostrados(), 0);
}
