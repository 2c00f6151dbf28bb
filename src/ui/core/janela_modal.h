#pragma once
// What the modal windows of the registers and settings share: the OK and
// Cancela buttons at the foot, and the tables a menu entry opens for its
// window and closes after it.

#include <QMessageBox>
#include <QString>
#include <functional>
#include <initializer_list>
#include <vector>

class QBoxLayout;
class QDialog;
class QPushButton;
class QWidget;
class Tabela;

// "&OK" (default button, BTNOK) and, unless told otherwise, "&Cancela"
// (BTNCANCELA, closes with Cancel), right-aligned at the end of `layout`.
struct BotoesConfirma {
    BotoesConfirma(QDialog& janela, QBoxLayout* layout, bool comCancela = true);
    QPushButton* BTNOK;
    QPushButton* BTNCANCELA = nullptr;
};

// Makes the window wide enough for its whole caption, which the window
// manager would otherwise cut ("Leitura da Remessa." over a short text).
// Call it once the window's title and contents are set.
void AlargaParaOTitulo(QWidget& janela);

// A button of a message box with its role and the object name tests and
// the operator's scripts find it by.
QPushButton* BotaoNaCaixa(QMessageBox& caixa, const QString& texto, QMessageBox::ButtonRole papel,
                          const char* nome);

// Runs a button's handler. An engine error (a table that cannot be written,
// a record gone) is shown in the application's standard error box and the
// window stays open: an exception must never cross Qt's event loop.
void PROTEGIDO(const std::function<void()>& acao);

