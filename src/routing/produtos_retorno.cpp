#include "routing/produtos_retorno.h"

#include "core/texto/ansi.h"
#include "routing/produtos_remessa.h"

namespace {

int tamanho(char codigo) { return ProdutoRemessaDe(codigo)->tamanhoRegistro; }

std::string titulo(const std::string& produto) {
    return "LEITURA DO ARQUIVO DE "_ansi + produto + " - Arquivo Retorno do Banco: ";
}

}  // namespace

std::string_view ProdutoRetorno::TipoRegistro(std::string_view linha) const {
    const std::size_t ini = static_cast<std::size_t>(posTipo - 1);
    return ini < linha.size() ? linha.substr(ini, static_cast<std::size_t>(tamTipo)) : std::string_view();
}

std::string ProdutoRetorno::Identificacao(std::string_view linha) const {
    const std::size_t ini = static_cast<std::size_t>(posIdentificacao - 1);
    const std::size_t tam = static_cast<std::size_t>(tamIdentificacao);
    std::string r(ini < linha.size() ? linha.substr(ini, tam) : std::string_view());
    r.resize(tam, ' ');
    return r;
}

const std::array<ProdutoRetorno, 5>& ProdutosRetorno() {
    static const std::array<ProdutoRetorno, 5> produtos{{
        {"RO", 'A', tamanho('A'), 8, 1, "0", "9", 59, 13, titulo("COBRANÇA 240"_ansi), 30},
        {"RC", 'C', tamanho('C'), 1, 1, "0", "9", 36, 11, titulo("COBRANÇA 400"_ansi), 30},
        {"RR", 'R', tamanho('R'), 8, 1, "0", "9", 59, 13, titulo("VENDOR 240"), 28},
        {"RE", 'V', tamanho('V'), 1, 2, "10", "19", 36, 11, titulo("VENDOR 250"), 28},
        {"RD", 'D', tamanho('D'), 1, 1, "0", "9", 30, 11, titulo("DESCONTO 400"), 30},
    }};
    return produtos;
}

const ProdutoRetorno* ProdutoRetornoDe(char codigo) {
    for (const ProdutoRetorno& p : ProdutosRetorno())
        if (p.codigo == codigo) return &p;
    return nullptr;
}

const ProdutoRetorno* ProdutoDoArquivo(const std::string& nome) {
    for (const ProdutoRetorno& p : ProdutosRetorno())
        if (nome.compare(0, 2, p.prefixo) == 0) return &p;
    return nullptr;
}
