#include "routing/regra_traducao.h"

#include "core/texto/obr_texto.h"

namespace {

std::string ajustado(const std::string& texto, std::size_t tamanho) {
    std::string r = texto.substr(0, tamanho);
    r.resize(tamanho, ' ');
    return r;
}

bool soBrancos(const std::string& texto) {
    return texto.find_first_not_of(' ') == std::string::npos;
}

}  // namespace

std::string TrechoDaLinha(const std::string& linha, int inicio, int tamanho) {
    const std::size_t ini = static_cast<std::size_t>(inicio - 1);
    const std::size_t tam = static_cast<std::size_t>(tamanho);
    std::string r = ini < linha.size() ? linha.substr(ini, tam) : std::string();
    r.resize(tam, ' ');
    return r;
}

RegraTraducao::RegraTraducao(const TXKTBCONVE& regra) {
    if (regra.S5_INI < 1 || regra.S5_FIN < regra.S5_INI) return;
    inicio_ = regra.S5_INI;
    tamanho_ = regra.S5_FIN - regra.S5_INI + 1;
    const std::size_t tam = static_cast<std::size_t>(tamanho_);
    esperado_ = ajustado(regra.S5_ORI, tam);
    substituto_ = ajustado(regra.S5_TRA, tam);
    paraToda_ = OBR_VAZIO(esperado_);
    ativa_ = !(soBrancos(esperado_) && soBrancos(substituto_));
    reversivel_ = ativa_ && !paraToda_ && !soBrancos(substituto_);
}

bool RegraTraducao::Aplica(std::string& linha) const {
    if (!ativa_) return false;
    const std::size_t ini = static_cast<std::size_t>(inicio_ - 1);
    const std::size_t tam = static_cast<std::size_t>(tamanho_);
    if (linha.size() < ini + tam) {
        if (!paraToda_ && TrechoDaLinha(linha, inicio_, tamanho_) != esperado_) return false;
        linha.resize(ini + tam, ' ');
    } else if (!paraToda_ && linha.compare(ini, tam, esperado_) != 0) {
        return false;
    }
    linha.replace(ini, tam, substituto_);
    return true;
}

bool RegraTraducao::Reverteria(std::string_view linha) const {
    if (!reversivel_) return false;
    const std::size_t ini = static_cast<std::size_t>(inicio_ - 1);
    const std::size_t tam = static_cast<std::size_t>(tamanho_);
    if (linha.size() >= ini + tam) return linha.compare(ini, tam, substituto_) == 0;
    // A line ending inside the span is blank beyond its end.
    std::string trecho(ini < linha.size() ? linha.substr(ini) : std::string_view());
    trecho.resize(tam, ' ');
    return trecho == substituto_;
}

bool RegraTraducao::Reverte(std::string& linha) const {
    if (!Reverteria(linha)) return false;
    const std::size_t ini = static_cast<std::size_t>(inicio_ - 1);
    const std::size_t tam = static_cast<std::size_t>(tamanho_);
    if (linha.size() < ini + tam) linha.resize(ini + tam, ' ');
    linha.replace(ini, tam, esperado_);
    return true;
}
