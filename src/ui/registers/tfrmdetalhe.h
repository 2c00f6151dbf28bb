#pragma once
// The detail windows of the client register, one per company type. Each
// shows a subset of the insert/alter window's working fields; OK copies the
// controls back into them (even when the check then fails) and validates the
// whole client there, without writing anything.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "registers/cli_cadastro.h"

class QGridLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class TCOMPINTEGER;
class TFRMCLIINCALT;

class TFRMDETALHE : public QDialog {
    Q_OBJECT
public:
    QLineEdit* TXTARQREMCLI = nullptr;
    QPushButton* BTNOK = nullptr;
    QPushButton* BTNCANCELA = nullptr;

protected:
    TFRMDETALHE(TFRMCLIINCALT& incalt, const QString& titulo);

    // A file-name edit (30 characters) with its label and, when given, the
    // number of the last file in the "Último" column.
    QLineEdit* Arquivo(const char* nome, const QString& rotulo, std::string CamposCliente::*k,
                       const char* nomeUltimo = nullptr, int CamposCliente::*ultimo = nullptr);
    QLineEdit* Texto(const char* nome, const QString& rotulo, int tamanho,
                     std::string CamposCliente::*k, const QString& nota = QString());
    TCOMPINTEGER* Numero(const char* nome, const QString& rotulo, int digitos,
                         int CamposCliente::*k);
    // Column captions above the file names and, in the windows that have
    // them, the numbers of the last files.
    void TitulosArquivo(bool comUltimo = true);
    // "Equalização antecipada ?": Sim, Não, Depende.
    void Equalizacao();
    // Header and detail translation rules, three rows each.
    void Regras();
    // A BR client's five branches, beside the client return label.
    void Filiais();
    // Every field of the Cofap window; Celpav's lack the returns and CNPJ.
    void CamposVendorEqualizado(bool comRetornoECnpj);
    // Buttons; the window is complete after this.
    void Fecha();

    TcadCLIENTE& cliente_;

private:
    void showEvent(QShowEvent* e) override;
    void BTNOKClick();
    int proximaLinha();

    TFRMCLIINCALT& incalt_;
    QVBoxLayout* layout_;
    QGridLayout* campos_;
    int linhas_ = 0;
    bool mostrada_ = false;
    std::vector<std::function<void()>> carrega_;     // working field -> control
    std::vector<std::function<void()>> descarrega_;  // control -> working field
};

class TFRMVENDORCOFAP : public TFRMDETALHE {
    Q_OBJECT
public:
    explicit TFRMVENDORCOFAP(TFRMCLIINCALT& incalt);
};
class TFRMVENDORBR : public TFRMDETALHE {
    Q_OBJECT
public:
    explicit TFRMVENDORBR(TFRMCLIINCALT& incalt);
};
class TFRMVENDORCELPAV : public TFRMDETALHE {
    Q_OBJECT
public:
    explicit TFRMVENDORCELPAV(TFRMCLIINCALT& incalt);
};
class TFRMVENDORWABCO : public TFRMDETALHE {
    Q_OBJECT
public:
    explicit TFRMVENDORWABCO(TFRMCLIINCALT& incalt);
};
// Cobrança 240, Vendor 240 and Vendor 250: one window, the caption tells
// the type.
class TFRMCLIVENDOR250240 : public TFRMDETALHE {
    Q_OBJECT
public:
    explicit TFRMCLIVENDOR250240(TFRMCLIINCALT& incalt);
};
class TFRMCLICOBRANCA : public TFRMDETALHE {
    Q_OBJECT
public:
    explicit TFRMCLICOBRANCA(TFRMCLIINCALT& incalt);
};
class TFRMCLIDESCONTO : public TFRMDETALHE {
    Q_OBJECT
public:
    explicit TFRMCLIDESCONTO(TFRMCLIINCALT& incalt);
};
