#pragma once
// The preview window: the report's pages drawn as they will print, one at a
// time, with zoom, page navigation, text search, printing and saving as PDF,
// HTML or plain text.

#include <QDialog>
#include <QStyle>
#include <QString>
#include <map>
#include <memory>
#include <vector>

#include "report/modelo_relatorio.h"
#include "ui/report/desenho_relatorio.h"

class QAction;
class QLabel;
class QLineEdit;
class QScrollArea;
class QSpinBox;
class QToolBar;
class MotorRelatorioQt;
class PaginaVisualizada;

class TFRMVISUALIZA : public QDialog {
    Q_OBJECT
public:
    // The model must outlive the window. `motor` gives the printer to print
    // on (the system's default when null).
    TFRMVISUALIZA(const ModeloRelatorio& modelo, MotorRelatorioQt* motor = nullptr,
                  QWidget* pai = nullptr);
    ~TFRMVISUALIZA() override;

    enum class Formato { Pdf, Html, Texto };

    int Pagina() const { return atual_ + 1; }  // page shown, 1-based
    int Paginas() const { return static_cast<int>(modelo_.paginas.size()); }
    int Zoom() const { return zoom_; }          // percent of the real size

    // Shows page `pagina` (1-based), kept within the report.
    void IrParaPagina(int pagina);
    void DefineZoom(int percentual);
    // The zoom at which the page's width fills the window.
    void AjustaLargura();
    // Marks every match of `texto` (case ignored) on the page shown and
    // moves to the next page that has one, from the page shown itself when
    // the text is new; past the last page it goes on from the first. False,
    // and the page unchanged, when no page has it.
    bool Localiza(const QString& texto);
    // Highlighted matches on the page shown.
    const std::vector<MarcaRelatorio>& Marcas() const { return marcas_; }
    // What the status line says (search results, save errors).
    QString Situacao() const;

    // Writes the whole report in the format; throws std::runtime_error
    // (Windows-1252 text) when the file cannot be written.
    void Salva(const QString& arquivo, Formato formato);

    // The window's actions by name: primeira, anterior, proxima, ultima,
    // reduz, amplia, largura, localiza, salva, imprime, fecha.
    QAction* Acao(const QString& nome) const;

private:
    QAction* acao(const QString& nome, const QString& texto, const QString& dica,
                  const QKeySequence& atalho, void (TFRMVISUALIZA::*efeito)());
    QAction* comIcone(QAction* a, QStyle::StandardPixmap icone) const;
    // The tool bar, one group of controls at a time; the page arrows are
    // returned to be shown as icons only.
    QToolBar* montaBarra();
    std::vector<QAction*> poeNavegacao(QToolBar* barra);
    void poeZoom(QToolBar* barra);
    void poeLocaliza(QToolBar* barra);
    void poeSaidas(QToolBar* barra);
    // The page in its scroll area, under the tool bar, above the status line.
    void montaFolha(QToolBar* barra);
    void primeira() { IrParaPagina(1); }
    void anterior() { IrParaPagina(Pagina() - 1); }
    void proxima() { IrParaPagina(Pagina() + 1); }
    void ultima() { IrParaPagina(Paginas()); }
    void reduz() { DefineZoom(zoom_ - 10); }
    void amplia() { DefineZoom(zoom_ + 10); }
    void localizaProxima();
    void salvaComo();
    void imprime();
    void atualiza();
    void marcaPagina();
    bool paginaTem(int indice, const QString& texto) const;

    const ModeloRelatorio& modelo_;
    MotorRelatorioQt* motor_;
    GeometriaRelatorio geometria_;
    int atual_ = 0;
    int zoom_ = 100;
    QString termo_;
    std::vector<MarcaRelatorio> marcas_;
    std::map<QString, QAction*> acoes_;
    PaginaVisualizada* folha_ = nullptr;
    QScrollArea* rolagem_ = nullptr;
    QSpinBox* spnPagina_ = nullptr;
    QLabel* lblTotal_ = nullptr;
    QSpinBox* spnZoom_ = nullptr;
    QLineEdit* edtLocaliza_ = nullptr;
    QLabel* lblSituacao_ = nullptr;
};
