#pragma once
// The pass number of a segregation started from the menu: the same number
// the command line takes after "RETORNO", 0 unless the operator types
// another. Enter accepts, Esc cancels; a number outside 0..99 gets the
// command line's message and is typed again.

#include <QDialog>
#include <optional>

class QLineEdit;
class QPushButton;

class TFRMPASSADA : public QDialog {
    Q_OBJECT
public:
    explicit TFRMPASSADA(QWidget* pai = nullptr);

    int KPASSADA = 0;  // the accepted number
    QLineEdit* TXTPASSADA;
    QPushButton* BTNOK;
    QPushButton* BTNCANCELA;

private:
    void BTNOKClick();
};

// Shows the window; nothing when the operator cancels.
std::optional<int> PedePassada(QWidget* pai = nullptr);
