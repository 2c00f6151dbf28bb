#pragma once
// What the window tests share: their registry, the scripted hand that
// answers a modal window, and a general services object whose dialogue is
// the Qt one, without sound.

#include <QObject>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class DialogoQt;
class TmvGERAL;

// Every test class registers itself; main runs them all.
std::vector<std::function<QObject*()>>& TESTES_UI();
struct RegistraTesteUi {
    explicit RegistraTesteUi(std::function<QObject*()> fabrica) {
        TESTES_UI().push_back(std::move(fabrica));
    }
};

// When the next modal window opens, runs `acao` on it (from inside its event
// loop). Gives up after a second and a half if none opens.
void QUANDO_ABRIR(std::function<void(QWidget* janela)> acao);

// Types a key where a person's key would go: the focused control of the
// window, or the window itself.
void TECLA(QWidget* janela, Qt::Key tecla);

// A general services object with a DialogoQt, installed as GERAL() while it
// lives.
class GeralQt {
public:
    GeralQt();
    ~GeralQt();
    GeralQt(const GeralQt&) = delete;
    GeralQt& operator=(const GeralQt&) = delete;
    TmvGERAL& geral() { return *geral_; }
    DialogoQt& dialogo() { return *dialogo_; }

private:
    DialogoQt* dialogo_;
    TmvGERAL* geral_;
    std::unique_ptr<TmvGERAL> anterior_;
};
