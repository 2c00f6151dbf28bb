#pragma once
// One field of a dBase table: its definition and the typed reading and writing
// of its bytes inside a record buffer.

#include <string>
#include <string_view>

#include "core/texto/calendario.h"

// Field definition as a DBF descriptor holds it. `tipo` is the dBase letter:
// 'C' character, 'N' numeric, 'D' date; other letters (L, F, M, ...) of foreign
// tables are carried as they are.
struct DefCampo {
    std::string nome;
    char tipo = 'C';
    int tamanho = 0;
    int decimais = 0;
    int deslocamento = 0;  // position in the record, after the deletion byte
};

class Tabela;

// Field object, reached through Tabela::FieldByName. Reading follows the
// current record; writing needs the table in edit or insert state.
class Campo {
public:
    Campo(Tabela& tabela, int indice) : tabela_(&tabela), indice_(indice) {}

    const DefCampo& Def() const;
    const std::string& FieldName() const { return Def().nome; }
    char DataType() const { return Def().tipo; }
    int Size() const { return Def().tamanho; }
    int Decimals() const { return Def().decimais; }

    // Character fields read without trailing blanks; dates as "dd/mm/yyyy"
    // (empty text for the empty date); numbers in the general form with ",".
    std::string AsString() const;
    long long AsInteger() const;
    double AsFloat() const;
    TData AsDate() const;  // 0 for an empty or impossible date
    bool IsNull() const;   // all blanks

    void SetAsString(const std::string& valor);
    void SetAsInteger(long long valor);
    void SetAsFloat(double valor);
    void SetAsDate(TData valor);
    void Clear();

    // The bytes of the field in the current record, as stored.
    std::string_view Bruto() const;

private:
    Tabela* tabela_;
    int indice_;
};

// Conversions between a field's stored bytes and values; shared by the field
// objects, the key expressions and the structure changes.
namespace dbf_valor {
double LeNumero(std::string_view bruto);  // blanks and garbage read as 0
TData LeData(std::string_view bruto);     // YYYYMMDD; 0 when blank, zeros or invalid
// Number laid out right-aligned in `tamanho` with `decimais` decimals and "."
// as decimal point; false when it does not fit.
bool FormataNumero(double valor, int tamanho, int decimais, std::string& saida);
std::string FormataData(TData valor);  // YYYYMMDD or 8 blanks
}  // namespace dbf_valor
