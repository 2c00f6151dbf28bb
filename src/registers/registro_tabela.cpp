#include "registers/registro_tabela.h"

#include "core/geral.h"
#include "core/obr_edita.h"
#include "core/texto/ansi.h"

namespace {

bool andaAte(Tabela& tabela, std::uint32_t registro) {
    for (; !tabela.Eof(); tabela.Next())
        if (tabela.RecNo() == registro) return true;
    return false;
}

}  // namespace

bool PosicionaNoRegistro(Tabela& tabela, const std::string& campos,
                         const std::vector<ValorBusca>& chave, std::uint32_t registro) {
    // Rows sharing the key follow one another from the first of them; a row
    // whose key another workstation changed is looked for from the top.
    if (tabela.Locate(campos, chave) && andaAte(tabela, registro)) return true;
    tabela.First();
    if (andaAte(tabela, registro)) return true;
    GERAL().MENSAGEM("O REGISTRO SELECIONADO NÃO ESTÁ MAIS NA TABELA: FOI EXCLUÍDO EM OUTRA ESTAÇÃO."_ansi,
                     somERRO);
    return false;
}

void GravaRegistroDoCadastro(Tabela& tabela, bool existe, const std::function<void()>& chave,
                             const std::function<void()>& campos) {
    if (!existe) {
        tabela.Append();
        try {
            chave();
            tabela.Post();
        } catch (...) {
            tabela.Cancel();
            throw;
        }
    }
    try {
        OBR_EDITA(tabela);
        campos();
        tabela.Post();
    } catch (...) {
        tabela.Cancel();
        if (!existe) tabela.Delete();
        throw;
    }
}
