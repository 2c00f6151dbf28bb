#pragma once
// The five collection products the routing runs gather and split: what
// identifies each one's files, where the installation record keeps its bank
// file name and sequence counter, and the texts its log prints. Products are
// always handled in the order of ProdutosRemessa().

#include <array>
#include <string>
#include <vector>

struct ProdutoRemessa {
    char codigo;                 // TIPOEMP of its clients
    int tamanhoRegistro;         // 240, 400 or 250
    const char* campoArquivo;    // bank file name template in CONVEINS
    const char* campoSequencia;  // sequence counter in CONVEINS
    int posTipo;                 // record-type field: 1-based start
    int tamTipo;                 //   and length
    const char* codHeader;
    const char* codTrailer;
    // Text the first line must hold at posConferencia (0: no check), and the
    // log text when it does not.
    int posConferencia;
    const char* textoConferencia;
    std::string semHeader;
    std::string semInstalacao;   // message when campoArquivo is blank
    std::string tituloSecao;     // log heading, followed by the bank file name
    int tracos;                  // dashes under the heading
    std::string rotuloTotal;     // label of the product's total in the log

    // The record-type field of a line (shorter when the line is).
    std::string TipoRegistro(const std::string& linha) const;
    // The first line holds the product's header mark (true when there is no
    // check).
    bool ConfereHeader(const std::string& primeiraLinha) const;
    // The last record is the product's trailer (blank lines and
    // end-of-file marks after it aside): a file cut short, still being
    // sent, ends without one.
    bool TerminaNoTrailer(const std::vector<std::string>& linhas) const;
};

const std::array<ProdutoRemessa, 5>& ProdutosRemessa();
// The product of a company type; nullptr for the other types.
const ProdutoRemessa* ProdutoRemessaDe(char tipoEmpresa);
const ProdutoRemessa* ProdutoRemessaDe(const std::string& tipoEmpresa);
