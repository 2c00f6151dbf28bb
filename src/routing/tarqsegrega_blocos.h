#pragma once
// Inside the segregation: a client block being written and the entries that
// wait to be delivered, shared by the splitting rule (tarqsegrega.cpp) and
// the delivery of what it splits (tarqsegrega_entrega.cpp).

#include <memory>
#include <string>

#include "routing/arquivo_produto.h"
#include "routing/tarqsegrega.h"

struct TarqSEGREGA::Bloco {
    const ClienteRetorno* cliente = nullptr;
    std::unique_ptr<ArquivoProduto> arquivo;
    std::string banco;  // bank code carried from the header to the trailer
    // A client whose detail rules can change no line gets its details as
    // the bank sent them: those that follow each other in the bank file are
    // copied in one piece, without passing through the run, when a changed
    // line or the block's end comes. (Where lines change, runs are short and
    // the copies would cost more than they save.)
    bool copia = false;
    int origem = -1;
    long long trechoInicio = 0;
    long long trechoBytes = 0;
    long trechoRegistros = 0;
};

// A finished block, or a log event that came after one still waiting.
struct TarqSEGREGA::Pendencia {
    std::unique_ptr<Bloco> bloco;
    std::string nome;     // KARQRETCLI of the event
    std::string texto;    // ARQ_OCORRENCIA text, or the log file line
    bool soNoArquivoDeLog = false;
};
