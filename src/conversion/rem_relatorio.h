#pragma once
// The run log of a remittance conversion: a 130-column report of the
// rejected operations and the totals, written as the PDF file
// ARQUIVO_REMESSA_VENDOR_<date>_<time>.PDF (or printed, by the engine).

#include <string>

#include "core/geral.h"

class TvenLOGREMESSA {
public:
    TvenLOGREMESSA() = default;
    // A log that was not closed with its totals belongs to a run that ended
    // early: it is dropped, nothing is printed or written.
    ~TvenLOGREMESSA();
    TvenLOGREMESSA(const TvenLOGREMESSA&) = delete;
    TvenLOGREMESSA& operator=(const TvenLOGREMESSA&) = delete;

    // Opens the report; false when it cannot be produced.
    bool Prepara();
    // Page heading, with the time the run started.
    bool Inicializa(const HoraDoDia& hora);

    // Names of the files of the run, printed above the first irregularity.
    void DefineArquivos(const std::string& arquivoCliente, int geracaoLida,
                        const std::string& arquivoBanco);

    // One irregularity. The first of an operation shares its line with the
    // buyer's CNPJ and the operation date; later ones go on lines of their
    // own under it. `geracaoGravada` is the bank file's generation as known
    // at this point of the run.
    void Ocorrencia(bool primeiraDaOperacao, const std::string& cnpj, TData dataOperacao,
                    int geracaoGravada, const std::string& mensagem);

    // Totals of lines read, skipped and accepted; closes the report without
    // a closing message of its own.
    void Totais(int lidos, int desprezados, int gravados);

private:
    bool aberto_ = false;
    std::string arquivoCliente_;
    int geracaoLida_ = 0;
    std::string arquivoBanco_;
};
