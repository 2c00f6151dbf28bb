// The window tests, on Qt's offscreen platform unless another is asked for.
#include <QApplication>
#include <QTest>
#include <memory>

#include "apoio_ui.h"

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int falhas = 0;
    for (const auto& fabrica : TESTES_UI()) {
        std::unique_ptr<QObject> teste(fabrica());
        falhas += QTest::qExec(teste.get(), argc, argv);
    }
    return falhas == 0 ? 0 : 1;
}
