#pragma once
// Reorganisation of the tables: deleted records are packed away and each
// table's index is written anew. Needs the three indexed tables exclusively.

enum TopcCONFIRMA { opcCOM_CONFIRMACAO, opcSEM_CONFIRMACAO };

// With opcCOM_CONFIRMACAO the operator is asked first; Não leaves every file
// as it was. Engine errors (a table in use elsewhere, a missing file) are not
// caught: the remaining tables are skipped. A table whose file is shorter
// than its header says is repaired only if the operator confirms (the
// default answer, that of an unattended run, is Não); declined, it stays as
// it was and its ErroTabelaIncompleta says it was not repaired.
void ARQ_REORGANIZA(TopcCONFIRMA KOPCAOCONFIRMA);
