#include "routing/limpeza.h"

#include "core/dados/tdmquor.h"
#include "core/geral.h"
#include "core/obr_edita.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_datas.h"
#include "core/texto/obr_numeros.h"
#include "routing/resumo_roteamento.h"

TpenLIMPEZA::TpenLIMPEZA() {
    TDMQUOR& dm = DMQUOR();
    dm.TBCONVEINS.Open();
    dm.TBCONVEPEN.SetExclusive(true);
    try {
        dm.TBCONVEPEN.Open();
        aberta_ = true;
    } catch (const ErroTabelaEmUso&) {
        // Another workstation has the pending remittances open.
    } catch (...) {
        dm.TBCONVEPEN.SetExclusive(false);
        dm.TBCONVEINS.Close();
        throw;
    }
}

TpenLIMPEZA::~TpenLIMPEZA() {
    TDMQUOR& dm = DMQUOR();
    dm.TBCONVEINS.Close();
    dm.TBCONVEPEN.Close();
    dm.TBCONVEPEN.SetExclusive(false);
}

TData TpenLIMPEZA::DataLimite() {
    Tabela& ins = DMQUOR().TBCONVEINS;
    ins.First();
    // A negative retention (a record edited outside the system) would put
    // the limit in the future; it counts as none.
    const long long prazo = std::max(0LL, ins.FieldByName("PRAZOPEN").AsInteger());
    return GERAL().DATADIA - static_cast<TData>(prazo);
}

void TpenLIMPEZA::ARQ_LIMPEZA() {
    if (!aberta_) {
        GERAL().MENSAGEM(
            "O ARQUIVO DE REMESSAS PENDENTES ESTÁ EM USO EM OUTRA ESTAÇÃO. A LIMPEZA NÃO FOI "
            "FEITA; TENTE NOVAMENTE QUANDO NINGUÉM ESTIVER USANDO O SISTEMA."_ansi,
            somERRO);
        return;
    }
    const TData limite = DataLimite();
    const std::string texto =
        "   Esta função irá eliminar do Arquivo de Remessas Pendentes\n"
        "as já retornadas ao cliente até a data limite apresentada,\n"
        "permanecendo as demais, com data igual ou posterior.\n"
        "Data Limite : "_ansi +
        OBR_DATATOSTR(limite);
    if (!OBR_CONFIRMA(texto, "Confirma LIMPEZA do ARQUIVO ? ")) return;

    Tabela& pen = DMQUOR().TBCONVEPEN;
    pen.First();
    while (!pen.Eof()) {
        ++WPES;
        const TData retorno = pen.FieldByName("DTRETORNO").AsDate();
        if (retorno != 0 && retorno < limite) {
            ++WEXC;
            OBR_EDITA(pen);
            pen.Delete();  // goes on to the record that followed
        } else {
            ++WMAN;
            pen.Next();
        }
    }
    if (WEXC > 0) pen.Pack();
    GERAL().MENSAGEM("Registros Pesquisadas : " + OBR_INTTOSTR(WPES, 0) +
                         "\nRegistros mantidos : " + OBR_INTTOSTR(WMAN, 0) +
                         "\nRegistros excluidos : " + OBR_INTTOSTR(WEXC, 0),
                     somSUCESSO, "Limpeza de Remessas.");
}

void LimpezaDasRemessasPendentes() {
    TpenLIMPEZA limpeza;
    limpeza.ARQ_LIMPEZA();
    ResumoDaLimpeza(limpeza);
}
