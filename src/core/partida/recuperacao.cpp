#include "core/partida/recuperacao.h"

#include "core/arquivos/nome_saida.h"
#include "core/diario_execucao.h"
#include "core/geral.h"
#include "core/texto/ansi.h"

std::vector<std::string> RecuperaExecucoesInterrompidas() {
    const std::vector<std::string> linhas = RecuperaDiarios(DiretoriosDosCadastros());
    if (linhas.empty()) return linhas;
    std::string texto;
    bool falhou = false;
    for (const std::string& l : linhas) {
        texto += (texto.empty() ? "" : "\r\n") + l;
        falhou = falhou || l.find("FALHOU") != std::string::npos ||
                 l.find("NÃO PÔDE"_ansi) != std::string::npos;
    }
    GERAL().MENSAGEM(texto, falhou ? somERRO : somSUCESSO);
    GERAL().RECUPERACOES.insert(GERAL().RECUPERACOES.end(), linhas.begin(), linhas.end());
    return linhas;
}
