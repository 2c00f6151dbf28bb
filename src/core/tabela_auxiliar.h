#pragma once
// Auxiliary tables: dBase tables a run builds for itself, from a column list
// or from another table's structure, in the current directory. A table or
// index whose name the system chose ("TABAUXnn.DBF", "INDAUXnn.CDX") lives as
// long as its TauxTABELA; named ones stay on disk.

#include <string>
#include <vector>

#include "tabela/tabela.h"

enum TtipCAMPO { tipCHAR, tipNUME, tipDATE };

struct TXKTBESTRUTURA {
    std::string EST_CAMPO;
    TtipCAMPO EST_TIPO = tipCHAR;
    int EST_TAM = 0;
    int EST_DEC = 0;
};
using TKTBESTRUTURA = std::vector<TXKTBESTRUTURA>;

class TauxTABELA {
public:
    // With a name the table object is bound to it at once.
    explicit TauxTABELA(const std::string& KNOMETABELAINF = "");
    // Closes the table and deletes the table and index files whose names were
    // chosen here.
    ~TauxTABELA();
    TauxTABELA(const TauxTABELA&) = delete;
    TauxTABELA& operator=(const TauxTABELA&) = delete;

    Tabela oARQAUX;
    bool JA_CRIOU_TABELA_AUXILIAR = false;
    std::string NOMETABELA;  // empty: a free temporary name is chosen
    std::string NOMEINDICE;  // empty: a free temporary name is chosen
    TKTBESTRUTURA TBESTRUTURA;

    void ADDCAMPO(const std::string& KCAMPO, TtipCAMPO KTIPOCAMPO, int KTAM, int KDEC);
    // Creates the table from TBESTRUTURA and opens it exclusively; with a key,
    // an index on it becomes the current order.
    bool CRIATABELA(const std::string& KINDICEAUX, const std::string& KNOMETABELAINF);
    // The same with the fields of an open table; a message and false when the
    // copy cannot be made.
    bool CRIATABELA(Tabela& KARQMODELO, const std::string& KINDICEAUX,
                    const std::string& KNOMETABELAINF);
    // A table describing the source's fields, one row each in field order:
    // FIELD_NAME, FIELD_TYPE ("C", "N", "D", empty for others), FIELD_LEN,
    // FIELD_DEC. Left on its first row.
    bool CRIATABCOMESTRUTURA(Tabela& KARQESTRUTURA, const std::string& KINDICEAUX,
                             const std::string& KNOMETABELAINF);
    // The opposite: a table with one column per row of a structure table
    // (which is packed first, so it must be open exclusively).
    bool CRIATABAPARTIRDAESTRUTURA(Tabela& KARQESTRUTURA, const std::string& KINDICEAUX,
                                   const std::string& KNOMETABELAINF);
    // Opens an existing table exclusively.
    bool ABRETABELAAUX(const std::string& KNOMETABELAINF);
    void CRIAINDICE(const std::string& KINDICEAUX, const std::string& KNOMEINDICEINF);
    // A new index on the key in a free temporary index file.
    void RECRIAINDICE(const std::string& KINDICEAUX);
    void LIMPAAUXILIAR();
    // With rows: goes to the first and answers true. Without: a message and
    // false.
    bool VERIFICA_SE_TEM_REGISTROS();

private:
    void criaIndiceSePedido(const std::string& chave);
    void lembraTemporarios();

    std::string tabelaTemporaria_;             // DBF to delete at the end
    std::vector<std::string> indicesTemporarios_;  // index files to delete
};

// First free name "INDAUX01.CDX".."INDAUX99.CDX" (tipo 0) or
// "TABAUX01.DBF".."TABAUX99.DBF" (tipo 1) in the current directory. When all
// 99 exist they are leftovers of runs that did not end: those not open in any
// process are deleted and the first free name is given again.
void OBR_NOMEAUXILIAR(int tipo, std::string& nome);
// Closes the table object and binds it to the file of `caminho` (".DBF"
// added unless present; directory "." when the path has none).
void OBR_ASSOCIATABELA(Tabela& tabela, const std::string& caminho);
// Directory and table name, or the name alone in the current directory.
std::string OBR_NOMETABELA(const Tabela& tabela);
// Creates an index on `chave` in `arquivoIndice` (a free temporary name when
// empty; the tag is the file name without directory and extension), makes it
// the current order and goes to the first row. `nomeCompleto` gets the
// index file used.
void OBR_CRIAINDICE(Tabela& tabela, const std::string& chave, const std::string& arquivoIndice,
                    std::string& nomeCompleto);
// Creates the table (a free temporary name when `nomeTabela` is empty) with
// the columns, binds the table object to it and opens it exclusively. A
// named table replaces an older one of that name.
bool CRIATABDAESTRUTURA(Tabela& tabela, const TKTBESTRUTURA& colunas,
                        const std::string& nomeTabela);
