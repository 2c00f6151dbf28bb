#pragma once
// Index key expressions of the xBase family that this system's tables use:
// field names, DTOS( date ), STR( number [, width [, decimals]] ) joined by "+".
// A compiled expression lays out a fixed-width character key from the bytes
// of a record.

#include <string>
#include <variant>
#include <vector>

#include "tabela/campo.h"

struct PecaChave {
    enum class Tipo { Campo, Dtos, Str } tipo = Tipo::Campo;
    int campo = 0;     // index in the field list
    int largura = 0;   // bytes this piece adds to the key
    int decimais = 0;  // STR only
};

class ExpressaoChave {
public:
    // Throws ErroTabela naming the expression when it is not understood or
    // names a field the table lacks.
    static ExpressaoChave Compila(const std::string& texto, const std::vector<DefCampo>& campos);

    int Tamanho() const { return tamanho_; }
    const std::vector<PecaChave>& Pecas() const { return pecas_; }
    const std::string& Texto() const { return texto_; }

    // Writes Tamanho() bytes of the key of `registro` (deletion byte first).
    void Calcula(const char* registro, char* saida) const;

    // Key bytes that piece `i` gives to a record holding `valor` (text or
    // number, as Locate receives them); false when no record can hold it.
    bool ParteDaChave(std::size_t i, const std::variant<std::string, double>& valor,
                      std::string& saida) const;

private:
    std::string texto_;
    std::vector<PecaChave> pecas_;
    std::vector<DefCampo> campos_;
    int tamanho_ = 0;
};
