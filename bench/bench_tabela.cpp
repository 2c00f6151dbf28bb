// Table engine figures on a pending-remittance table of N rows (default
// 1,000,000): append rate one row at a time and in batches (the two tables
// must come out byte for byte the same), open time and the memory it takes,
// open with the first seek (which builds the tag's order from the DBF),
// Locate on "CODCLI; NUMPED", a full ordered walk. Each figure is the
// median of several runs.
//
// Each is set beside a baseline taken in the same run on the same keys:
// appends beside inserting the keys into a std::map, the open beside reading
// the DBF's bytes into memory, Locate beside std::map::find, the walk beside
// iterating the map. Run at several sizes, the Locate figures show how a
// seek grows with the table: a balanced index costs one more step each time
// the table doubles, a scan grows with the rows.
//
//   bench_tabela [linhas]

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

#include "core/dados/esquema.h"
#include "medida.h"
#include "tabela/tabela.h"

namespace {

using medida::Relogio;
using medida::mediana;
using medida::segundos;

// The index key as the table compares it: the two fields at their widths.
std::string chaveMapa(const std::string& cli, const std::string& ped) {
    std::string k = cli;
    k.resize(15, ' ');
    return k + ped;
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
    CriaTabela(dir + "/CONVEPEN.DBF", EsquemaConvepen().campos);
    const std::string tamanho = std::to_string(n) + " linhas";

    std::printf("CONVEPEN com %ld linhas (registro de %zu bytes)\n", n,
                static_cast<std::size_t>(1 + 15 + 15 + 8 + 8 + 14 + 200));
    // The baseline's keys, built apart so that only the map is timed.
    std::vector<std::string> chaves;
    chaves.reserve(static_cast<std::size_t>(n));
    for (long i = 0; i < n; ++i) chaves.push_back(chaveMapa(cliente(i), pedido(i)));
    std::map<std::string, long> mapa;
    auto a = Relogio::now();
    for (long i = 0; i < n; ++i) mapa.emplace(chaves[static_cast<std::size_t>(i)], i);
    const double baseInclusao = segundos(a);
    std::vector<std::string>().swap(chaves);
    // One row as the pending rows of a remittance write it.
    auto preenche = [](Tabela& t, long i) {
        t.Append();
        t.FieldByName("CODCLI").SetAsString(cliente(i));
        t.FieldByName("NUMPED").SetAsString(pedido(i));
        t.FieldByName("DTREMESSA").SetAsDate(46000 + static_cast<TData>(i % 365));
        t.FieldByName("CGCCLI").SetAsString("11222333000181");
        t.Post();
    };
    double inclusao = 0;
    {
        Tabela t;
        abre(t, dir);
        a = Relogio::now();
        for (long i = 0; i < n; ++i) preenche(t, i);
        inclusao = segundos(a);
        std::printf("inclusão (aberta compartilhada, com índice): %.0f linhas/s (%.2f s)\n", n / inclusao,
                    inclusao);
    }
    const double bytesDbf = static_cast<double>(std::filesystem::file_size(dir + "/CONVEPEN.DBF"));
    medida::publica({"tabela: inclusão", tamanho, inclusao, "std::map::emplace", baseInclusao,
                     static_cast<double>(n), "linhas", medida::picoProprio(), medida::mib(bytesDbf), ""});

    // The same rows in batches, into a table of their own: the same bytes.
    const std::string dirLote = dir + "/lote";
    std::filesystem::create_directory(dirLote);
    CriaTabela(dirLote + "/CONVEPEN.DBF", EsquemaConvepen().campos);
    double inclusaoLote = 0, fechamento = 0;
    {
        Tabela t;
        abre(t, dirLote);
        a = Relogio::now();
        t.IniciaLote();
        for (long i = 0; i < n; ++i) preenche(t, i);
        t.EncerraLote();
        inclusaoLote = segundos(a);
        a = Relogio::now();
        t.Close();  // writes the index file from the table
        fechamento = segundos(a);
        std::printf("inclusão em lotes: %.0f linhas/s (%.2f s); fechamento com o índice: %.2f s\n",
                    n / inclusaoLote, inclusaoLote, fechamento);
    }
    char notaLote[96];
    std::snprintf(notaLote, sizeof notaLote, "fechamento (grava o CDX) %.2f s", fechamento);
    medida::publica({"tabela: inclusão em lotes", tamanho, inclusaoLote, "std::map::emplace", baseInclusao,
                     static_cast<double>(n), "linhas", medida::picoProprio(), medida::mib(bytesDbf), notaLote});
    bool loteIgual = false;
    {
        std::ifstream um(dir + "/CONVEPEN.DBF", std::ios::binary), outro(dirLote + "/CONVEPEN.DBF", std::ios::binary);
        loteIgual = std::string(std::istreambuf_iterator<char>(um), {}) ==
                    std::string(std::istreambuf_iterator<char>(outro), {});
    }
    std::filesystem::remove_all(dirLote);

    std::vector<double> aberturas, leituras, primeiras;
    double memoriaAberta = 0, memoriaBusca = 0;
    for (int r = 0; r < 5; ++r) {
        a = Relogio::now();
        {
            std::ifstream f(dir + "/CONVEPEN.DBF", std::ios::binary);
            std::string bytes(static_cast<std::size_t>(bytesDbf), '\0');
            f.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
        leituras.push_back(segundos(a));
        const double antes = medida::memoriaEmUso();
        Tabela t;
        a = Relogio::now();
        abre(t, dir);
        aberturas.push_back(segundos(a));
        memoriaAberta = medida::memoriaEmUso() - antes;
        t.Locate("CODCLI; NUMPED", {cliente(n / 2), pedido(n / 2)});
        primeiras.push_back(segundos(a));
        memoriaBusca = medida::memoriaEmUso() - antes;
    }
    std::printf("abertura (a ordem do índice fica para a primeira busca): mediana %.3f s (leitura dos bytes: %.3f s)\n",
                mediana(aberturas), mediana(leituras));
    char notaAbertura[96];
    std::snprintf(notaAbertura, sizeof notaAbertura, "memória da tabela aberta %.0f MiB", memoriaAberta);
    medida::publica({"tabela: abertura", tamanho, mediana(aberturas), "leitura dos bytes do DBF",
                     mediana(leituras), static_cast<double>(n), "linhas", medida::picoProprio(),
                     medida::mib(bytesDbf), notaAbertura});
    std::printf("abertura e primeira busca (monta a ordem): mediana %.3f s; memória %.0f MiB\n",
                mediana(primeiras), memoriaBusca);
    std::snprintf(notaAbertura, sizeof notaAbertura, "memória com a ordem montada %.0f MiB", memoriaBusca);
    medida::publica({"tabela: abertura e primeira busca", tamanho, mediana(primeiras), "leitura dos bytes do DBF",
                     mediana(leituras), static_cast<double>(n), "linhas", medida::picoProprio(),
                     medida::mib(bytesDbf), notaAbertura});

    Tabela t;
    abre(t, dir);
    std::mt19937 gerador(42);
    std::uniform_int_distribution<long> sorteio(0, n - 1);
    std::vector<double> buscas, buscasMapa;
    const int porRodada = 20000;
    long achados = 0, achadosMapa = 0;
    for (int r = 0; r < 5; ++r) {
        // The same keys for both, drawn before either is timed.
        std::vector<std::pair<std::string, std::string>> sorteados;
        for (int k = 0; k < porRodada; ++k) {
            const long i = sorteio(gerador);
            sorteados.emplace_back(cliente(i), pedido(i));
        }
        std::vector<std::string> chavesMapa;
        for (const auto& [c, p] : sorteados) chavesMapa.push_back(chaveMapa(c, p));
        a = Relogio::now();
        for (const auto& [c, p] : sorteados) achados += t.Locate("CODCLI; NUMPED", {c, p});
        buscas.push_back(segundos(a) / porRodada * 1e6);
        a = Relogio::now();
        for (const std::string& k : chavesMapa) achadosMapa += mapa.count(k);
        buscasMapa.push_back(segundos(a) / porRodada * 1e6);
    }
    std::printf("Locate em CODCLI; NUMPED: mediana %.2f us por busca (%ld de %d achadas); "
                "std::map::find %.2f us\n",
                mediana(buscas), achados, 5 * porRodada, mediana(buscasMapa));
    char nota[64];
    std::snprintf(nota, sizeof nota, "%.2f µs por busca", mediana(buscas));
    medida::publica({"tabela: busca (Locate)", tamanho, mediana(buscas) * porRodada / 1e6,
                     "std::map::find", mediana(buscasMapa) * porRodada / 1e6, porRodada, "buscas",
                     medida::picoProprio(), medida::mib(bytesDbf), nota});
    const bool todasAchadas = achados == 5L * porRodada && achadosMapa == 5L * porRodada;

    std::vector<double> caminhadas, caminhadasMapa;
    long lidos = 0, lidosMapa = 0;
    for (int r = 0; r < 3; ++r) {
        lidos = 0;
        a = Relogio::now();
        for (t.First(); !t.Eof(); t.Next()) lidos += !t.FieldByName("NUMPED").IsNull();
        caminhadas.push_back(segundos(a));
        lidosMapa = 0;
        a = Relogio::now();
        for (const auto& [k, v] : mapa) lidosMapa += !k.empty() && v >= 0;
        caminhadasMapa.push_back(segundos(a));
    }
    std::printf("percurso completo na ordem do índice: mediana %.3f s (%ld linhas, %.0f linhas/s)\n",
                mediana(caminhadas), lidos, lidos / mediana(caminhadas));
    medida::publica({"tabela: percurso ordenado", tamanho, mediana(caminhadas), "percurso do std::map",
                     mediana(caminhadasMapa), static_cast<double>(lidos), "linhas", medida::picoProprio(),
                     medida::mib(bytesDbf), ""});
    t.Close();
    std::filesystem::remove_all(dir);
    if (!todasAchadas || lidos != n || lidosMapa != n || !loteIgual) {
        std::printf("conferência ERRADA: %ld e %ld buscas achadas, %ld e %ld linhas percorridas%s\n", achados,
                    achadosMapa, lidos, lidosMapa, loteIgual ? "" : "; a tabela dos lotes difere");
        return 1;
    }
    return 0;
}
