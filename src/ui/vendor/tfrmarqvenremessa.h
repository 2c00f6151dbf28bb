#pragma once
// The window of the Vendor remittance conversion. It only collects: the
// client code, or, for a Cofap file, the contract start date (the code field
// is then hidden). Every check of what was typed is the motor's.
//
// The two functions are what the Qt dialogue port answers with for
// DialogoUsuario::CodigoCliente and DialogoUsuario::DataInicioContrato.

#include <QDialog>
#include <optional>
#include <string>

#include "core/calendario.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TFRMARQVENREMESSA : public QDialog {
    Q_OBJECT
public:
    explicit TFRMARQVENREMESSA(QWidget* pai = nullptr);

    // Shows the start-date field instead of the client code.
    void MostraDataInicio(TData preenchida);

    QLabel* LBLCODCLI;
    QLineEdit* TXTCODCLI;
    QLabel* LBLDATAINI;
    QLineEdit* TXTDATAINI;
    QPushButton* BTNOK;
    QPushButton* BTNCANCELA;
};

// The client code as typed (Windows-1252); nothing on Cancel.
std::optional<std::string> TFRMARQVENREMESSA_PEDECODIGO(const std::string& titulo,
                                                        QWidget* pai = nullptr);
// The contract start date, offered pre-filled; 0 when the field was left
// empty or holds no date; nothing on Cancel.
std::optional<TData> TFRMARQVENREMESSA_PEDEDATA(TData preenchida, QWidget* pai = nullptr);
