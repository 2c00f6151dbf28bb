#pragma once
// The dialogue port of the tests: records everything the motor shows and
// answers questions from queues filled by the test. An empty queue answers as
// an unattended run does: the default button, Cancel for typed input, the
// pre-filled date (Cancel when there is none), no report.

#include <deque>

#include "core/dialogo/dialogo_usuario.h"

class DialogoRoteirizado : public DialogoUsuario {
public:
    struct MensagemMostrada {
        std::string texto;
        TsomOPCOES tipo;
        std::string titulo;
    };
    struct PerguntaFeita {
        std::string texto;
        std::string titulo;
        bool padraoSim;
        bool resposta;
    };
    struct EventoContador {
        enum Tipo { Inicia, Atualiza, Encerra } tipo;
        std::string titulo;  // Inicia only
        bool comCancela = false;
        int posicao = 0;
        int maximo = 0;
        std::string rotulo;
    };

    // Recorded.
    std::vector<MensagemMostrada> mensagens;
    std::vector<PerguntaFeita> perguntas;
    std::vector<EventoContador> contador;
    std::vector<std::vector<Tom>> tons;  // one entry per sequence played
    std::vector<bool> cursores;          // true = wait cursor
    std::vector<std::string> titulosCodigoCliente;
    std::vector<TData> datasOferecidas;
    std::vector<std::string> titulosRelatorio;
    std::vector<std::string> titulosFalha;  // reports the printer refused

    // Answers. A yes/no entry without value presses Enter (default button).
    std::deque<std::optional<bool>> respostasSimNao;
    std::deque<std::optional<std::string>> respostasCodigo;
    std::deque<std::optional<TData>> respostasData;
    std::deque<TdstRELATORIO> respostasDestino;
    // Cancel is pressed during this progress update (1 = the first one).
    int cancelaNaAtualizacao = 0;

    // Waits: what each told, and the seconds of each question asked.
    std::vector<std::string> esperas;
    std::vector<int> segundosDeEspera;
    int esperasEncerradas = 0;
    // A screen: the wait is cancelled at this question (1 = the first one),
    // never when 0. Without one the wait has its time limit.
    bool comTela = false;
    int cancelaEsperaNaPergunta = 0;

    bool Pergunta(const std::string& texto, const std::string& titulo, bool padraoSim) override;
    void Cursor(bool espera) override { cursores.push_back(espera); }
    void ContadorInicia(const std::string& titulo, int maximo, bool comCancela,
                        const std::string& rotulo) override;
    bool ContadorAtualiza(int posicao, int maximo, const std::string& rotulo) override;
    void ContadorEncerra() override;
    bool PodeCancelarEspera() const override { return comTela; }
    void EsperaInicia(const std::string& texto) override { esperas.push_back(texto); }
    bool EsperaContinua(int segundos) override {
        segundosDeEspera.push_back(segundos);
        return static_cast<int>(segundosDeEspera.size()) != cancelaEsperaNaPergunta;
    }
    void EsperaEncerra() override { ++esperasEncerradas; }
    void Toca(const std::vector<Tom>& t) override { tons.push_back(t); }
    std::optional<std::string> CodigoCliente(const std::string& titulo) override;
    std::optional<TData> DataInicioContrato(TData preenchida) override;
    TdstRELATORIO DestinoRelatorio(const std::string& titulo,
                                   const std::vector<std::string>& descricao) override;
    // Answered from respostasDestino as well; recorded in titulosFalha.
    TdstRELATORIO DestinoAposFalha(const std::string& titulo) override;

protected:
    void MostraMensagem(const std::string& texto, TsomOPCOES tipo,
                        const std::string& titulo) override {
        mensagens.push_back({texto, tipo, titulo});
    }

private:
    int atualizacoes_ = 0;
};
