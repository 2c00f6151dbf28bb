// Table engine figures on a pending-remittance table of N rows (default
// 1,000,000): append rate, open time (ordered index built from the DBF),
// Locate on "CODCLI; NUMPED", a full ordered walk. Each figure is the median
// of several runs.
//
//   bench_tabela [linhas]

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/dados/esquema.h"
#include "core/tabela/tabela.h"

namespace {

using Relogio = std::chrono::steady_clock;

double segundos(Relogio::time_point a, Relogio::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

double mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string cliente(long i) { return "CLI" + std::to_string(i % 997); }
std::string pedido(long i) { return std::to_string(1000000000L + i * 7919 % 1000003); }

void abre(Tabela& t, const std::string& dir) {
    t.SetDatabaseName(dir);
    t.SetTableName("CONVEPEN");
    t.AddIndexDef("CONVEPEN", "CODCLI + NUMPED");
    t.SetIndexName("CONVEPEN");
    t.Open();
}

}  // namespace

int main(int argc, char** argv) {
    const long n = argc > 1 ? std::atol(argv[1]) : 1000000;
    char modelo[] = "/tmp/bench-tabela-XXXXXX";
    const std::string dir = ::mkdtemp(modelo);
    TABELA_CRIA(dir + "/CONVEPEN.DBF", ESQUEMA_CONVEPEN().campos);

    std::printf("CONVEPEN com %ld linhas (registro de %zu bytes)\n", n,
                static_cast<std::size_t>(1 + 15 + 15 + 8 + 8 + 14 + 200));
    {
        Tabela t;
        abre(t, dir);
        const auto a = Relogio::now();
        for (long i = 0; i < n; ++i) {
            t.Append();
            t.FieldByName("CODCLI").SetAsString(cliente(i));
            t.FieldByName("NUMPED").SetAsString(pedido(i));
            t.FieldByName("DTREMESSA").SetAsDate(46000 + static_cast<TData>(i % 365));
            t.FieldByName("CGCCLI").SetAsString("11222333000181");
            t.Post();
        }
        const double s = segundos(a, Relogio::now());
        std::printf("inclusão (aberta compartilhada, com índice): %.0f linhas/s (%.2f s)\n", n / s, s);
    }

    std::vector<double> aberturas;
    for (int r = 0; r < 5; ++r) {
        Tabela t;
        const auto a = Relogio::now();
        abre(t, dir);
        aberturas.push_back(segundos(a, Relogio::now()));
    }
    std::printf("abertura (lê o DBF e monta o índice): mediana %.3f s\n", mediana(aberturas));

    Tabela t;
    abre(t, dir);
    std::mt19937 gerador(42);
    std::uniform_int_distribution<long> sorteio(0, n - 1);
    std::vector<double> buscas;
    const int porRodada = 20000;
    long achados = 0;
    for (int r = 0; r < 5; ++r) {
        const auto a = Relogio::now();
        for (int k = 0; k < porRodada; ++k) {
            const long i = sorteio(gerador);
            achados += t.Locate("CODCLI; NUMPED", {cliente(i), pedido(i)});
        }
        buscas.push_back(segundos(a, Relogio::now()) / porRodada * 1e6);
    }
    std::printf("Locate em CODCLI; NUMPED: mediana %.2f us por busca (%ld de %d achadas)\n",
                mediana(buscas), achados, 5 * porRodada);

    std::vector<double> caminhadas;
    long lidos = 0;
    for (int r = 0; r < 3; ++r) {
        lidos = 0;
        const auto a = Relogio::now();
        for (t.First(); !t.Eof(); t.Next()) lidos += !t.FieldByName("NUMPED").IsNull();
        caminhadas.push_back(segundos(a, Relogio::now()));
    }
    std::printf("percurso completo na ordem do índice: mediana %.3f s (%ld linhas, %.0f linhas/s)\n",
                mediana(caminhadas), lidos, lidos / mediana(caminhadas));
    t.Close();
    std::filesystem::remove_all(dir);
    return 0;
}
