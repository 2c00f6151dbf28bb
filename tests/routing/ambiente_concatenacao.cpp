#include "routing/ambiente_concatenacao.h"

#include <sys/stat.h>

#include "core/dados/instalacao.h"
#include "core/dados/tdmquor.h"
#include "report/toprint.h"

std::string LINHA(int tamanho, std::initializer_list<std::pair<int, std::string>> campos) {
    std::string l(static_cast<std::size_t>(tamanho), ' ');
    for (const auto& [pos, texto] : campos) l.replace(static_cast<std::size_t>(pos - 1), texto.size(), texto);
    return l;
}

std::string LINHA_CURTA(std::initializer_list<std::pair<int, std::string>> campos) {
    std::string l;
    for (const auto& [pos, texto] : campos) {
        const std::size_t fim = static_cast<std::size_t>(pos - 1) + texto.size();
        if (l.size() < fim) l.resize(fim, ' ');
        l.replace(static_cast<std::size_t>(pos - 1), texto.size(), texto);
    }
    return l;
}

std::string TEXTO(const std::vector<std::string>& linhas, const char* fim) {
    std::string t;
    for (const std::string& l : linhas) t += l + fim;
    return t;
}

std::string REGRA(const char* inicio, const char* fim, std::string esperado, std::string novo) {
    esperado.resize(30, ' ');
    novo.resize(30, ' ');
    return std::string(inicio) + fim + esperado + novo;
}

AmbienteConcatenacao::AmbienteConcatenacao() {
    auto m = std::make_unique<MotorDeTeste>();
    motor = m.get();
    anterior_ = InstalaMotorDeRelatorio(std::move(m));
    InstalaDiretorioDeDados(d.caminho(), false, g.geral().DATADIA);
}

AmbienteConcatenacao::~AmbienteConcatenacao() {
    DMQUOR().FechaTodas();
    oPRINT.reset();
    InstalaMotorDeRelatorio(std::move(anterior_));
}

void AmbienteConcatenacao::Instalacao(
    std::initializer_list<std::pair<const char*, std::string>> textos,
    std::initializer_list<std::pair<const char*, int>> numeros) {
    Tabela& t = DMQUOR().TBCONVEINS;
    t.Open();
    t.First();
    t.Edit();
    for (const auto& [campo, valor] : textos) t.FieldByName(campo).SetAsString(valor);
    for (const auto& [campo, valor] : numeros) t.FieldByName(campo).SetAsInteger(valor);
    t.Post();
    t.Close();
}

std::string AmbienteConcatenacao::TextoInstalacao(const char* campo) {
    Tabela& t = DMQUOR().TBCONVEINS;
    t.Open();
    t.First();
    std::string r = t.FieldByName(campo).AsString();
    t.Close();
    return r;
}

void AmbienteConcatenacao::InstalacaoPadrao(int seqC24, int seqC40) {
    Instalacao({{"ARQREMC24", "C24DDMMNN"},
                {"ARQREMC40", "CB4DDMMNN"},
                {"ARQREMVEN", "VENDDMMNN"},
                {"ARQREMV24", "V24DDMMNN"},
                {"ARQREMDES", "DESDDMMNN"},
                {"DIRCOPIA", "GUARDA"},
                {"ULTDATCOB", "0812"}},
               {{"SEQREMC24", seqC24}, {"SEQREMC40", seqC40}});
    ::mkdir("GUARDA", 0777);
}

void AmbienteConcatenacao::Cliente(const char* codigo, const char* tipo, const char* arqremcli,
                                   std::initializer_list<std::pair<const char*, std::string>> regras) {
    Tabela& t = DMQUOR().TBCONVECLI;
    t.Open();
    t.Append();
    t.FieldByName("CODCLI").SetAsString(codigo);
    t.FieldByName("TIPOEMP").SetAsString(tipo);
    t.FieldByName("ARQREMCLI").SetAsString(arqremcli);
    for (const auto& [campo, valor] : regras) t.FieldByName(campo).SetAsString(valor);
    t.Post();
    t.Close();
}

std::vector<std::string> AmbienteConcatenacao::Mensagens() const {
    std::vector<std::string> r;
    for (const auto& m : const_cast<GeralDeTeste&>(g).dialogo().mensagens) r.push_back(m.texto);
    return r;
}

std::vector<std::string> AmbienteConcatenacao::Log() const {
    std::vector<std::string> r;
    for (const ModeloRelatorio& m : motor->pdfs)
        for (const PaginaRelatorio& p : m.paginas)
            for (std::size_t i = 7; i < p.linhas.size(); ++i) {
                std::string l = p.linhas[i];
                while (!l.empty() && l.back() == ' ') l.pop_back();
                r.push_back(l);
            }
    return r;
}
