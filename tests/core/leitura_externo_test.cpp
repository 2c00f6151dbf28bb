#include <gtest/gtest.h>

#include "core/arquivos/leitura_externo.h"
#include "core/texto/ansi.h"
#include "support/geral_teste.h"

using Linhas = std::vector<std::string>;

TEST(LeituraExterno, FinsDeLinhaDeTodoTipo) {
    EXPECT_EQ(TextoEmLinhas("a\r\nb\nc\rd"), (Linhas{"a", "b", "c", "d"}));
    EXPECT_EQ(TextoEmLinhas("a\r\n"), (Linhas{"a"}));  // no empty line after the last end
    EXPECT_EQ(TextoEmLinhas("a\r\r\nb\n\n"), (Linhas{"a", "", "b", ""}));
    EXPECT_EQ(TextoEmLinhas(""), Linhas{});
    EXPECT_EQ(TextoEmLinhas("\r\n"), (Linhas{""}));
}

// A file is read a piece at a time: a line, or the two bytes of a CR LF,
// may be cut anywhere between two pieces.
TEST(LeituraExterno, LinhasCortadasEntrePedacos) {
    for (const std::string texto : {"ab\r\ncd\r\n", "a\r\r\nb\n\nc", "\r\n\r\n", "x\ry\rz", "um só"}) {
        const Linhas inteiro = TextoEmLinhas(texto);
        for (std::size_t i = 0; i <= texto.size(); ++i)
            for (std::size_t j = i; j <= texto.size(); ++j) {
                Linhas linhas;
                CortadorDeLinhas cortador(linhas);
                cortador.Acrescenta(std::string_view(texto).substr(0, i));
                cortador.Acrescenta(std::string_view(texto).substr(i, j - i));
                cortador.Acrescenta(std::string_view(texto).substr(j));
                cortador.Termina();
                EXPECT_EQ(linhas, inteiro) << "cortes em " << i << " e " << j << " de " << texto;
            }
    }
}

TEST(LeituraExterno, MarcaDeFimDeArquivo) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    TaexLEITURAEXTERNO leitor;
    GRAVA_ARQUIVO_TESTE("COM_MARCA.TXT", "L1\r\nL2\r\n\x1A");
    ASSERT_TRUE(leitor.TXT_TO_MEMO("COM_MARCA.TXT"));
    EXPECT_EQ(leitor.TABDADOS, (Linhas{"L1", "L2"}));
    GRAVA_ARQUIVO_TESTE("MARCA_NO_FIM.TXT", "L1\r\nL2\x1A");
    ASSERT_TRUE(leitor.TXT_TO_MEMO("MARCA_NO_FIM.TXT"));
    EXPECT_EQ(leitor.TABDADOS, (Linhas{"L1", "L2\x1A"}));
    EXPECT_EQ(t.dialogo().cursores, (std::vector<bool>{true, false, true, false}));
}

TEST(LeituraExterno, AnexaNaOrdemEFalhaSemMexerNaLista) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    GRAVA_ARQUIVO_TESTE("um.txt", "1a\r\n1b\r\n");
    GRAVA_ARQUIVO_TESTE("DOIS.TXT", "2a");
    GRAVA_ARQUIVO_TESTE("tres.TXT", "3a\n3b\n");
    TaexLEITURAEXTERNO leitor;
    leitor.TABDADOS = {"velha"};
    ASSERT_TRUE(leitor.TXT_TO_MEMO("UM.TXT"));  // names are found in any case
    ASSERT_TRUE(leitor.ANEXA_TO_MEMO("dois.txt"));
    ASSERT_TRUE(leitor.ANEXA_TO_MEMO("TRES.TXT"));
    EXPECT_EQ(leitor.TABDADOS, (Linhas{"1a", "1b", "2a", "3a", "3b"}));

    EXPECT_FALSE(leitor.ANEXA_TO_MEMO("NAO_EXISTE.TXT"));
    ::mkdir("PASTA", 0777);
    EXPECT_FALSE(leitor.ANEXA_TO_MEMO("PASTA"));
    EXPECT_FALSE(leitor.TXT_TO_MEMO("NAO_EXISTE.TXT"));
    EXPECT_TRUE(leitor.TABDADOS.empty());
    EXPECT_TRUE(t.dialogo().mensagens.empty());  // the caller reports
}

TEST(LeituraExterno, ArquivoUnicodeViraWindows1252) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    GRAVA_ARQUIVO_TESTE("BOM.TXT", "\xEF\xBB\xBF" "AÇÃO\r\nSÃO PAULO\r\n");
    TaexLEITURAEXTERNO leitor;
    ASSERT_TRUE(leitor.TXT_TO_MEMO("BOM.TXT"));
    EXPECT_EQ(leitor.TABDADOS, (Linhas{"AÇÃO"_ansi, "SÃO PAULO"_ansi}));
    EXPECT_EQ(leitor.TABDADOS[0].size(), 4u);  // one byte per character
}
