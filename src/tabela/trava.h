#pragma once
// Byte-range locks of the FoxPro scheme, taken as Linux open-file-description
// locks: they belong to the descriptor (not the process), so two table objects
// of one process exclude each other like two workstations do, and closing an
// unrelated descriptor of the same file does not drop them.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

inline constexpr std::uint64_t kTravaAbertura = 0x7FFFFFFF;   // shared/exclusive open
inline constexpr std::uint64_t kTravaCabecalho = 0x7FFFFFFE;  // append / header
inline std::uint64_t PosicaoDaTravaDoRegistro(std::uint32_t recno) { return kTravaCabecalho - recno; }

enum class TipoTrava { Leitura, Escrita };

// Tries once; false when another descriptor holds a conflicting lock.
// Other failures (descriptor not open for writing, ...) throw std::system_error.
bool TentaTrava(int fd, std::uint64_t posicao, std::uint64_t tamanho, TipoTrava tipo);

// How a wait for a lock another descriptor holds passes its time between
// tries. The engine alone pauses 200 ms and never gives up; the application
// installs waits that tell the person and give up (by throwing from Pausa).
class EsperaDeTrava {
public:
    virtual ~EsperaDeTrava() = default;
    // Before each new try; throws to give up.
    virtual void Pausa() = 0;
};
// `oQue` names what is held, as a message would ("O REGISTRO 3 DA TABELA
// ..."). `podeDesistir` is false where the caller has already written and
// must not be left halfway: the wait is told but never abandoned.
using FabricaDeEspera =
    std::function<std::unique_ptr<EsperaDeTrava>(const std::string& oQue, bool podeDesistir)>;
void DefineEsperaDeTrava(FabricaDeEspera fabrica);  // empty: the engine's own
std::unique_ptr<EsperaDeTrava> NovaEsperaDeTrava(const std::string& oQue, bool podeDesistir);

// Tries, and while another holds it, pauses through a wait of the installed
// kind and tries again.
void TravaEsperando(int fd, std::uint64_t posicao, std::uint64_t tamanho, TipoTrava tipo,
                  const std::string& oQue, bool podeDesistir);
void SoltaTrava(int fd, std::uint64_t posicao, std::uint64_t tamanho);
