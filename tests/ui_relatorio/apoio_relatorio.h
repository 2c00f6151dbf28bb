#pragma once
// What the report window tests share: report models to show, the report
// engine swapped for the test's own, and the poppler tools that read PDF
// files back.

#include <memory>
#include <string>
#include <vector>

#include "report/modelo_relatorio.h"
#include "report/motor_relatorio.h"

// `paginas` pages of `linhas` lines; line l of page p holds
// "PAG ppp LIN ll" at column 1 and nothing else, unless changed after.
ModeloRelatorio MODELO_TESTE(int paginas, int linhas = 60);

// Installs an engine for the life of the object, then the previous one.
class MotorDeTeste {
public:
    explicit MotorDeTeste(std::unique_ptr<MotorRelatorio> motor);
    ~MotorDeTeste();

private:
    std::unique_ptr<MotorRelatorio> anterior_;
};

bool TEM_PROGRAMA(const std::string& nome);
// Standard output of a shell command.
std::string SAIDA_DE(const std::string& comando);
int PAGINAS_DO_PDF(const std::string& arquivo);

// A word as pdftotext -bbox places it, in PostScript points.
struct PalavraPdf {
    std::string texto;
    double xMin, yMin, xMax, yMax;
};
std::vector<PalavraPdf> PALAVRAS_DO_PDF(const std::string& arquivo, double* larguraPagina = nullptr);
