#pragma once
// What the report service needs of a report engine: print a report, show
// it in the preview window, write it as PDF. The Qt engine does all three
// with the system's printers; without a screen the engine writes PDF files.

#include <memory>
#include <string>
#include <vector>

#include "report/modelo_relatorio.h"

class MotorRelatorio {
public:
    virtual ~MotorRelatorio() = default;
    // Prints the report on the current printer, or shows it in the preview
    // window when the model asks for it. False when the printer is not
    // usable.
    virtual bool Fecha(const ModeloRelatorio& modelo) = 0;
    // Writes the pages to a PDF file; throws std::exception on failure.
    virtual void GravaPdf(const ModeloRelatorio& modelo, const std::string& arquivo) = 0;
    // Name of the current printer; empty when there is none.
    virtual std::string ImpressoraAtual() = 0;
    // The printer-setup dialog; throws std::exception when it cannot be
    // shown. Closing it without a choice is no error.
    virtual void SetupImpressora() = 0;
    // Printers installed, and how many of them are usable.
    virtual int ImpressorasInstaladas() = 0;
    virtual int ImpressorasDisponiveis() = 0;
    // The names of the system's printers, for the operator to see which
    // are there; none when the engine has no printers.
    virtual std::vector<std::string> NomesDasImpressoras() { return {}; }
};

// The process's engine; the application installs one at start.
MotorRelatorio* MotorDeRelatorioAtual();
std::unique_ptr<MotorRelatorio> InstalaMotorDeRelatorio(std::unique_ptr<MotorRelatorio> motor);
