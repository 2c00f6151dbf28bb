#pragma once
// A second, deliberately separate reading of FoxPro compact compound index
// files, used only by tests to check what the engine writes. It knows nothing
// of the engine's writer: it walks a file the way another xBase tool would and
// refuses anything that breaks the rules of the format, saying where.

#include <cstdint>
#include <string>
#include <vector>

struct CdxEntradaTeste {
    std::string chave;       // expanded to the full key length
    std::uint32_t registro;  // record number (for the tag directory: tag header offset)
};

struct CdxCabecalhoTeste {
    std::uint32_t deslocamento = 0;  // where the 1024-byte header lies
    std::uint32_t raiz = 0;
    std::uint32_t livres = 0;
    std::uint32_t versao = 0;
    int tamanhoChave = 0;
    int opcoes = 0;
    int assinatura = 0;
    int descendente = 0;
    std::string expressao;
    std::string expressaoFor;
};

struct CdxArvoreTeste {
    CdxCabecalhoTeste cabecalho;
    std::vector<CdxEntradaTeste> entradas;  // in leaf-chain order
    int niveis = 0;                          // 1 = the root is a leaf
    int folhas = 0;
};

struct CdxTagTeste {
    std::string tag;  // without padding
    CdxArvoreTeste arvore;
};

struct CdxArquivoTeste {
    std::uintmax_t tamanhoArquivo = 0;
    CdxArvoreTeste diretorio;
    std::vector<CdxTagTeste> tags;  // in directory order
};

// Reads and checks the whole file. Throws std::runtime_error naming the page
// and the broken rule: misaligned or out-of-range pointers, a page reached
// twice, sibling links that do not agree both ways, leaves at different
// depths, interior keys that are not the highest key of their child, leaf
// headers whose masks or widths disagree, a free-bytes field that does not
// match, keys out of order.
CdxArquivoTeste LeCdxParaTeste(const std::string& caminho);
