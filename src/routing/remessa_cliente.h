#pragma once
// Which client a remittance file in the working directory belongs to. A
// client's file is named with the client's key (ARQREMCLI), a "." and a
// suffix, and the name ends in three characters between "001" and "999".

#include <map>
#include <string>

#include "registers/manconvecli.h"

class Tabela;

// The name looks like a client remittance: it holds a "." and its last three
// characters compare, as text, between "001" and "999".
bool EhRemessaDeCliente(const std::string& nome);

// The client key of a name: the part before its first ".".
std::string ChaveDaRemessa(const std::string& nome);

// What a run needs of a client: its company type and its header and detail
// translation rules (1 to 3).
struct ClienteRemessa {
    std::string codigo;  // CODCLI
    std::string tipo;    // TIPOEMP
    TKTBCONVE cabecalho;
    TKTBCONVE detalhe;
};

// The clients by ARQREMCLI, read in one walk of CONVECLI in its current
// order; when two clients have the same key the first one wins, as a search
// from the first record would find it. A blank key belongs to no file.
using ClientesPorRemessa = std::map<std::string, ClienteRemessa>;
ClientesPorRemessa LeClientesPorRemessa(Tabela& convecli, const TmanCONVECLI& omanCONVECLI);
