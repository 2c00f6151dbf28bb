#include "registers/cli_listagem.h"

#include "core/dados/tabelas_abertas.h"
#include "core/dados/tdmquor.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_numeros.h"
#include "core/texto/obr_texto.h"
#include "report/toprint.h"

namespace {

void imprimeRegras(ToPRINT& p, const TKTBCONVE& regras, std::string rotulo) {
    for (int k = 1; k <= TKTBCONVE::Tamanho(); ++k) {
        const TXKTBCONVE& r = regras[k];
        if (r.S5_INI == 0) continue;
        p.INCLINHA(1);
        p.CHARSAY(1, rotulo + std::to_string(k) + "o.:");
        p.CHARSAY(p.KCOLATU + 1, OBR_INTTOSTR(r.S5_INI, 3) + "/" + OBR_INTTOSTR(r.S5_FIN, 3));
        p.CHARSAY(p.KCOLATU + 3, r.S5_ORI);
        p.CHARSAY(p.KCOLATU + 3, r.S5_TRA);
        rotulo = std::string(10, ' ');
    }
}

}  // namespace

void CLI_LISTAGEM(Tabela& convecli, const TmanCONVECLI& oman) {
    if (!IMP_PREPARA("LISTAGEM DA TABELA DE CLIENTES",
                     {"     Esta função irá emitir uma listagem contendo todos os Clientes"_ansi,
                      "cadastrados no Sistema de conversão de arquivos."_ansi}))
        return;
    ToPRINT& p = *oPRINT;
    p.COLUNAS = 130;
    p.IMPINICIALIZA(static_cast<int>(convecli.RecordCount()),
                    "Aguarde. Imprimindo a listagem da Tabela de clientes...", true);
    p.TITCAB1 = "Código Cliente   Nome do Cliente                 Remessa do Cliente              Retorno do Cliente"_ansi;
    p.TITCAB2 = "--------------   ---------------                 ------------------              ------------------";
    std::string anterior = "-";
    int total = 0;
    for (convecli.First(); !convecli.Eof(); convecli.Next()) {
        const std::string tipo = convecli.FieldByName("TIPOEMP").AsString();
        if (tipo != anterior) {
            anterior = tipo;
            p.INCLINHA(2);
            p.CHARSAY(1, "Empresa do Tipo : " + oman.CLI_TRTIPOEMP(trCODIGOtoTEXTO, tipo, 0).texto);
            p.INCLINHA(1);
        }
        p.INCLINHA(1);
        p.CHARSAY(1, OBR_AJUSTA(convecli.FieldByName("CODCLI").AsString(), 15, true, 0));
        for (const char* campo : {"NOMEEMP", "ARQREMCLI", "ARQRETCLI"})
            p.CHARSAY(p.KCOLATU + 2, OBR_AJUSTA(convecli.FieldByName(campo).AsString(), 30, true, 0));
        if (tipo == "C" || tipo == "V") {
            TKTBCONVE cabecalho, detalhe;
            oman.CLI_ABRPARAM(cabecalho, convecli.FieldByName("CONHEACP1").AsString(),
                              convecli.FieldByName("CONHEACP2").AsString(),
                              convecli.FieldByName("CONHEACP3").AsString());
            oman.CLI_ABRPARAM(detalhe, convecli.FieldByName("CONDETCP1").AsString(),
                              convecli.FieldByName("CONDETCP2").AsString(),
                              convecli.FieldByName("CONDETCP3").AsString());
            p.INCLINHA(1);
            p.CHARSAY(1, "            Inicio/Fim   Conteúdo                         Traduzir para"_ansi);
            imprimeRegras(p, cabecalho, " Header - ");
            imprimeRegras(p, detalhe, "Detalhe - ");
        }
        ++total;
    }
    p.INCLINHA(2);
    p.CHARSAY(66, "Total de empresas cadastradas : " + OBR_INTTOSTR(total, 3));
    EJECT(krDUAS_MENSAGENS);
}

void ImprimeListagemDeClientes() {
    Tabela& cli = DMQUOR().TBCONVECLI;
    const TabelasAbertas tabelas{&cli};
    TmanCONVECLI oman;
    CLI_LISTAGEM(cli, oman);
}
