#pragma once
// Test doubles of the process-wide services: a general services object with
// the scripted dialogue, a fixed day and clock and waits that do not wait;
// and a temporary working directory.

#include <memory>
#include <string>
#include <vector>

#include "core/dialogo/dialogo_roteirizado.h"
#include "core/geral.h"
#include "support/diretorio_temporario.h"

class GeralDeTeste {
public:
    explicit GeralDeTeste(TData dia = CodificaData(2026, 3, 15));
    ~GeralDeTeste();
    GeralDeTeste(const GeralDeTeste&) = delete;
    GeralDeTeste& operator=(const GeralDeTeste&) = delete;

    TmvGERAL& geral() { return *geral_; }
    DialogoRoteirizado& dialogo() { return *dialogo_; }
    std::vector<int> esperas;  // milliseconds of every wait asked for
    HoraDoDia hora{12, 34, 56};

private:
    DialogoRoteirizado* dialogo_;
    TmvGERAL* geral_;
    std::unique_ptr<TmvGERAL> anterior_;
};

// A temporary directory that is the current one while the object lives.
class DiretorioDeTrabalho {
public:
    DiretorioDeTrabalho();
    ~DiretorioDeTrabalho();
    const std::string& caminho() const { return dir_.Caminho(); }

private:
    DiretorioTemporario dir_;
    std::string anterior_;
};

// Names in a directory, sorted, hidden ones included.
std::vector<std::string> ENTRADAS(const std::string& diretorio = ".");
