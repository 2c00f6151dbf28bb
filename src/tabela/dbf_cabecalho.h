#pragma once
// The DBF header and field descriptors: reading any dBase/FoxPro flavour,
// writing the dBase III form this system creates.

#include <cstdint>
#include <string>
#include <vector>

#include "tabela/campo.h"

struct CabecalhoDbf {
    std::uint8_t versao = 0x03;
    std::uint32_t registros = 0;
    std::uint16_t tamanhoCabecalho = 0;
    std::uint16_t tamanhoRegistro = 1;
    std::uint8_t flags = 0;         // 0x01: structural CDX present
    std::uint8_t paginaCodigo = 0x03;  // Windows ANSI
    std::vector<DefCampo> campos;
};

inline constexpr std::uint32_t kDbfDeslocamentoContagem = 4;
inline constexpr std::uint32_t kDbfDeslocamentoFlags = 28;
inline constexpr char kDbfFimArquivo = 0x1A;

// Reads and validates the header from an open descriptor; throws ErroTabela
// naming `caminho` when the file is not a table it can read.
CabecalhoDbf LeCabecalhoDbf(int fd, const std::string& caminho);

// Whole records the file holds after its header; a partial last record and
// the end mark do not count. Read the header first: an append writes its
// record before the count, so a count read earlier never exceeds this.
std::uint32_t RegistrosPresentesNoDbf(int fd, const CabecalhoDbf& cab, const std::string& caminho);
// Throws ErroTabelaIncompleta when the file holds fewer whole records than
// `cab` announces. A file longer than announced is left alone.
void ConfereDbfCompleto(int fd, const CabecalhoDbf& cab, const std::string& caminho);

// Header bytes of a new table (record count, date and flags as given);
// computes the field offsets and the lengths.
std::string MontaCabecalhoDbf(CabecalhoDbf& cab);

// The three bytes of the last-update date (year - 1900, month, day) for today.
void DataDeAtualizacaoDbf(unsigned char saida[3]);

// Complete pread/pwrite; throw ErroTabela naming the file on failure.
void LeDbf(int fd, void* dados, std::size_t n, std::uint64_t pos, const std::string& caminho);
void GravaDbf(int fd, const void* dados, std::size_t n, std::uint64_t pos,
               const std::string& caminho);
