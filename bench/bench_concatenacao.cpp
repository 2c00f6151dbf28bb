// Remittance concatenation figures: F client files (default 2,000) of
// Cobrança 400 and Desconto 400 clients totalling L lines of 400 columns
// (default 2,000,000), concatenated with their clients' translation rules
// into the two bank files, every client file moved to the holding
// directory.
//
// Baseline, on the same files in the same program: `cat` of them into one
// file plus `cp` of them into a holding directory, the least I/O the job
// needs. The concatenation also flushes each bank file to disk before
// giving it its name (so that it never appears incomplete); the baseline
// flushes nothing, so its time plus a flush of its one output file is shown
// as well.
//
// Each round runs the baseline, then the concatenation, then puts the files
// back; the medians of the rounds are compared.
//
//   bench_concatenacao [arquivos] [linhas] [rodadas]

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
#include "routing/tarqconcatena.h"

namespace {

using Relogio = std::chrono::steady_clock;
namespace fs = std::filesystem;

using apoio_bench::regra;
using medida::segundos;

const int kClientes = 100;

std::string chave(int c) {
    char t[16];
    std::snprintf(t, sizeof t, "CLI%03d", c);
    return t;
}

void cadastra(const std::string& dir) {
    Tabela& ins = DMQUOR().TBCONVEINS;
    ins.Open();
    ins.First();
    ins.Edit();
    for (const auto& [c, v] : {std::pair{"ARQREMC24", "C24DDMMNN"}, {"ARQREMC40", "CB4DDMMNN"},
                               {"ARQREMVEN", "VENDDMMNN"}, {"ARQREMV24", "V24DDMMNN"},
                               {"ARQREMDES", "DESDDMMNN"}, {"DIRCOPIA", "GUARDA"}})
        ins.FieldByName(c).SetAsString(v);
    ins.Post();
    ins.Close();
    Tabela& cli = DMQUOR().TBCONVECLI;
    cli.Open();
    for (int c = 0; c < kClientes; ++c) {
        cli.Append();
        cli.FieldByName("CODCLI").SetAsString(chave(c));
        cli.FieldByName("ARQREMCLI").SetAsString(chave(c));
        cli.FieldByName("TIPOEMP").SetAsString(c % 2 ? "D" : "C");
        cli.FieldByName("CONHEACP1").SetAsString(regra("036", "046", "", "00012345678"));
        cli.FieldByName("CONHEACP2").SetAsString(regra("077", "079", "", "341"));
        cli.FieldByName("CONDETCP1").SetAsString(regra("020", "037", "EMPRESA", "BANCO"));
        cli.FieldByName("CONDETCP2").SetAsString(regra("063", "065", "", "341"));
        cli.Post();
    }
    cli.Close();
    fs::create_directory(dir + "/GUARDA");
}

// Client files: header, details, trailer, 400 columns and CR LF each.
long long geraArquivos(const std::string& dir, int arquivos, long long linhas) {
    long long total = 0;
    std::string linha(400, ' ');
    std::string buffer;
    for (int f = 0; f < arquivos; ++f) {
        const long long n = linhas / arquivos + (f < linhas % arquivos ? 1 : 0);
        const int c = f % kClientes;
        char nome[32];
        std::snprintf(nome, sizeof nome, "%s.%03d", chave(c).c_str(), f / kClientes + 1);
        buffer.clear();
        for (long long i = 0; i < n; ++i) {
            linha.assign(400, ' ');
            if (i == 0) {
                linha.replace(0, 19, "01REMESSA01COBRANCA");
                linha.replace(76, 3, "237");
            } else if (i == n - 1) {
                linha[0] = '9';
                linha.replace(394, 6, std::to_string(1000000 + n).substr(1));
            } else {
                linha[0] = '1';
                linha.replace(19, 7, i % 3 ? "EMPRESA" : "OUTRA  ");
                const std::string num = std::to_string(10000000000LL + i * 7919 + f);
                linha.replace(62, num.size(), num);
                linha.replace(120, num.size(), num);
            }
            buffer += linha;
            buffer += "\r\n";
        }
        const int fd = ::open((dir + "/" + nome).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, buffer.data(), buffer.size()) != static_cast<ssize_t>(buffer.size()))
            throw std::runtime_error("gravando " + std::string(nome));
        ::close(fd);
        total += n;
    }
    return total;
}

void fsyncArquivo(const std::string& caminho) {
    const int fd = ::open(caminho.c_str(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

int executa(const std::string& comando) {
    const int r = std::system(comando.c_str());
    if (r != 0) std::fprintf(stderr, "falhou (%d): %s\n", r, comando.c_str());
    return r;
}

struct Rodada {
    double base, baseSync, conc, cpu;
};

double mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double cpuDe(const rusage& a, const rusage& b) {
    auto s = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return s(b.ru_utime) - s(a.ru_utime) + s(b.ru_stime) - s(a.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
    const int arquivos = argc > 1 ? std::atoi(argv[1]) : 2000;
    const long long linhas = argc > 2 ? std::atoll(argv[2]) : 2000000;
    const int rodadas = argc > 3 ? std::atoi(argv[3]) : 3;
    char modelo[] = "/tmp/bench-concatenacao-XXXXXX";
    const std::string raiz = ::mkdtemp(modelo);
    const std::string dados = raiz + "/dados";
    const std::string base = raiz + "/base";

    InstalaGeral(std::make_unique<TmvGERAL>(std::make_unique<DialogoConsole>(
        DialogoConsole::Config{nullptr, nullptr, false, false})));
    InstalaMotorDeRelatorio(std::make_unique<apoio_bench::MotorDescarta>());
    InstalaDiretorioDeDados(dados, false, GERAL().DATADIA);
    fs::current_path(dados);
    cadastra(dados);
    const long long total = geraArquivos(dados, arquivos, linhas);
    ::sync();
    std::printf("%d arquivos de clientes, %lld linhas de 400 colunas (%.0f MB), %d rodadas\n",
                arquivos, total, static_cast<double>(total) * 402 / 1e6, rodadas);
    std::printf("rodada  cat+cp  +fsync  concatenação  razão\n");

    bool ok = true;
    std::vector<Rodada> medidas;
    for (int r = 1; r <= rodadas; ++r) {
        // Baseline: the same files, left in place.
        fs::create_directories(base + "/GUARDA");
        const std::string lista = "cd " + dados + " && ls | grep '^CLI' | tr '\\n' '\\0' | xargs -0";
        auto a = Relogio::now();
        executa(lista + " cat > " + base + "/SAIDA");
        executa(lista + " cp -t " + base + "/GUARDA");
        auto b = Relogio::now();
        fsyncArquivo(base + "/SAIDA");
        auto c = Relogio::now();
        Rodada m{segundos(a, b), segundos(a, c), 0, 0};
        fs::remove_all(base);
        ::sync();

        rusage antes {};
        ::getrusage(RUSAGE_SELF, &antes);
        a = Relogio::now();
        CONCATENA_REMESSAS();
        b = Relogio::now();
        rusage depois {};
        ::getrusage(RUSAGE_SELF, &depois);
        m.conc = segundos(a, b);
        m.cpu = cpuDe(antes, depois);
        medidas.push_back(m);
        std::printf("%6d  %6.2f  %6.2f  %12.2f  %5.2f\n", r, m.base, m.baseSync, m.conc, m.conc / m.base);

        // Checked, then put back for the next round.
        long long restantes = 0, guardados = 0;
        std::uintmax_t produtos = 0;
        for (const auto& e : fs::directory_iterator(dados)) {
            const std::string n = e.path().filename().string();
            if (n.rfind("CLI", 0) == 0) ++restantes;
            if (n.rfind("CB4", 0) == 0 || n.rfind("DES", 0) == 0) {
                produtos += e.file_size();
                fs::remove(e.path());
            }
        }
        for (const auto& e : fs::directory_iterator(dados + "/GUARDA")) {
            ++guardados;
            fs::rename(e.path(), dados + "/" + e.path().filename().string());
        }
        if (restantes != 0 || guardados != arquivos ||
            produtos != static_cast<std::uintmax_t>(total) * 402) {
            std::printf("conferência ERRADA: %lld no diretório, %lld guardados, %ju bytes nos "
                        "arquivos do banco\n", restantes, guardados, produtos);
            ok = false;
        }
        ::sync();
    }

    std::vector<double> base1, base2, conc, cpu;
    for (const Rodada& m : medidas) {
        base1.push_back(m.base);
        base2.push_back(m.baseSync);
        conc.push_back(m.conc);
        cpu.push_back(m.cpu);
    }
    rusage fim {};
    ::getrusage(RUSAGE_SELF, &fim);
    std::printf("medianas: linha de base %.2f s, com fsync %.2f s, concatenação %.2f s "
                "(CPU %.2f s)\n", mediana(base1), mediana(base2), mediana(conc), mediana(cpu));
    std::printf("razão concatenação / linha de base:  %.2f\n", mediana(conc) / mediana(base1));
    std::printf("razão com fsync na linha de base:    %.2f\n", mediana(conc) / mediana(base2));
    std::printf("memória máxima do processo: %ld MB; conferência dos arquivos: %s\n",
                fim.ru_maxrss / 1024, ok ? "ok" : "ERRADA");
    char nota[64];
    std::snprintf(nota, sizeof nota, "com fsync na base: %.2f×", mediana(conc) / mediana(base2));
    medida::publica({"concatenação", std::to_string(total) + " linhas", mediana(conc), "cat + cp",
                     mediana(base1), static_cast<double>(total), "linhas", medida::picoProprio(),
                     medida::mib(static_cast<double>(total) * 402), nota});
    fs::current_path("/");
    fs::remove_all(raiz);
    return ok ? 0 : 1;
}
