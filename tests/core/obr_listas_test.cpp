#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/arquivos/obr_listas.h"
#include "support/geral_teste.h"

TEST(ObrListas, OrdemPeloCodigoDoCaractere) {
    std::vector<std::string> l{"b", "Z", "\xC9", "a", "B"};
    OBR_ORDENALISTA(l);
    EXPECT_EQ(l, (std::vector<std::string>{"B", "Z", "a", "b", "\xC9"}));
    EXPECT_EQ(OBR_POSLISTA(l, "a"), 2);
    EXPECT_EQ(OBR_POSLISTA(l, "A"), -1);
    OBR_ADDLISTA(l, "a");
    EXPECT_EQ(OBR_POSLISTA(l, "a"), 2);
}

TEST(ObrListaArq, EntradasDoDiretorioEmMaiusculas) {
    DiretorioDeTrabalho dir;
    for (const char* n : {"b.txt", "A.TXT", "c.TxTx", "semextensao", ".oculto", "x.dbf"})
        GRAVA_ARQUIVO_TESTE(n, "");
    ::mkdir("Pasta", 0777);

    std::vector<std::string> l{"lixo"};
    OBR_LISTAARQ("*", ".", false, l);
    EXPECT_EQ(l, (std::vector<std::string>{".OCULTO", "A.TXT", "B.TXT", "C.TXTX", "PASTA",
                                           "SEMEXTENSAO", "X.DBF"}));

    OBR_LISTAARQ("TXT", ".", false, l);
    EXPECT_EQ(l, (std::vector<std::string>{"A.TXT", "B.TXT"}));

    OBR_LISTAARQ("", ".", false, l);  // names without extension, eight characters
    EXPECT_EQ(l, (std::vector<std::string>{"PASTA", "SEMEXTEN"}));

    ::mkdir("sub", 0777);
    GRAVA_ARQUIVO_TESTE("sub/Dentro.dbf", "");
    OBR_LISTAARQ("dbf", "sub", true, l);
    EXPECT_EQ(l, (std::vector<std::string>{"DENTRO.DBF"}));

    OBR_LISTAARQ("*", "nao-existe", false, l);
    EXPECT_TRUE(l.empty());
}
