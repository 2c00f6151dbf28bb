#pragma once
// The rate register: the rows the list window shows with the display forms
// of the rate fields, the deletion, and the insert/alter window's rate row
// with its validation and write (TAX_KMENS).

#include <cstdint>
#include <string>
#include <vector>

#include "core/texto/calendario.h"
#include "registers/registro_tabela.h"
#include "tabela/tabela.h"

// Display forms of CONVETAX's fields wherever they are shown as text: a rate
// in twelve places with six decimals after a comma (1.5 is "    1,500000",
// too big a rate twelve asterisks), the days in three places.
std::string TBCONVETAXTAXABANGetText(double taxa);
std::string TBCONVETAXDIASTAXGetText(long long dias);

// One row of the rate list, in index order (start date, product, days),
// with every column as it is shown.
struct LinhaTaxa {
    std::string DATINITAX;
    std::string DATFINTAX;
    std::string PRODTAX;
    std::string DIASTAX;
    std::string TAXABAN;
    std::string TAXAFOR;
    TData inicio = 0;        // key, to find the row again
    long long dias = 0;      // key
    std::uint32_t registro = 0;
};
std::vector<LinhaTaxa> LinhasDasTaxas(Tabela& convetax);
// Puts CONVETAX on the row of the list.
bool PosicionaTaxa(Tabela& convetax, const LinhaTaxa& linha);

// "Exclui" on the current row, after the question. True when deleted.
bool ExcluiTaxa(Tabela& convetax);

// The insert/alter window's rate row. Dates are day counts (0 = empty).
struct CamposTaxa {
    TData DATINITAX = 0;
    std::string PRODTAX;
    int DIASTAX = 0;
    TData DATFINTAX = 0;
    double TAXABAN = 0;
    double TAXAFOR = 0;
};

class TcadTAXA : public CamposTaxa {
public:
    TcadTAXA(Tabela& convetax, TfmINCALT funcao);

    const TfmINCALT KFUNCAO;
    bool Inclusao() const { return KFUNCAO == fmINCLUSAO; }
    // The key (start date, product, days) is typed only for a new row.
    bool ChaveHabilitada() const { return Inclusao(); }

    // Empty fields for a new row, the current CONVETAX row's otherwise.
    void FormShow();
    // Validates; when valid writes the row. The message of the first
    // failing check is shown and the answer is false.
    bool TAX_KMENS();
    // Field of the check that failed last ("DATINITAX", "DATFINTAX", ...);
    // empty when the row was valid. The window puts the focus there.
    std::string CampoRecusado;

private:
    bool localiza();
    Tabela& convetax_;
};
