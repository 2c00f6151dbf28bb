#pragma once
// The data module: one table object per table of the data directory (the
// current directory), inactive until an action opens it. Fields are reached
// by name: DMQUOR().TBCONVECLI.FieldByName("CODCLI").

#include "tabela/tabela.h"

class TDMQUOR {
public:
    TDMQUOR();
    TDMQUOR(const TDMQUOR&) = delete;
    TDMQUOR& operator=(const TDMQUOR&) = delete;

    Tabela TBCONVEINS;
    Tabela TBCONVECLI;
    Tabela TBCONVEPEN;
    Tabela TBCONVETAX;

    // Closes every table object (end of an action, or before a
    // reorganisation that needs them exclusively).
    void FechaTodas();
};

// The process's data module, created on first use.
TDMQUOR& DMQUOR();
