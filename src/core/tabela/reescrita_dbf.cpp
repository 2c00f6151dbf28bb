#include "core/tabela/reescrita_dbf.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/ansi.h"
#include "core/tabela/erro_tabela.h"
#include "core/tabela/trava.h"

namespace {

std::string diretorioDe(const std::string& caminho) {
    auto b = caminho.find_last_of('/');
    if (b == std::string::npos) return ".";
    return b == 0 ? "/" : caminho.substr(0, b);
}

void sincronizaDiretorio(const std::string& dir) {
    int d = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (d >= 0) {
        ::fsync(d);
        ::close(d);
    }
}

}  // namespace

int DBF_REESCREVE(const std::string& caminho, CabecalhoDbf cab,
                  const std::function<bool(std::string&)>& proximo) {
    const std::string dir = diretorioDe(caminho);
    std::string modelo = caminho + ".novoXXXXXX";
    std::vector<char> nome(modelo.begin(), modelo.end());
    nome.push_back('\0');
    int fd = ::mkostemp(nome.data(), O_CLOEXEC);
    if (fd < 0)
        throw ErroTabela("NÃO FOI POSSÍVEL CRIAR ARQUIVO TEMPORÁRIO PARA "_ansi + caminho + ": " +
                         std::strerror(errno));
    const std::string temporario(nome.data());
    try {
        // A replaced table keeps its permissions; a new one gets the usual
        // ones (mkostemp makes it private), so every workstation's user
        // can open it.
        struct stat st {};
        if (::stat(caminho.c_str(), &st) == 0) {
            ::fchmod(fd, st.st_mode & 07777);
        } else {
            const mode_t mascara = ::umask(0);
            ::umask(mascara);
            ::fchmod(fd, 0666 & ~mascara);
        }
        cab.registros = 0;
        std::string cabecalho = DBF_MONTA_CABECALHO(cab);
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
                DBF_GRAVA(fd, bloco.data(), bloco.size(), pos, temporario);
                pos += bloco.size();
                bloco.clear();
            }
        }
        bloco.push_back(kDbfFimArquivo);
        DBF_GRAVA(fd, bloco.data(), bloco.size(), pos, temporario);
        cab.registros = n;
        cabecalho = DBF_MONTA_CABECALHO(cab);
        DBF_GRAVA(fd, cabecalho.data(), cabecalho.size(), 0, temporario);
        if (::fsync(fd) != 0)
            throw ErroTabela("ERRO AO GRAVAR "_ansi + temporario + ": " + std::strerror(errno));
        if (!TRAVA_TENTA(fd, kTravaAbertura, 1, TipoTrava::Escrita))
            throw ErroTabelaEmUso("TABELA "_ansi + caminho + " EM USO POR OUTRO PROCESSO");
        if (::rename(temporario.c_str(), caminho.c_str()) != 0)
            throw ErroTabela("NÃO FOI POSSÍVEL SUBSTITUIR "_ansi + caminho + ": " +
                             std::strerror(errno));
    } catch (...) {
        ::close(fd);
        ::unlink(temporario.c_str());
        throw;
    }
    sincronizaDiretorio(dir);
    return fd;
}
