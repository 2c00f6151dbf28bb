#include "core/arquivos/nome_saida.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstring>
#include <functional>
#include <set>

#include "core/arquivos/arquivo_duravel.h"
#include "core/diario_execucao.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_texto.h"
#include "tabela/nome_arquivo.h"
#include "tabela/tabela.h"

namespace {

// The real path of an existing directory, or empty.
std::string real(const std::string& dir) {
    char buf[PATH_MAX];
    if (!::realpath(dir.empty() ? "." : dir.c_str(), buf)) return {};
    return buf;
}

bool dentro(const std::string& caminho, const std::string& raiz) {
    return !raiz.empty() &&
           (caminho == raiz || (caminho.size() > raiz.size() && caminho.compare(0, raiz.size(), raiz) == 0 &&
                                (raiz == "/" || caminho[raiz.size()] == '/')));
}

std::string semBarraInvertida(std::string s) {
    for (char& c : s)
        if (c == '\\') c = '/';
    return s;
}

}  // namespace

std::string RecusaNomeDeSaida(const std::string& nomeOriginal,
                             const std::vector<std::string>& diretorios) {
    const std::string nome = semBarraInvertida(AparaPontas(nomeOriginal));
    if (nome.empty()) return "NOME VAZIO";
    const auto barra = nome.find_last_of('/');
    const std::string base = barra == std::string::npos ? nome : nome.substr(barra + 1);
    const std::string dir = barra == std::string::npos ? "." : (barra == 0 ? "/" : nome.substr(0, barra));
    const std::string maiusculo = EmMaiusculas(base);
    if (base.empty() || base == "." || base == "..") return "NÃO É NOME DE ARQUIVO"_ansi;
    const auto ponto = maiusculo.find_last_of('.');
    const std::string ext = ponto == std::string::npos ? "" : maiusculo.substr(ponto + 1);
    if (ext == "DBF" || ext == "CDX" || ext == "FPT" || ext == "NTX" || ext == "DBT")
        return "É UMA TABELA OU UM ÍNDICE DO SISTEMA"_ansi;
    if (EhDiarioDeExecucao(base) || EhTemporarioDuravel(base))
        return "É UM ARQUIVO DE CONTROLE DO SISTEMA"_ansi;
    if (maiusculo.rfind("ARQUIVO_", 0) == 0 && ext == "PDF") return "É UM RELATÓRIO DE EXECUÇÃO"_ansi;
    const std::string alvo = ResolveCaminho(nome);
    struct stat st {};
    if (::stat(alvo.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return "É UM DIRETÓRIO"_ansi;
    // Where it would land, through links: the data directory or one the
    // registers name, never anywhere else.
    const std::string onde = real(dir);
    if (onde.empty()) return {};  // a directory that does not exist: the writer says so
    std::set<std::string> raizes{real(".")};
    for (const std::string& d : diretorios) {
        const std::string r = real(semBarraInvertida(d));
        if (!r.empty()) raizes.insert(r);
        // The holding and temporary directories are the system's: no name
        // from a table or a file may write into them.
    }
    for (const std::string& r : raizes)
        if (dentro(onde, r)) return {};
    return "FICA FORA DO DIRETÓRIO DE DADOS E DOS DIRETÓRIOS DOS CADASTROS"_ansi;
}

namespace {

// Each record's value of each field (missing fields skipped), in a table of
// the data directory opened for the moment; nothing when it cannot be read.
void leCampos(const char* tabela, const std::vector<const char*>& campos,
              const std::function<void(const char* campo, const std::string& valor)>& usa) {
    try {
        Tabela t;
        t.SetDatabaseName(".");
        t.SetTableName(tabela);
        t.Open();
        for (t.First(); !t.Eof(); t.Next())
            for (const char* campo : campos)
                if (t.FindField(campo))
                    usa(campo, semBarraInvertida(AparaPontas(t.FieldByName(campo).AsString())));
        t.Close();
    } catch (const std::exception&) {
    }
}

}  // namespace

std::vector<std::string> DiretoriosDosCadastros() {
    std::set<std::string> dirs;
    // The directories themselves, and those of the configured file names.
    const auto inclui = [&dirs](const char* campo, const std::string& valor) {
        const bool diretorio = std::strcmp(campo, "DIRCOPIA") == 0 || std::strcmp(campo, "DIRTEMP") == 0;
        std::string d = valor;
        if (!diretorio) {
            const auto barra = valor.find_last_of('/');
            if (barra == std::string::npos) return;
            d = barra == 0 ? "/" : valor.substr(0, barra);
        }
        if (!d.empty()) dirs.insert(d);
    };
    leCampos("CONVEINS.DBF", {"DIRCOPIA", "ARQREMC24", "ARQREMC40", "ARQREMDES", "ARQREMV24", "ARQREMVEN"},
             inclui);
    leCampos("CONVECLI.DBF", {"DIRTEMP", "ARQREMBAN", "ARQRETBAN", "ARQRETCLI", "ARQREMCLI"}, inclui);
    return {dirs.begin(), dirs.end()};
}

std::string DiretorioDeGuardaDaInstalacao() {
    std::string dir;
    leCampos("CONVEINS.DBF", {"DIRCOPIA"}, [&dir](const char*, const std::string& valor) { dir = valor; });
    return dir;
}

std::string MensagemDeSaidaRecusada(const std::string& campo, const std::string& cliente,
                                        const std::string& nome, const std::string& motivo) {
    return "O NOME DE ARQUIVO "_ansi + nome + " DO CAMPO " + campo +
           (cliente.empty() ? std::string(" DA INSTALAÇÃO"_ansi) : " DO CLIENTE " + cliente) +
           " NÃO PODE SER USADO: "_ansi + motivo + ". NADA FOI GRAVADO; CORRIJA O CADASTRO."_ansi;
}
