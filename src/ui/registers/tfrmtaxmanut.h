#pragma once
// The rate register's windows: the list (TFRMTAXMANUT) and the insert/alter
// window (TFRMTAXINCALT). The checks and the write are the motor's
// (registers/tax_cadastro.h).

#include <QDialog>
#include <memory>
#include <vector>

#include "registers/tax_cadastro.h"
#include "ui/registers/janela_manutencao.h"

class QLineEdit;
class QPushButton;
class TCOMPDATA;
class TCOMPFLOAT;
class TCOMPINTEGER;

class TFRMTAXINCALT : public QDialog {
    Q_OBJECT
public:
    // On the current CONVETAX row when altering.
    explicit TFRMTAXINCALT(TfmINCALT funcao, QWidget* pai = nullptr);
    ~TFRMTAXINCALT() override;

    TCOMPDATA* TXTDATINITAX;
    QLineEdit* TXTPRODTAX;
    TCOMPINTEGER* TXTDIASTAX;
    TCOMPDATA* TXTDATFINTAX;
    TCOMPFLOAT* TXTTAXABAN;
    TCOMPFLOAT* TXTTAXAFOR;
    QPushButton* BTNOK;
    QPushButton* BTNCANCELA;

private:
    void FormShow();
    void BTNOKClick();
    std::unique_ptr<TcadTAXA> taxa_;
};

class TFRMTAXMANUT : public JanelaManutencao {
    Q_OBJECT
public:
    // Over the open CONVETAX.
    explicit TFRMTAXMANUT(QWidget* pai = nullptr);
    TfmINCALT KFUNCAO = fmINICIALIZA;

protected:
    void Novo() override;
    void Altera() override;
    void Exclui() override;

private:
    void preenche(std::uint32_t registro);
    void abre();
    bool posiciona();
    std::vector<LinhaTaxa> linhas_;
};

// Menu entry: opens CONVETAX, shows the list, closes it.
void AbreManutencaoDeTaxas(QWidget* pai = nullptr);
