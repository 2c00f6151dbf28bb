// Vendor return conversion figures: a BR bank return of N detail records
// (default 1,000,000) spread evenly over 5 branches, converted into one file
// per branch.
//
// The bank's trailer counts each record type in 5 digits, so one batch
// (header, details, trailer) holds at most 99,999 records of each of the six
// detail types. A file of N records is therefore laid out in as many batches
// as it needs, each with its own header and trailer; the trailers add up.
// The figures are given for:
//   1. the whole run on the N-record file;
//   2. the whole run on the largest file of a single batch (6 x 99,999
//      records).
// Each step runs in a process of its own; its peak memory is that process's
// maximum resident set.
//
// Baseline, in the same run: a process of its own reading the bank file and
// writing the same bytes to another file, the least I/O the job needs.
//
//   bench_vendor_retorno [registros] [etapas]
//
// `etapas` picks the steps (default "12"); a run over several sizes takes
// "1" for each of them.

#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>

#include "conversion/ret_processa.h"
#include "core/dados/instalacao.h"
#include "core/dados/tdmquor.h"
#include "core/dialogo/dialogo_console.h"
#include "core/geral.h"
#include "etapa_vendor.h"
#include "medida.h"
#include "report/motor_relatorio.h"
#include "tabela/tabela.h"

namespace {

using vendor_bench::ambienteSilencioso;
using vendor_bench::copiaDeBytes;
using vendor_bench::etapa;
using vendor_bench::Resultado;
namespace fs = std::filesystem;
using Relogio = std::chrono::steady_clock;

constexpr int kFILIAIS = 5;
constexpr long kMAIOR_POR_TIPO = 99999;
const char* const kTIPOS[] = {"11", "21", "12", "22", "13", "14"};

double segundos(Relogio::time_point a) {
    return std::chrono::duration<double>(Relogio::now() - a).count();
}

void poe(std::string& l, int coluna, const std::string& texto) {
    l.replace(static_cast<std::size_t>(coluna - 1), texto.size(), texto);
}

std::string zeros(long long v, int largura) {
    std::string d = std::to_string(v);
    return std::string(static_cast<std::size_t>(largura) - d.size(), '0') + d;
}

// Amount column of each detail type.
int colunaValor(int tipo) { return tipo <= 1 ? 57 : tipo <= 4 ? 52 : 77; }

// The bank file: batches of at most 6 x 99,999 records; record i has type
// i mod 6 and branch (i / 6) mod 5, so every branch gets every type.
void arquivoBR(const std::string& caminho, long n) {
    std::ofstream f(caminho, std::ios::binary);
    const long porLote = 6 * kMAIOR_POR_TIPO;
    long sequencia = 0;
    for (long inicio = 0; inicio < n; inicio += porLote) {
        const long fim = std::min(n, inicio + porLote);
        std::string h(250, ' ');
        poe(h, 1, "10" "20260310");
        poe(h, 12, "RETORNO");
        poe(h, 36, "QUORBR");
        poe(h, 56, "BR DISTRIBUIDORA S.A.");
        poe(h, 118, "000321");
        poe(h, 245, zeros(++sequencia, 6));
        f << h << "\r\n";
        long long qtd[6] = {0, 0, 0, 0, 0, 0}, valor[6] = {0, 0, 0, 0, 0, 0};
        std::string l(250, ' ');
        for (long i = inicio; i < fim; ++i) {
            const int tipo = static_cast<int>(i % 6);
            const long long centavos = 100 + i % 99900;
            std::fill(l.begin(), l.end(), ' ');
            poe(l, 1, kTIPOS[tipo]);
            poe(l, 11, "PLAN" + zeros(i, 11));
            poe(l, 42, "01");
            poe(l, colunaValor(tipo), zeros(centavos, 15));
            poe(l, 242, zeros((i / 6) % kFILIAIS + 1, 3));
            poe(l, 245, zeros(++sequencia % 1000000, 6));
            f << l << "\r\n";
            ++qtd[tipo];
            valor[tipo] += centavos;
        }
        std::string t(250, ' ');
        poe(t, 1, "19" "BANCOQR1");
        for (int k = 0; k < 5; ++k) {
            poe(t, 11 + 5 * k, zeros(qtd[k], 5));
            poe(t, 36 + 15 * k, zeros(valor[k], 15));
        }
        poe(t, 111, zeros(qtd[5], 5));
        poe(t, 116, zeros(valor[5], 15));
        poe(t, 245, zeros(++sequencia % 1000000, 6));
        f << t << "\r\n";
    }
}


// The seconds of the run; negative when the branch files do not hold every
// record.
double conversao(long registros) {
    for (int k = 1; k <= kFILIAIS; ++k) fs::remove("R1003" + zeros(k, 3) + ".TXT");
    const auto a = Relogio::now();
    VEN_CONVRETORNO("BR", true);
    const double s = segundos(a);
    std::printf("  conversion of %ld detail records: %.2f s (%.0f records/s)\n", registros, s, registros / s);
    std::uintmax_t total = 0;
    int arquivos = 0;
    for (int k = 1; k <= kFILIAIS; ++k) {
        const fs::path p = "R1003" + zeros(k, 3) + ".TXT";
        if (!fs::exists(p)) continue;
        ++arquivos;
        total += fs::file_size(p);
    }
    std::printf("  branch files written: %d, %ju bytes (%ju records)\n", arquivos, total,
                total / 252);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    const long n = argc > 1 ? std::atol(argv[1]) : 1000000;
    const std::string etapas = argc > 2 ? argv[2] : "12";
    char modelo[] = "/tmp/bench-retorno-XXXXXX";
    const std::string dir = ::mkdtemp(modelo);
    fs::current_path(dir);
    std::printf("BR Vendor return conversion, %ld detail records over %d branches\n", n, kFILIAIS);
    std::printf("directory: %s\n", dir.c_str());

    bool ok = etapa("Preparation (not measured)", [n] {
        InstalaDiretorioDeDados(".", true, GERAL().DATADIA);
        Tabela& cli = DMQUOR().TBCONVECLI;
        cli.Open();
        cli.Locate("CODCLI", {"BR"});
        cli.Edit();
        cli.FieldByName("CONDETCP1").SetAsString("001     0002     0003     0004     0005     0");
        cli.Post();
        cli.Close();
        arquivoBR("RBR.TXT", n);
        std::printf("  bank file: %ju bytes\n", static_cast<std::uintmax_t>(fs::file_size("RBR.TXT")));
        return 0.0;
    }).ok;
    const double entrada = medida::mib(static_cast<double>(fs::file_size("RBR.TXT")));

    if (etapas.find('1') != std::string::npos) {
        const Resultado base = etapa("Baseline: the bank file's bytes read and written",
                                     [] { return copiaDeBytes("RBR.TXT"); });
        const Resultado r = etapa("1. Whole run on the full file", [n] { return conversao(n); });
        ok = ok && base.ok && r.ok;
        medida::publica({"Vendor retorno (BR)", std::to_string(n) + " registros", r.segundos,
                         "leitura+gravação dos bytes", base.segundos, static_cast<double>(n), "registros",
                         r.picoMiB, entrada, ""});
    }

    const long maximo = std::min(n, 6 * kMAIOR_POR_TIPO);
    if (etapas.find('2') != std::string::npos)
        ok = etapa("2. Whole run on the largest single-batch file", [maximo] {
                 arquivoBR("RBR.TXT", maximo);
                 return conversao(maximo);
             }).ok && ok;

    fs::current_path("/");
    fs::remove_all(dir);
    return ok ? 0 : 1;
}
