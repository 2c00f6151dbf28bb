#include "core/partida/reorganizacao.h"

#include <unistd.h>

#include "core/dados/esquema.h"
#include "core/dados/tdmquor.h"
#include "core/geral.h"
#include "core/texto/ansi.h"
#include "tabela/nome_arquivo.h"
#include "tabela/reparo_dbf.h"

namespace {

// Leaves the table object as every action expects it (closed, shared, its
// tag current) whatever happened during the work.
struct RestauraTabela {
    Tabela& t;
    const EsquemaTabela& e;
    ~RestauraTabela() {
        try {
            t.Close();
            t.SetExclusive(false);
            t.AddIndexDef(e.tag, e.expressao);
            t.SetIndexName(e.tag);
        } catch (...) {
        }
    }
};

// A table cut short is repaired only when the operator says so: the missing
// records are lost either way, and the repair keeps the original file beside
// the table for whoever wants to look for them.
void abreOuRepara(Tabela& t) {
    try {
        t.Open();
        return;
    } catch (const ErroTabelaIncompleta& e) {
        const std::string pergunta =
            std::string(e.what()) +
            "\r\n\r\nA TABELA PODE SER REPARADA: O CABEÇALHO PASSA A ANUNCIAR OS REGISTROS PRESENTES "
            "NO ARQUIVO, E UMA CÓPIA DO ARQUIVO ORIGINAL FICA GUARDADA AO LADO DELE."_ansi;
        if (!OBR_CONFIRMA(pergunta, "N_Confirma Reparo da Tabela ? "))
            throw ErroTabelaIncompleta(std::string(e.what()) + "\r\nA TABELA NÃO FOI REPARADA."_ansi,
                                       e.Caminho(), e.Anunciados(), e.Presentes());
        const ReparoTabela r = ReparaTabelaIncompleta(e.Caminho());
        if (!r.copia.empty())
            GERAL().MENSAGEM("A TABELA "_ansi + e.Caminho() + " FOI REPARADA: O CABEÇALHO ANUNCIA AGORA "_ansi +
                                 std::to_string(r.presentes) + (r.presentes == 1 ? " REGISTRO" : " REGISTROS") +
                                 ". O ARQUIVO ORIGINAL FOI GUARDADO EM " + r.copia + ".",
                             somSUCESSO);
    }
    t.Open();
}

void reorganiza(Tabela& t, const EsquemaTabela& e) {
    const std::string base = e.arquivo.substr(0, e.arquivo.find('.'));
    RestauraTabela restaura{t, e};
    t.Close();
    t.SetIndexName("");
    t.SetExclusive(true);
    // The old index goes only once the table is ours alone: deleting it
    // before a refused open would leave other tools without the index their
    // locking depends on.
    abreOuRepara(t);
    ::unlink(ResolveNoDiretorio(".", base + ".NTX").c_str());
    t.DeleteIndexFile("");
    t.Pack();
    t.CreateIndex("", e.tag, e.expressao);
}

}  // namespace

void ARQ_REORGANIZA(TopcCONFIRMA KOPCAOCONFIRMA) {
    if (KOPCAOCONFIRMA == opcCOM_CONFIRMACAO &&
        !OBR_CONFIRMA("   Esta função irá reorganizar os indices existentes no sistema,\r\n"
                      "eliminando os registros que eventualmente foram excluídos."_ansi,
                      "Confirma Reorganização dos Arquivos ? "_ansi))
        return;
    TDMQUOR& dm = DMQUOR();
    reorganiza(dm.TBCONVECLI, EsquemaConvecli());
    reorganiza(dm.TBCONVETAX, EsquemaConvetax());
    reorganiza(dm.TBCONVEPEN, EsquemaConvepen());
    GERAL().MENSAGEM("Reorganização concluída com sucesso"_ansi, somSUCESSO);
}
