#include "core/arquivos/grava_externo.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "core/arquivos/arquivo_duravel.h"
#include "core/arquivos/erro_arquivo.h"
#include "core/arquivos/caminho_arquivo.h"
#include "core/geral.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_texto.h"
#include "tabela/nome_arquivo.h"

namespace {

constexpr std::size_t kBlocoDeRegistros = 1u << 20;
// Records written as they come are gathered in less: the room is reused
// from write to write, and memory touched for the first time is dear.
constexpr std::size_t kPedacoDireto = 1u << 18;

bool diretorioExiste(const std::string& diretorio) {
    if (diretorio.empty()) return true;
    struct stat st {};
    return ::stat(diretorio.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

TaexGRAVAEXTERNO::TaexGRAVAEXTERNO(int KTAMARQCRIA,
                                   TtamTIPOTAMANHOREGISTRO KTIPOTAMANHOREGISTRO)
    : TIPOTAMANHOREGISTRO(KTIPOTAMANHOREGISTRO) {
    if (KTAMARQCRIA != -1) CRIA_ARQSAIDA(KTAMARQCRIA);
}

bool TaexGRAVAEXTERNO::CRIA_ARQSAIDA(int KTAMARQCRIA) {
    TAMARQFINAL = KTAMARQCRIA;
    LIMPAAUXILIAR();
    criada_ = true;
    return true;
}

void TaexGRAVAEXTERNO::GRAVA_INF(const std::string& KREGINF) {
    REGGRA = KREGINF;
    GRAVA_REG();
}

// The record cut to the record length, over its old bytes when it fits
// there, otherwise at the end of the last block (a new block when it does
// not fit).
void TaexGRAVAEXTERNO::guarda(const std::string& reg, Lugar& lugar) {
    const std::size_t n = std::min(reg.size(), static_cast<std::size_t>(std::max(TAMARQFINAL, 0)));
    if (lugar.bloco < blocos_.size() && n <= lugar.tamanho) {
        std::memcpy(blocos_[lugar.bloco].data() + lugar.inicio, reg.data(), n);
        lugar.tamanho = static_cast<std::uint32_t>(n);
        return;
    }
    if (blocos_.empty() || blocos_.back().size() + n > blocos_.back().capacity()) {
        blocos_.emplace_back();
        blocos_.back().reserve(std::max(kBlocoDeRegistros, n));
    }
    std::string& bloco = blocos_.back();
    lugar = {static_cast<std::uint32_t>(blocos_.size() - 1), static_cast<std::uint32_t>(bloco.size()),
             static_cast<std::uint32_t>(n)};
    bloco.append(reg, 0, n);
}

void TaexGRAVAEXTERNO::GRAVA_REG() {
    if (!criada_) throw std::logic_error("GRAVA_REG antes de CRIA_ARQSAIDA");
    if (direto_) {
        poeLinha(pedaco_, REGGRA);
        if (pedaco_.size() >= kPedacoDireto) DescarregaDireto();
        ++TOTREGGRA;
        return;
    }
    Lugar lugar{static_cast<std::uint32_t>(-1), 0, 0};
    guarda(REGGRA, lugar);
    registros_.push_back(lugar);
    atual_ = registros_.size() - 1;
    eof_ = false;
    ++TOTREGGRA;
}

void TaexGRAVAEXTERNO::ATUALIZA_REG(const std::string& KREGINF) {
    if (direto_) throw std::logic_error("ATUALIZA_REG de registro ja escrito no arquivo");
    if (registros_.empty()) throw std::logic_error("ATUALIZA_REG sem registro atual");
    guarda(KREGINF, registros_[atual_]);
}

void TaexGRAVAEXTERNO::LIMPAAUXILIAR() {
    direto_ = nullptr;
    pedaco_.clear();
    esqueceGuardados();
}

void TaexGRAVAEXTERNO::esqueceGuardados() {
    blocos_.clear();
    registros_.clear();
    atual_ = 0;
    eof_ = true;
}

void TaexGRAVAEXTERNO::First() {
    atual_ = 0;
    eof_ = registros_.empty();
}

void TaexGRAVAEXTERNO::Next() {
    if (atual_ + 1 < registros_.size()) ++atual_;
    else eof_ = true;
}

const std::string& TaexGRAVAEXTERNO::DADOS1() const {
    if (registros_.empty()) copiaAtual_.clear();
    else copiaAtual_.assign(registro(registros_[atual_]));
    return copiaAtual_;
}

// A record as OBR_AJUSTA lays it out (trailing blanks and control
// characters dropped, then blank-filled or cut), with its line end.
void TaexGRAVAEXTERNO::poeLinha(std::string& pedaco, std::string_view r) const {
    const std::size_t tamanho = static_cast<std::size_t>(std::max(TAMARQFINAL, 0));
    std::size_t fim = r.size();
    while (fim > 0 && static_cast<unsigned char>(r[fim - 1]) <= ' ') --fim;
    fim = std::min(fim, tamanho);
    pedaco.append(r.data(), fim).append(tamanho - fim, ' ').append("\r\n");
}

void TaexGRAVAEXTERNO::escreveGuardados(ArquivoDuravel& arquivo, std::string& pedaco,
                                        std::size_t porEscrita) const {
    for (const Lugar& l : registros_) {
        poeLinha(pedaco, registro(l));
        if (pedaco.size() >= porEscrita) {
            arquivo.Escreve(pedaco);
            pedaco.clear();
        }
    }
}

void TaexGRAVAEXTERNO::EscreveDiretoEm(ArquivoDuravel& arquivo) {
    pedaco_.clear();
    pedaco_.reserve(kPedacoDireto + static_cast<std::size_t>(std::max(TAMARQFINAL, 0)) + 2);
    escreveGuardados(arquivo, pedaco_, kPedacoDireto);
    esqueceGuardados();
    direto_ = &arquivo;
}

void TaexGRAVAEXTERNO::DescarregaDireto() {
    if (direto_ && !pedaco_.empty()) direto_->Escreve(pedaco_);
    pedaco_.clear();
}

bool TaexGRAVAEXTERNO::GRAVA_ARQUIVO(TtipTEMFIMARQUIVO) {
    CursorDeEspera cursor;
    if (!diretorioExiste(OBR_PARTEARQ(NOMEARQSAI, 0))) {
        GERAL().MENSAGEM("GRAVA_ARQUIVO-IMPOSSIVEL CRIAR O ARQUIVO EXTERNO SOLICITADO.\n"
                         "Nome do arquivo : " +
                             NOMEARQSAI + "\nErro DOS - código : 3 DIRETORIO INEXISTENTE"_ansi,
                         somERRO);
        return false;
    }
    // A file of the same name in another case is the same file to this
    // system: it is the one replaced.
    const std::string caminho = ResolveCaminho(NOMEARQSAI);
    ArquivoDuravel arquivo(caminho);
    std::string pedaco;
    pedaco.reserve(kBlocoDeRegistros + static_cast<std::size_t>(std::max(TAMARQFINAL, 0)) + 2);
    escreveGuardados(arquivo, pedaco, kBlocoDeRegistros);
    arquivo.Escreve(pedaco);
    if (const int erro = arquivo.Nomeia(true))
        throw ErroAoGravar(caminho, erro);
    return true;
}
