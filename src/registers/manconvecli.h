#pragma once
// Client-table services: the codes and packed lists kept in client records
// (CONVECLI) and read alike by the register windows, the conversions, the
// routing runs and the client listing: company type, early-equalisation
// type, translation rules and a BR client's branch list.

#include <array>
#include <cstdint>
#include <string>

class Tabela;

enum TsaiTRADUZ { trCODIGOtoNUMERICO, trNUMERICOtoCODIGO, trCODIGOtoTEXTO, saiVARIAVEL };

// Answer of a translation: `numero` for trCODIGOtoNUMERICO, `texto` for the
// other modes.
struct TraducaoCONVECLI {
    std::string texto;
    int numero = 0;
};

// One company type as the register shows it; the item index of the radio
// group is the position in TiposDeEmpresa, which is not the code order.
struct TipoEmpresa {
    const char* codigo;
    std::string legenda;  // caption of the radio button
    std::string texto;    // text of the type
};
const std::array<TipoEmpresa, 9>& TiposDeEmpresa();

// Arrays the system indexes from 1 (rules 1 to 3, branches 1 to 5).
template <typename T, int N>
struct ListaDeUm {
    std::array<T, N> itens{};
    T& operator[](int n) { return itens.at(static_cast<std::size_t>(n - 1)); }
    const T& operator[](int n) const { return itens.at(static_cast<std::size_t>(n - 1)); }
    static constexpr int Tamanho() { return N; }
};

// Translation rule: the field at positions S5_INI..S5_FIN of a record
// holding S5_ORI is replaced by S5_TRA. S5_INI 0 is an empty rule.
struct TXKTBCONVE {
    std::int32_t S5_INI = 0;
    std::int32_t S5_FIN = 0;
    std::string S5_ORI;
    std::string S5_TRA;
};
using TKTBCONVE = ListaDeUm<TXKTBCONVE, 3>;

// A BR client's branch and the number of its last return file.
struct TXKTBBRFILIAL {
    std::string S6_FILIAL;
    std::int32_t S6_ULTRETBR = 0;
};
using TKTBBRFILIAL = ListaDeUm<TXKTBBRFILIAL, 5>;

class TmanCONVECLI {
public:
    // TIPOEMP: item index, code and text of the company type.
    TraducaoCONVECLI CLI_TRTIPOEMP(TsaiTRADUZ modo, const std::string& codigo, int indice) const;
    // TIPEQUCLI ("S", "N", "D"): item index, code and text.
    TraducaoCONVECLI CLI_TRTIPEQUCLI(TsaiTRADUZ modo, const std::string& codigo,
                                     int indice) const;

    // Reads rule n from stored text n (66 characters; a shorter text reads
    // as if blank beyond its end).
    void CLI_ABRPARAM(TKTBCONVE& regras, const std::string& texto1, const std::string& texto2,
                      const std::string& texto3) const;
    // Stored form of a rule: 66 characters.
    std::string FechaParametrosDoCliente(const TXKTBCONVE& regra) const;

    // "ABRE_FILIAIS" reads the branches from the stored text and answers
    // empty; any other mode answers the stored form (45 characters) of the
    // branches and ignores the text.
    std::string CLI_ABRBR(const std::string& modo, TKTBBRFILIAL& filiais,
                          const std::string& texto) const;

    // The rules and branches of the current CONVECLI record, through its
    // fields CONHEACP1..3 (header rules), CONDETCP1..3 (detail rules) and,
    // for a BR client, CONDETCP1 (branches). Writing needs the record in
    // edit or insert mode.
    void LeRegrasDoCliente(Tabela& convecli, TKTBCONVE& cabecalho, TKTBCONVE& detalhe) const;
    void GravaRegrasDoCliente(Tabela& convecli, const TKTBCONVE& cabecalho,
                         const TKTBCONVE& detalhe) const;
    void LeFiliaisDoCliente(Tabela& convecli, TKTBBRFILIAL& filiais) const;
    void GravaFiliaisDoCliente(Tabela& convecli, const TKTBBRFILIAL& filiais) const;
};
