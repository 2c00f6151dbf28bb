// Return segregation figures.
//
// 1. Split: a Cobrança 400 bank return of L lines (default 2,000,000) in
//    blocks of C clients (default 500), each block translated back by its
//    client's rules into the client's file, every file flushed to disk
//    before it takes its name, the bank file kept as its backup. Every
//    client has header rules; half of them also a detail rule that puts
//    back a third of their details.
//    Baseline, on the same file in the same program: `awk` writing each
//    block to a file of its own plus `cp` of the return to its backup, the
//    least the job needs (no translation, nothing flushed). The segregation
//    flushes every client file to disk before naming it, so the baseline's
//    time plus a `sync` of the files it wrote is shown as well.
//
// 2. Consolidation: P parked returns (default 50) for each of K clients
//    (default 20), N lines each (default 2,000), joined into every client's
//    first file (occurrence 06) and second file (all), renumbered, with
//    their trailers, the parked files deleted.
//    Baseline: `awk` copying each client's parked files, line by line, into
//    one file (and, as well, with a `sync` of those files). `cat` is shown
//    too, for reference only: it copies inside the kernel
//    (copy_file_range), which no program that rewrites records can do.
//
// Each round runs the baseline, then the run, then puts the files back; the
// medians of the rounds are compared.
//
// 3. Many blocks of one client (--blocos): a Cobrança 400 bank return in
//    which one client's blocks (header, 3 details, trailer) follow each
//    other B times, all of them into the client's one file. The time should
//    double with B: a block that rewrote the client's whole file would make
//    it grow with the square.
//
//   bench_segregacao [linhas] [clientes] [rodadas] [estacionados] [linhas-por-estacionado]
//   bench_segregacao --blocos B... (each size once, 3 rounds)

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "apoio_motor.h"
#include "core/dados/instalacao.h"
#include "core/dados/tdmquor.h"
#include "core/dialogo/dialogo_console.h"
#include "core/geral.h"
#include "medida.h"
#include "report/motor_relatorio.h"
#include "routing/tarqsegrega.h"

namespace {

using Relogio = std::chrono::steady_clock;
namespace fs = std::filesystem;

using apoio_bench::regra;
using medida::segundos;

std::string chave(const char* prefixo, int c) {
    char t[16];
    std::snprintf(t, sizeof t, "%s%03d", prefixo, c);
    return t;
}

std::string identidade(int c) {
    char t[16];
    std::snprintf(t, sizeof t, "%011d", 1000 + c);
    return t;
}

void cliente(Tabela& cli, const std::string& codigo, const std::string& id, const std::string& dirtemp,
             int ultpascli, bool regraDeDetalhe) {
    cli.Append();
    cli.FieldByName("CODCLI").SetAsString(codigo);
    cli.FieldByName("TIPOEMP").SetAsString("C");
    cli.FieldByName("ARQRETCLI").SetAsString(codigo + ".RET");
    cli.FieldByName("CONHEACP1").SetAsString(regra("036", "046", "", id.c_str()));
    cli.FieldByName("CONHEACP2").SetAsString(regra("077", "079", "237", "341"));
    if (regraDeDetalhe) cli.FieldByName("CONDETCP1").SetAsString(regra("020", "037", "EMPRESA", "BANCO"));
    cli.FieldByName("DIRTEMP").SetAsString(dirtemp);
    cli.FieldByName("ULTPASCLI").SetAsInteger(ultpascli);
    cli.FieldByName("CODCOBLIQ").SetAsString("06");
    cli.FieldByName("CODCOBCON").SetAsString("TODOS");
    cli.Post();
}

void gravaTudo(const std::string& caminho, const std::string& conteudo) {
    const int fd = ::open(caminho.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, conteudo.data(), conteudo.size()) != static_cast<ssize_t>(conteudo.size()))
        throw std::runtime_error("gravando " + caminho);
    ::close(fd);
}

// One client block of a Cobrança 400 return: header, details, trailer.
void bloco(std::string& saida, const std::string& id, long long linhas, long long semente) {
    std::string linha;
    for (long long i = 0; i < linhas; ++i) {
        linha.assign(400, ' ');
        if (i == 0) {
            linha.replace(0, 19, "02RETORNO01COBRANCA");
            linha.replace(35, 11, id);
            linha.replace(76, 3, "341");
            linha.replace(94, 6, "091226");
            linha.replace(108, 5, "00412");
        } else if (i == linhas - 1) {
            linha[0] = '9';
            linha.replace(4, 3, "341");
        } else {
            linha[0] = '1';
            if (i % 3 == 0) linha.replace(19, 5, "BANCO");
            const std::string num = std::to_string(100000000000LL + i * 7919 + semente);
            linha.replace(70, 12, num);
            linha.replace(108, 2, i % 4 == 0 ? "06" : i % 4 == 1 ? "02" : "10");
            linha.replace(152, 13, "0" + num);
        }
        saida += linha;
        saida += "\r\n";
    }
}

int executa(const std::string& comando) {
    const int r = std::system(comando.c_str());
    if (r != 0) std::fprintf(stderr, "falhou (%d): %s\n", r, comando.c_str());
    return r;
}

double cpu() {
    rusage r {};
    ::getrusage(RUSAGE_SELF, &r);
    auto s = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return s(r.ru_utime) + s(r.ru_stime);
}

double mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::uintmax_t bytesDe(const std::string& dir, const std::string& sufixo) {
    std::uintmax_t total = 0;
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string n = e.path().filename().string();
        if (n.size() > sufixo.size() && n.compare(n.size() - sufixo.size(), sufixo.size(), sufixo) == 0)
            total += e.file_size();
    }
    return total;
}

// Third measure: the bank return of `blocos` blocks of one client, split `rodadas`
// times in the data directory (already the current directory); the median.
double blocosDeUmCliente(const std::string& dados, int blocos, int rodadas, bool& ok) {
    const std::string id = identidade(9000);
    std::string retorno;
    for (int b = 0; b < blocos; ++b) bloco(retorno, id, 5, b);
    std::vector<double> tempos;
    for (int r = 0; r < rodadas; ++r) {
        gravaTudo(dados + "/RC0912.020", retorno);
        ::sync();
        const auto a = Relogio::now();
        SEGREGA_RETORNOS(1);
        tempos.push_back(segundos(a, Relogio::now()));
        const std::string saida = dados + "/UNICO.RET";
        if (!fs::exists(saida) || fs::file_size(saida) != retorno.size()) {
            std::printf("conferência dos blocos de um cliente ERRADA (%d blocos)\n", blocos);
            ok = false;
        }
        fs::remove(saida);
        fs::remove(dados + "/RC0912.ANT");
        for (const auto& e : fs::directory_iterator(dados))
            if (e.path().extension() == ".LOG") fs::remove(e.path());
    }
    return mediana(tempos);
}

// Quiet services and a fresh data directory, made the current one.
void instalaDados(const std::string& dados) {
    InstalaGeral(std::make_unique<TmvGERAL>(std::make_unique<DialogoConsole>(
        DialogoConsole::Config{nullptr, nullptr, false, false})));
    InstalaMotorDeRelatorio(std::make_unique<apoio_bench::MotorDescarta>());
    InstalaDiretorioDeDados(dados, false, GERAL().DATADIA);
    fs::current_path(dados);
}

int blocosDeUmCliente(int argc, char** argv) {
    char modelo[] = "/tmp/bench-segregacao-XXXXXX";
    const std::string raiz = ::mkdtemp(modelo);
    const std::string dados = raiz + "/dados";
    instalaDados(dados);
    Tabela& cli = DMQUOR().TBCONVECLI;
    cli.Open();
    cli.Append();
    cli.FieldByName("CODCLI").SetAsString("UNICO");
    cli.FieldByName("TIPOEMP").SetAsString("C");
    cli.FieldByName("ARQRETCLI").SetAsString("UNICO.RET");
    cli.FieldByName("CONHEACP1").SetAsString(regra("036", "046", "", identidade(9000).c_str()));
    cli.FieldByName("ULTPASCLI").SetAsInteger(99);
    cli.Post();
    cli.Close();

    bool ok = true;
    double anterior = 0;
    std::printf("blocos de um cliente: blocos  tempo (mediana de 3)  razão sobre o tamanho anterior\n");
    for (int i = 2; i < argc; ++i) {
        const int blocos = std::atoi(argv[i]);
        const double t = blocosDeUmCliente(dados, blocos, 3, ok);
        if (anterior > 0) std::printf("%26d  %10.3f s  %8.2f\n", blocos, t, t / anterior);
        else std::printf("%26d  %10.3f s\n", blocos, t);
        anterior = t;
        const double linhas = blocos * 5.0;
        medida::publica({"segregação, blocos de um cliente", std::to_string(blocos) + " blocos", t, "", 0, static_cast<double>(blocos),
                         "blocos", medida::picoProprio(), linhas * 402 / 1048576.0, ""});
    }
    fs::current_path("/");
    fs::remove_all(raiz);
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--blocos") return blocosDeUmCliente(argc, argv);
    const long long linhas = argc > 1 ? std::atoll(argv[1]) : 2000000;
    const int clientes = argc > 2 ? std::atoi(argv[2]) : 500;
    const int rodadas = argc > 3 ? std::atoi(argv[3]) : 3;
    const int estacionados = argc > 4 ? std::atoi(argv[4]) : 50;
    const long long porEstacionado = argc > 5 ? std::atoll(argv[5]) : 2000;
    const int consolidados = 20;
    char modelo[] = "/tmp/bench-segregacao-XXXXXX";
    const std::string raiz = ::mkdtemp(modelo);
    const std::string dados = raiz + "/dados";
    const std::string base = raiz + "/base";
    const std::string parque = raiz + "/parque";  // pristine parked files

    instalaDados(dados);
    Tabela& cli = DMQUOR().TBCONVECLI;
    cli.Open();
    // Half the clients have a detail rule that puts back a third of their
    // details; the other half's details go back as the bank sent them.
    for (int c = 0; c < clientes; ++c) cliente(cli, chave("CLI", c), identidade(c), "", 99, c % 2 == 0);
    for (int k = 0; k < consolidados; ++k)
        cliente(cli, chave("CON", k), identidade(10000 + k), "TEMP/" + chave("CON", k), 2, true);
    cli.Close();

    // The bank return, kept aside between the split rounds.
    const std::string guardado = raiz + "/RC0912.020";
    {
        const int fd = ::open(guardado.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::string retorno;
        for (int c = 0; c < clientes && fd >= 0; ++c) {
            retorno.clear();
            bloco(retorno, identidade(c), linhas / clientes + (c < linhas % clientes ? 1 : 0), c);
            if (::write(fd, retorno.data(), retorno.size()) != static_cast<ssize_t>(retorno.size()))
                throw std::runtime_error("gravando o retorno");
        }
        if (fd < 0) throw std::runtime_error("gravando o retorno");
        ::close(fd);
    }
    // The parked returns, kept aside and linked into place for each round.
    for (int k = 0; k < consolidados; ++k) {
        fs::create_directories(parque + "/" + chave("CON", k));
        for (int p = 1; p <= estacionados; ++p) {
            std::string arquivo;
            bloco(arquivo, identidade(10000 + k), porEstacionado, p);
            char nome[32];
            std::snprintf(nome, sizeof nome, "/RC%06d.%03d", 80000 + p, p);
            gravaTudo(parque + "/" + chave("CON", k) + nome, arquivo);
        }
    }
    ::sync();
    const double mb = static_cast<double>(linhas) * 402 / 1e6;
    const double mbParque = static_cast<double>(consolidados) * estacionados * porEstacionado * 402 / 1e6;
    std::printf("segregação: %lld linhas de 400 colunas (%.0f MB) em %d clientes; consolidação: "
                "%d clientes x %d arquivos estacionados x %lld linhas (%.0f MB); %d rodadas\n",
                linhas, mb, clientes, consolidados, estacionados, porEstacionado, mbParque, rodadas);

    bool ok = true;
    std::vector<double> baseSeg, seg, baseCon, con, cpuSeg, cpuCon, baseSegSync, baseConSync, baseCat;
    std::printf("rodada  awk+cp  segregação  razão |   awk  consolidação  razão\n");
    for (int r = 1; r <= rodadas; ++r) {
        // Split, baseline then run.
        fs::rename(guardado, dados + "/RC0912.020");
        fs::create_directories(base);
        auto a = Relogio::now();
        executa("awk '/^0/ { close(f); f = \"" + base + "/\" substr($0, 36, 11) } { print > f }' " + dados +
                "/RC0912.020");
        executa("cp " + dados + "/RC0912.020 " + base + "/RC0912.ANT");
        auto b = Relogio::now();
        baseSeg.push_back(segundos(a, b));
        executa("sync " + base + "/*");
        baseSegSync.push_back(segundos(a, Relogio::now()));
        fs::remove_all(base);
        ::sync();

        double c0 = cpu();
        a = Relogio::now();
        SEGREGA_RETORNOS(1);
        b = Relogio::now();
        seg.push_back(segundos(a, b));
        cpuSeg.push_back(cpu() - c0);
        const std::uintmax_t escritos = bytesDe(dados, ".RET");
        if (escritos != static_cast<std::uintmax_t>(linhas) * 402 || !fs::exists(dados + "/RC0912.ANT")) {
            std::printf("conferência da segregação ERRADA: %ju bytes nos arquivos dos clientes\n", escritos);
            ok = false;
        }
        for (int c = 0; c < clientes; ++c) fs::remove(dados + "/" + chave("CLI", c) + ".RET");
        fs::rename(dados + "/RC0912.ANT", guardado);
        ::sync();

        // Consolidation, baseline then run.
        for (int k = 0; k < consolidados; ++k) {
            const std::string dir = dados + "/TEMP/" + chave("CON", k);
            fs::create_directories(dir);
            for (const auto& e : fs::directory_iterator(parque + "/" + chave("CON", k)))
                fs::create_hard_link(e.path(), dir + "/" + e.path().filename().string());
        }
        fs::create_directories(base);
        a = Relogio::now();
        for (int k = 0; k < consolidados; ++k)
            executa("awk '{ print > \"" + base + "/" + chave("CON", k) + "\" }' " + dados + "/TEMP/" +
                    chave("CON", k) + "/*");
        b = Relogio::now();
        baseCon.push_back(segundos(a, b));
        executa("sync " + base + "/*");
        baseConSync.push_back(segundos(a, Relogio::now()));
        fs::remove_all(base);
        fs::create_directories(base);
        a = Relogio::now();
        for (int k = 0; k < consolidados; ++k)
            executa("cat " + dados + "/TEMP/" + chave("CON", k) + "/* > " + base + "/" + chave("CON", k));
        baseCat.push_back(segundos(a, Relogio::now()));
        fs::remove_all(base);
        ::sync();

        c0 = cpu();
        a = Relogio::now();
        SEGREGA_RETORNOS(2);
        b = Relogio::now();
        con.push_back(segundos(a, b));
        cpuCon.push_back(cpu() - c0);
        for (int k = 0; k < consolidados; ++k) {
            const std::string nome = dados + "/" + chave("CON", k);
            const auto rt2 = fs::exists(nome + ".RT2") ? fs::file_size(nome + ".RT2") : 0;
            const auto esperado =
                static_cast<std::uintmax_t>(estacionados * (porEstacionado - 2) + 2) * 402;
            if (!fs::exists(nome + ".RT1") || rt2 != esperado || !fs::is_empty(dados + "/TEMP/" + chave("CON", k))) {
                std::printf("conferência da consolidação ERRADA: %s\n", nome.c_str());
                ok = false;
            }
            fs::remove(nome + ".RT1");
            fs::remove(nome + ".RT2");
        }
        ::sync();
        std::printf("%6d  %6.2f  %10.2f  %5.2f | %5.2f  %12.2f  %5.2f\n", r, baseSeg.back(), seg.back(),
                    seg.back() / baseSeg.back(), baseCon.back(), con.back(), con.back() / baseCon.back());
    }

    rusage fim {};
    ::getrusage(RUSAGE_SELF, &fim);
    std::printf("medianas: segregação %.2f s (CPU %.2f s; linha de base %.2f s), consolidação %.2f s "
                "(CPU %.2f s; linha de base %.2f s)\n",
                mediana(seg), mediana(cpuSeg), mediana(baseSeg), mediana(con), mediana(cpuCon), mediana(baseCon));
    std::printf("razão segregação / awk+cp:    %.2f   (com sync na linha de base: %.2f)\n",
                mediana(seg) / mediana(baseSeg), mediana(seg) / mediana(baseSegSync));
    std::printf("razão consolidação / awk:     %.2f   (com sync na linha de base: %.2f; "
                "com cat, cópia dentro do kernel, %.2f s: %.2f)\n",
                mediana(con) / mediana(baseCon), mediana(con) / mediana(baseConSync), mediana(baseCat),
                mediana(con) / mediana(baseCat));
    const double linhaDeBase = mediana(baseSeg) + mediana(baseCon), nosso = mediana(seg) + mediana(con);
    std::printf("razão das duas juntas:        %.2f\n", nosso / linhaDeBase);
    std::printf("memória máxima do processo: %ld MB; conferência dos arquivos: %s\n", fim.ru_maxrss / 1024,
                ok ? "ok" : "ERRADA");
    char nota[96];
    std::snprintf(nota, sizeof nota, "com sync na base: %.2f×", mediana(seg) / mediana(baseSegSync));
    medida::publica({"segregação", std::to_string(linhas) + " linhas", mediana(seg), "awk + cp", mediana(baseSeg),
                     static_cast<double>(linhas), "linhas", medida::picoProprio(), mb / 1.048576, nota});
    const long long linhasParque = static_cast<long long>(consolidados) * estacionados * porEstacionado;
    std::snprintf(nota, sizeof nota, "com sync na base: %.2f×; cat (cópia no kernel): %.2f×",
                  mediana(con) / mediana(baseConSync), mediana(con) / mediana(baseCat));
    medida::publica({"consolidação", std::to_string(linhasParque) + " linhas", mediana(con), "awk",
                     mediana(baseCon), static_cast<double>(linhasParque), "linhas", medida::picoProprio(),
                     mbParque / 1.048576, nota});
    fs::current_path("/");
    fs::remove_all(raiz);
    return ok ? 0 : 1;
}
