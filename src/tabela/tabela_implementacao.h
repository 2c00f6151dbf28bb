#pragma once
// State of an open table object, shared by the files that implement Tabela.

#include <chrono>
#include <optional>
#include <string>
#include <unordered_map>

#include "core/texto/ansi.h"
#include "tabela/dbf_cabecalho.h"
#include "tabela/expressao_chave.h"
#include "tabela/indice_memoria.h"
#include "tabela/tabela.h"

struct Tabela::Implementacao {
    int fd = -1;
    std::string caminho;
    CabecalhoDbf cab;
    std::uint32_t conhecidos = 0;  // records already taken into the index and counts
    std::unordered_map<std::string, int> porNome;

    std::optional<ExpressaoChave> expressao;  // of the current tag
    std::unique_ptr<IndiceMemoria> indice;
    IndiceMemoria::Iter pos;
    bool posValida = false;

    long vivos = -1;  // live records; -1 = not counted yet
    bool travouRegistro = false;
    bool escreveu = false;
    std::string chaveAnterior;  // current tag's key of the record being edited
    std::string escrita;        // scratch for record + end mark
    // Change counter kept in reserved header bytes (24-27, which xBase
    // readers ignore) and raised by every edit or deletion. When it moves
    // without us, another process changed records, and the index is rebuilt
    // at the next First or Locate: keys it changed would otherwise be missed.
    std::uint32_t versao = 0;
    bool alteradoFora = false;
    // Index files this object must bring up to date when it closes.
    bool indicesPendentes = false;

    // The order of the tag is built at the first move or seek, and the
    // cursor of a table just opened in a tag's order goes to its first
    // record then: a run that only appends never builds it.
    bool primeiroAdiado = false;
    bool indiceConferido = false;  // the structural index file checked against it
    // The structural index file holds what the DBF holds: found so (or
    // rewritten) when checked, and still so, for no key of its one tag
    // changed since, by this object or, as far as the header tells, by
    // another. Closing then leaves the file as it is.
    bool indiceEmDia = false;

    // Appends kept for one write (IniciaLote .. EncerraLote).
    bool emLote = false;
    std::string lote;  // whole records, in order
    std::uint32_t noLote = 0;
    bool versaoAdiada = false;  // edits of the batch not yet told to others
    std::chrono::steady_clock::time_point inicioLote;
};


// What a wait for the header and append lock names.
inline std::string textoCabecalhoEmUso(const std::string& caminho) {
    return "O CABEÇALHO DA TABELA "_ansi + caminho + " ESTÁ TRAVADO POR OUTRO PROCESSO"_ansi;
}
