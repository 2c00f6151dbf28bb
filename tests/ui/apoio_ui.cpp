#include "apoio_ui.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "core/geral.h"
#include "ui/core/dialogo_qt.h"

std::vector<std::function<QObject*()>>& TESTES_UI() {
    static std::vector<std::function<QObject*()>> testes;
    return testes;
}

void QUANDO_ABRIR(std::function<void(QWidget*)> acao) {
    auto* relogio = new QTimer;
    auto tentativas = std::make_shared<int>(0);
    relogio->setInterval(10);
    QObject::connect(relogio, &QTimer::timeout, [relogio, tentativas, acao] {
        QWidget* janela = QApplication::activeModalWidget();
        if (!janela && ++*tentativas < 150) return;
        relogio->stop();
        relogio->deleteLater();
        if (janela) acao(janela);
    });
    relogio->start();
}

void TECLA(QWidget* janela, Qt::Key tecla) {
    QWidget* foco = QApplication::focusWidget();
    QTest::keyClick(foco && janela->isAncestorOf(foco) ? foco : janela, tecla);
}

GeralQt::GeralQt() {
    auto dialogo = std::make_unique<DialogoQt>(nullptr, false);
    dialogo_ = dialogo.get();
    auto geral = std::make_unique<TmvGERAL>(std::move(dialogo));
    geral_ = geral.get();
    anterior_ = InstalaGeral(std::move(geral));
}

GeralQt::~GeralQt() { InstalaGeral(std::move(anterior_)); }
