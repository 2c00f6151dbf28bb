#pragma once
// What the two register list windows share: a read-only grid over the rows
// the motor read from the table, one whole row selected at a time, and the
// buttons Novo, Altera, Exclui and Saida. A double click alters the row.

#include <QDialog>
#include <QStringList>
#include <cstdint>
#include <vector>

class QPushButton;
class QTableWidget;

class JanelaManutencao : public QDialog {
    Q_OBJECT
public:
    QTableWidget* Grade() const { return GRDTABELA; }

protected:
    JanelaManutencao(const QString& titulo, const QStringList& colunas, QWidget* pai);

    struct LinhaGrade {
        QStringList celulas;
        std::uint32_t registro = 0;
    };
    // Shows the rows and selects the one of `registro` (or the first).
    void Mostra(const std::vector<LinhaGrade>& linhas, std::uint32_t registro);
    // Index of the selected row; -1 when the grid is empty.
    int LinhaAtual() const;
    // After a deletion: the row that took the deleted one's place, or the
    // new last one.
    void SelecionaLinha(int linha);
    std::uint32_t RegistroAtual() const;
    // Column `coluna` is centred, or right-aligned.
    void Alinha(int coluna, Qt::Alignment alinhamento);

    virtual void Novo() = 0;
    virtual void Altera() = 0;
    virtual void Exclui() = 0;

    QTableWidget* GRDTABELA;
    QPushButton* BTNNOVO;
    QPushButton* BTNALTERA;
    QPushButton* BTNEXCLUI;
    QPushButton* BTNSAIDA;

private:
    std::vector<Qt::Alignment> alinhamentos_;
    bool colunasAjustadas_ = false;  // sized to the contents of the first rows shown
    std::vector<std::uint32_t> registros_;
};
