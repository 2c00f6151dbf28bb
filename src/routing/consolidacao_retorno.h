#pragma once
// Layout of the consolidated Cobrança 400 returns: the first and second
// return files a client receives at the end of its day, rebuilt from the
// returns parked in its temporary directory. Every record is 400 columns;
// the header is record 1 and every record ends in its number.

#include <array>
#include <string>
#include <string_view>

#include "core/texto/calendario.h"
#include "core/texto/centavos.h"

// A parked return by its name (upper case): the name the segregation gives
// it, "RC" + hhmmss + "." + a number from 001 to 998; any other file of the
// directory is not the system's to consolidate and delete.
bool EhEstacionado(const std::string& nome);

// First (1) or second (2) consolidated file of a client: its return file
// name up to and including the first ".", then "RT1" or "RT2". A name
// without "." keeps it whole and takes ".RT1", so that two such clients do
// not share one file.
std::string NomeConsolidado(const std::string& arqretcli, int arquivo);

// The occurrence code is in the list ("TODOS" takes every code). A code is
// two characters; anything shorter belongs to no list.
bool OcorrenciaNaLista(const std::string& ocorrencia, const std::string& lista);

// The same test for one list and many codes.
class ListaDeOcorrencias {
public:
    explicit ListaDeOcorrencias(const std::string& lista);
    bool Contem(std::string_view ocorrencia) const {
        return todos_ || (ocorrencia.size() == 2 && lista_.find(ocorrencia) != std::string::npos);
    }

private:
    std::string lista_;
    bool todos_;
};

// Counts and amounts (in cents, the digits at detail 153-165) per
// occurrence bucket: 02, 06, 10, 12, 13, 14, 19.
class BaldesOcorrencia {
public:
    // The occurrence has a bucket.
    static bool TemBalde(std::string_view ocorrencia);
    void Conta(std::string_view ocorrencia, Centavos valor);
    long long Quantidade(const char* balde) const { return quantidades_[indice(balde)]; }
    Centavos Valor(const char* balde) const { return valores_[indice(balde)]; }

private:
    static std::size_t indice(std::string_view balde);
    std::array<long long, 7> quantidades_{};
    std::array<Centavos, 7> valores_{};
};

// Header: the last header line met, with the latest header date at 95-100
// and 380-385 and the number at 109-113.
std::string HeaderConsolidado(const std::string& ultimoHeader, TData data, int numero);
// Detail: positions 1-394 of the parked detail, then its record number.
std::string DetalheConsolidado(std::string_view detalhe, long numero);
// The same into `registro`, whose memory serves record after record.
void DetalheConsolidado(std::string_view detalhe, long numero, std::string& registro);
// Trailer: positions 1-39 of the last trailer line met, the header number,
// the buckets and the number of records in the file.
std::string TrailerConsolidado(const std::string& ultimoTrailer, int numeroHeader,
                                const BaldesOcorrencia& baldes, long registros);
