#pragma once
// The report service every run log and listing goes through: text laid out
// by line and column on numbered pages with the standard four-line header
// and repeated column headings, handed to the report engine at the end
// (printer, preview or PDF file).

#include <memory>
#include <string>
#include <vector>

#include "report/modelo_relatorio.h"

enum TopcIMPRES { krSAIDA, krIMPRES, krGRAFICA, krMATRICIAL };
enum TprnLINPOLEGADA { tpd_6_LINHAS, tpd_8_LINHAS };
enum TprnTIPOTITULO { tpdTITULO_FOLHA, tpdTITULO_PAGINA };
enum TkrMENS { krDUAS_MENSAGENS, krSEM_MENSAGEM, krPARA_CONTINUAR, krREGISTRO_DISPONIVEL };

class ToPRINT {
public:
    ToPRINT();  // CRIAIMP

    int KCOLATU = 0;
    int KLINATU = 9999;
    int LIMITEPAG = 60;
    int PAGINA = 0;
    bool IMPCABEC = true;
    TprnTIPOTITULO QUALTITULO = tpdTITULO_PAGINA;
    std::string TITDIREITA;
    int COLESQ = 1;
    int PRIMVEZ = 0;
    int COLUNAS = 80;
    std::string TITESQ;
    std::string TITCAB1, TITCAB2, TITCAB3, TITCAB4;
    TprnLINPOLEGADA LINPOLEGADA = tpd_6_LINHAS;
    int LINHAS = -1;
    TopcIMPRES KDEVICE = krGRAFICA;
    std::string KNOMEdoARQUIVOemPDF;
    std::string KTITULO;

    bool IMPINICIALIZA(int total, const std::string& titulo, bool comCancela);
    bool INCLINHA(int n);
    void CHARSAY(int coluna, const std::string& texto);
    void CABEC();
    void EMITEemPDF();
    // False when the printer could not take the report (after its message).
    bool IMP_FECHA();
    // After a printer failure: the report on the screen or in a PDF file,
    // as the operator chooses.
    void OfereceOutroDestino();

    // The pages produced so far, as the engine will receive them.
    const ModeloRelatorio& Modelo() const { return modelo_; }
    // Set by IMP_PREPARA: preview wanted, or (without a screen, or by the
    // operator's choice) a PDF file instead of the printer.
    bool visualizar = false;
    bool destinoPdf = false;
    // Name of the last PDF file written (empty when none).
    const std::string& ArquivoPdfGravado() const { return arquivoPdf_; }

private:
    PaginaRelatorio& paginaAtual();
    ModeloRelatorio modelo_;
    bool abandonado_ = false;
    std::string arquivoPdf_;
};

// The one report being produced; empty when none is open.
extern std::unique_ptr<ToPRINT> oPRINT;

// Opens a report (after the operator's choice when there is a description);
// false when the operator cancelled: the caller then produces nothing.
bool IMP_PREPARA(const std::string& titulo, const std::vector<std::string>& descricao);
// Finishes the report: PDF file or printer/preview, the final message, and
// frees oPRINT.
void EJECT(TkrMENS tipo);
// The printer-setup dialog, with its message when it cannot be shown.
void IMP_SETUPIMPRESSORA();
