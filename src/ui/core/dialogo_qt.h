#pragma once
// The dialogue port on a screen: message and question boxes, the wait
// cursor, the progress window and the tones.
//
// Lifetime: the general services object that holds this dialogue may outlive
// the QApplication (it is a process-wide object). The progress window is
// therefore tracked, not owned outright: it is deleted with its parent window
// when it has one, and never touched once the application is gone.

#include <QPointer>

#include "core/dialogo/dialogo_usuario.h"

class QWidget;
class TFRMCONTADOR;

class DialogoQt : public DialogoUsuario {
public:
    // `janelaPrincipal` (may be null) parents the progress window and the
    // boxes shown when no window of the application is active.
    explicit DialogoQt(QWidget* janelaPrincipal = nullptr, bool comSom = true);
    ~DialogoQt() override;

    bool Pergunta(const std::string& texto, const std::string& titulo, bool padraoSim) override;
    void Cursor(bool espera) override;
    void ContadorInicia(const std::string& titulo, int maximo, bool comCancela,
                        const std::string& rotulo) override;
    bool ContadorAtualiza(int posicao, int maximo, const std::string& rotulo) override;
    void ContadorEncerra() override;
    bool PodeCancelarEspera() const override { return true; }
    void EsperaInicia(const std::string& texto) override;
    bool EsperaContinua(int segundos) override;
    void EsperaEncerra() override;
    void Toca(const std::vector<Tom>& tons) override;
    std::optional<std::string> CodigoCliente(const std::string& titulo) override;
    std::optional<TData> DataInicioContrato(TData preenchida) override;
    TdstRELATORIO DestinoRelatorio(const std::string& titulo,
                                   const std::vector<std::string>& descricao) override;
    TdstRELATORIO DestinoAposFalha(const std::string& titulo) override;

    // The one progress window, created at first use.
    TFRMCONTADOR& Contador();

protected:
    void MostraMensagem(const std::string& texto, TsomOPCOES tipo,
                        const std::string& titulo) override;

private:
    QWidget* pai() const;

    QPointer<QWidget> janelaPrincipal_;
    QPointer<TFRMCONTADOR> contador_;
    QPointer<TFRMCONTADOR> espera_;  // a wait's window, beside a run's progress
    bool comSom_;
    bool cursorEspera_ = false;
};
