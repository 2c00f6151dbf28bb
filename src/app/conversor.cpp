// conversor: the main window, or one command-line request run unattended.
// The window and the requests are wired as their runs are built; until the
// application shell is in place this entry point only reports that.

#include <iostream>

#include "core/ansi.h"
#include "core/texto_ansi.h"

int main(int argc, char** argv) {
    (void)argv;
    std::cerr << ANSI_PARA_UTF8("conversor: a janela principal e as solicitações de linha de "
                                "comando ainda não estão disponíveis nesta versão.\n"_ansi);
    return argc > 1 ? 2 : 1;
}
