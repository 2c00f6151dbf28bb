#pragma once
// The end-of-run summary of the two Vendor conversions (see
// report/resumo_execucao.h): what the run object counted.

class TvenREMESSA;
class TvenRETORNO;

void ResumoDaRemessaVendor(const TvenREMESSA& run);
void ResumoDoRetornoVendor(const TvenRETORNO& run);
