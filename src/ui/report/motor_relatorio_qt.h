#pragma once
// The report engines of the program. With a screen, MotorRelatorioQt prints
// through the system's printers (CUPS) and shows the preview window; without
// one, MotorRelatorioSemTela turns every report into a PDF file in the
// current directory. Both write PDF files the same way, and need no screen
// for it.

#include <memory>
#include <string>

#include "report/motor_relatorio.h"

class QPrinter;

class MotorRelatorioQt : public MotorRelatorio {
public:
    MotorRelatorioQt();
    ~MotorRelatorioQt() override;

    bool Fecha(const ModeloRelatorio& modelo) override;
    void GravaPdf(const ModeloRelatorio& modelo, const std::string& arquivo) override;
    std::string ImpressoraAtual() override;
    void SetupImpressora() override;
    int ImpressorasInstaladas() override;
    int ImpressorasDisponiveis() override;
    std::vector<std::string> NomesDasImpressoras() override;

    // The printer reports go to: the one chosen in the setup, else the
    // system's default. Null when the machine has no printer.
    QPrinter* Impressora();

private:
    std::unique_ptr<QPrinter> impressora_;
};

class MotorRelatorioSemTela : public MotorRelatorio {
public:
    // Closing a report writes <title>_<yyyymmdd>_<hhmmss>.PDF in the current
    // directory and answers true; there are no printers.
    bool Fecha(const ModeloRelatorio& modelo) override;
    void GravaPdf(const ModeloRelatorio& modelo, const std::string& arquivo) override;
    std::string ImpressoraAtual() override { return {}; }
    void SetupImpressora() override;
    int ImpressorasInstaladas() override { return 0; }
    int ImpressorasDisponiveis() override { return 0; }

    // Name of the file the last Fecha wrote (Windows-1252).
    const std::string& UltimoArquivo() const { return ultimoArquivo_; }

private:
    std::string ultimoArquivo_;
};

// Prints pages [primeira, ultima] (0-based) of the report on `impressora`
// at the same geometry as the PDF. False when the printer cannot start.
bool ImprimeRelatorio(QPrinter& impressora, const ModeloRelatorio& modelo, int primeira,
                      int ultima);

// File name of a report closed without a screen, before the date and time:
// the title, with blanks and "/" turned into "_".
std::string NomeDoArquivoSemTela(const std::string& titulo);
