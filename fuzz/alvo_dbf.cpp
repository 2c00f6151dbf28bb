// Hostile table files: the engine must open what it can and refuse the rest
// with an ErroTabela, never crash or hang.

#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/arquivo_fuzz.h"
#include "tabela/tabela.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    ArquivoFuzz arquivo("T.DBF", dados, tamanho);
    try {
        Tabela t;
        t.SetDatabaseName(arquivo.Diretorio());
        t.SetTableName("T.DBF");
        t.Open();
        long n = 0;
        for (t.First(); !t.Eof() && n < 1000; t.Next(), ++n)
            for (const DefCampo& c : t.FieldDefs()) {
                Campo& f = t.FieldByName(c.nome);
                (void)f.AsString();
                (void)f.AsFloat();
                (void)f.AsDate();
            }
        if (!t.FieldDefs().empty()) {
            const DefCampo& c = t.FieldDefs().front();
            if (c.tipo == 'C' || c.tipo == 'D') {
                t.AddIndexDef("X", c.nome);
                t.SetIndexName("X");
                t.Locate(c.nome, {std::string("A")});
            }
        }
        (void)t.RecordCount();
    } catch (const ErroTabela&) {
    }
    return 0;
}
