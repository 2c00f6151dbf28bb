#include "tabela/instrucao_sql.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>
#include <vector>

#include "core/texto/ansi.h"
#include "tabela/dbf_cabecalho.h"
#include "tabela/erro_tabela.h"
#include "tabela/nome_arquivo.h"
#include "tabela/reescrita_dbf.h"
#include "tabela/trava.h"

namespace {

struct Palavras {
    std::vector<std::string> itens;
    std::size_t p = 0;
    explicit Palavras(const std::string& s) {
        std::string atual;
        auto fecha = [&] {
            if (!atual.empty()) itens.push_back(EmMaiusculas(atual));
            atual.clear();
        };
        for (char c : s) {
            if (std::isspace(static_cast<unsigned char>(c)) || c == ';') fecha();
            else if (c == '(' || c == ')' || c == ',') {
                fecha();
                itens.emplace_back(1, c);
            } else atual.push_back(c);
        }
        fecha();
    }
    bool fim() const { return p >= itens.size(); }
    const std::string& olha() const {
        static const std::string vazio;
        return fim() ? vazio : itens[p];
    }
    std::string pega() { return fim() ? std::string() : itens[p++]; }
    bool aceita(const std::string& w) {
        if (olha() == w) { ++p; return true; }
        return false;
    }
};

struct Coluna {
    DefCampo def;
    int origem = -1;  // field of the old table it takes its data from
};

using FazErro = std::function<ErroTabela(const std::string& motivo)>;

// The type of a column: CHAR(n), NUMERIC(n[,d]) or DATE.
void leTipo(Palavras& w, DefCampo& d, const FazErro& erro) {
    const std::string t = w.pega();
    auto numero = [&]() {
        const std::string n = w.pega();
        if (n.empty() || !std::all_of(n.begin(), n.end(), ::isdigit)) throw erro("TAMANHO " + n);
        return std::stoi(n);
    };
    if (t == "CHAR" || t == "CHARACTER" || t == "VARCHAR") {
        d.tipo = 'C';
        d.decimais = 0;
        if (!w.aceita("(")) throw erro("FALTA O TAMANHO DE " + d.nome);
        d.tamanho = numero();
        if (!w.aceita(")")) throw erro("FALTA )");
    } else if (t == "NUMERIC" || t == "DECIMAL") {
        d.tipo = 'N';
        if (!w.aceita("(")) throw erro("FALTA A PRECISÃO DE "_ansi + d.nome);
        d.tamanho = numero();
        d.decimais = w.aceita(",") ? numero() : 0;
        if (!w.aceita(")")) throw erro("FALTA )");
        if (d.decimais > 0) d.tamanho = std::max(d.tamanho + 1, d.decimais + 2);
    } else if (t == "DATE") {
        d.tipo = 'D';
        d.tamanho = 8;
        d.decimais = 0;
    } else {
        throw erro("TIPO " + t);
    }
    if ((d.tipo == 'C' && (d.tamanho < 1 || d.tamanho > 254)) ||
        (d.tipo == 'N' && (d.tamanho < 1 || d.tamanho > 20)))
        throw erro("TAMANHO DE " + d.nome);
}

// A value of the old column as the new column holds it; a value that does
// not fit is refused.
std::string valorNaNovaColuna(const DefCampo& o, const DefCampo& d, std::string_view bruto, const FazErro& erro) {
    std::string texto;
    if (o.tipo == d.tipo && o.tamanho == d.tamanho && o.decimais == d.decimais) {
        texto.assign(bruto);
    } else if (d.tipo == 'N') {
        bool vazio = bruto.find_first_not_of(' ') == std::string_view::npos;
        if (vazio) texto.assign(static_cast<std::size_t>(d.tamanho), ' ');
        else if (!dbf_valor::FormataNumero(dbf_valor::LeNumero(bruto), d.tamanho, d.decimais, texto))
            throw erro("VALOR DA COLUNA " + d.nome + " NÃO CABE NO NOVO TAMANHO"_ansi);
    } else if (d.tipo == 'D') {
        texto = dbf_valor::FormataData(dbf_valor::LeData(bruto));
    } else {
        std::string_view v = bruto;
        while (!v.empty() && v.front() == ' ' && o.tipo != 'C') v.remove_prefix(1);
        while (!v.empty() && (v.back() == ' ' || v.back() == '\0')) v.remove_suffix(1);
        if (static_cast<int>(v.size()) > d.tamanho)
            throw erro("VALOR DA COLUNA " + d.nome + " NÃO CABE NO NOVO TAMANHO"_ansi);
        texto.assign(v);
        texto.resize(static_cast<std::size_t>(d.tamanho), ' ');
    }
    return texto;
}

// The table's file name, from the words after ALTER TABLE: "dir/CONVEINS"
// or a quoted name keeps its last path element, ".DBF" when it has none.
std::string arquivoDaTabela(Palavras& w, const FazErro& erro) {
    std::string tabela = w.pega();
    if (tabela.empty()) throw erro("FALTA O NOME DA TABELA");
    tabela.erase(std::remove(tabela.begin(), tabela.end(), '"'), tabela.end());
    if (auto b = tabela.find_last_of('/'); b != std::string::npos) tabela = tabela.substr(b + 1);
    if (tabela.find('.') == std::string::npos) tabela += ".DBF";
    return tabela;
}

int colunaDeNome(const std::vector<Coluna>& colunas, const std::string& nome) {
    for (std::size_t i = 0; i < colunas.size(); ++i)
        if (EmMaiusculas(colunas[i].def.nome) == nome) return static_cast<int>(i);
    return -1;
}

// The new table's columns: the old ones, each taking its own data, changed
// by the ADD and ALTER clauses in their order.
std::vector<Coluna> colunasAlteradas(Palavras& w, const CabecalhoDbf& antigo, const FazErro& erro) {
    std::vector<Coluna> colunas;
    for (std::size_t i = 0; i < antigo.campos.size(); ++i)
        colunas.push_back({antigo.campos[i], static_cast<int>(i)});
    while (!w.fim()) {
        w.aceita(",");
        if (w.aceita("ADD")) {
            w.aceita("COLUMN");
            Coluna c;
            c.def.nome = w.pega();
            if (c.def.nome.empty() || c.def.nome.size() > 10) throw erro("NOME DE COLUNA " + c.def.nome);
            if (colunaDeNome(colunas, c.def.nome) >= 0) throw erro("COLUNA " + c.def.nome + " JÁ EXISTE"_ansi);
            leTipo(w, c.def, erro);
            colunas.push_back(c);
        } else if (w.aceita("ALTER")) {
            w.aceita("COLUMN");
            const std::string velho = w.pega();
            const std::string novo = w.pega();
            const int i = colunaDeNome(colunas, velho);
            if (i < 0) throw erro("COLUNA " + velho + " NÃO EXISTE"_ansi);
            if (novo != velho && colunaDeNome(colunas, novo) >= 0) throw erro("COLUNA " + novo + " JÁ EXISTE"_ansi);
            if (novo.empty() || novo.size() > 10) throw erro("NOME DE COLUNA " + novo);
            colunas[static_cast<std::size_t>(i)].def.nome = novo;
            leTipo(w, colunas[static_cast<std::size_t>(i)].def, erro);
        } else if (!w.fim()) {
            throw erro("CLÁUSULA "_ansi + w.olha());
        }
    }
    return colunas;
}

CabecalhoDbf cabecalhoComColunas(const CabecalhoDbf& antigo, const std::vector<Coluna>& colunas) {
    CabecalhoDbf novo = antigo;
    novo.versao = antigo.versao == 0x03 || antigo.versao == 0x83 ? antigo.versao : 0x03;
    novo.campos.clear();
    for (const auto& c : colunas) novo.campos.push_back(c.def);
    MontaCabecalhoDbf(novo);  // computes the new offsets
    return novo;
}

}  // namespace

void InstrucaoSQL::ExecSQL() {
    const FazErro erro = [&](const std::string& motivo) {
        return ErroTabela("INSTRUÇÃO SQL NÃO EXECUTADA ("_ansi + motivo + "): " + sql_);
    };
    Palavras w(sql_);
    if (!w.aceita("ALTER") || !w.aceita("TABLE")) throw erro("SOMENTE ALTER TABLE É ACEITO"_ansi);
    const std::string caminho = ResolveNoDiretorio(diretorio_, arquivoDaTabela(w, erro));

    const DbfExclusivo arquivo(caminho, "NÃO PODE TER A ESTRUTURA ALTERADA"_ansi);
    const int fd = arquivo.fd();
    const CabecalhoDbf antigo = LeCabecalhoDbf(fd, caminho);
    ConfereDbfCompleto(fd, antigo, caminho);
    const std::vector<Coluna> colunas = colunasAlteradas(w, antigo, erro);
    const CabecalhoDbf novo = cabecalhoComColunas(antigo, colunas);

    // Each old record, in its order, carried column by column into the new
    // layout; new columns stay blank.
    const std::size_t tamVelho = antigo.tamanhoRegistro;
    std::uint32_t total = antigo.registros;
    std::string velhoReg(tamVelho, ' ');
    std::uint32_t rec = 0;
    const int novoFd = ReescreveDbf(caminho, novo, [&](std::string& reg) {
        if (rec >= total) return false;
        LeDbf(fd, velhoReg.data(), tamVelho,
               antigo.tamanhoCabecalho + static_cast<std::uint64_t>(rec) * tamVelho, caminho);
        ++rec;
        reg[0] = velhoReg[0];
        for (std::size_t i = 0; i < colunas.size(); ++i) {
            const DefCampo& d = novo.campos[i];
            char* destino = reg.data() + d.deslocamento;
            if (colunas[i].origem < 0) continue;
            const DefCampo& o = antigo.campos[static_cast<std::size_t>(colunas[i].origem)];
            std::string_view bruto(velhoReg.data() + o.deslocamento, static_cast<std::size_t>(o.tamanho));
            const std::string texto = valorNaNovaColuna(o, d, bruto, erro);
            std::memcpy(destino, texto.data(), static_cast<std::size_t>(d.tamanho));
        }
        return true;
    });
    ::close(novoFd);
}
