#include "tabela/dbf_cabecalho.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "core/texto/ansi.h"
#include "tabela/erro_tabela.h"

namespace {

std::uint32_t le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

[[noreturn]] void invalido(const std::string& caminho, const std::string& motivo) {
    throw ErroTabela("ARQUIVO "_ansi + caminho + " NÃO É UMA TABELA DBASE VÁLIDA: "_ansi + motivo);
}

}  // namespace

void LeDbf(int fd, void* dados, std::size_t n, std::uint64_t pos, const std::string& caminho) {
    auto* p = static_cast<char*>(dados);
    while (n > 0) {
        ssize_t r = ::pread(fd, p, n, static_cast<off_t>(pos));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0)
            throw ErroTabela("ERRO DE LEITURA NO ARQUIVO "_ansi + caminho +
                             (r == 0 ? std::string(": FIM INESPERADO") : ": " + std::string(std::strerror(errno))));
        p += r;
        n -= static_cast<std::size_t>(r);
        pos += static_cast<std::uint64_t>(r);
    }
}

void GravaDbf(int fd, const void* dados, std::size_t n, std::uint64_t pos,
               const std::string& caminho) {
    auto* p = static_cast<const char*>(dados);
    while (n > 0) {
        ssize_t r = ::pwrite(fd, p, n, static_cast<off_t>(pos));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0)
            throw ErroTabela("ERRO DE GRAVAÇÃO NO ARQUIVO "_ansi + caminho + ": " +
                             std::strerror(r < 0 ? errno : ENOSPC));
        p += r;
        n -= static_cast<std::size_t>(r);
        pos += static_cast<std::uint64_t>(r);
    }
}

CabecalhoDbf LeCabecalhoDbf(int fd, const std::string& caminho) {
    unsigned char h[32];
    ssize_t r = ::pread(fd, h, sizeof h, 0);
    if (r != static_cast<ssize_t>(sizeof h)) invalido(caminho, "CABEÇALHO INCOMPLETO"_ansi);
    CabecalhoDbf cab;
    cab.versao = h[0];
    cab.registros = le32(h + 4);
    cab.tamanhoCabecalho = le16(h + 8);
    cab.tamanhoRegistro = le16(h + 10);
    cab.flags = h[28];
    cab.paginaCodigo = h[29];
    const unsigned v = cab.versao & 0x07;
    if (v != 3 && v != 4 && v != 5 && cab.versao != 0x30 && cab.versao != 0x31 &&
        cab.versao != 0x32 && cab.versao != 0xF5 && cab.versao != 0x02)
        invalido(caminho, "VERSÃO DESCONHECIDA"_ansi);
    if (cab.tamanhoCabecalho < 33 || cab.tamanhoRegistro < 1)
        invalido(caminho, "CABEÇALHO INCOERENTE"_ansi);
    std::string desc(cab.tamanhoCabecalho - 32u, '\0');
    LeDbf(fd, desc.data(), desc.size(), 32, caminho);
    int deslocamento = 1;
    for (std::size_t p = 0; p + 32 <= desc.size() && desc[p] != 0x0D; p += 32) {
        const auto* d = reinterpret_cast<const unsigned char*>(desc.data() + p);
        DefCampo c;
        std::size_t n = 0;
        while (n < 11 && d[n] != 0) ++n;
        c.nome.assign(reinterpret_cast<const char*>(d), n);
        while (!c.nome.empty() && c.nome.back() == ' ') c.nome.pop_back();
        c.tipo = static_cast<char>(d[11]);
        c.tamanho = d[16];
        c.decimais = d[17];
        // Old writers keep long character fields' high length byte in the
        // decimals byte.
        if (c.tipo == 'C' && c.decimais > 0) {
            c.tamanho += c.decimais * 256;
            c.decimais = 0;
        }
        c.deslocamento = deslocamento;
        deslocamento += c.tamanho;
        cab.campos.push_back(c);
    }
    if (cab.campos.empty()) invalido(caminho, "NENHUM CAMPO DEFINIDO");
    if (deslocamento > cab.tamanhoRegistro)
        invalido(caminho, "CAMPOS MAIORES QUE O REGISTRO");
    return cab;
}

std::uint32_t RegistrosPresentesNoDbf(int fd, const CabecalhoDbf& cab, const std::string& caminho) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw ErroTabela("ERRO DE LEITURA NO ARQUIVO "_ansi + caminho + ": " + std::strerror(errno));
    const auto tamanho = static_cast<std::uint64_t>(st.st_size);
    if (tamanho <= cab.tamanhoCabecalho) return 0;
    const std::uint64_t n = (tamanho - cab.tamanhoCabecalho) / cab.tamanhoRegistro;
    return n > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(n);
}

void ConfereDbfCompleto(int fd, const CabecalhoDbf& cab, const std::string& caminho) {
    const std::uint32_t presentes = RegistrosPresentesNoDbf(fd, cab, caminho);
    if (presentes >= cab.registros) return;
    const std::string registros =
        std::to_string(cab.registros) + (cab.registros == 1 ? " REGISTRO" : " REGISTROS");
    throw ErroTabelaIncompleta("A TABELA "_ansi + caminho + " ESTÁ INCOMPLETA: O CABEÇALHO ANUNCIA "_ansi +
                                   registros + " E O ARQUIVO TEM " + std::to_string(presentes) + ".",
                               caminho, cab.registros, presentes);
}

void DataDeAtualizacaoDbf(unsigned char saida[3]) {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    ::localtime_r(&t, &tm);
    saida[0] = static_cast<unsigned char>(tm.tm_year);
    saida[1] = static_cast<unsigned char>(tm.tm_mon + 1);
    saida[2] = static_cast<unsigned char>(tm.tm_mday);
}

std::string MontaCabecalhoDbf(CabecalhoDbf& cab) {
    const std::size_t n = cab.campos.size();
    cab.tamanhoCabecalho = static_cast<std::uint16_t>(32 + 32 * n + 1);
    int deslocamento = 1;
    for (auto& c : cab.campos) {
        c.deslocamento = deslocamento;
        deslocamento += c.tamanho;
    }
    cab.tamanhoRegistro = static_cast<std::uint16_t>(deslocamento);
    std::string h(cab.tamanhoCabecalho, '\0');
    auto* u = reinterpret_cast<unsigned char*>(h.data());
    u[0] = cab.versao;
    DataDeAtualizacaoDbf(u + 1);
    for (int i = 0; i < 4; ++i) u[4 + i] = static_cast<unsigned char>(cab.registros >> (8 * i));
    u[8] = static_cast<unsigned char>(cab.tamanhoCabecalho);
    u[9] = static_cast<unsigned char>(cab.tamanhoCabecalho >> 8);
    u[10] = static_cast<unsigned char>(cab.tamanhoRegistro);
    u[11] = static_cast<unsigned char>(cab.tamanhoRegistro >> 8);
    u[28] = cab.flags;
    u[29] = cab.paginaCodigo;
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char* d = u + 32 + 32 * i;
        const auto& c = cab.campos[i];
        std::memcpy(d, c.nome.data(), std::min<std::size_t>(c.nome.size(), 10));
        d[11] = static_cast<unsigned char>(c.tipo);
        d[16] = static_cast<unsigned char>(c.tamanho & 0xFF);
        d[17] = static_cast<unsigned char>(c.tipo == 'C' ? (c.tamanho >> 8) : c.decimais);
    }
    u[32 + 32 * n] = 0x0D;
    return h;
}
