#pragma once
// The Vendor remittance conversion: reads one Vendor client's remittance
// file, checks every operation, writes the bank's Vendor remittance file,
// remembers Cofap operations as pending, prints the run log and moves the
// client's generation numbers on.
//
// What a run changes, it changes only once everything else has succeeded:
// the bank file is written complete under a temporary name beside its final
// one, then the pending rows and the generation numbers are stored, and only
// then does the file take its name. A journal holds the three together: a
// run killed on the way is finished (generations posted) or undone by the
// next one. A run that ends earlier (a question
// answered No, a missing rate, a file the bank's layout cannot hold, a
// directory that does not exist) leaves the files and the tables as they
// were.

#include <memory>
#include <string>
#include <vector>

#include "conversion/rem_arquivo_banco.h"
#include "conversion/rem_campos.h"
#include "conversion/rem_pendente.h"
#include "conversion/rem_perfis.h"
#include "conversion/rem_relatorio.h"
#include "core/arquivos/arquivo_duravel.h"
#include "core/arquivos/grava_externo.h"
#include "core/arquivos/leitura_externo.h"

// Caption of the conversion's window (client code, Cofap start date).
std::string TituloDaJanelaRemessa();

// The run object: the working fields and counters of one conversion.
class TvenREMESSA : public TvenCAMPOSREMESSA {
public:
    // `linhaComando`: started with a client code, so no confirmation is asked.
    TvenREMESSA(const std::string& codigo, bool linhaComando);

    // The run, start to end. The tables CONVECLI, CONVEPEN and CONVETAX of
    // the data module must be open.
    void REM_PROCESSA();

    bool KACIONOU_EM_LINHA_DE_COMANDO = false;
    std::string KARQREMCLI;  // client file name
    std::string KARQREMBAN;  // bank file name
    int KULTREMCLI = 0;      // generation of the client file read
    int WPES = 0;            // lines read
    int WDES = 0;            // lines skipped
    int WGRA = 0;            // lines accepted

    TaexLEITURAEXTERNO oARQREMCLI;
    TaexGRAVAEXTERNO oARQREMBAN{kTAMANHO_REGISTRO_BANCO, tamREGFIXO};
    TvenGRAVAREMESSA oGRAVA{oARQREMBAN};

    // Prints one irregularity of the current operation; marks it rejected.
    void REM_OCORRENCIA(const std::string& mensagem);

private:
    bool pedeCliente();
    bool confereCadastro();
    bool leArquivoCliente();
    TData perguntaInicioContrato();
    bool prepara();
    bool processaLinha(std::size_t indice);
    // The register's names may be used: not a system file, not the client's
    // own file; the client's file is there.
    bool confereArquivos();
    // The trailer staged; false, with the reasons shown, when the bank's
    // layout cannot hold this remittance.
    bool fechaArquivoBanco();
    bool gravaUnidade();
    bool diretorioDoBancoExiste() const;
    void abreArquivoBanco();
    void fechaSemGravar();
    bool atualizaCadastro(ArquivoDuravel& banco);

    const TvenPERFILREMESSA* perfil_ = nullptr;  // the client's layout
    TvenCLIENTE cliente_;
    TvenLOGREMESSA oLOG_;
    std::vector<OperacaoPendente> pendentes_;
    TvenREGISTROSDALINHA registrosDaLinha_;  // the current line's records
    std::unique_ptr<ArquivoDuravel> banco_;  // the bank file, unnamed until the unit commits
    int geracaoGravada_ = 0;  // generation number the bank file's header carries
};

// Entry of the menu and of the command line: opens the tables, runs the
// conversion, closes them.
void VEN_CONVREMESSA(const std::string& codigo, bool linhaComando);
