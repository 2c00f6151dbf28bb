// conversor-instala: creates a data directory for the converter, or shows
// what the tables of one hold.
//
//   conversor-instala DIRETORIO                new, empty tables
//   conversor-instala DIRETORIO --exemplo      sample registers and the files of a whole day
//   conversor-instala DIRETORIO --cadastros    sample registers only
//   conversor-instala DIRETORIO --mostra       list every table's records
//   conversor-instala --help | -h | --version

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <sstream>
#include <string>

#include "core/arquivos/erro_arquivo.h"
#include "core/dados/dia_exemplo.h"
#include "core/dados/instalacao.h"
#include "core/partida/tproentrada.h"
#include "core/texto/ansi.h"
#include "core/texto/calendario.h"
#include "core/texto/texto_ansi.h"
#include "tabela/erro_tabela.h"

namespace {

TData hoje() {
    if (const char* d = std::getenv("CONVERSOR_DATA"); d && std::strlen(d) == 8) {
        const int v = std::atoi(d);
        if (TData t = CodificaData(v / 10000, v / 100 % 100, v % 100)) return t;
    }
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    ::localtime_r(&t, &tm);
    return CodificaData(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

// The usage, in the terminal's UTF-8.
std::string textoDeUso() {
    return AnsiParaUtf8(
    "Uso: conversor-instala DIRETORIO [--exemplo | --cadastros]\n"
    "     conversor-instala DIRETORIO --mostra\n"
    "\n"
    "Cria o diretório de dados do conversor com as quatro tabelas, sem substituir\n"
    "tabela nem arquivo existente:\n"
    "  (sem opção)   tabelas vazias\n"
    "  --cadastros   clientes e taxas de exemplo\n"
    "  --exemplo     clientes, taxas e os arquivos de um dia de trabalho\n"
    "  --mostra      lista o conteúdo das tabelas de um diretório existente\n"
    "  -h, --help    mostra esta ajuda;  --version  mostra a versão\n"
    "\n"
    "CONVERSOR_DATA=AAAAMMDD fixa a data das tabelas e dos arquivos de exemplo.\n"
    "Códigos de saída: 0 criado, 1 erro (nada criado), 2 linha de comando inválida.\n"_ansi);
}

int uso() {
    std::cerr << textoDeUso();
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << textoDeUso();
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "conversor-instala " << kVERSAO_SISTEMA << "\n";
        return 0;
    }
    if (argc < 2 || argc > 3) return uso();
    const std::string dir = argv[1];
    const std::string opcao = argc == 3 ? argv[2] : "";
    // An option where the directory goes is a mistyped option, not a
    // directory to create ("./-x" names such a directory, if ever wanted).
    if (dir.empty() || dir[0] == '-') return uso();
    if (!opcao.empty() && opcao != "--exemplo" && opcao != "--cadastros" &&
        opcao != "--mostra") return uso();
    try {
        if (opcao == "--mostra") {
            std::ostringstream s;
            MostraTabelasDoDiretorio(dir, s);
            std::cout << AnsiParaUtf8(s.str());
            return 0;
        }
        const TData dia = hoje();
        if (opcao == "--exemplo") ConfereDiaDeExemplo(dir, dia);
        InstalaDiretorioDeDados(dir, !opcao.empty(), dia);
        if (opcao == "--exemplo") InstalaDiaDeExemplo(dir, dia);
        std::cout << AnsiParaUtf8("Diretório de dados criado: "_ansi) << dir
                  << (opcao == "--exemplo"     ? AnsiParaUtf8(" (com um dia de trabalho de exemplo)"_ansi)
                      : opcao == "--cadastros" ? std::string(" (com registros de exemplo)")
                                               : std::string())
                  << "\n";
        return 0;
    } catch (const ErroArquivo& e) {
        std::cerr << AnsiParaUtf8("ATENÇÃO: "_ansi) << AnsiParaUtf8(e.what()) << "\n";
        return 1;
    } catch (const ErroTabela& e) {
        std::cerr << AnsiParaUtf8("ATENÇÃO: "_ansi) << AnsiParaUtf8(e.what()) << "\n";
        return 1;
    }
}
