#include "ui/report/tfrmresumo.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "report/motor_relatorio.h"
#include "ui/core/janela_modal.h"
#include "ui/core/qt_texto.h"
#include "ui/report/motor_relatorio_qt.h"
#include "ui/report/tfrmvisualiza.h"

namespace {

QString bloco(const char* titulo, const std::vector<std::string>& linhas) {
    if (linhas.empty()) return {};
    QString r = QString::fromUtf8(titulo) + QLatin1Char('\n');
    for (const std::string& l : linhas) r += QStringLiteral("    ") + QtDeAnsi(l) + QLatin1Char('\n');
    return r;
}

}  // namespace

void MostraResumo(const ResumoExecucao& resumo, QWidget* pai) {
    QString texto = bloco("Lido:", resumo.lidos) + bloco("Gravado:", resumo.gravados) +
                    bloco("Recusado:", resumo.recusados);
    if (!resumo.relatorio.empty())
        texto += QString::fromUtf8("\nRelatório da execução gravado no diretório de dados:\n    ") +
                 QtDeAnsi(resumo.relatorio);
    else if (resumo.paginas)
        texto += QString::fromUtf8("\nRelatório da execução enviado à impressora.");
    else
        texto += QString::fromUtf8("\nNenhum relatório foi emitido.");
    QMessageBox caixa(QMessageBox::Information, QtDeAnsi(resumo.titulo), texto.trimmed(),
                      QMessageBox::NoButton, pai);
    caixa.setObjectName(QStringLiteral("FRMRESUMO"));
    caixa.setTextFormat(Qt::PlainText);
    QPushButton* ver = nullptr;
    if (resumo.paginas) {
        ver = BotaoNaCaixa(caixa, QString::fromUtf8("&Visualizar relatório"), QMessageBox::ActionRole,
                           "BTNVISUALIZA");
    }
    QPushButton* ok = BotaoNaCaixa(caixa, QStringLiteral("&OK"), QMessageBox::AcceptRole, "BTNOK");
    caixa.setDefaultButton(ok);
    caixa.setEscapeButton(ok);
    AlargaParaOTitulo(caixa);
    caixa.exec();
    if (ver && caixa.clickedButton() == ver) {
        ModeloRelatorio paginas = *resumo.paginas;
        paginas.visualizar = true;
        TFRMVISUALIZA janela(paginas, dynamic_cast<MotorRelatorioQt*>(MotorDeRelatorioAtual()), pai);
        janela.exec();
    }
}
