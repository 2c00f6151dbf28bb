#include "routing/produtos_remessa.h"

#include <algorithm>

#include "core/texto/ansi.h"

namespace {

const char* const kCobranca = "01REMESSA01COBRANCA";

std::string semInstalacao(const std::string& produto) {
    return "ARQUIVO REMESSA DO BANCO - "_ansi + produto +
           " NÃO DEFINIDO NA INSTALAÇÃO"_ansi;
}

}  // namespace

std::string ProdutoRemessa::TipoRegistro(const std::string& linha) const {
    const std::size_t ini = static_cast<std::size_t>(posTipo - 1);
    return ini < linha.size() ? linha.substr(ini, static_cast<std::size_t>(tamTipo)) : std::string();
}

bool ProdutoRemessa::ConfereHeader(const std::string& primeiraLinha) const {
    if (posConferencia == 0) return true;
    const std::string texto = textoConferencia;
    const std::size_t ini = static_cast<std::size_t>(posConferencia - 1);
    return primeiraLinha.size() >= ini + texto.size() &&
           primeiraLinha.compare(ini, texto.size(), texto) == 0;
}

bool ProdutoRemessa::TerminaNoTrailer(const std::vector<std::string>& linhas) const {
    for (auto l = linhas.rbegin(); l != linhas.rend(); ++l) {
        const bool vazia = std::all_of(l->begin(), l->end(), [](char c) {
            return c == '\x1A' || static_cast<unsigned char>(c) <= ' ';
        });
        if (!vazia) return TipoRegistro(*l) == codTrailer;
    }
    return false;
}

const std::array<ProdutoRemessa, 5>& ProdutosRemessa() {
    static const std::array<ProdutoRemessa, 5> produtos{{
        {'A', 240, "ARQREMC24", "SEQREMC24", 8, 1, "0", "9", 0, "", "",
         semInstalacao("COBRANÇA 240"_ansi), "LEITURA DOS ARQUIVOS DE COBRANCA 240 - Arquivo Remessa do Banco: ",
         32, "Total de Arquivos de Cobranca 240: "},
        {'C', 400, "ARQREMC40", "SEQREMC40", 1, 1, "0", "9", 1, kCobranca,
         "NAO IDENTIFICADO O HEADER DO ARQUIVO COBRANCA/DESCONTO", semInstalacao("COBRANÇA 400"_ansi),
         "LEITURA DOS ARQUIVOS DE COBRANCA 400 - Arquivo Remessa do Banco: ", 32,
         "Total de Arquivos de Cobranca 400: "},
        {'V', 250, "ARQREMVEN", "SEQREMC40", 1, 2, "00", "09", 12, "REMESSA00VENDOR",
         "NAO IDENTIFICADO O HEADER DO ARQUIVO VENDOR 250", semInstalacao("VENDOR 250"_ansi),
         "LEITURA DOS ARQUIVOS DE VENDOR 250 - Arquivo Remessa do Banco: ", 30,
         "Total de Arquivos de Vendor 250..: "},
        {'R', 240, "ARQREMV24", "SEQREMC40", 8, 1, "0", "9", 0, "", "", semInstalacao("VENDOR 240"_ansi),
         "LEITURA DOS ARQUIVOS DE VENDOR 240 - Arquivo Remessa do Banco: ", 30,
         "Total de Arquivos de Vendor 240..: "},
        {'D', 400, "ARQREMDES", "SEQREMC40", 1, 1, "0", "9", 1, kCobranca,
         "NAO IDENTIFICADO O HEADER DO ARQUIVO COBRANCA/DESCONTO", semInstalacao("DESCONTO"_ansi),
         "LEITURA DOS ARQUIVOS DE DESCONTO 400 - Arquivo Remessa do Banco: ", 32,
         "Total de Arquivos de Desconto 400: "},
    }};
    return produtos;
}

const ProdutoRemessa* ProdutoRemessaDe(char tipoEmpresa) {
    for (const ProdutoRemessa& p : ProdutosRemessa())
        if (p.codigo == tipoEmpresa) return &p;
    return nullptr;
}

const ProdutoRemessa* ProdutoRemessaDe(const std::string& tipoEmpresa) {
    return tipoEmpresa.size() == 1 ? ProdutoRemessaDe(tipoEmpresa[0]) : nullptr;
}
