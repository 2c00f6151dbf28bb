#pragma once
// What every measurement program shares: the clock, medians, peak memory,
// and the one line per figure that scripts/desempenho gathers into its
// table. A program prints its own readable lines as well; the gathered line
// begins with "@|" so that nothing else is taken for it.

#include <sys/resource.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace medida {

using Relogio = std::chrono::steady_clock;

inline double segundos(Relogio::time_point a, Relogio::time_point b = Relogio::now()) {
    return std::chrono::duration<double>(b - a).count();
}

// The middle value; for an even count the upper of the two middle ones.
inline double mediana(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Peak resident memory of this process so far, in MiB.
inline double picoProprio() {
    rusage r {};
    ::getrusage(RUSAGE_SELF, &r);
    return static_cast<double>(r.ru_maxrss) / 1024.0;
}

// Heap memory in use by this process now, in MiB (what the allocator has
// handed out, whether or not freed memory went back to the system).
inline double memoriaEmUso() {
    const struct mallinfo2 m = ::mallinfo2();
    return static_cast<double>(m.uordblks + m.hblkhd) / 1048576.0;
}

// One figure of the table: the job and its size, its median time, the
// baseline measured in the same run (none when `base` is empty), the
// throughput in `unidades` per second, the peak memory of the process that
// ran the job and the size of the job's input (both MiB).
struct Figura {
    std::string tarefa;
    std::string tamanho;
    double segundos = 0;
    std::string base;
    double segundosBase = 0;
    double unidades = 0;  // items the job handled (rows, operations, lines, pages)
    std::string unidade;
    double picoMiB = 0;
    double entradaMiB = 0;
    std::string nota;
};

inline void publica(const Figura& f) {
    std::printf("@|%s|%s|%.4f|%s|%.4f|%.0f|%s|%.1f|%.1f|%s\n", f.tarefa.c_str(), f.tamanho.c_str(),
                f.segundos, f.base.c_str(), f.segundosBase, f.unidades, f.unidade.c_str(), f.picoMiB,
                f.entradaMiB, f.nota.c_str());
    std::fflush(stdout);
}

inline double mib(double bytes) { return bytes / 1048576.0; }

}  // namespace medida
