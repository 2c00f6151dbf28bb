#pragma once
// What the Vendor conversion benchmarks share: a quiet process-wide setting
// (no terminal, no sound, run logs dropped), each step run in a child
// process of its own so its peak memory is its own, and the baseline of
// reading a file and writing its bytes elsewhere.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>

#include "apoio_motor.h"
#include "core/dialogo/dialogo_console.h"
#include "core/geral.h"
#include "medida.h"
#include "report/motor_relatorio.h"

namespace vendor_bench {

using apoio_bench::MotorDescarta;

inline void ambienteSilencioso() {
    DialogoConsole::Config c;
    c.entradaEhTerminal = false;
    c.comSom = false;
    auto geral = std::make_unique<TmvGERAL>(std::make_unique<DialogoConsole>(c));
    geral->DATADIA = CodificaData(2026, 3, 10);
    InstalaGeral(std::move(geral));
    InstalaMotorDeRelatorio(std::make_unique<MotorDescarta>());
}

struct Resultado {
    double segundos = 0;  // what the step timed (0 when it timed nothing)
    double picoMiB = 0;
    bool ok = false;
};

// Runs `corpo` in a child process; prints its peak memory. The child hands
// back the seconds `corpo` timed through a pipe.
inline Resultado etapa(const char* nome, const std::function<double()>& corpo) {
    std::cout << "\n" << nome << "\n" << std::flush;
    int canal[2];
    if (::pipe(canal) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(canal[0]);
        ambienteSilencioso();
        const double s = corpo();
        std::cout << std::flush;
        std::cerr << std::flush;
        const bool escrito = ::write(canal[1], &s, sizeof s) == static_cast<ssize_t>(sizeof s);
        ::_exit(escrito ? 0 : 1);
    }
    ::close(canal[1]);
    Resultado r;
    if (::read(canal[0], &r.segundos, sizeof r.segundos) != static_cast<ssize_t>(sizeof r.segundos))
        r.segundos = 0;
    ::close(canal[0]);
    int status = 0;
    struct rusage uso {};
    ::wait4(pid, &status, 0, &uso);
    r.picoMiB = uso.ru_maxrss / 1024.0;
    r.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    std::printf("  memória máxima (RSS): %.0f MiB%s\n", r.picoMiB, r.ok ? "" : "  [processo falhou]");
    std::fflush(stdout);
    return r;
}

// The baseline: the input file read and its bytes written to another file.
inline double copiaDeBytes(const std::string& origem) {
    const auto a = medida::Relogio::now();
    std::ifstream f(origem, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    std::ofstream("COPIA.TXT", std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const double s = medida::segundos(a);
    std::filesystem::remove("COPIA.TXT");
    return s;
}

}  // namespace vendor_bench
