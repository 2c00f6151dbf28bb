#include "ui/core/aplicacao_qt.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTranslator>

#include "core/geral.h"
#include "core/texto/ansi.h"
#include "ui/core/qt_texto.h"

bool InstalaTraducoesQt(QApplication& app) {
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* qt = new QTranslator(&app);
    if (!qt->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
                  QStringLiteral("_"), dir)) {
        delete qt;
        return false;
    }
    app.installTranslator(qt);
    return true;
}

void InstalaIcone(QApplication& app) { app.setWindowIcon(QIcon(QStringLiteral(":/icone/conversor.svg"))); }

namespace {

class FiltroCaracteres : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* alvo, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        const QString texto = static_cast<QKeyEvent*>(e)->text();
        if (texto.isEmpty() || !editavel(alvo) || QtCabeEmAnsi(texto)) return false;
        GERAL().MENSAGEM("CARACTERE NÃO PERMITIDO ("_ansi + codigos(texto) +
                             "): OS ARQUIVOS DO SISTEMA NÃO PODEM GUARDÁ-LO. DIGITE OUTRO."_ansi,
                         somERRO);
        return true;
    }

private:
    static std::string codigos(const QString& texto) {
        std::string r;
        for (char32_t c : texto.toUcs4())
            r += (r.empty() ? "U+" : " U+") + QString::number(c, 16).toUpper().rightJustified(4, '0').toStdString();
        return r;
    }
    static bool editavel(QObject* alvo) {
        if (auto* l = qobject_cast<QLineEdit*>(alvo)) return !l->isReadOnly();
        if (auto* t = qobject_cast<QTextEdit*>(alvo)) return !t->isReadOnly();
        if (auto* p = qobject_cast<QPlainTextEdit*>(alvo)) return !p->isReadOnly();
        return qobject_cast<QAbstractSpinBox*>(alvo) != nullptr;
    }
};

}  // namespace

void InstalaFiltroDeCaracteres(QApplication& app) { app.installEventFilter(new FiltroCaracteres(&app)); }
