#pragma once
// Finding a register's row again and writing one, shared by the client and
// rate registers.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tabela/tabela.h"

// What the list window asked its insert/alter window for.
enum TfmINCALT { fmINICIALIZA, fmENCERRA, fmINCLUSAO, fmALTERACAO, fmEXCLUSAO };

// Puts the table on the record of that number, looking from the first row of
// that key (fields and values as for Locate). When the record is gone
// (deleted by another workstation meanwhile) says so and answers false.
bool PosicionaNoRegistro(Tabela& tabela, const std::string& campos,
                         const std::vector<ValorBusca>& chave, std::uint32_t registro);

// Writes a register's row: when `existe` is false a row is appended first,
// `chave` fills its key fields and it is posted; then the row is put in edit
// mode (OBR_EDITA, waiting while another workstation holds it), `campos`
// fills the rest and it is posted. When anything fails after the append, the
// appended row is removed again: a failed write leaves no half-filled row.
void GravaRegistroDoCadastro(Tabela& tabela, bool existe, const std::function<void()>& chave,
                             const std::function<void()>& campos);
