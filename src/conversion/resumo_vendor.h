#pragma once
// The end-of-run summary of the two Vendor conversions (see
// report/resumo_execucao.h): what the run object counted.

class TvenREMESSA;
class TvenRETORNO;

void RESUMO_REMESSA_VENDOR(const TvenREMESSA& run);
void RESUMO_RETORNO_VENDOR(const TvenRETORNO& run);
