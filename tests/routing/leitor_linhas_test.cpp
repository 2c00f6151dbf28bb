#include "routing/leitor_linhas.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/arquivos/leitura_externo.h"
#include "support/geral_teste.h"

namespace {

// The lines read; each one the reader places in the file must be there,
// followed by CR LF.
int colocadas = 0;  // lines placed in their file by the last reading

std::vector<std::string> leitura(const std::string& caminho) {
    colocadas = 0;
    LeitorDeLinhas l;
    EXPECT_EQ(l.Abre(caminho), LeitorDeLinhas::Abertura::aberto);
    const std::string bytes = LE_ARQUIVO(caminho);
    std::vector<std::string> r;
    std::string_view v;
    while (l.Proxima(v)) {
        r.emplace_back(v);
        long long inicio = 0;
        if (l.TrechoDoArquivo(inicio)) {
            ++colocadas;
            EXPECT_EQ(bytes.substr(static_cast<std::size_t>(inicio), v.size() + 2), std::string(v) + "\r\n")
                << caminho << " linha " << r.size();
        }
    }
    EXPECT_FALSE(l.Falhou());
    return r;
}

std::vector<std::string> inteira(const std::string& caminho) {
    TaexLEITURAEXTERNO t;
    EXPECT_TRUE(t.TXT_TO_MEMO(caminho));
    return t.TABDADOS;
}

}  // namespace

// The stream gives the lines the whole-file reader gives, wherever the line
// ends fall against the pieces it reads.
TEST(LeitorDeLinhas, AsMesmasLinhasQueALeituraInteira) {
    DiretorioDeTrabalho d;
    const std::size_t pedaco = 4u << 20;
    std::string grande(pedaco - 1, 'x');
    grande += "\r\nSEGUNDA\rTERCEIRA\n\nQUINTA\r\n";
    for (int i = 0; i < 30000; ++i) grande += std::string(400, static_cast<char>('a' + i % 26)) + "\r\n";
    std::string lf(pedaco - 3, 'y');
    lf += "\n\r\n";
    const std::string casos[] = {
        "",
        "A\r\nB\r\n",
        "A\nB\rC\r\n\r\nD",
        "A\r\n\x1A",          // end-of-file mark alone on the last line: dropped
        "A\r\n\x1A\r\n",
        "A\r\n\x1A\r\nB\r\n",  // not the last line: kept
        "A\x1A\r\n",
        "\xEF\xBB\xBF" "A\xC3\x87\r\nB",  // UTF-8 with its mark
        grande,
        lf,
    };
    int n = 0;
    for (const std::string& c : casos) {
        const std::string nome = "caso" + std::to_string(n++);
        GRAVA_ARQUIVO_TESTE(nome, c);
        EXPECT_EQ(leitura(nome), inteira(nome)) << nome;
        if (c.size() > pedaco) {
            EXPECT_GT(colocadas, 30000) << nome;
        }
    }
}

TEST(LeitorDeLinhas, SoArquivosComunsSaoAbertos) {
    DiretorioDeTrabalho d;
    GRAVA_ARQUIVO_TESTE("real", "A\r\n");
    ASSERT_EQ(::symlink("real", "atalho"), 0);
    ASSERT_EQ(::mkfifo("cano", 0600), 0);
    ::mkdir("pasta", 0700);
    LeitorDeLinhas l;
    EXPECT_EQ(l.Abre("nada"), LeitorDeLinhas::Abertura::ausente);
    for (const char* nome : {"atalho", "cano", "pasta"})
        EXPECT_EQ(l.Abre(nome), LeitorDeLinhas::Abertura::ilegivel) << nome;
}
