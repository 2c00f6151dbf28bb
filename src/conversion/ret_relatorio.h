#pragma once
// The run log of a return conversion: a 130-column report written as the
// PDF file ARQUIVO_RETORNO_VENDOR_<date>_<time>.PDF (or printed, by the
// engine). Cofap and Wabco runs list the irregular records and the four
// totals; BR runs list one section per branch and the number of branch files.

#include <string>

#include "core/geral.h"

class TvenLOGRETORNO {
public:
    TvenLOGRETORNO() = default;
    // A log that was not closed belongs to a run that ended early: it is
    // dropped, nothing is printed or written.
    ~TvenLOGRETORNO();
    TvenLOGRETORNO(const TvenLOGRETORNO&) = delete;
    TvenLOGRETORNO& operator=(const TvenLOGRETORNO&) = delete;

    // Opens the report; false when it cannot be produced.
    bool Prepara();
    // Page heading: the time, the bank file and the generation read.
    bool Inicializa(const HoraDoDia& hora, const std::string& arquivoBanco, int geracaoLida);

    // One irregularity of the current record. The first of a record shares
    // its line with the planilha, the record kind and the instalment.
    void Irregularidade(bool primeiraDoRegistro, const std::string& numped,
                        const std::string& tipoRegistro, int numparc,
                        const std::string& mensagem);

    // Totals of a Cofap or Wabco pass; closes the report.
    void Totais(int lidos, int desprezados, int controle, int considerados);

    // BR sections.
    void InicioBR();
    void HeaderFilial(const std::string& arquivoCliente, int geracao);
    // A line at the left margin, under the current section: why a branch got
    // no file.
    void Aviso(const std::string& texto);
    void TotalFilial(int daFilial, int controle);
    // Number of branch files written; closes the report.
    void TotalBR(int filiais);

private:
    void fecha();
    bool aberto_ = false;
};
