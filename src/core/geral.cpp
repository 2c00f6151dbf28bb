#include "core/geral.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "core/dialogo/dialogo_console.h"
#include "core/texto/ansi.h"

namespace {

std::tm agoraLocal() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

// CONVERSOR_DATA=AAAAMMDD: the day to run as, for reprocessing a past day.
TData dataDoAmbiente(const char* valor) {
    const std::string v = valor;
    if (v.size() != 8) return 0;
    for (char c : v)
        if (c < '0' || c > '9') return 0;
    return CodificaData(std::stoi(v.substr(0, 4)), std::stoi(v.substr(4, 2)),
                        std::stoi(v.substr(6, 2)));
}

std::unique_ptr<TmvGERAL>& instancia() {
    static std::unique_ptr<TmvGERAL> geral;
    return geral;
}

}  // namespace

TmvGERAL::TmvGERAL() : TmvGERAL(std::make_unique<DialogoConsole>()) {}

TmvGERAL::TmvGERAL(std::unique_ptr<DialogoUsuario> dialogo)
    : dialogo_(std::move(dialogo)),
      relogio_([] {
          const std::tm tm = agoraLocal();
          return HoraDoDia{tm.tm_hour, tm.tm_min, tm.tm_sec};
      }),
      espera_([](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }) {
    const std::tm hoje = agoraLocal();
    DATADIA = CodificaData(hoje.tm_year + 1900, hoje.tm_mon + 1, hoje.tm_mday);
    if (const char* v = std::getenv("CONVERSOR_DATA"); v && *v) {
        if (const TData d = dataDoAmbiente(v); d != 0)
            DATADIA = d;
        else
            ERRO_CONVERSOR_DATA = "CONVERSOR_DATA=" + std::string(v) +
                                  " NÃO É UMA DATA VÁLIDA NA FORMA AAAAMMDD."_ansi;
    }
}

TmvGERAL::~TmvGERAL() = default;

void TmvGERAL::DefineDialogo(std::unique_ptr<DialogoUsuario> dialogo) {
    dialogo_ = std::move(dialogo);
}

void TmvGERAL::MYBEEP_SOM(TsomOPCOES KSOM) { dialogo_->Toca(TonsDoSom(KSOM)); }

void TmvGERAL::MENSAGEM(const std::string& KMENS, TsomOPCOES KSOM, const std::string& KCABEC) {
    MYBEEP_SOM(KSOM);
    const std::string titulo =
        !KCABEC.empty() ? KCABEC : KSOM == somERRO ? "Atenção..."_ansi : "Aviso...";
    dialogo_->Mensagem(KMENS, KSOM, titulo);
}

void TmvGERAL::CURSORESPERA() { dialogo_->Cursor(true); }
void TmvGERAL::CURSORDEFAULT() { dialogo_->Cursor(false); }

TmvGERAL& GERAL() {
    auto& g = instancia();
    if (!g) g = std::make_unique<TmvGERAL>();
    return *g;
}

std::unique_ptr<TmvGERAL> InstalaGeral(std::unique_ptr<TmvGERAL> novo) {
    auto anterior = std::move(instancia());
    instancia() = std::move(novo);
    return anterior;
}

bool OBR_CONFIRMA(const std::string& texto, const std::string& titulo) {
    TmvGERAL& geral = GERAL();
    geral.MYBEEP_SOM(somSIMNAO);
    std::string tituloCaixa = titulo;
    bool padraoSim = true;
    if (titulo == "S" || titulo == "N") {
        tituloCaixa = "Confirme";
        padraoSim = titulo == "S";
    } else if (titulo.rfind("S_", 0) == 0 || titulo.rfind("N_", 0) == 0) {
        tituloCaixa = titulo.substr(2);
        padraoSim = titulo[0] == 'S';
    }
    return geral.Dialogo().Pergunta(texto, tituloCaixa, padraoSim);
}
