#pragma once
// What a run started from the menu tells the operator when it ends: what it
// read, wrote and refused, and where its run log went. The window opens a
// summary before the run and takes it back afterwards; the runs add their
// lines, and the report service adds the run log it wrote. With no summary
// open (the command line, the tests of the runs) every call does nothing.

#include <optional>
#include <string>
#include <vector>

#include "report/modelo_relatorio.h"

struct ResumoExecucao {
    std::string titulo;
    std::vector<std::string> lidos, gravados, recusados;  // one line each
    std::string relatorio;            // the run log's file; empty when none was written
    std::optional<ModeloRelatorio> paginas;  // the run log, for the preview

    bool Vazio() const {
        return lidos.empty() && gravados.empty() && recusados.empty() && !paginas;
    }
    // Everything on one line, for the status bar.
    std::string Linha() const;
};

void AbreResumo(const std::string& titulo);
// The summary of the run, closed; nothing when none was open.
std::optional<ResumoExecucao> FechaResumo();

void ResumoLido(const std::string& linha);
void ResumoGravado(const std::string& linha);
void ResumoRecusado(const std::string& linha);
// The run log, as the report service finished it (`arquivo` empty when it
// went to the printer or the screen).
void ResumoRelatorio(const std::string& arquivo, const ModeloRelatorio& paginas);

// "1 registro", "2 registros": a count with its word in the right number.
std::string ResumoRegistros(long long n);
