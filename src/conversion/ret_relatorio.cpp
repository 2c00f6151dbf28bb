#include "conversion/ret_relatorio.h"

#include <cstdio>

#include "core/texto/ansi.h"
#include "core/texto/obr_datas.h"
#include "core/texto/obr_numeros.h"
#include "report/toprint.h"

TvenLOGRETORNO::~TvenLOGRETORNO() {
    if (aberto_) oPRINT.reset();
}

bool TvenLOGRETORNO::Prepara() {
    if (!IMP_PREPARA("LEITURA DO RETORNO DO BANCO - VENDOR", {})) return false;
    aberto_ = true;
    oPRINT->KNOMEdoARQUIVOemPDF = "ARQUIVO_RETORNO_VENDOR";
    oPRINT->COLUNAS = 130;
    return true;
}

bool TvenLOGRETORNO::Inicializa(const HoraDoDia& hora, const std::string& arquivoBanco,
                                int geracaoLida) {
    ToPRINT& p = *oPRINT;
    if (!p.IMPINICIALIZA(-1, "", false)) return false;
    p.TITESQ = "Le Banco / Grava Cliente - Hora : " + TextoDaHora(hora) +
               "Arquivo Retorno do Banco   : " + arquivoBanco + " - Geração lida : "_ansi +
               std::to_string(geracaoLida);
    p.TITCAB1 = "                Tipo  de";
    p.TITCAB2 = "No. Planilha    registro   Parcela  Irregularidades";
    p.TITCAB3 = "------------    --------   -------  ---------------";
    return true;
}

void TvenLOGRETORNO::Irregularidade(bool primeiraDoRegistro, const std::string& numped,
                                    const std::string& tipoRegistro, int numparc,
                                    const std::string& mensagem) {
    ToPRINT& p = *oPRINT;
    p.INCLINHA(1);
    if (primeiraDoRegistro) {
        p.CHARSAY(p.COLESQ, numped);
        p.CHARSAY(p.COLESQ + 17, tipoRegistro == "14" ? "PREVIA" : "INVALIDO");
        p.CHARSAY(p.COLESQ + 29, OBR_INTTOSTR(numparc, 2));
    }
    p.CHARSAY(p.COLESQ + 35, mensagem);
}

void TvenLOGRETORNO::Totais(int lidos, int desprezados, int controle, int considerados) {
    ToPRINT& p = *oPRINT;
    const int coluna = p.COLESQ + 10;
    p.INCLINHA(2);
    p.CHARSAY(coluna, "       Total de Registros Lidos : " + std::to_string(lidos));
    p.INCLINHA(1);
    p.CHARSAY(coluna, " Total de Registros Desprezados : " + std::to_string(desprezados));
    p.INCLINHA(1);
    p.CHARSAY(coluna, " Total de Registros de controle : " + std::to_string(controle));
    p.INCLINHA(1);
    p.CHARSAY(coluna, "Total de Registros Considerados : " + std::to_string(considerados));
    fecha();
}

void TvenLOGRETORNO::InicioBR() { oPRINT->KLINATU = 99; }

void TvenLOGRETORNO::HeaderFilial(const std::string& arquivoCliente, int geracao) {
    ToPRINT& p = *oPRINT;
    p.INCLINHA(2);
    std::string linha = "Arquivo Retorno do Cliente : " + arquivoCliente;
    if (geracao != 0) linha += " - Geração gravada : "_ansi + std::to_string(geracao);
    p.CHARSAY(p.COLESQ, linha);
}

void TvenLOGRETORNO::Aviso(const std::string& texto) {
    ToPRINT& p = *oPRINT;
    p.INCLINHA(1);
    p.CHARSAY(p.COLESQ, texto);
}

void TvenLOGRETORNO::TotalFilial(int daFilial, int controle) {
    ToPRINT& p = *oPRINT;
    const int coluna = p.COLESQ + 10;
    p.INCLINHA(2);
    p.CHARSAY(coluna, "   Total de Registros da Filial : " + std::to_string(daFilial));
    p.INCLINHA(1);
    p.CHARSAY(coluna, " Total de Registros de controle : " + std::to_string(controle));
    p.INCLINHA(1);
    p.CHARSAY(coluna, "    Total de Registros Gravados : " + std::to_string(daFilial + controle));
}

void TvenLOGRETORNO::TotalBR(int filiais) {
    ToPRINT& p = *oPRINT;
    p.INCLINHA(2);
    p.CHARSAY(p.COLESQ + 10, "      Total de Filiais gravadas : " + std::to_string(filiais));
    fecha();
}

void TvenLOGRETORNO::fecha() {
    aberto_ = false;
    EJECT(krSEM_MENSAGEM);
}
