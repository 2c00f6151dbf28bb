#pragma once
// The start-up check: brings the installation record to the database version
// of this program (schema change of the installation table when due) and
// then reorganises the tables without asking.

#include <string>

#include "tabela/tabela.h"

inline constexpr const char* kVERSAO_SISTEMA = "2.20.4";

class TproENTRADA {
public:
    TproENTRADA();
    // Engine errors (installation table missing, locked, without VERSAO, a
    // schema statement that fails) are passed on to the caller.
    void PRO_ENTRADA(const std::string& KVERSAOINF);

    std::string STRINGSQL;
    bool ISTEMVERSAO = false;
    Tabela oARQTROCAVER;

private:
    void TROCAVERSAO(const std::string& alvo);
    void EXECUTASQL();
};
