#include "core/recuperacao.h"

#include <set>

#include "core/ansi.h"
#include "core/caminho_arquivo.h"
#include "core/diario_execucao.h"
#include "core/geral.h"
#include "core/obr_texto.h"
#include "core/tabela/tabela.h"

namespace {

// A directory named by a register field, as the runs resolve it.
void inclui(std::set<std::string>& dirs, std::string dir) {
    dir = OBR_TRIM(dir);
    for (char& c : dir)
        if (c == '\\') c = '/';
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    if (!dir.empty()) dirs.insert(dir);
}

// Where the runs write besides the data directory. A table that cannot be
// read leaves only the data directory to look at.
std::vector<std::string> diretoriosDosCadastros() {
    std::set<std::string> dirs;
    auto le = [&dirs](const char* nome, const char* campo) {
        try {
            Tabela t;
            t.SetDatabaseName(".");
            t.SetTableName(nome);
            t.Open();
            for (t.First(); !t.Eof(); t.Next()) inclui(dirs, t.FieldByName(campo).AsString());
            t.Close();
        } catch (const std::exception&) {
        }
    };
    le("CONVEINS.DBF", "DIRCOPIA");
    le("CONVECLI.DBF", "DIRTEMP");
    return {dirs.begin(), dirs.end()};
}

}  // namespace

std::vector<std::string> RECUPERA_EXECUCOES_INTERROMPIDAS() {
    const std::vector<std::string> linhas = DIARIO_RECUPERA(diretoriosDosCadastros());
    if (linhas.empty()) return linhas;
    std::string texto;
    bool falhou = false;
    for (const std::string& l : linhas) {
        texto += (texto.empty() ? "" : "\r\n") + l;
        falhou = falhou || l.find("FALHOU") != std::string::npos ||
                 l.find("NÃO PÔDE"_ansi) != std::string::npos;
    }
    GERAL().MENSAGEM(texto, falhou ? somERRO : somSUCESSO);
    GERAL().RECUPERACOES.insert(GERAL().RECUPERACOES.end(), linhas.begin(), linhas.end());
    return linhas;
}
