#include "conversion/rem_relatorio.h"

#include <cstdio>

#include "core/texto/ansi.h"
#include "core/texto/obr_datas.h"
#include "core/texto/obr_numeros.h"
#include "report/toprint.h"

TvenLOGREMESSA::~TvenLOGREMESSA() {
    if (aberto_) oPRINT.reset();
}

bool TvenLOGREMESSA::Prepara() {
    if (!IMP_PREPARA("LEITURA DE ARQUIVO REMESSA DO CLIENTE", {})) return false;
    aberto_ = true;
    oPRINT->KNOMEdoARQUIVOemPDF = "ARQUIVO_REMESSA_VENDOR";
    oPRINT->COLUNAS = 130;
    return true;
}

bool TvenLOGREMESSA::Inicializa(const HoraDoDia& hora) {
    ToPRINT& p = *oPRINT;
    if (!p.IMPINICIALIZA(-1, "", false)) return false;
    p.TITESQ = "Le Cliente / Grava Banco - Hora : " + TextoDaHora(hora);
    p.TITCAB1 = "                 Data da";
    p.TITCAB2 = "Identificação   operação   Ocorrências"_ansi;
    p.TITCAB3 = "-------------   --------   -----------";
    return true;
}

void TvenLOGREMESSA::DefineArquivos(const std::string& arquivoCliente, int geracaoLida,
                                    const std::string& arquivoBanco) {
    arquivoCliente_ = arquivoCliente;
    geracaoLida_ = geracaoLida;
    arquivoBanco_ = arquivoBanco;
}

void TvenLOGREMESSA::Ocorrencia(bool primeiraDaOperacao, const std::string& cnpj,
                                TData dataOperacao, int geracaoGravada,
                                const std::string& mensagem) {
    ToPRINT& p = *oPRINT;
    if (p.PRIMVEZ == 0) {
        p.INCLINHA(1);
        std::string cliente = "Arquivo Remessa do Cliente : " + arquivoCliente_;
        if (geracaoLida_ != 0) cliente += " - Geração lida : "_ansi + std::to_string(geracaoLida_);
        p.CHARSAY(p.COLESQ, cliente);
        p.INCLINHA(1);
        p.CHARSAY(p.COLESQ, "Arquivo Remessa do Banco   : " + arquivoBanco_ +
                                " - Geração gravada : "_ansi + std::to_string(geracaoGravada));
    }
    p.INCLINHA(1);
    if (primeiraDaOperacao) {
        p.CHARSAY(p.COLESQ, cnpj);
        p.CHARSAY(p.KCOLATU + 2, OBR_DATATOSTR(dataOperacao));
    }
    p.CHARSAY(p.COLESQ + 28, mensagem);
}

namespace {

// Right-aligned in four columns; a larger count is written in full rather
// than as asterisks, so that the log never hides how many lines there were.
std::string contagem(int n) {
    const std::string t = OBR_INTTOSTR(n, 4);
    return t.find('*') == std::string::npos ? t : std::to_string(n);
}

}  // namespace

void TvenLOGREMESSA::Totais(int lidos, int desprezados, int gravados) {
    ToPRINT& p = *oPRINT;
    const int coluna = p.COLESQ + 10;
    p.INCLINHA(2);
    p.CHARSAY(coluna, "      Total de Registros Lidos : " + contagem(lidos));
    p.INCLINHA(1);
    p.CHARSAY(coluna, "Total de Registros Desprezados : " + contagem(desprezados));
    p.INCLINHA(1);
    p.CHARSAY(coluna, "   Total de Registros Gravados : " + contagem(gravados));
    aberto_ = false;
    EJECT(krSEM_MENSAGEM);
}
