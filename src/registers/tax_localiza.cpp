#include "registers/tax_localiza.h"

#include "core/geral.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_datas.h"
#include "core/texto/obr_numeros.h"
#include "core/texto/obr_texto.h"

bool TAX_LOCALIZA(Tabela& convetax, const std::string& produto, int dias, TData data,
                  double& taxaban, double& taxafor) {
    // Stored codes lose their trailing blanks; so does the one looked for.
    const std::string codigo = AparaDireita(produto);
    Campo& prodtax = convetax.FieldByName("PRODTAX");
    Campo& diastax = convetax.FieldByName("DIASTAX");
    Campo& inicio = convetax.FieldByName("DATINITAX");
    Campo& fim = convetax.FieldByName("DATFINTAX");
    for (convetax.First(); !convetax.Eof(); convetax.Next()) {
        if (prodtax.AsString() != codigo || diastax.AsInteger() < dias) continue;
        if (inicio.AsDate() > data || data > fim.AsDate()) continue;
        taxaban = convetax.FieldByName("TAXABAN").AsFloat();
        taxafor = convetax.FieldByName("TAXAFOR").AsFloat();
        return true;
    }
    GERAL().MENSAGEM("TAXAS NÃO DISPONÍVEIS PARA DATA/PRODUTO/DIAS : "_ansi + OBR_DATATOSTR(data) +
                         "-" + produto + "-" + OBR_INTTOSTR(dias, 3),
                     somERRO);
    return false;
}
