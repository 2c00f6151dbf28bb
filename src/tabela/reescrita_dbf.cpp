#include "tabela/reescrita_dbf.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/arquivos/arquivo_duravel.h"
#include "core/texto/ansi.h"
#include "tabela/erro_tabela.h"
#include "tabela/trava.h"

int ReescreveDbf(const std::string& caminho, CabecalhoDbf cab,
                  const std::function<bool(std::string&)>& proximo) {
    // A replaced table keeps its permissions; a new one gets the usual ones,
    // so every workstation's user can open it.
    ArquivoDuravel novo(caminho);
    const auto falha = [&caminho](int erro) {
        throw ErroTabela("NÃO FOI POSSÍVEL GRAVAR "_ansi + caminho + ": " + std::strerror(erro));
    };
    if (novo.Erro())
        throw ErroTabela("NÃO FOI POSSÍVEL CRIAR ARQUIVO TEMPORÁRIO PARA "_ansi + caminho + ": " +
                         std::strerror(novo.Erro()));
    const int fd = novo.Fd();
    cab.registros = 0;
    std::string cabecalho = MontaCabecalhoDbf(cab);
    std::string bloco;
    std::string registro(cab.tamanhoRegistro, ' ');
    std::uint64_t pos = cabecalho.size();
    std::uint32_t n = 0;
    while (true) {
        registro.assign(cab.tamanhoRegistro, ' ');
        if (!proximo(registro)) break;
        bloco += registro;
        ++n;
        if (bloco.size() >= (1u << 20)) {
            GravaDbf(fd, bloco.data(), bloco.size(), pos, novo.Temporario());
            pos += bloco.size();
            bloco.clear();
        }
    }
    bloco.push_back(kDbfFimArquivo);
    GravaDbf(fd, bloco.data(), bloco.size(), pos, novo.Temporario());
    cab.registros = n;
    cabecalho = MontaCabecalhoDbf(cab);
    GravaDbf(fd, cabecalho.data(), cabecalho.size(), 0, novo.Temporario());
    // Exclusive before it takes the name: nobody opens the new table
    // between the rename and our own use of it.
    if (!TentaTrava(fd, kTravaAbertura, 1, TipoTrava::Escrita))
        throw ErroTabelaEmUso("TABELA "_ansi + caminho + " EM USO POR OUTRO PROCESSO");
    const int entregue = novo.EntregaDescritor();
    if (const int erro = novo.Nomeia(true)) {
        ::close(entregue);
        falha(erro);
    }
    return entregue;
}

DbfExclusivo::DbfExclusivo(const std::string& caminho, const std::string& uso)
    : fd_(::open(caminho.c_str(), O_RDWR | O_CLOEXEC)) {
    if (fd_ < 0)
        throw ErroTabela("NÃO FOI POSSÍVEL ABRIR A TABELA "_ansi + caminho + ": " + std::strerror(errno));
    if (!TentaTrava(fd_, kTravaAbertura, 1, TipoTrava::Escrita)) {
        ::close(fd_);
        throw ErroTabelaEmUso("A TABELA "_ansi + caminho + " ESTÁ EM USO POR OUTRO PROCESSO; "_ansi + uso);
    }
}

DbfExclusivo::~DbfExclusivo() { ::close(fd_); }
