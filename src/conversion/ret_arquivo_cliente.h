#pragma once
// The client return files built from the bank's return records: Cofap's
// 400-column collection-style file (header, one record per instalment,
// trailer), BR's 250-column files, one per branch (the bank's own header and
// detail records of the branch, and a trailer recomputed for the branch),
// and Wabco's 28-column payment records.
//
// Builders answer the record's columns without its sequence number (Cofap
// 1-394, BR 1-244, Wabco the whole record) and one message per numeric value
// that its zero-filled field cannot hold: such a record must never be
// written, since asterisks inside a digit field would reach the client as a
// wrong amount.

#include <string>
#include <vector>

#include "conversion/ret_arquivo_banco.h"
#include "core/texto/calendario.h"

struct TvenREGRETORNO {
    std::string conteudo;
    std::vector<std::string> falhas;
};

// Record length of the client file of a company type ("1", "2", "4").
int TamanhoDoRegistroRetorno(const std::string& tipoEmpresa);

// Cofap.

struct TvenPARCELACOFAP {
    std::string ocorrencia;  // KOCORRENCIA: "02", "09" or "06"
    std::string numped;      // columns 11-25 of the bank record
    int numparc = 0;
    TData datapaga = 0;
    TData dtliqui = 0;
    Centavos valprest = 0;
    Centavos valpago = 0;
    Centavos desconto = 0;
    Centavos jurmora = 0;
    Centavos multa = 0;
};

// Reads a bank record "12", "13" or "14" (the only ones Cofap takes).
TvenPARCELACOFAP LeParcelaCofap(const std::string& registro);

struct TvenDADOSCOFAP {
    std::string cgcfor;    // CONVECLI.CGCFOR
    std::string identemp;  // CONVECLI.IDENTEMP
    std::string nomeemp;   // KNOMEEMP, columns 56-85 of the bank header
    TData hoje = 0;
    int geracao = 0;       // KULTRETCLI
};

TvenREGRETORNO HeaderCofap(const TvenDADOSCOFAP& d);
TvenREGRETORNO ParcelaCofap(const TvenDADOSCOFAP& d, const TvenPARCELACOFAP& p,
                                const std::string& cgccli);
TvenREGRETORNO TrailerCofap(const TvenDADOSCOFAP& d, long long detalhes,
                                 Centavos totalPago);

// BR.

// Branch counters of one batch, by record type "11", "21", "12", "22", "13",
// "14" (index 0 to 5).
struct TvenTOTAISFILIAL {
    long long qtd[6] = {0, 0, 0, 0, 0, 0};
    Centavos valor[6] = {0, 0, 0, 0, 0, 0};
    // Adds a detail record of the branch; other types add nothing.
    void Soma(const std::string& registro);
};

TvenREGRETORNO HeaderBr(const std::string& headerBanco, int geracao);
TvenREGRETORNO DetalheBr(const std::string& registro);
TvenREGRETORNO TrailerBr(const std::string& traillerBanco, const TvenTOTAISFILIAL& t);

// Wabco.

TvenREGRETORNO PagamentoWabco(int consignante, const std::string& registro);
