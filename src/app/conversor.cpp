// conversor: the main window, or one command-line request run unattended.
//
//   conversor                              main window
//   conversor REMESSA                      remittance concatenation
//   conversor RETORNO [passada]            return segregation
//   conversor CONVERTE_REMESSA [cliente]   Vendor remittance conversion
//   conversor CONVERTE_RETORNO [cliente]   Vendor return conversion
//   conversor --help | -h | --version
//
// Without a screen (no DISPLAY nor WAYLAND_DISPLAY, or CONVERSOR_SEM_JANELA=1)
// no window is created and nothing waits for a person: messages go to the
// error output and the exit status tells how the request went.

#include <QApplication>
#include <QScreen>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/solicitacoes.h"
#include "core/partida/aplicacao.h"
#include "core/partida/linha_comando.h"
#include "core/partida/tproentrada.h"
#include "core/texto/ansi.h"
#include "core/texto/texto_ansi.h"
#include "report/motor_relatorio.h"
#include "ui/core/aplicacao_qt.h"
#include "ui/core/tmdientrada.h"
#include "ui/report/motor_relatorio_qt.h"

int main(int argc, char** argv) {
    // The options every Linux tool knows, answered before anything starts.
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << AnsiParaUtf8(UsoDaLinhaDeComando());
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "conversor " << kVERSAO_SISTEMA << "\n";
        return 0;
    }
    std::vector<std::string> argumentos;
    for (int i = 1; i < argc; ++i) argumentos.push_back(Utf8ParaAnsi(argv[i]));
    const SolicitacoesSistema solicitacoes = MontaSolicitacoesSistema();

    if (SemTela()) {
        if (argumentos.empty()) {
            std::cerr << AnsiParaUtf8(
                "conversor: não há tela para a janela principal; sem tela, informe uma "
                "solicitação (REMESSA, RETORNO, CONVERTE_REMESSA ou CONVERTE_RETORNO).\n"_ansi);
            return 2;
        }
        // Without a screen every report is written as a PDF file.
        InstalaMotorDeRelatorio(std::make_unique<MotorRelatorioSemTela>());
        return ExecutaLinhaDeComando(argumentos, solicitacoes);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kTITULO_APLICACAO));
    InstalaTraducoesQt(app);
    InstalaIcone(app);
    InstalaFiltroDeCaracteres(app);
    InstalaMotorDeRelatorio(std::make_unique<MotorRelatorioQt>());
    TMDIENTRADA janela(argumentos, solicitacoes, MontaJanelasSistema());
    // Restored from maximised, the window comes back at most of the desktop,
    // centred, its title bar on the screen; without a window manager (which
    // ignores the maximised request) that is the size it has.
    if (QScreen* tela = QGuiApplication::primaryScreen()) {
        const QRect area = tela->availableGeometry();
        janela.resize(area.width() * 9 / 10, area.height() * 9 / 10);
        janela.move(area.center() - janela.rect().center());
    }
    janela.showMaximized();
    const int status = app.exec();
    return argumentos.empty() ? status : janela.StatusSaida();
}
