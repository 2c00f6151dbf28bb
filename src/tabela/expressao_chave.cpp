#include "tabela/expressao_chave.h"

#include <cctype>
#include <cstring>

#include "core/texto/ansi.h"
#include "tabela/erro_tabela.h"
#include "tabela/nome_arquivo.h"

namespace {

struct Leitor {
    const std::string& s;
    std::size_t p = 0;
    void espacos() {
        while (p < s.size() && std::isspace(static_cast<unsigned char>(s[p]))) ++p;
    }
    bool simbolo(char c) {
        espacos();
        if (p < s.size() && s[p] == c) { ++p; return true; }
        return false;
    }
    std::string nome() {
        espacos();
        std::size_t i = p;
        while (p < s.size() && (std::isalnum(static_cast<unsigned char>(s[p])) || s[p] == '_')) ++p;
        return EmMaiusculas(s.substr(i, p - i));
    }
    bool numero(int& n) {
        espacos();
        std::size_t i = p;
        n = 0;
        while (p < s.size() && std::isdigit(static_cast<unsigned char>(s[p]))) n = n * 10 + (s[p++] - '0');
        return p > i;
    }
    bool fim() { espacos(); return p == s.size(); }
};

}  // namespace

ExpressaoChave ExpressaoChave::Compila(const std::string& texto, const std::vector<DefCampo>& campos) {
    ExpressaoChave e;
    e.texto_ = texto;
    e.campos_ = campos;
    auto erro = [&](const std::string& motivo) -> ErroTabela {
        return ErroTabela("EXPRESSÃO DE ÍNDICE NÃO RECONHECIDA: "_ansi + texto + " (" + motivo + ")");
    };
    auto achaCampo = [&](const std::string& nome) {
        for (std::size_t i = 0; i < campos.size(); ++i)
            if (EmMaiusculas(campos[i].nome) == nome) return static_cast<int>(i);
        throw erro("CAMPO " + nome + " INEXISTENTE");
    };
    Leitor l{texto};
    do {
        PecaChave peca;
        std::string nome = l.nome();
        if (nome.empty()) throw erro("FALTA UM TERMO");
        if (l.simbolo('(')) {
            std::string arg = l.nome();
            peca.campo = achaCampo(arg);
            if (nome == "DTOS") {
                peca.tipo = PecaChave::Tipo::Dtos;
                peca.largura = 8;
            } else if (nome == "STR") {
                peca.tipo = PecaChave::Tipo::Str;
                peca.largura = 10;
                if (l.simbolo(',')) {
                    if (!l.numero(peca.largura)) throw erro("LARGURA DE STR");
                    if (l.simbolo(',') && !l.numero(peca.decimais)) throw erro("DECIMAIS DE STR");
                }
                if (peca.largura < 1 || peca.largura > 240) throw erro("LARGURA DE STR");
            } else {
                throw erro("FUNÇÃO "_ansi + nome);
            }
            if (!l.simbolo(')')) throw erro("FALTA )");
        } else {
            peca.campo = achaCampo(nome);
            peca.largura = campos[static_cast<std::size_t>(peca.campo)].tamanho;
        }
        e.pecas_.push_back(peca);
        e.tamanho_ += peca.largura;
    } while (l.simbolo('+'));
    if (!l.fim()) throw erro("TEXTO A MAIS");
    if (e.tamanho_ > 240) throw erro("CHAVE MAIOR QUE 240");
    return e;
}

void ExpressaoChave::Calcula(const char* registro, char* saida) const {
    for (const PecaChave& p : pecas_) {
        const DefCampo& c = campos_[static_cast<std::size_t>(p.campo)];
        std::string_view bruto(registro + c.deslocamento, static_cast<std::size_t>(c.tamanho));
        switch (p.tipo) {
            case PecaChave::Tipo::Campo:
                std::memcpy(saida, bruto.data(), bruto.size());
                break;
            case PecaChave::Tipo::Dtos: {
                const std::string t = dbf_valor::FormataData(dbf_valor::LeData(bruto));
                std::memcpy(saida, t.data(), 8);
                break;
            }
            case PecaChave::Tipo::Str: {
                std::string t;
                if (!dbf_valor::FormataNumero(dbf_valor::LeNumero(bruto), p.largura, p.decimais, t))
                    t.assign(static_cast<std::size_t>(p.largura), '*');
                std::memcpy(saida, t.data(), t.size());
                break;
            }
        }
        saida += p.largura;
    }
}

bool ExpressaoChave::ParteDaChave(std::size_t i, const std::variant<std::string, double>& valor,
                                  std::string& saida) const {
    const PecaChave& p = pecas_[i];
    const DefCampo& c = campos_[static_cast<std::size_t>(p.campo)];
    const std::string* texto = std::get_if<std::string>(&valor);
    auto numero = [&] { return texto ? dbf_valor::LeNumero(*texto) : std::get<double>(valor); };
    switch (p.tipo) {
        case PecaChave::Tipo::Campo:
            if (c.tipo == 'C') {
                if (!texto) return false;
                std::string v = *texto;
                while (!v.empty() && v.back() == ' ') v.pop_back();
                if (static_cast<int>(v.size()) > c.tamanho) return false;
                v.resize(static_cast<std::size_t>(c.tamanho), ' ');
                saida += v;
                return true;
            }
            if (c.tipo == 'D') {
                if (texto) return false;
                saida += dbf_valor::FormataData(static_cast<TData>(numero()));
                return true;
            }
            return false;  // numbers are matched by value, not by their text
        case PecaChave::Tipo::Dtos:
            if (texto) return false;
            saida += dbf_valor::FormataData(static_cast<TData>(numero()));
            return true;
        case PecaChave::Tipo::Str: {
            std::string t;
            if (!dbf_valor::FormataNumero(numero(), p.largura, p.decimais, t)) return false;
            saida += t;
            return true;
        }
    }
    return false;
}
