#include "core/dialogo/dialogo_console.h"

#include <unistd.h>

#include <iostream>

#include "core/texto/ansi.h"
#include "core/texto/obr_datas.h"
#include "core/texto/obr_texto.h"
#include "core/texto/texto_ansi.h"

namespace {

// Titles a box gets when its caller gives none; on the console they would
// only repeat the kind.
bool tituloPadrao(const std::string& titulo) {
    return titulo.empty() || titulo == "Atenção..."_ansi || titulo == "Aviso..."_ansi;
}

std::string semRetornoDeCarro(const std::string& texto) {
    std::string r;
    for (std::size_t i = 0; i < texto.size(); ++i)
        if (!(texto[i] == '\r' && i + 1 < texto.size() && texto[i + 1] == '\n')) r += texto[i];
    return r;
}

std::string minusculas(std::string t) {
    for (char& c : t)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return t;
}

}  // namespace

DialogoConsole::DialogoConsole()
    : DialogoConsole(Config{nullptr, nullptr, ::isatty(STDIN_FILENO) == 1, true}) {}

DialogoConsole::DialogoConsole(const Config& config)
    : saida_(config.saida ? *config.saida : std::cerr),
      entrada_(config.entrada ? *config.entrada : std::cin),
      terminal_(config.entradaEhTerminal),
      comSom_(config.comSom) {}

void DialogoConsole::escreve(const std::string& ansi) {
    saida_ << AnsiParaUtf8(semRetornoDeCarro(ansi)) << std::flush;
}

std::optional<std::string> DialogoConsole::leLinha(const std::string& pergunta) {
    escreve(pergunta);
    std::string linha;
    if (!std::getline(entrada_, linha)) {
        escreve("\n");
        return std::nullopt;
    }
    if (!linha.empty() && linha.back() == '\r') linha.pop_back();
    return Utf8ParaAnsi(linha);
}

void DialogoConsole::MostraMensagem(const std::string& texto, TsomOPCOES tipo,
                                    const std::string& titulo) {
    std::string linha = tipo == somERRO ? "ATENÇÃO: "_ansi : "AVISO: ";
    if (!tituloPadrao(titulo)) linha += AparaPontas(titulo) + ": ";
    escreve(linha + texto + "\n");
}

void DialogoConsole::EsperaInicia(const std::string& texto) { escreve("AVISO: " + texto + "\n"); }

bool DialogoConsole::Pergunta(const std::string& texto, const std::string& titulo,
                              bool padraoSim) {
    const std::string cabeca = "PERGUNTA: " + (titulo.empty() ? "" : AparaPontas(titulo) + ": ");
    if (!terminal_) {
        escreve(cabeca + texto + "\n" + "Resposta padrão, sem terminal: "_ansi +
                (padraoSim ? "Sim" : "Não"_ansi) + "\n");
        return padraoSim;
    }
    escreve(cabeca + texto + "\n");
    for (;;) {
        const auto linha = leLinha(padraoSim ? "[S/n] " : "[s/N] ");
        if (!linha) return padraoSim;
        const std::string r = minusculas(AparaPontas(*linha));
        if (r.empty()) return padraoSim;
        if (r == "s" || r == "sim") return true;
        if (r == "n" || r == "nao" || r == "não"_ansi || r == "NÃO"_ansi) return false;
    }
}

void DialogoConsole::Toca(const std::vector<Tom>& tons) {
    if (comSom_) TocaSom(tons);
}

std::optional<std::string> DialogoConsole::CodigoCliente(const std::string& titulo) {
    if (!terminal_) {
        Mensagem("O CÓDIGO DO CLIENTE NÃO FOI INFORMADO NA LINHA DE COMANDO E NÃO HÁ "
                 "TERMINAL PARA PERGUNTÁ-LO. A EXECUÇÃO FOI CANCELADA."_ansi,
                 somERRO, titulo);
        return std::nullopt;
    }
    const auto linha = leLinha(titulo + " - Código do Cliente : "_ansi);
    if (!linha) return std::nullopt;
    return linha->substr(0, 15);  // the window's field holds 15 characters
}

std::optional<TData> DialogoConsole::DataInicioContrato(TData preenchida) {
    if (!terminal_) {
        if (preenchida != 0) return preenchida;
        Mensagem("A DATA DE INÍCIO DO CONTRATO NÃO VEIO NO ARQUIVO E NÃO HÁ TERMINAL "
                 "PARA PERGUNTÁ-LA. A EXECUÇÃO FOI CANCELADA."_ansi,
                 somERRO, "");
        return std::nullopt;
    }
    const auto linha =
        leLinha("Data de início do contrato ["_ansi + OBR_DATATOSTR(preenchida) + "] : ");
    if (!linha) return std::nullopt;
    if (AparaPontas(*linha).empty()) return preenchida;
    return OBR_STRTODATA(*linha);
}

TdstRELATORIO DialogoConsole::DestinoRelatorio(const std::string& titulo,
                                               const std::vector<std::string>& descricao) {
    if (!terminal_) return dstPDF;
    std::string texto = "RELATÓRIO: "_ansi + titulo + "\n";
    for (const auto& l : descricao) texto += "  " + l + "\n";
    escreve(texto);
    for (;;) {
        const auto linha = leLinha("[P]DF, [I]mpressora ou [C]ancela? [P] ");
        if (!linha) return dstCANCELA;
        const std::string r = minusculas(AparaPontas(*linha));
        if (r.empty() || r == "p" || r == "pdf") return dstPDF;
        if (r == "i" || r == "impressora") return dstIMPRESSORA;
        if (r == "c" || r == "cancela") return dstCANCELA;
    }
}
