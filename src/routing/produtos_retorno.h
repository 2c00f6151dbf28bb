#pragma once
// The five collection products as the bank answers them: the name prefix of
// each product's return file, where a record says its type, and where a
// client block's header carries the bank's identification of the client.
// Products are split in the order of ProdutosRetorno() (A, C, R, V, D),
// which is not the order of the remittances.

#include <array>
#include <string>
#include <string_view>

struct ProdutoRetorno {
    const char* prefixo;     // first two characters of the bank file name
    char codigo;             // TIPOEMP of its clients
    int tamanhoRegistro;     // 240, 400 or 250, as the remittance
    int posTipo;             // record-type field: 1-based start
    int tamTipo;             //   and length
    const char* codHeader;
    const char* codTrailer;
    int posIdentificacao;    // client identification in the header line
    int tamIdentificacao;
    std::string tituloSecao; // log heading, followed by the bank file name
    int tracos;              // dashes under the printed heading

    // The record-type field of a line (shorter when the line is).
    std::string_view TipoRegistro(std::string_view linha) const;
    // The client identification of a header line, blank-filled to its width
    // when the line ends before it.
    std::string Identificacao(std::string_view linha) const;
};

const std::array<ProdutoRetorno, 5>& ProdutosRetorno();
// The product of a company type; nullptr for the other types.
const ProdutoRetorno* ProdutoRetornoDe(char codigo);
// The product whose files start with the name's first two characters.
const ProdutoRetorno* ProdutoDoArquivo(const std::string& nome);
