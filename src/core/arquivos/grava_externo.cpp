#include "core/arquivos/grava_externo.h"

#include <sys/stat.h>

#include <algorithm>
#include <stdexcept>

#include "core/arquivos/arquivo_inteiro.h"
#include "core/arquivos/caminho_arquivo.h"
#include "core/geral.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_texto.h"
#include "tabela/nome_arquivo.h"

namespace {

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
    registros_.clear();
    atual_ = 0;
    eof_ = true;
    criada_ = true;
    return true;
}

void TaexGRAVAEXTERNO::GRAVA_INF(const std::string& KREGINF) {
    REGGRA = KREGINF;
    GRAVA_REG();
}

void TaexGRAVAEXTERNO::GRAVA_REG() {
    if (!criada_) throw std::logic_error("GRAVA_REG antes de CRIA_ARQSAIDA");
    registros_.push_back(REGGRA.substr(0, static_cast<std::size_t>(std::max(TAMARQFINAL, 0))));
    atual_ = registros_.size() - 1;
    eof_ = false;
    ++TOTREGGRA;
}

void TaexGRAVAEXTERNO::ATUALIZA_REG(const std::string& KREGINF) {
    if (registros_.empty()) throw std::logic_error("ATUALIZA_REG sem registro atual");
    registros_[atual_] = KREGINF.substr(0, static_cast<std::size_t>(std::max(TAMARQFINAL, 0)));
}

void TaexGRAVAEXTERNO::LIMPAAUXILIAR() {
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
    static const std::string vazio;
    return registros_.empty() ? vazio : registros_[atual_];
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
    std::string conteudo;
    const std::size_t tamanho = static_cast<std::size_t>(std::max(TAMARQFINAL, 0));
    conteudo.reserve(registros_.size() * (tamanho + 2));
    for (const std::string& r : registros_) {
        conteudo += OBR_AJUSTA(r, TAMARQFINAL, true, 0);
        conteudo += "\r\n";
    }
    // A file of the same name in another case is the same file to this
    // system: it is the one replaced.
    GravaArquivoCompleto(ResolveCaminho(NOMEARQSAI), conteudo);
    return true;
}
