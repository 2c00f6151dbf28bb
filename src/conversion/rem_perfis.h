#pragma once
// What sets the four client remittance layouts apart, one profile each: the
// register fields the run needs, the generations it numbers, how the file is
// prepared and how a line becomes bank records. The run itself is the same
// for every layout and asks only its profile.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "conversion/rem_arquivo_banco.h"
#include "conversion/rem_campos.h"
#include "conversion/rem_leiautes.h"

// The bank records one line gives, in file order; `true` marks those that
// count as operations in the trailer.
using TvenREGISTROSDALINHA = std::vector<std::pair<TvenREGISTRO, bool>>;
// Hands an irregularity of the current operation to the run.
using TvenOCORRENCIA = std::function<void(const std::string&)>;
// Looks up the rates of an operation whose file does not carry them, into
// the working fields; false ends the run (the lookup said why).
using TvenBUSCATAXA = std::function<bool(const TvenCONSULTATAXA&)>;

struct TvenPERFILREMESSA {
    const char* tipo;      // TIPOEMP
    int linhasCabecalho;   // lines before the first operation, read but skipped
    // Register fields that must be filled in: the message when the
    // operational programme (NUMPROGOP) is 0, null when it may be; and
    // whether the activity code (ATIVICLI) is needed.
    const char* faltaProgramaOperacional;
    bool exigeAtividade;
    bool perguntaInicioContrato;  // the contract start date is asked first
    bool numeraArquivoCliente;    // the client's files carry generations
    bool numeraArquivoBanco;      // the bank file's generation is issued here
    bool consignacao;             // consignment header and trailer
    bool guardaPendentes;         // operations remembered until the return
    // After the initial values, with the contract start date confirmed (when
    // asked): the message that ends the run, empty when the file may go on.
    std::string (*prepara)(TvenCAMPOSREMESSA& k, const TvenCLIENTE& cliente,
                           const std::vector<std::string>& linhas, TData inicioContrato, TData hoje);
    // One line into the working fields and its records, checks included;
    // false when a rate lookup ended the run.
    bool (*leLinha)(TvenCAMPOSREMESSA& k, const TvenCLIENTE& cliente, const std::string& linha,
                    const TvenOCORRENCIA& ocorrencia, const TvenBUSCATAXA& taxas,
                    TvenREGISTROSDALINHA& registros);
};

// The profile of a company type; null for a type without a remittance.
const TvenPERFILREMESSA* PerfilDaRemessa(const std::string& tipo);
