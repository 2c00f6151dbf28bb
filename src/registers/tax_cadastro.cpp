#include "registers/tax_cadastro.h"

#include "core/geral.h"
#include "core/obr_edita.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_datas.h"
#include "core/texto/obr_numeros.h"
#include "core/texto/obr_texto.h"

namespace {

const char* const kChave = "DATINITAX;PRODTAX;DIASTAX";

std::string dataDaGrade(TData data) { return data == 0 ? std::string() : OBR_DATATOSTR(data); }

}  // namespace

std::string TBCONVETAXTAXABANGetText(double taxa) { return OBR_PICTURE("@E 99999.999999", taxa); }

std::string TBCONVETAXDIASTAXGetText(long long dias) { return OBR_INTTOSTR(dias, 3); }

std::vector<LinhaTaxa> LinhasDasTaxas(Tabela& convetax) {
    std::vector<LinhaTaxa> linhas;
    for (convetax.First(); !convetax.Eof(); convetax.Next()) {
        LinhaTaxa l;
        l.inicio = convetax.FieldByName("DATINITAX").AsDate();
        l.dias = convetax.FieldByName("DIASTAX").AsInteger();
        l.DATINITAX = dataDaGrade(l.inicio);
        l.DATFINTAX = dataDaGrade(convetax.FieldByName("DATFINTAX").AsDate());
        l.PRODTAX = convetax.FieldByName("PRODTAX").AsString();
        l.DIASTAX = TBCONVETAXDIASTAXGetText(l.dias);
        l.TAXABAN = TBCONVETAXTAXABANGetText(convetax.FieldByName("TAXABAN").AsFloat());
        l.TAXAFOR = TBCONVETAXTAXABANGetText(convetax.FieldByName("TAXAFOR").AsFloat());
        l.registro = convetax.RecNo();
        linhas.push_back(std::move(l));
    }
    return linhas;
}

bool PosicionaTaxa(Tabela& convetax, const LinhaTaxa& linha) {
    return PosicionaNoRegistro(convetax, kChave, {linha.inicio, linha.PRODTAX, linha.dias},
                               linha.registro);
}

bool ExcluiTaxa(Tabela& convetax) {
    const std::string data = OBR_DATATOSTR(convetax.FieldByName("DATINITAX").AsDate());
    if (!OBR_CONFIRMA("Confirma exclusão da Taxa selecionada ? "_ansi, "N_Data : " + data))
        return false;
    OBR_EDITA(convetax);
    convetax.Delete();
    return true;
}

TcadTAXA::TcadTAXA(Tabela& convetax, TfmINCALT funcao) : KFUNCAO(funcao), convetax_(convetax) {}

void TcadTAXA::FormShow() {
    if (Inclusao()) {
        static_cast<CamposTaxa&>(*this) = CamposTaxa{};
        return;
    }
    DATINITAX = convetax_.FieldByName("DATINITAX").AsDate();
    PRODTAX = convetax_.FieldByName("PRODTAX").AsString();
    DIASTAX = static_cast<int>(convetax_.FieldByName("DIASTAX").AsInteger());
    DATFINTAX = convetax_.FieldByName("DATFINTAX").AsDate();
    TAXABAN = convetax_.FieldByName("TAXABAN").AsFloat();
    TAXAFOR = convetax_.FieldByName("TAXAFOR").AsFloat();
}

bool TcadTAXA::localiza() { return convetax_.Locate(kChave, {DATINITAX, PRODTAX, DIASTAX}); }

bool TcadTAXA::TAX_KMENS() {
    std::string mensagem;
    const auto recusa = [&](const char* campo, std::string texto) {
        CampoRecusado = campo;
        mensagem = std::move(texto);
    };
    CampoRecusado.clear();
    if (DATINITAX == 0)
        recusa("DATINITAX", "DIA INICIAL DO PERÍODO NÃO FOI INFORMADO."_ansi);
    else if (OBR_VAZIO(PRODTAX))
        recusa("PRODTAX", "CÓDIGO DO PRODUTO NÃO FOI INFORMADO."_ansi);
    else if (DIASTAX == 0)
        recusa("DIASTAX", "No. DE DIAS (LIMITE) NÃO FOI INFORMADO."_ansi);
    else if (Inclusao() && localiza())
        recusa("DATINITAX", "TAXA INFORMADA JÁ EXISTENTE NA TABELA."_ansi);
    else if (DATFINTAX == 0)
        recusa("DATFINTAX", "DIA FINAL DO PERÍODO NÃO FOI INFORMADO."_ansi);
    else if (TAXABAN == 0)
        recusa("TAXABAN", "TAXA DE JUROS DO CONTRATO NÃO FOI INFORMADA."_ansi);
    else if (TAXAFOR == 0)
        recusa("TAXAFOR", "TAXA DE JUROS DO TÍTULO NÃO FOI INFORMADA."_ansi);
    if (!mensagem.empty()) {
        GERAL().MENSAGEM(mensagem, somERRO);
        return false;
    }
    GravaRegistroDoCadastro(
        convetax_, localiza(),
        [&] {
            convetax_.FieldByName("DATINITAX").SetAsDate(DATINITAX);
            convetax_.FieldByName("PRODTAX").SetAsString(PRODTAX);
            convetax_.FieldByName("DIASTAX").SetAsInteger(DIASTAX);
            convetax_.FieldByName("DATAINC").SetAsDate(GERAL().DATADIA);
        },
        [&] {
            convetax_.FieldByName("DATFINTAX").SetAsDate(DATFINTAX);
            convetax_.FieldByName("TAXABAN").SetAsFloat(TAXABAN);
            convetax_.FieldByName("TAXAFOR").SetAsFloat(TAXAFOR);
        });
    return true;
}
