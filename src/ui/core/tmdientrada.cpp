#include "ui/core/tmdientrada.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include "core/dados/tdmquor.h"
#include "core/geral.h"
#include "core/partida/aplicacao.h"
#include "core/partida/recuperacao.h"
#include "core/partida/reorganizacao.h"
#include "core/partida/tproentrada.h"
#include "report/resumo_execucao.h"
#include "ui/core/dialogo_qt.h"
#include "ui/core/qt_texto.h"
#include "ui/core/tfrmajuda.h"
#include "ui/report/tfrmresumo.h"
#include "ui/routing/tfrmpassada.h"

namespace {

// A menu entry whose window the application wires; without it the entry
// says so.
std::function<void()> janelaDoMenu(const std::function<void()>& f, const char* nome) {
    return [f, nome] {
        if (f) f();
        else AvisaSolicitacaoIndisponivel(QtParaAnsi(QString::fromUtf8(nome)));
    };
}

}  // namespace

TMDIENTRADA::TMDIENTRADA(std::vector<std::string> argumentos, SolicitacoesSistema solicitacoes,
                         JanelasSistema janelas, QWidget* pai)
    : QMainWindow(pai),
      argumentos_(std::move(argumentos)),
      solicitacoes_(std::move(solicitacoes)),
      janelas_(std::move(janelas)) {
    setObjectName("MDIENTRADA");
    // The operator is at this screen: from now on the motor's messages,
    // questions and progress counter show here. The progress window is made
    // now, hidden, and goes with this window.
    auto dialogo = std::make_unique<DialogoQt>(this);
    dialogo->Contador();
    GERAL().DefineDialogo(std::move(dialogo));
    setWindowTitle(QStringLiteral("Sistema Conversor de Arquivos do Banco Quor de Investimentos S.A."));

    montaMenuArquivos();
    montaMenuConversao();
    montaMenuRoteamento();
    montaMenuEspeciais();
    QMenu* ajuda = menuBar()->addMenu(QStringLiteral("A&juda"));
    ajuda->addAction(acao("mnu_indice", QStringLiteral("Í&ndice"), [this] { mostraAjuda(); }));
    montaBarraDeFerramentas();
    montaBarraDeStatus();
}

void TMDIENTRADA::montaMenuArquivos() {
    QMenu* arquivos = menuBar()->addMenu(QStringLiteral("&Arquivos"));
    arquivos->addAction(acao("mnu_manutconvecli", QStringLiteral("&Tabela de Clientes"),
                             janelaDoMenu(janelas_.mnu_manutconvecli, "Tabela de Clientes")));
    arquivos->addAction(acao("mnu_manutconvetax", QStringLiteral("T&abela de Taxas"),
                             janelaDoMenu(janelas_.mnu_manutconvetax, "Tabela de Taxas")));
    arquivos->addAction(acao("mnu_listaconvecli", QStringLiteral("&Listagem dos Clientes"),
                             janelaDoMenu(janelas_.mnu_listaconvecli, "Listagem dos Clientes")));
    arquivos->addSeparator();
    arquivos->addAction(acao("chk_encerra", QStringLiteral("&Encerramento"), [this] { close(); }));
}

void TMDIENTRADA::montaMenuConversao() {
    QMenu* conversao = menuBar()->addMenu(QStringLiteral("&Conversão"));
    conversao->addAction(acao("mnu_arquivoremessa", QStringLiteral("&Arquivo Remessa - Vendor"), comResumo("Arquivo Remessa - Vendor", [this] {
        if (solicitacoes_.VEN_CONVREMESSA) solicitacoes_.VEN_CONVREMESSA("", false);
        else AvisaSolicitacaoIndisponivel("Arquivo Remessa - Vendor");
    })));
    conversao->addAction(acao("mnu_arquivoretorno", QStringLiteral("A&rquivo Retorno - Vendor"), comResumo("Arquivo Retorno - Vendor", [this] {
        if (solicitacoes_.VEN_CONVRETORNO) solicitacoes_.VEN_CONVRETORNO("", false);
        else AvisaSolicitacaoIndisponivel("Arquivo Retorno - Vendor");
    })));
}

void TMDIENTRADA::montaMenuRoteamento() {
    QMenu* roteia = menuBar()->addMenu(QStringLiteral("C&oncatena/Segrega"));
    roteia->addAction(acao("mnu_concatena", QStringLiteral("&Concatena Remessas"), comResumo("Concatena Remessas", [this] {
        if (solicitacoes_.CONCATENA_REMESSAS) solicitacoes_.CONCATENA_REMESSAS();
        else AvisaSolicitacaoIndisponivel("Concatena Remessas");
    })));
    roteia->addAction(acao("mnu_segregaretornos", QStringLiteral("&Segrega Retornos"), [this] {
        if (!solicitacoes_.SEGREGA_RETORNOS) {
            AvisaSolicitacaoIndisponivel("Segrega Retornos");
            return;
        }
        // The pass decides which clients are consolidated: the operator
        // gives it, as the scheduler does after "RETORNO".
        const std::optional<int> passada = PedePassada(this);
        if (!passada) return;
        comResumo("Segrega Retornos - Passada " + std::to_string(*passada),
                  [this, p = *passada] { solicitacoes_.SEGREGA_RETORNOS(p); })();
    }));
}

void TMDIENTRADA::montaMenuEspeciais() {
    QMenu* especiais = menuBar()->addMenu(QStringLiteral("&Especiais"));
    especiais->addAction(acao("mnu_statussistema", QStringLiteral("&Status do Sistema"),
                              janelaDoMenu(janelas_.mnu_statussistema, "Status do Sistema")));
    especiais->addAction(acao("mnu_instalacaosistema", QStringLiteral("&Instalação do Sistema"),
                              janelaDoMenu(janelas_.mnu_instalacaosistema, "Instalação do Sistema")));
    especiais->addSeparator();
    especiais->addAction(acao("mnu_arqlimpeza", QStringLiteral("&Limpeza de Remessa Pendente"),
                              comResumo("Limpeza de Remessa Pendente",
                                        janelaDoMenu(janelas_.mnu_arqlimpeza, "Limpeza de Remessa Pendente"))));
    especiais->addAction(acao("mnu_reorganizacao", QStringLiteral("&Reorganização dos Arquivos"),
                              [] { ARQ_REORGANIZA(opcCOM_CONFIRMACAO); }));
}

void TMDIENTRADA::montaBarraDeFerramentas() {
    QToolBar* barra = addToolBar(QStringLiteral("Ferramentas"));
    barra->setObjectName("TOOLBAR");
    barra->setMovable(false);
    QAction* sobre = acao("bar_sobre", QStringLiteral("Sobre..."), [this] { mostraSobre(); },
                          QStringLiteral("Sobre..."));
    sobre->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    QAction* encerra = acao("bar_encerra", QStringLiteral("Encerramento"), [this] { close(); },
                            QStringLiteral("Encerramento"));
    encerra->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    barra->addAction(sobre);
    barra->addAction(encerra);
}

void TMDIENTRADA::montaBarraDeStatus() {
    // Two panels, the first showing the hint under the mouse.
    painelDica_ = new QLabel(this);
    painelDica_->setObjectName("STBPRINCIPAL_0");
    painelDica_->setMinimumWidth(550);
    auto* segundo = new QLabel(this);
    segundo->setObjectName("STBPRINCIPAL_1");
    segundo->setMinimumWidth(50);
    segundo->setAlignment(Qt::AlignCenter);
    statusBar()->setObjectName("STBPRINCIPAL");
    statusBar()->addWidget(painelDica_);
    statusBar()->addWidget(segundo);
}

QAction* TMDIENTRADA::acao(const QString& nome, const QString& legenda, std::function<void()> efeito,
                          const QString& dica) {
    auto* a = new QAction(legenda, this);
    a->setObjectName(nome);
    if (!dica.isEmpty()) {
        a->setToolTip(dica);
        a->setStatusTip(dica);
    }
    const bool guarda = nome != "chk_encerra" && nome != "bar_encerra";
    connect(a, &QAction::triggered, this, [this, efeito, guarda] {
        if (guarda) executa(efeito);
        else efeito();
    });
    acoes_[nome] = a;
    return a;
}

QAction* TMDIENTRADA::Acao(const QString& nome) const {
    auto it = acoes_.find(nome);
    return it == acoes_.end() ? nullptr : it->second;
}

std::function<void()> TMDIENTRADA::comResumo(const std::string& titulo, std::function<void()> efeito) {
    return [this, titulo, efeito] {
        AbreResumo(titulo);
        try {
            efeito();
        } catch (...) {
            FechaResumo();
            throw;
        }
        const std::optional<ResumoExecucao> resumo = FechaResumo();
        if (!resumo || resumo->Vazio()) return;  // stopped before reading anything
        ultimoResumo_ = QtDeAnsi(resumo->Linha());
        painelDica_->setText(ultimoResumo_);
        painelDica_->setToolTip(ultimoResumo_);
        MostraResumo(*resumo, this);
    };
}

void TMDIENTRADA::executa(const std::function<void()>& efeito) {
    try {
        // Another workstation's run may have stopped half way since the
        // last action: it is finished or undone before this one begins.
        RecuperaExecucoesInterrompidas();
        efeito();
    } catch (const std::exception& e) {
        MostraErroPadrao(e);
    }
    DMQUOR().FechaTodas();
}

bool TMDIENTRADA::event(QEvent* e) {
    if (e->type() == QEvent::StatusTip) {
        // A hint shows while the mouse is on its control; the last run's
        // summary comes back after it.
        const QString dica = static_cast<QStatusTipEvent*>(e)->tip();
        painelDica_->setText(dica.isEmpty() ? ultimoResumo_ : dica);
        return true;
    }
    return QMainWindow::event(e);
}

void TMDIENTRADA::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (mostrada_) return;
    mostrada_ = true;
    // After the window is on screen, as the start-up check and a
    // command-line request talk to the operator through it.
    QTimer::singleShot(0, this, [this] { FormShow(); });
}

void TMDIENTRADA::FormShow() {
    if (!PartidaDaAplicacao()) {
        if (!argumentos_.empty()) {
            statusSaida_ = 1;
            fechaSemPerguntar_ = true;
            QCoreApplication::exit(statusSaida_);
        }
        return;  // the window stays for the operator
    }
    if (argumentos_.empty()) return;
    bool valida = true;
    try {
        valida = DespachaLinhaDeComando(argumentos_, solicitacoes_);
    } catch (const std::exception& e) {
        MostraErroPadrao(e);
    }
    DMQUOR().FechaTodas();
    statusSaida_ = !valida ? 2 : (GERAL().Dialogo().ErrosMostrados() > 0 ? 1 : 0);
    fechaSemPerguntar_ = true;
    QCoreApplication::exit(statusSaida_);
}

void TMDIENTRADA::closeEvent(QCloseEvent* e) {
    if (fechaSemPerguntar_ || OBR_CONFIRMA("Tem certeza que deseja sair ?", "Confirme")) {
        e->accept();
        return;
    }
    e->ignore();
}

void TMDIENTRADA::mostraSobre() {
    QMessageBox caixa(this);
    caixa.setWindowTitle(QStringLiteral("Sobre..."));
    caixa.setIconPixmap(windowIcon().pixmap(48, 48));
    caixa.setText(QStringLiteral("Conversor de Arquivos Quor..."));
    caixa.setInformativeText(QStringLiteral("Versão atual: ") + QString::fromLatin1(kVERSAO_SISTEMA));
    caixa.exec();
}

void TMDIENTRADA::mostraAjuda() {
    // One help window at a time, beside the main window, not blocking it.
    if (!ajuda_) {
        ajuda_ = new TFRMAJUDA(this);
        ajuda_->setAttribute(Qt::WA_DeleteOnClose);
    }
    ajuda_->show();
    ajuda_->raise();
    ajuda_->activateWindow();
}
