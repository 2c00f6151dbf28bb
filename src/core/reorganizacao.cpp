#include "core/reorganizacao.h"

#include <unistd.h>

#include "core/ansi.h"
#include "core/dados/esquema.h"
#include "core/dados/tdmquor.h"
#include "core/geral.h"
#include "core/tabela/nome_arquivo.h"

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

void reorganiza(Tabela& t, const EsquemaTabela& e) {
    const std::string base = e.arquivo.substr(0, e.arquivo.find('.'));
    RestauraTabela restaura{t, e};
    t.Close();
    t.SetIndexName("");
    t.SetExclusive(true);
    // The old index goes only once the table is ours alone: deleting it
    // before a refused open would leave other tools without the index their
    // locking depends on.
    t.Open();
    ::unlink(ARQ_RESOLVE(".", base + ".NTX").c_str());
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
    reorganiza(dm.TBCONVECLI, ESQUEMA_CONVECLI());
    reorganiza(dm.TBCONVETAX, ESQUEMA_CONVETAX());
    reorganiza(dm.TBCONVEPEN, ESQUEMA_CONVEPEN());
    GERAL().MENSAGEM("Reorganização concluída com sucesso"_ansi, somSUCESSO);
}
