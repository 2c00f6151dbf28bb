// conversor-instala: creates a data directory for the converter, or shows
// what the tables of one hold.
//
//   conversor-instala DIRETORIO [--exemplo]   new tables (and sample registers)
//   conversor-instala DIRETORIO --mostra      list every table's records

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <sstream>
#include <string>

#include "core/ansi.h"
#include "core/calendario.h"
#include "core/dados/instalacao.h"
#include "core/tabela/erro_tabela.h"
#include "core/texto_ansi.h"

namespace {

TData hoje() {
    if (const char* d = std::getenv("CONVERSOR_DATA"); d && std::strlen(d) == 8) {
        const int v = std::atoi(d);
        if (TData t = DATA_CODIFICA(v / 10000, v / 100 % 100, v % 100)) return t;
    }
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    ::localtime_r(&t, &tm);
    return DATA_CODIFICA(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

int uso() {
    std::cerr << "Uso: conversor-instala DIRETORIO [--exemplo]\n"
                 "     conversor-instala DIRETORIO --mostra\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) return uso();
    const std::string dir = argv[1];
    const std::string opcao = argc == 3 ? argv[2] : "";
    if (!opcao.empty() && opcao != "--exemplo" && opcao != "--mostra") return uso();
    try {
        if (opcao == "--mostra") {
            std::ostringstream s;
            INSTALA_MOSTRA(dir, s);
            std::cout << ANSI_PARA_UTF8(s.str());
            return 0;
        }
        INSTALA_DIRETORIO(dir, opcao == "--exemplo", hoje());
        std::cout << ANSI_PARA_UTF8("Diretório de dados criado: "_ansi) << dir
                  << (opcao == "--exemplo" ? ANSI_PARA_UTF8(" (com registros de exemplo)") : "") << "\n";
        return 0;
    } catch (const ErroTabela& e) {
        std::cerr << ANSI_PARA_UTF8("ATENÇÃO: "_ansi) << ANSI_PARA_UTF8(e.what()) << "\n";
        return 1;
    }
}
