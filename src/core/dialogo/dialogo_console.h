#pragma once
// The dialogue port of runs without a screen. Messages go to the error
// output in UTF-8, kind first. Questions are asked on the terminal when the
// input is one; otherwise nobody is there to answer, so a yes/no question
// takes its default button, a question that needs typing is answered as
// Cancel (with a message saying why), the contract date takes its pre-filled
// value and a report goes to a PDF file.

#include <iosfwd>

#include "core/dialogo/dialogo_usuario.h"

class DialogoConsole : public DialogoUsuario {
public:
    struct Config {
        std::ostream* saida = nullptr;   // nullptr: std::cerr
        std::istream* entrada = nullptr; // nullptr: std::cin
        bool entradaEhTerminal = false;
        bool comSom = true;
    };
    // The process's error output and input; questions on the terminal when
    // the standard input is one.
    DialogoConsole();
    explicit DialogoConsole(const Config& config);

    bool Pergunta(const std::string& texto, const std::string& titulo, bool padraoSim) override;
    void Cursor(bool) override {}
    void ContadorInicia(const std::string&, int, bool, const std::string&) override {}
    bool ContadorAtualiza(int, int, const std::string&) override { return false; }
    void ContadorEncerra() override {}
    // The notice goes to the error output, once; the wait goes on.
    bool PodeCancelarEspera() const override { return false; }
    void EsperaInicia(const std::string& texto) override;
    bool EsperaContinua(int) override { return true; }
    void EsperaEncerra() override {}
    void Toca(const std::vector<Tom>& tons) override;
    std::optional<std::string> CodigoCliente(const std::string& titulo) override;
    std::optional<TData> DataInicioContrato(TData preenchida) override;
    TdstRELATORIO DestinoRelatorio(const std::string& titulo,
                                   const std::vector<std::string>& descricao) override;
    // A terminal has no preview: the pages go to a PDF file.
    TdstRELATORIO DestinoAposFalha(const std::string&) override { return dstPDF; }

protected:
    void MostraMensagem(const std::string& texto, TsomOPCOES tipo,
                        const std::string& titulo) override;

private:
    void escreve(const std::string& ansi);
    std::optional<std::string> leLinha(const std::string& pergunta);

    std::ostream& saida_;
    std::istream& entrada_;
    bool terminal_;
    bool comSom_;
};
