#pragma once
// The Vendor return conversion: reads the bank's Vendor return file of one
// client (Cofap, BR or Wabco), checks its header and its trailer totals,
// rewrites its records as the client's return file (one per branch for BR),
// marks Cofap's pending remittances as answered, prints the run log and
// moves the client's generation numbers on.
//
// Nothing is written before the file has passed its checks. Every client
// file appears under its name only complete. The pending rows and the
// client record change only for files that were written: a file that could
// not be written leaves the generation numbers where they were, so the same
// return can be converted again once the cause is removed.

#include <memory>
#include <string>
#include <vector>

#include "conversion/ret_arquivo_cliente.h"
#include "conversion/ret_perfis.h"
#include "conversion/ret_relatorio.h"
#include "core/arquivos/grava_externo.h"
#include "core/arquivos/leitura_externo.h"
#include "core/diario_execucao.h"
#include "registers/manconvecli.h"

// Caption of the conversion's window (client code).
std::string TituloDaJanelaRetorno();

// The client register values the return conversion reads (CONVECLI).
struct TvenCLIENTERETORNO {
    std::string CODCLI;
    std::string TIPOEMP;  // "1" Cofap, "2" BR, "4" Wabco
    std::string ARQRETBAN;
    std::string ARQRETCLI;
    std::string IDENTEMP;
    std::string CGCFOR;
    int NUMPROGOP = 0;
    long long ULTRETBAN = 0;
    long long ULTRETCLI = 0;
    std::string CONDETCP1;  // BR branch table
};

// The run object (the working fields of TFRMARQVENRETORNO).
class TvenRETORNO {
public:
    // `linhaComando`: started with a client code, so no confirmation is asked.
    TvenRETORNO(const std::string& codigo, bool linhaComando);

    // The run, start to end. The tables CONVECLI and CONVEPEN of the data
    // module must be open.
    void RET_PROCESSA();

    std::string QUALCLIENTE;
    bool ACIONOU_EM_LINHA_DE_COMANDO = false;
    std::string KARQRETBAN;  // bank return file
    std::string KARQRETCLI;  // client file being written
    int KULTRETBAN = 0;      // generation of the bank return: expected, then read
    int KULTRETCLI = 0;      // generation of the client file being written
    std::string KNOMEEMP;    // company name of the bank header
    std::string KDADOSBAN;   // bank record being processed
    std::string KNUMPED;     // its planilha number
    int KNUMPARC = 0;        // its instalment number
    std::string WERRO = "N";
    int WPES = 0, WDES = 0, WHEA = 0, WCON = 0;
    int WTOTHEADER_BR = 0;
    long long WTOTREGGRA = 0;  // records staged in the current client file
    long long WTOTREGTI = 0;   // detail records staged (Cofap, Wabco)
    Centavos WTOTVALTI = 0;
    std::vector<std::string> KTBFILIAL;
    TKTBBRFILIAL KTBBRFILIAL;

    TaexLEITURAEXTERNO oARQRETBAN;
    TaexGRAVAEXTERNO oARQRETCLI{-1, tamREGFIXO};
    TmanCONVECLI omanCONVECLI;

    // One irregularity of the current record: printed, and the record is
    // left out of the client file.
    void RET_OCORRENCIA(const std::string& mensagem);

private:
    bool pedeCliente();
    bool leArquivoBanco();
    bool confereArquivoBanco();
    void RET_COFAP();
    void RET_BR();
    void RET_WABCO();
    void RET_GRAVAREG(const std::string& registro);
    // Trailer (Cofap) and file; false when nothing was written.
    bool RET_GRAVATRAILLER();
    bool gravaArquivo();
    // Branch pass of RET_BR; true when its file was written.
    bool passaFilial(const std::string& filial, std::vector<std::string>& nomesGravados);
    // Why the branch gets no file under `nome`; empty when it may.
    std::string motivoSemArquivo(const std::string& filial, const std::string& nome,
                                 const std::vector<std::string>& nomesGravados);
    // Stages the branch's records, each batch with its header and trailer;
    // true when the last of them is a trailer.
    bool copiaDaFilial(const std::string& filial, const std::string& nome,
                       std::vector<std::string>& falhas);
    int geracaoFilial(const std::string& filial);
    void recusaFilial(const std::string& filial, const std::string& motivo);
    void dataPendentes();
    bool atualizaCadastro(int ultretcli);
    // The client files written so far take their names, once the
    // generations that go with them are posted (a journalled unit).
    void nomeiaArquivos();

    std::unique_ptr<DiarioExecucao> diario_;
    bool falhouGravacao_ = false;  // a branch file could not be written
    std::vector<std::string> diretoriosDosCadastros_;  // where register names may write, read once
    std::vector<std::pair<std::string, std::string>> escritos_;  // temporary, final

    const TvenPERFILRETORNO* perfil_ = nullptr;  // the client's layout
    TvenCLIENTERETORNO cliente_;
    TvenDADOSCOFAP cofap_;
    TvenLOGRETORNO oLOG_;
    std::vector<std::string> pendentes_;  // planilhas of the Cofap details staged
    std::vector<std::string> recusas_;    // branches that got no file, and why
    bool sequenciaExcedida_ = false;
};

// Entry of the menu (empty code) and of the command line: opens the tables,
// runs the conversion, closes them.
void VEN_CONVRETORNO(const std::string& codigo, bool linhaComando);
