#pragma once
// Failures of the table engine. The text is Windows-1252 Portuguese and names
// the file, so it can be shown to the operator as it stands.

#include <stdexcept>
#include <string>

class ErroTabela : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The record is held by another process: the caller may wait and try again
// (OBR_EDITA does so every 200 ms).
class ErroRegistroBloqueado : public ErroTabela {
public:
    using ErroTabela::ErroTabela;
};

// The table is open elsewhere in a way that excludes this open (an exclusive
// open while others hold it, or a shared open while someone holds it
// exclusively).
class ErroTabelaEmUso : public ErroTabela {
public:
    using ErroTabela::ErroTabela;
};
