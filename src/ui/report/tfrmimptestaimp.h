#pragma once
// The window in which the operator sends a report to the printer or to the
// screen, after reading what it will hold.

#include <QDialog>
#include <string>
#include <vector>

#include "core/dialogo/dialogo_usuario.h"
#include "report/toprint.h"

class QLabel;
class QListWidget;
class QPushButton;

class TFRMIMPTESTAIMP : public QDialog {
    Q_OBJECT
public:
    explicit TFRMIMPTESTAIMP(QWidget* pai = nullptr);

    // Shows the report engine's current printer in LBLIMPRESSORA.
    void MostraImpressora();
    // The operator's choice, once the window is closed.
    TdstRELATORIO Escolha() const;

    TopcIMPRES KDEVICEUSUARIO = krSAIDA;
    bool KISIMPnoVIDEO = false;

    QLabel* LBLIMPRESSORA;
    QLabel* LBLIMPRESSORAS;  // the system's printers, when there are any
    QListWidget* LBXTEXTO;
    QPushButton* BTNIMPRESSORA;
    QPushButton* BTNVIDEO;
    QPushButton* BTNSETUP;
    QPushButton* BTNCANCELA;

protected:
    void done(int r) override;

private:
    void escolhe(bool video);
};

// Shows the window for a report (title and description lines in
// Windows-1252) and answers where it goes; dstCANCELA when it was closed
// without a choice.
TdstRELATORIO EscolheDestinoDoRelatorio(const std::string& titulo,
                                        const std::vector<std::string>& descricao);
