#include "core/partida/tproentrada.h"

#include "core/geral.h"
#include "core/obr_edita.h"
#include "core/partida/reorganizacao.h"
#include "tabela/instrucao_sql.h"
#include "tabela/nome_arquivo.h"

TproENTRADA::TproENTRADA() {
    oARQTROCAVER.SetDatabaseName(".");
    oARQTROCAVER.SetTableName("CONVEINS.dbf");
}

void TproENTRADA::PRO_ENTRADA(const std::string& KVERSAOINF) {
    CursorDeEspera cursor;
    GERAL().KVERSAO_ATUAL = KVERSAOINF;
    const std::string alvo = KVERSAOINF.substr(0, 4);
    oARQTROCAVER.Open();
    bool reorganizar = false;
    if (oARQTROCAVER.FieldByName("VERSAO").AsString() != alvo) {
        if (alvo == "2.20") TROCAVERSAO(alvo);
        OBR_EDITA(oARQTROCAVER);
        oARQTROCAVER.FieldByName("VERSAO").SetAsString(alvo);
        oARQTROCAVER.Post();
        reorganizar = true;
    }
    oARQTROCAVER.Close();
    if (reorganizar) ARQ_REORGANIZA(opcSEM_CONFIRMACAO);
}

void TproENTRADA::TROCAVERSAO(const std::string& alvo) {
    ISTEMVERSAO = alvo == "2.20" && oARQTROCAVER.FindField("ARQREMC24") == nullptr;
    if (!ISTEMVERSAO) return;
    STRINGSQL = "ALTER TABLE CONVEINS ";
    STRINGSQL += "ADD COLUMN ARQREMC24 CHAR(12) ";
    STRINGSQL += "ADD COLUMN SEQREMC24 NUMERIC(2,0) ";
    STRINGSQL += "ALTER COLUMN ARQREMCOB ARQREMC40 CHAR(12) ";
    STRINGSQL += "ALTER COLUMN SEQREMCOB SEQREMC40 NUMERIC(2,0) ";
    EXECUTASQL();
    oARQTROCAVER.Open();
}

void TproENTRADA::EXECUTASQL() {
    oARQTROCAVER.Close();
    const std::string base = EmMaiusculas(oARQTROCAVER.TableName()).substr(0, 8);
    const std::string cdx = ResolveNoDiretorio(".", base + ".CDX");
    const std::string aparte = base + ".INDAUX";
    bool renomeou = false;
    // The index file is set aside while the table is rebuilt, and put back
    // even when the statement fails, so the table never loses it.
    if (ArquivoExiste(cdx)) {
        ::remove(ResolveNoDiretorio(".", aparte).c_str());
        renomeou = GERAL().OBR_RENOMEIAARQ(cdx, aparte);
    }
    InstrucaoSQL sql;
    std::string dir;
    GERAL().RECUPERA_DIRCOMPLETOsemDRIVE(dir);
    sql.SetDatabaseName(dir);
    sql.SetSQL(STRINGSQL);
    try {
        sql.ExecSQL();
    } catch (...) {
        if (renomeou) GERAL().OBR_RENOMEIAARQ(aparte, cdx);
        throw;
    }
    if (renomeou) GERAL().OBR_RENOMEIAARQ(aparte, cdx);
}
