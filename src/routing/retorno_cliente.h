#pragma once
// What the segregation and the consolidation need of the client register,
// read in one walk of CONVECLI: the run matches every block of every bank
// file and chooses the clients to consolidate on this one view, whatever
// another workstation changes meanwhile.
//
// A client owns a block of a bank return when its company type is the
// product's and its identity equals the identification in the block's
// header: for Cobrança 240 and Vendor 240 the first 13 characters of the
// replacement text of its first header rule, for Cobrança 400 and Vendor
// 250 the first 11, for Desconto 400 the first 11 of IDENTEMP. The first
// header rule is the one that wrote that identification into the header on
// the way to the bank. Identities are blank-filled to their width, as the
// rule wrote them; a blank identity owns nothing, or a block whose header
// lacks the identification would go to whichever client lacks it too.

#include <map>
#include <string>
#include <vector>

#include "registers/manconvecli.h"
#include "routing/regra_traducao.h"

class Tabela;

struct ClienteRetorno {
    std::string codigo;     // CODCLI
    char tipo = '\0';       // TIPOEMP (one character, '\0' for any other)
    std::string identidade; // blank-filled to the product's width
    std::string arqretcli;  // ARQRETCLI
    std::string dirtemp;    // DIRTEMP, with "/" as separator
    int ultpascli = 0;      // ULTPASCLI
    std::string codcobliq;  // CODCOBLIQ
    std::string codcobcon;  // CODCOBCON
    std::string nomeplan;   // NOMEPLAN
    std::vector<RegraTraducao> cabecalho;  // header rules 1 to 3
    std::vector<RegraTraducao> detalhe;    // detail rules 1 to 3
};

class CadastroRetorno {
public:
    CadastroRetorno() = default;
    // Reads CONVECLI from its first record in its current order.
    CadastroRetorno(Tabela& convecli, const TmanCONVECLI& omanCONVECLI);

    // Clients in register order.
    const std::vector<ClienteRetorno>& Clientes() const { return clientes_; }
    // The first client of the type whose identity equals the identification
    // (blank-filled to the width); nullptr when none.
    const ClienteRetorno* Localiza(char tipo, const std::string& identificacao) const;

private:
    std::vector<ClienteRetorno> clientes_;
    std::map<std::string, std::size_t> porIdentidade_;  // type + identity -> first client
};

// The client identity of a company type: its width (0 for a type that is no
// collection product) and the text it is taken from.
int LarguraDaIdentidade(char tipo);
