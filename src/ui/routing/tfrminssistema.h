#pragma once
// The installation window (TFRMINSSISTEMA), which edits the settings of the
// batch routing in CONVEINS, and the status window (TFRMINSSTATUS), which
// shows them with the record counts of the tables. The check and the save
// are the motor's (routing/ins_sistema.h).

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TCOMPINTEGER;

class TFRMINSSISTEMA : public QDialog {
    Q_OBJECT
public:
    // Over the open CONVEINS.
    explicit TFRMINSSISTEMA(QWidget* pai = nullptr);

    TCOMPINTEGER* TXTPRAZOPEN;
    QLineEdit* TXTARQREMC24;
    TCOMPINTEGER* TXTSEQREMC24;
    QLineEdit* TXTARQREMC40;
    TCOMPINTEGER* TXTSEQREMC40;
    QLineEdit* TXTARQREMVEN;
    TCOMPINTEGER* TXTSEQREMVEN;
    QLineEdit* TXTARQREMV24;
    TCOMPINTEGER* TXTSEQREMV24;
    QLineEdit* TXTARQREMDES;
    TCOMPINTEGER* TXTSEQREMDES;
    QLineEdit* TXTDIRCOPIA;
    QPushButton* BTNOK;
    QPushButton* BTNCANCELA;

private:
    void FormShow();
    void BTNOKClick();
};

class TFRMINSSTATUS : public QDialog {
    Q_OBJECT
public:
    // Over the open CONVEINS, CONVECLI, CONVETAX and CONVEPEN.
    explicit TFRMINSSTATUS(QWidget* pai = nullptr);

    QLabel *LBLPRAZOPEN, *LBLDIRCOPIA;
    QLabel *LBLARQREMC24, *LBLSEQREMC24, *LBLARQREMC40, *LBLSEQREMC40;
    QLabel *LBLARQREMVEN, *LBLSEQREMVEN, *LBLARQREMV24, *LBLSEQREMV24;
    QLabel *LBLARQREMDES, *LBLSEQREMDES;
    QLabel *LBLTOTCLI, *LBLTOTTAX, *LBLTOTPEN;
    QPushButton* BTNOK;

private:
    void FormShow();
};

// Menu entries: open the tables the window needs, show it, close them.
void AbreInstalacaoDoSistema(QWidget* pai = nullptr);
void AbreStatusDoSistema(QWidget* pai = nullptr);
