#include "routing/retorno_cliente.h"

#include <algorithm>

#include "routing/produtos_retorno.h"
#include "tabela/tabela.h"

int LarguraDaIdentidade(char tipo) {
    const ProdutoRetorno* p = ProdutoRetornoDe(tipo);
    return p ? p->tamIdentificacao : 0;
}

namespace {

std::string ajustado(const std::string& texto, int largura) {
    std::string r = texto.substr(0, static_cast<std::size_t>(largura));
    r.resize(static_cast<std::size_t>(largura), ' ');
    return r;
}

}  // namespace

CadastroRetorno::CadastroRetorno(Tabela& convecli, const TmanCONVECLI& omanCONVECLI) {
    for (convecli.First(); !convecli.Eof(); convecli.Next()) {
        ClienteRetorno c;
        c.codigo = convecli.FieldByName("CODCLI").AsString();
        const std::string tipo = convecli.FieldByName("TIPOEMP").AsString();
        c.tipo = tipo.size() == 1 ? tipo[0] : '\0';
        c.arqretcli = convecli.FieldByName("ARQRETCLI").AsString();
        c.dirtemp = convecli.FieldByName("DIRTEMP").AsString();
        // A setting brought from an older installation may still separate
        // its directories with "\".
        std::replace(c.dirtemp.begin(), c.dirtemp.end(), '\\', '/');
        c.ultpascli = static_cast<int>(convecli.FieldByName("ULTPASCLI").AsInteger());
        c.codcobliq = convecli.FieldByName("CODCOBLIQ").AsString();
        c.codcobcon = convecli.FieldByName("CODCOBCON").AsString();
        c.nomeplan = convecli.FieldByName("NOMEPLAN").AsString();
        TKTBCONVE cabecalho, detalhe;
        omanCONVECLI.LeRegrasDoCliente(convecli, cabecalho, detalhe);
        for (int n = 1; n <= TKTBCONVE::Tamanho(); ++n) {
            c.cabecalho.emplace_back(cabecalho[n]);
            c.detalhe.emplace_back(detalhe[n]);
        }
        const int largura = LarguraDaIdentidade(c.tipo);
        if (largura > 0) {
            c.identidade = ajustado(c.tipo == 'D' ? convecli.FieldByName("IDENTEMP").AsString()
                                                  : cabecalho[1].S5_TRA,
                                    largura);
            if (c.identidade.find_first_not_of(' ') != std::string::npos)
                porIdentidade_.emplace(std::string(1, c.tipo) + c.identidade, clientes_.size());
        }
        clientes_.push_back(std::move(c));
    }
}

const ClienteRetorno* CadastroRetorno::Localiza(char tipo, const std::string& identificacao) const {
    const int largura = LarguraDaIdentidade(tipo);
    if (largura == 0) return nullptr;
    const auto it = porIdentidade_.find(std::string(1, tipo) + ajustado(identificacao, largura));
    return it == porIdentidade_.end() ? nullptr : &clientes_[it->second];
}
