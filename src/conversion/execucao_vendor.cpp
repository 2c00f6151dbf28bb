#include "conversion/execucao_vendor.h"

#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "core/arquivos/caminho_arquivo.h"
#include "core/geral.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_texto.h"
#include "tabela/nome_arquivo.h"

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

bool RelocalizaClienteVendor(Tabela& convecli, const std::string& codigo, const std::string& consequencia) {
    if (convecli.Locate("CODCLI", {codigo})) return true;
    GERAL().MENSAGEM("O CLIENTE "_ansi + codigo + " FOI EXCLUÍDO DA TABELA DURANTE A CONVERSÃO. "_ansi +
                         consequencia,
                     somERRO);
    return false;
}

bool MesmoArquivoVendor(const std::string& a, const std::string& b) {
    std::error_code erro;
    return EmMaiusculas(a) == EmMaiusculas(b) ||
           std::filesystem::equivalent(ResolveCaminho(a), ResolveCaminho(b), erro);
}

void AvisaDisketteVendor(const std::string& entrada) {
    const std::string unidade = EmMaiusculas(entrada.substr(0, 2));
    if (unidade == "A:" || unidade == "B:")
        GERAL().MENSAGEM("Coloque o Diskette para LEITURA no Drive " + entrada.substr(0, 2), somERRO);
}

std::string TemporarioVendor(const std::string& saida) {
    return ResolveCaminho(OBR_PARTEARQ(saida, 0) + "." + OBR_PARTEARQ(saida, 3) + "." +
                          std::to_string(::getpid()) + ".novo");
}

void AvisaSemNomeVendor(const std::string& qual, const std::string& temporario,
                        const std::string& final, int erro) {
    GERAL().MENSAGEM("O ARQUIVO "_ansi + qual + " FOI GRAVADO COMO "_ansi + temporario +
                         " MAS NÃO PÔDE RECEBER O NOME "_ansi + final + " : " + std::strerror(erro) +
                         ". A PRÓXIMA EXECUÇÃO DARÁ O NOME A ELE."_ansi,
                     somERRO);
}
