// The progress counter of the general services: its arithmetic lives here,
// the window that shows it behind the dialogue port.
#include <cmath>

#include "core/geral.h"

void TmvGERAL::CONTADOR_INICIALIZA(int KTOTTERINF, bool KTEMOPCAO, const std::string& KCABEC) {
    CURSORESPERA();
    FLAGINTERROMPE = false;
    contador_.posicao = 0;
    contador_.maximo = KTOTTERINF;
    contador_.KTOTALGERAL = 0;
    // The percentage keeps the text of the previous counter until the first
    // step, as the window always did.
    dialogo_->ContadorInicia(KCABEC, KTOTTERINF, KTEMOPCAO, contador_.LBLPROGRESSO);
}

void TmvGERAL::CONTADOR_SO_CONTA() {
    ++contador_.KTOTALGERAL;
    if (contador_.posicao < contador_.maximo) ++contador_.posicao;
    if (contador_.maximo != 0) {
        const double fracao = static_cast<double>(contador_.posicao) / contador_.maximo;
        contador_.LBLPROGRESSO = std::to_string(std::lround(fracao * 100)) + "%";
    }
    if (dialogo_->ContadorAtualiza(contador_.posicao, contador_.maximo, contador_.LBLPROGRESSO))
        FLAGINTERROMPE = true;
}

void TmvGERAL::CONTADOR_ENCERRA() {
    contador_.posicao = contador_.maximo;
    if (dialogo_->ContadorAtualiza(contador_.posicao, contador_.maximo, contador_.LBLPROGRESSO))
        FLAGINTERROMPE = true;
    CURSORDEFAULT();
    dialogo_->ContadorEncerra();
}

bool TmvGERAL::ContadorPorFuncao(TprgFUNCAO funcao) {
    if (funcao != prgSO_INTERROMPE) CONTADOR_SO_CONTA();
    return FLAGINTERROMPE;
}
