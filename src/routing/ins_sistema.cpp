#include "routing/ins_sistema.h"

#include "core/dados/tdmquor.h"
#include "core/geral.h"
#include "core/obr_edita.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_numeros.h"
#include "core/texto/obr_texto.h"

namespace {

struct CampoTexto {
    const char* campo;
    std::string TinsSISTEMA::*valor;
};
struct CampoNumero {
    const char* campo;
    int TinsSISTEMA::*valor;
};

const CampoTexto kTextos[] = {
    {"ARQREMC24", &TinsSISTEMA::ARQREMC24}, {"ARQREMC40", &TinsSISTEMA::ARQREMC40},
    {"ARQREMVEN", &TinsSISTEMA::ARQREMVEN}, {"ARQREMV24", &TinsSISTEMA::ARQREMV24},
    {"ARQREMDES", &TinsSISTEMA::ARQREMDES}, {"DIRCOPIA", &TinsSISTEMA::DIRCOPIA},
};
const CampoNumero kNumeros[] = {
    {"PRAZOPEN", &TinsSISTEMA::PRAZOPEN},   {"SEQREMC24", &TinsSISTEMA::SEQREMC24},
    {"SEQREMC40", &TinsSISTEMA::SEQREMC40}, {"SEQREMVEN", &TinsSISTEMA::SEQREMVEN},
    {"SEQREMV24", &TinsSISTEMA::SEQREMV24}, {"SEQREMDES", &TinsSISTEMA::SEQREMDES},
};

}  // namespace

TinsSISTEMA CarregaInstalacao() {
    Tabela& t = DMQUOR().TBCONVEINS;
    t.First();
    TinsSISTEMA ins;
    for (const auto& c : kTextos) ins.*c.valor = t.FieldByName(c.campo).AsString();
    for (const auto& c : kNumeros)
        ins.*c.valor = static_cast<int>(t.FieldByName(c.campo).AsInteger());
    return ins;
}

bool INS_GRAVA(const TinsSISTEMA& ins) {
    struct Produto {
        const std::string& nome;
        int ultimo;
        std::string produto;
    };
    const Produto produtos[] = {
        {ins.ARQREMC24, ins.SEQREMC24, "COBRANÇA 240"_ansi},
        {ins.ARQREMC40, ins.SEQREMC40, "COBRANÇA 400"_ansi},
        {ins.ARQREMVEN, ins.SEQREMVEN, "VENDOR 250"},
        {ins.ARQREMV24, ins.SEQREMV24, "VENDOR 240"},
        {ins.ARQREMDES, ins.SEQREMDES, "DESCONTO"},
    };
    for (const Produto& p : produtos)
        if (OBR_VAZIO(p.nome) && p.ultimo != 0) {
            GERAL().MENSAGEM("INFORMADO \"Último lido\" PARA "_ansi + p.produto +
                                 " SEM O NOME DO ARQUIVO.",
                             somERRO);
            return false;
        }
    Tabela& t = DMQUOR().TBCONVEINS;
    t.First();
    OBR_EDITA(t);
    try {
        for (const auto& c : kTextos) t.FieldByName(c.campo).SetAsString(ins.*c.valor);
        for (const auto& c : kNumeros) t.FieldByName(c.campo).SetAsInteger(ins.*c.valor);
        t.Post();
    } catch (...) {
        t.Cancel();
        throw;
    }
    return true;
}

TinsSTATUS LeStatusDoSistema() {
    const TinsSISTEMA ins = CarregaInstalacao();
    auto numero = [](int n) { return OBR_INTTOSTR(n, 0); };
    auto total = [](Tabela& t) { return OBR_INTTOSTR(t.RecordCount(), 4); };
    TDMQUOR& dm = DMQUOR();
    TinsSTATUS s;
    s.PRAZOPEN = numero(ins.PRAZOPEN);
    s.ARQREMC24 = ins.ARQREMC24;
    s.SEQREMC24 = numero(ins.SEQREMC24);
    s.ARQREMC40 = ins.ARQREMC40;
    s.SEQREMC40 = numero(ins.SEQREMC40);
    s.ARQREMVEN = ins.ARQREMVEN;
    s.SEQREMVEN = numero(ins.SEQREMVEN);
    s.ARQREMV24 = ins.ARQREMV24;
    s.SEQREMV24 = numero(ins.SEQREMV24);
    s.ARQREMDES = ins.ARQREMDES;
    s.SEQREMDES = numero(ins.SEQREMDES);
    s.DIRCOPIA = ins.DIRCOPIA;
    s.TOTCLI = total(dm.TBCONVECLI);
    s.TOTTAX = total(dm.TBCONVETAX);
    s.TOTPEN = total(dm.TBCONVEPEN);
    return s;
}
