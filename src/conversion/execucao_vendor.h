#pragma once
// What the two Vendor runs (remittance and return) do alike: ask for the
// client until the code names a Vendor client whose register lets the run
// go on, check the input and output names of the register, read the input
// file whole or say why not, and give a file written under a temporary name
// its own.

#include <functional>
#include <string>

#include "core/arquivos/leitura_externo.h"
#include "tabela/tabela.h"

// Asks for the client code (window titled `titulo`) while `codigo` is empty
// or refused, with CONVECLI on the client's record when `confere` is called.
// `confere` answers the refusal message, empty when the client may go on.
// `naoLocalizado` is the message for a code not in the table. False when
// the person cancels.
bool PedeClienteVendor(Tabela& convecli, std::string& codigo, const std::string& titulo,
                         const std::function<std::string(const std::string& codigo)>& naoLocalizado,
                         const std::function<std::string()>& confere);

// Reads `arquivo` whole into `leitura`; an unreadable or empty file is an
// error message naming it ("ARQUIVO <qual>", e.g. "REMESSA DO CLIENTE").
bool LeArquivoVendor(TaexLEITURAEXTERNO& leitura, const std::string& arquivo, const std::string& qual);

// Puts CONVECLI back on the client's record before its numbers are posted;
// a client deleted meanwhile is said, with what that means for the run
// (`consequencia`), and false answered.
bool RelocalizaClienteVendor(Tabela& convecli, const std::string& codigo, const std::string& consequencia);

// The two names lead to one file (same name, or through links): writing
// one would destroy the other.
bool MesmoArquivoVendor(const std::string& a, const std::string& b);

// An input on a diskette drive: the person is asked to put the diskette in.
void AvisaDisketteVendor(const std::string& entrada);

// Where an output is written before it takes its name: beside it, hidden,
// and with the process number, so that two workstations converting the
// same client never write into one file.
std::string TemporarioVendor(const std::string& saida);

// The file written as `temporario` could not take the name `final`: says so,
// naming both and the cause, and that the next run will give it the name.
void AvisaSemNomeVendor(const std::string& qual, const std::string& temporario,
                        const std::string& final, int erro);
