#include "conversion/execucao_vendor.h"

#include "core/geral.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_texto.h"

bool PedeClienteVendor(Tabela& convecli, std::string& codigo, const std::string& titulo,
                         const std::function<std::string(const std::string& codigo)>& naoLocalizado,
                         const std::function<std::string()>& confere) {
    for (;;) {
        if (codigo.empty()) {
            const auto digitado = GERAL().Dialogo().CodigoCliente(titulo);
            if (!digitado) return false;
            codigo = *digitado;
        }
        std::string mensagem;
        if (OBR_VAZIO(codigo))
            mensagem = "CÓDIGO DO CLIENTE NÃO FOI INFORMADO."_ansi;
        else if (!convecli.Locate("CODCLI", {codigo}))
            mensagem = naoLocalizado(codigo);
        else
            mensagem = confere();
        if (mensagem.empty()) return true;
        GERAL().MENSAGEM(mensagem, somERRO);
        codigo.clear();
    }
}

bool LeArquivoVendor(TaexLEITURAEXTERNO& leitura, const std::string& arquivo, const std::string& qual) {
    // Ending without a word would look, on the command line, like a run
    // that had nothing to do.
    if (!leitura.TXT_TO_MEMO(arquivo)) {
        GERAL().MENSAGEM("NÃO FOI POSSÍVEL LER O ARQUIVO "_ansi + qual + " : " + arquivo, somERRO);
        return false;
    }
    if (leitura.TABDADOS.empty()) {
        GERAL().MENSAGEM("ARQUIVO "_ansi + qual + " ESTÁ VAZIO : "_ansi + arquivo, somERRO);
        return false;
    }
    return true;
}
