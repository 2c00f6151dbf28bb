#include "apoio_relatorio.h"

#include <cstdio>
#include <cstdlib>
#include <regex>

ModeloRelatorio MODELO_TESTE(int paginas, int linhas) {
    ModeloRelatorio m;
    m.titulo = "RELATORIO DE TESTE";
    m.colunas = 80;
    m.linhasPorPagina = linhas;
    m.paginas.resize(static_cast<std::size_t>(paginas));
    char texto[32];
    for (int p = 0; p < paginas; ++p)
        for (int l = 1; l <= linhas; ++l) {
            std::snprintf(texto, sizeof texto, "PAG %03d LIN %02d", p + 1, l);
            m.paginas[static_cast<std::size_t>(p)].Escreve(l, 1, texto);
        }
    return m;
}

MotorDeTeste::MotorDeTeste(std::unique_ptr<MotorRelatorio> motor)
    : anterior_(MOTOR_RELATORIO_INSTALA(std::move(motor))) {}
MotorDeTeste::~MotorDeTeste() { MOTOR_RELATORIO_INSTALA(std::move(anterior_)); }

bool TEM_PROGRAMA(const std::string& nome) {
    return std::system(("command -v " + nome + " >/dev/null 2>&1").c_str()) == 0;
}

std::string SAIDA_DE(const std::string& comando) {
    std::string r;
    if (FILE* f = ::popen(comando.c_str(), "r")) {
        char buf[65536];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) r.append(buf, n);
        ::pclose(f);
    }
    return r;
}

int PAGINAS_DO_PDF(const std::string& arquivo) {
    std::smatch m;
    const std::string info = SAIDA_DE("pdfinfo '" + arquivo + "' 2>/dev/null");
    return std::regex_search(info, m, std::regex(R"(Pages:\s+(\d+))")) ? std::stoi(m[1]) : -1;
}

std::vector<PalavraPdf> PALAVRAS_DO_PDF(const std::string& arquivo, double* larguraPagina) {
    const std::string html = SAIDA_DE("pdftotext -bbox '" + arquivo + "' - 2>/dev/null");
    std::smatch m;
    if (larguraPagina && std::regex_search(html, m, std::regex(R"re(<page width="([\d.]+)")re")))
        *larguraPagina = std::stod(m[1]);
    std::vector<PalavraPdf> r;
    const std::regex palavra(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    for (std::sregex_iterator i(html.begin(), html.end(), palavra), fim; i != fim; ++i)
        r.push_back({(*i)[5], std::stod((*i)[1]), std::stod((*i)[2]), std::stod((*i)[3]), std::stod((*i)[4])});
    return r;
}
