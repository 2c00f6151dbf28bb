#pragma once
// The main window: menu, tool bar and status bar, nothing else. Every menu
// action opens what it needs, runs one window or run of the motor to its
// end and closes the tables again. Started with a command-line request, the
// window runs it as soon as it is shown and then ends the program.

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/partida/linha_comando.h"
#include "ui/core/tfrmajuda.h"

class QAction;

// Menu entries whose windows live outside the main window; each later
// window is wired here by the application.
struct JanelasSistema {
    std::function<void()> mnu_manutconvecli;
    std::function<void()> mnu_manutconvetax;
    std::function<void()> mnu_listaconvecli;
    std::function<void()> mnu_statussistema;
    std::function<void()> mnu_instalacaosistema;
    std::function<void()> mnu_arqlimpeza;
};

class TMDIENTRADA : public QMainWindow {
    Q_OBJECT
public:
    TMDIENTRADA(std::vector<std::string> argumentos, SolicitacoesSistema solicitacoes,
                JanelasSistema janelas, QWidget* pai = nullptr);

    // The action of the given name (mnu_..., chk_encerra, bar_sobre, ...).
    QAction* Acao(const QString& nome) const;
    // Exit status of a command-line request, once it has run.
    int StatusSaida() const { return statusSaida_; }

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;

private:
    QAction* acao(const QString& nome, const QString& legenda, std::function<void()> efeito,
                  const QString& dica = QString());
    void executa(const std::function<void()>& efeito);
    // The window's bars, one menu at a time.
    void montaMenuArquivos();
    void montaMenuConversao();
    void montaMenuRoteamento();
    void montaMenuEspeciais();
    void montaBarraDeFerramentas();
    void montaBarraDeStatus();
    // The run, ended with its summary box and status-bar line.
    std::function<void()> comResumo(const std::string& titulo, std::function<void()> efeito);
    void FormShow();
    void mostraSobre();
    void mostraAjuda();

public:
    TFRMAJUDA* JanelaAjuda() const { return ajuda_; }

    std::vector<std::string> argumentos_;
    SolicitacoesSistema solicitacoes_;
    JanelasSistema janelas_;
    std::map<QString, QAction*> acoes_;
    QLabel* painelDica_ = nullptr;
    QString ultimoResumo_;  // the status-bar line of the last run
    QPointer<TFRMAJUDA> ajuda_;  // empty again once the operator closes it
    bool mostrada_ = false;
    bool fechaSemPerguntar_ = false;
    int statusSaida_ = 0;
};
