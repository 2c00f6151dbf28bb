#pragma once
// The four tables of a data directory: file names, field layouts (version
// 2.20) and the index tag of each. The running system never creates tables;
// the installer does, from these layouts.

#include <string>
#include <vector>

#include "tabela/campo.h"

struct EsquemaTabela {
    std::string arquivo;    // "CONVECLI.DBF"
    std::string tag;        // empty = no index
    std::string expressao;  // key expression of the tag
    std::vector<DefCampo> campos;
};

const EsquemaTabela& EsquemaConveins();
const EsquemaTabela& EsquemaConvecli();
const EsquemaTabela& EsquemaConvepen();
const EsquemaTabela& EsquemaConvetax();
// In the order the installer creates them.
std::vector<const EsquemaTabela*> EsquemasDasTabelas();

inline constexpr const char* kVersaoBanco = "2.20";
