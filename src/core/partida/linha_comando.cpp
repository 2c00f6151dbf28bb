#include "core/partida/linha_comando.h"

#include "core/geral.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_texto.h"

void AvisaSolicitacaoIndisponivel(const std::string& nome) {
    GERAL().MENSAGEM("A FUNÇÃO \""_ansi + nome + "\" AINDA NÃO ESTÁ DISPONÍVEL NESTA VERSÃO DO SISTEMA."_ansi,
                     somERRO);
}

std::string UsoDaLinhaDeComando() {
    return "Uso: conversor [SOLICITAÇÃO [PARÂMETRO]]\n"
           "\n"
           "Sem solicitação, abre a janela principal. Com uma solicitação, executa-a no\n"
           "diretório corrente (o diretório de dados) e termina:\n"
           "\n"
           "  REMESSA                  concatena as remessas de cobrança dos clientes\n"
           "  RETORNO [passada]        segrega os retornos do banco (passada 0 a 99; 0 se omitida)\n"
           "  CONVERTE_REMESSA CÓDIGO  converte a remessa Vendor do cliente\n"
           "  CONVERTE_RETORNO CÓDIGO  converte o retorno Vendor do cliente\n"
           "\n"
           "Opções:\n"
           "  -h, --help               mostra esta ajuda e termina\n"
           "  --version                mostra a versão e termina\n"
           "\n"
           "Variáveis de ambiente:\n"
           "  CONVERSOR_SEM_JANELA=1   não abre janelas (também sem DISPLAY e WAYLAND_DISPLAY):\n"
           "                           mensagens na saída de erro, relatórios em PDF no\n"
           "                           diretório de dados\n"
           "  CONVERSOR_DATA=AAAAMMDD  fixa a data do dia do sistema (reprocessar um dia)\n"
           "  CONVERSOR_ESPERA_MAX=N   segundos que uma execução sem tela espera por um registro\n"
           "                           ou tabela em uso em outra estação (padrão 600)\n"
           "\n"
           "Códigos de saída:\n"
           "  0  executado sem mensagem de erro\n"
           "  1  houve mensagem de erro\n"
           "  2  linha de comando inválida\n"
           "\n"
           "Manual: man conversor, ou o menu Ajuda > Índice da janela.\n"_ansi;
}

bool PassadaAceita(int passada) {
    if (passada >= 0 && passada <= 99) return true;
    GERAL().MENSAGEM("NÚMERO DA PASSADA INFORMADO PARA SEGREGACAO NÃO ESTÁ PREVISTA.\r\n"
                     "Deverá estar entre o intervalo de 0 a 99."_ansi,
                     somERRO);
    return false;
}

bool DespachaLinhaDeComando(const std::vector<std::string>& argumentos,
                            const SolicitacoesSistema& s) {
    if (argumentos.empty()) return true;
    const std::string& pedido = argumentos[0];
    const std::string parametro = argumentos.size() >= 2 ? argumentos[1] : std::string();
    if (pedido == "REMESSA") {
        if (s.CONCATENA_REMESSAS) s.CONCATENA_REMESSAS();
        else AvisaSolicitacaoIndisponivel("Concatena Remessas");
        return true;
    }
    if (pedido == "RETORNO") {
        const int passada = OBR_STRTOINT(parametro);
        if (argumentos.size() >= 2 && !PassadaAceita(passada)) return false;
        if (s.SEGREGA_RETORNOS) s.SEGREGA_RETORNOS(passada);
        else AvisaSolicitacaoIndisponivel("Segrega Retornos");
        return true;
    }
    if (pedido == "CONVERTE_REMESSA" || pedido == "CONVERTE_RETORNO") {
        const bool remessa = pedido == "CONVERTE_REMESSA";
        const auto& run = remessa ? s.VEN_CONVREMESSA : s.VEN_CONVRETORNO;
        if (run) run(parametro, !OBR_VAZIO(parametro));
        else AvisaSolicitacaoIndisponivel(remessa ? "Arquivo Remessa - Vendor" : "Arquivo Retorno - Vendor");
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
