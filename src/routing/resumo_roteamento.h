#pragma once
// The end-of-run summary of the concatenation, the segregation and the
// cleanup (see report/resumo_execucao.h): what the run object counted.

class TarqCONCATENA;
class TarqSEGREGA;
class TpenLIMPEZA;

void RESUMO_CONCATENACAO(TarqCONCATENA& run);
void RESUMO_SEGREGACAO(const TarqSEGREGA& run);
void RESUMO_LIMPEZA(const TpenLIMPEZA& run);
