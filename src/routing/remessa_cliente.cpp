#include "routing/remessa_cliente.h"

#include "tabela/tabela.h"

bool EhRemessaDeCliente(const std::string& nome) {
    if (nome.find('.') == std::string::npos || nome.size() < 3) return false;
    const std::string fim = nome.substr(nome.size() - 3);
    return fim >= "001" && fim <= "999";
}

std::string ChaveDaRemessa(const std::string& nome) { return nome.substr(0, nome.find('.')); }

ClientesPorRemessa LeClientesPorRemessa(Tabela& convecli, const TmanCONVECLI& omanCONVECLI) {
    ClientesPorRemessa clientes;
    for (convecli.First(); !convecli.Eof(); convecli.Next()) {
        const std::string chave = convecli.FieldByName("ARQREMCLI").AsString();
        if (chave.empty() || clientes.count(chave)) continue;
        ClienteRemessa& c = clientes[chave];
        c.codigo = convecli.FieldByName("CODCLI").AsString();
        c.tipo = convecli.FieldByName("TIPOEMP").AsString();
        omanCONVECLI.LeRegrasDoCliente(convecli, c.cabecalho, c.detalhe);
    }
    return clientes;
}
