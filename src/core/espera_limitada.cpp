#include "core/espera_limitada.h"

#include <cstdlib>
#include <memory>

#include "core/geral.h"
#include "core/texto/ansi.h"

namespace {

constexpr int kPausaMs = 200;
constexpr int kAvisoMs = 3000;  // a held record is normal for a moment
constexpr int kEsperaMaximaPadrao = 600;

}  // namespace

int EsperaMaximaEmSegundos() {
    const char* valor = std::getenv("CONVERSOR_ESPERA_MAX");
    if (!valor || !*valor) return kEsperaMaximaPadrao;
    char* fim = nullptr;
    const long n = std::strtol(valor, &fim, 10);
    if (*fim != '\0' || n < 0 || n > 24 * 3600) return kEsperaMaximaPadrao;
    return static_cast<int>(n);
}

EsperaLimitada::EsperaLimitada(std::string oQue, bool podeDesistir)
    : oQue_(std::move(oQue)), podeDesistir_(podeDesistir), maximo_(EsperaMaximaEmSegundos()) {}

EsperaLimitada::~EsperaLimitada() {
    if (avisou_) GERAL().Dialogo().EsperaEncerra();
}

void EsperaLimitada::Pausa() {
    DialogoUsuario& dialogo = GERAL().Dialogo();
    const bool comLimite = podeDesistir_ && !dialogo.PodeCancelarEspera();
    if (comLimite && esperouMs_ >= maximo_ * 1000)
        throw ErroEsperaAbandonada(oQue_ + " HÁ "_ansi + std::to_string(esperouMs_ / 1000) +
                                   " SEGUNDOS; A ESPERA TERMINOU (CONVERSOR_ESPERA_MAX) E A OPERAÇÃO NÃO FOI FEITA."_ansi);
    GERAL().Espera(kPausaMs);
    esperouMs_ += kPausaMs;
    if (!avisou_ && esperouMs_ >= kAvisoMs) {
        avisou_ = true;
        dialogo.EsperaInicia(oQue_ + (comLimite ? "; AGUARDANDO ATÉ "_ansi + std::to_string(maximo_) + " SEGUNDOS."
                                      : podeDesistir_ ? std::string("; AGUARDANDO. CANCELA ENCERRA A EXECUÇÃO."_ansi)
                                                      : std::string("; AGUARDANDO.")));
    }
    if (avisou_ && !dialogo.EsperaContinua(esperouMs_ / 1000) && podeDesistir_)
        throw ErroEsperaAbandonada(oQue_ + "; A ESPERA FOI CANCELADA E A OPERAÇÃO NÃO FOI FEITA."_ansi);
}

void InstalaEsperaLimitada() {
    DefineEsperaDeTrava([](const std::string& oQue, bool podeDesistir) -> std::unique_ptr<EsperaDeTrava> {
        return std::make_unique<EsperaLimitada>(oQue, podeDesistir);
    });
}
