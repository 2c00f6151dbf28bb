#pragma once
// The client register's windows: the list (TFRMCLIMANUT) and the
// insert/alter window (TFRMCLIINCALT) that edits the code, name and type and
// opens the detail window of the type. The checks and the write are the
// motor's (registers/cli_cadastro.h).

#include <QDialog>
#include <memory>

#include "registers/cli_cadastro.h"
#include "ui/registers/janela_manutencao.h"

class QLineEdit;
class QPushButton;
class TMVRADIOGROUP;

class TFRMCLIINCALT : public QDialog {
    Q_OBJECT
public:
    // On the current CONVECLI row when altering.
    TFRMCLIINCALT(TfmINCALT funcao, TmanCONVECLI& omanCONVECLI, QWidget* pai = nullptr);
    ~TFRMCLIINCALT() override;

    // The working client, for the detail windows.
    TcadCLIENTE& Cliente() { return *cliente_; }
    // Takes the code, name and type from the controls and validates the
    // whole client (writing it when `gravar`).
    bool CLI_KMENS(bool gravar);

    QLineEdit* TXTCODCLI;
    QLineEdit* TXTNOMEEMP;
    TMVRADIOGROUP* RADTIPOEMP;
    QPushButton* BTNDETALHA;
    QPushButton* BTNOK;
    QPushButton* BTNCANCELA;

private:
    void FormShow();
    void BTNDETALHAClick();
    void BTNOKClick();

    std::unique_ptr<TcadCLIENTE> cliente_;
};

class TFRMCLIMANUT : public JanelaManutencao {
    Q_OBJECT
public:
    // Over the open CONVECLI and CONVEPEN.
    explicit TFRMCLIMANUT(QWidget* pai = nullptr);
    TfmINCALT KFUNCAO = fmINICIALIZA;

protected:
    void Novo() override;
    void Altera() override;
    void Exclui() override;

private:
    void preenche(std::uint32_t registro);
    void abre();
};

// Menu entry: opens CONVECLI and CONVEPEN, shows the list, closes them.
void AbreManutencaoDeClientes(QWidget* pai = nullptr);
