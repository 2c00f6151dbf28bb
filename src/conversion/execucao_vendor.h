#pragma once
// What the two Vendor runs (remittance and return) do alike: ask for the
// client until the code names a Vendor client whose register lets the run
// go on, and read the input file whole or say why not.

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
