#include "core/dialogo/dialogo_usuario.h"

void DialogoUsuario::Mensagem(const std::string& texto, TsomOPCOES tipo,
                              const std::string& titulo) {
    if (tipo == somERRO) ++erros_;
    MostraMensagem(texto, tipo, titulo);
}
