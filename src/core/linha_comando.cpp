#include "core/linha_comando.h"

#include "core/ansi.h"
#include "core/geral.h"
#include "core/obr_texto.h"

void SOLICITACAO_INDISPONIVEL(const std::string& nome) {
    GERAL().MENSAGEM("A FUNÇÃO \""_ansi + nome + "\" AINDA NÃO ESTÁ DISPONÍVEL NESTA VERSÃO DO SISTEMA."_ansi,
                     somERRO);
}

bool PASSADA_ACEITA(int passada) {
    if (passada >= 0 && passada <= 99) return true;
    GERAL().MENSAGEM("NÚMERO DA PASSADA INFORMADO PARA SEGREGACAO NÃO ESTÁ PREVISTA.\r\n"
                     "Deverá estar entre o intervalo de 0 a 99."_ansi,
                     somERRO);
    return false;
}

bool LINHA_COMANDO_DESPACHA(const std::vector<std::string>& argumentos,
                            const SolicitacoesSistema& s) {
    if (argumentos.empty()) return true;
    const std::string& pedido = argumentos[0];
    const std::string parametro = argumentos.size() >= 2 ? argumentos[1] : std::string();
    if (pedido == "REMESSA") {
        if (s.CONCATENA_REMESSAS) s.CONCATENA_REMESSAS();
        else SOLICITACAO_INDISPONIVEL("Concatena Remessas");
        return true;
    }
    if (pedido == "RETORNO") {
        const int passada = OBR_STRTOINT(parametro);
        if (argumentos.size() >= 2 && !PASSADA_ACEITA(passada)) return false;
        if (s.SEGREGA_RETORNOS) s.SEGREGA_RETORNOS(passada);
        else SOLICITACAO_INDISPONIVEL("Segrega Retornos");
        return true;
    }
    if (pedido == "CONVERTE_REMESSA" || pedido == "CONVERTE_RETORNO") {
        const bool remessa = pedido == "CONVERTE_REMESSA";
        const auto& run = remessa ? s.VEN_CONVREMESSA : s.VEN_CONVRETORNO;
        if (run) run(parametro, !OBR_VAZIO(parametro));
        else SOLICITACAO_INDISPONIVEL(remessa ? "Arquivo Remessa - Vendor" : "Arquivo Retorno - Vendor");
        return true;
    }
    GERAL().MENSAGEM(
        "Não identificada a opção que foi solicitada. Poderá ser :\r\n"
        "\r\n"
        "\"REMESSA\" - Concatena Arquivos Remessas dos clientes;\r\n"
        "\"RETORNO passada\" - Segrega Arquivo Retorno do banco para os clientes;\r\n"
        "\"CONVERTE_REMESSA empresa\" - Conversão de Remessa de Vendor;\r\n"
        "\"CONVERTE_RETORNO empresa\" - Conversão de Retorno de Vendor."_ansi,
        somERRO, "Acione novamente com a opção correta."_ansi);
    return false;
}
