#pragma once
// The end-of-run summary of the concatenation, the segregation and the
// cleanup (see report/resumo_execucao.h): what the run object counted.

class TarqCONCATENA;
class TarqSEGREGA;
class TpenLIMPEZA;

void ResumoDaConcatenacao(TarqCONCATENA& run);
void ResumoDaSegregacao(const TarqSEGREGA& run);
void ResumoDaLimpeza(const TpenLIMPEZA& run);
