#pragma once
// The progress window: a bar, its percentage and a Cancel button, shown
// without being modal while a long run goes on. It only shows what the
// motor's counter computed (TmvGERAL::Contador); a click on Cancel is kept
// until the motor asks, on its next step, and then sets FLAGINTERROMPE.

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

class TFRMCONTADOR : public QWidget {
    Q_OBJECT
public:
    explicit TFRMCONTADOR(QWidget* parent = nullptr);

    QProgressBar* PRBBARRA;
    QLabel* LBLPROGRESSO;
    QPushButton* BTNCANCELA;
    QLabel* LBLAVISO;  // what is being waited for; hidden in a run's progress


    void Inicia(const QString& titulo, int maximo, bool comCancela, const QString& rotulo);
    // Shows the step, lets pending events be handled (a click on Cancel among
    // them) and gives the focus to the bar. True when Cancel was clicked
    // since the last call.
    bool Atualiza(int posicao, int maximo, const QString& rotulo);
    void Encerra();
    // The window of a wait: the text above the bar, which shows no steps.
    void IniciaEspera(const QString& titulo, const QString& aviso);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void mostraPosicao(int posicao, int maximo);
    void posiciona(bool comAviso);
    bool cancelado_ = false;
    bool ativo_ = false;
};
