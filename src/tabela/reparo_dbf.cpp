#include "tabela/reparo_dbf.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/arquivos/arquivo_duravel.h"
#include "core/texto/ansi.h"
#include "tabela/dbf_cabecalho.h"
#include "tabela/erro_tabela.h"
#include "tabela/reescrita_dbf.h"
#include "tabela/trava.h"

namespace {

constexpr int kMaximoCopias = 999;

// The whole file as it is, kept under the first free backup name.
std::string guardaOriginal(int fd, const std::string& caminho) {
    const std::string primeiro = caminho + ".ANT";
    ArquivoDuravel copia(primeiro);
    const auto falha = [&](int erro) {
        return ErroTabela("NÃO FOI POSSÍVEL GUARDAR UMA CÓPIA DE "_ansi + caminho + " EM " + primeiro +
                         ": " + std::strerror(erro) + ". A TABELA NÃO FOI REPARADA."_ansi);
    };
    if (copia.Erro()) throw falha(copia.Erro());
    std::string bloco(1u << 20, '\0');
    for (std::uint64_t pos = 0;;) {
        const ssize_t r = ::pread(fd, bloco.data(), bloco.size(), static_cast<off_t>(pos));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) throw falha(errno);
        if (r == 0) break;
        if (!copia.Escreve(std::string_view(bloco.data(), static_cast<std::size_t>(r))))
            throw falha(copia.Erro());
        pos += static_cast<std::uint64_t>(r);
    }
    for (int n = 1; n <= kMaximoCopias; ++n) {
        const std::string nome = n == 1 ? primeiro : primeiro + std::to_string(n);
        const int erro = copia.NomeiaComo(nome, false);
        if (erro == 0) return nome;
        if (erro != EEXIST) throw falha(erro);
    }
    throw falha(EEXIST);
}

}  // namespace

ReparoTabela ReparaTabelaIncompleta(const std::string& caminho) {
    // Nobody else may read the table between the copy and the rewrite.
    const DbfExclusivo arquivo(caminho, "NÃO PODE SER REPARADA"_ansi);
    const int fd = arquivo.fd();
    const CabecalhoDbf cab = LeCabecalhoDbf(fd, caminho);
    ReparoTabela r;
    r.anunciados = cab.registros;
    r.presentes = RegistrosPresentesNoDbf(fd, cab, caminho);
    if (r.presentes >= r.anunciados) return r;
    r.copia = guardaOriginal(fd, caminho);

    // The records present go across as they are, deletion marks included:
    // the reorganisation that follows packs the deleted ones away.
    const std::size_t tam = cab.tamanhoRegistro;
    const std::uint32_t porBloco = static_cast<std::uint32_t>(std::max<std::size_t>(1, (1u << 20) / tam));
    std::string bloco;
    std::uint32_t rec = 0, inicioBloco = 0, noBloco = 0;
    const int novo = ReescreveDbf(caminho, cab, [&](std::string& registro) {
        if (rec >= r.presentes) return false;
        if (rec >= inicioBloco + noBloco) {
            inicioBloco = rec;
            noBloco = std::min(porBloco, r.presentes - rec);
            bloco.resize(static_cast<std::size_t>(noBloco) * tam);
            LeDbf(fd, bloco.data(), bloco.size(),
                   cab.tamanhoCabecalho + static_cast<std::uint64_t>(rec) * tam, caminho);
        }
        registro.assign(bloco.data() + static_cast<std::size_t>(rec - inicioBloco) * tam, tam);
        ++rec;
        return true;
    });
    ::close(novo);
    return r;
}
