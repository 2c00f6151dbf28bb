#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/texto/ansi.h"
#include "tabela/dbf_cabecalho.h"
#include "tabela/nome_arquivo.h"
#include "tabela/reescrita_dbf.h"
#include "tabela/tabela.h"

namespace {

std::string apara(const std::string& s) {
    std::size_t i = 0, f = s.size();
    while (i < f && (s[i] == ' ' || s[i] == '\t')) ++i;
    while (f > i && (s[f - 1] == ' ' || s[f - 1] == '\t')) --f;
    return s.substr(i, f - i);
}

void validaCampos(const std::string& caminho, const std::vector<DefCampo>& campos) {
    auto erro = [&](const std::string& motivo) {
        return ErroTabela("ESTRUTURA INVÁLIDA PARA A TABELA "_ansi + caminho + ": " + motivo);
    };
    if (campos.empty()) throw erro("NENHUM CAMPO");
    std::size_t total = 1;
    for (std::size_t i = 0; i < campos.size(); ++i) {
        const DefCampo& c = campos[i];
        if (c.nome.empty() || c.nome.size() > 10) throw erro("NOME DE CAMPO '" + c.nome + "'");
        for (std::size_t j = 0; j < i; ++j)
            if (EmMaiusculas(campos[j].nome) == EmMaiusculas(c.nome))
                throw erro("CAMPO " + c.nome + " REPETIDO");
        const bool ok = (c.tipo == 'C' && c.tamanho >= 1 && c.tamanho <= 254 && c.decimais == 0) ||
                        (c.tipo == 'N' && c.tamanho >= 1 && c.tamanho <= 20 && c.decimais >= 0 &&
                         (c.decimais == 0 || c.decimais <= c.tamanho - 2)) ||
                        (c.tipo == 'D' && c.tamanho == 8);
        if (!ok) throw erro("TAMANHO OU TIPO DO CAMPO " + c.nome);
        total += static_cast<std::size_t>(c.tamanho);
    }
    if (total > 65535) throw erro("REGISTRO MAIOR QUE 65535");
}

}  // namespace

std::vector<DefCampo> ListaDeCampos(const std::string& lista) {
    std::vector<DefCampo> campos;
    std::size_t ini = 0;
    while (ini < lista.size()) {
        std::size_t fim = lista.find(';', ini);
        if (fim == std::string::npos) fim = lista.size();
        const std::string item = apara(lista.substr(ini, fim - ini));
        ini = fim + 1;
        if (item.empty()) continue;
        std::vector<std::string> partes;
        std::size_t p = 0;
        while (true) {
            std::size_t v = item.find(',', p);
            partes.push_back(apara(item.substr(p, v == std::string::npos ? std::string::npos : v - p)));
            if (v == std::string::npos) break;
            p = v + 1;
        }
        if (partes.size() != 4) throw ErroTabela("DEFINIÇÃO DE CAMPO INVÁLIDA: "_ansi + item);
        DefCampo c;
        c.nome = EmMaiusculas(partes[0]);
        const std::string tipo = EmMaiusculas(partes[1]);
        if (tipo == "CHARACTER") c.tipo = 'C';
        else if (tipo == "NUMERIC") c.tipo = 'N';
        else if (tipo == "DATE") c.tipo = 'D';
        else throw ErroTabela("TIPO DE CAMPO INVÁLIDO: "_ansi + item);
        try {
            c.tamanho = std::stoi(partes[2]);
            c.decimais = std::stoi(partes[3]);
        } catch (const std::exception&) {
            throw ErroTabela("TAMANHO DE CAMPO INVÁLIDO: "_ansi + item);
        }
        if (c.tipo == 'D') c.tamanho = 8;
        campos.push_back(c);
    }
    return campos;
}

void CriaTabela(const std::string& caminho, const std::vector<DefCampo>& campos, bool substitui) {
    validaCampos(caminho, campos);
    const std::string alvo = ResolveCaminho(caminho);
    if (!substitui && ArquivoExiste(alvo))
        throw ErroTabela("A TABELA "_ansi + alvo + " JÁ EXISTE"_ansi);
    CabecalhoDbf cab;
    cab.campos = campos;
    const int fd = ReescreveDbf(alvo, cab, [](std::string&) { return false; });
    ::close(fd);
}
