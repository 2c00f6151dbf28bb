#pragma once
// The help window: the system's Portuguese manual, shipped inside the
// program so it is always there.

#include <QDialog>

class QTextBrowser;

class TFRMAJUDA : public QDialog {
    Q_OBJECT
public:
    explicit TFRMAJUDA(QWidget* pai = nullptr);
    QTextBrowser* Navegador() const { return navegador_; }

private:
    QTextBrowser* navegador_;
};
