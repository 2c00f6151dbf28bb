#pragma once
// Byte-range locks of the FoxPro scheme, taken as Linux open-file-description
// locks: they belong to the descriptor (not the process), so two table objects
// of one process exclude each other like two workstations do, and closing an
// unrelated descriptor of the same file does not drop them.

#include <cstdint>

inline constexpr std::uint64_t kTravaAbertura = 0x7FFFFFFF;   // shared/exclusive open
inline constexpr std::uint64_t kTravaCabecalho = 0x7FFFFFFE;  // append / header
inline std::uint64_t TRAVA_POSICAO_REGISTRO(std::uint32_t recno) { return kTravaCabecalho - recno; }

enum class TipoTrava { Leitura, Escrita };

// Tries once; false when another descriptor holds a conflicting lock.
// Other failures (descriptor not open for writing, ...) throw std::system_error.
bool TRAVA_TENTA(int fd, std::uint64_t posicao, std::uint64_t tamanho, TipoTrava tipo);
// Waits until the lock is granted.
void TRAVA_ESPERA(int fd, std::uint64_t posicao, std::uint64_t tamanho, TipoTrava tipo);
void TRAVA_SOLTA(int fd, std::uint64_t posicao, std::uint64_t tamanho);
