#include "routing/consolidacao_retorno.h"

#include <stdexcept>

#include "core/texto/obr_datas.h"
#include "core/texto/obr_numeros.h"
#include "core/texto/obr_texto.h"

namespace {

// The text blank-filled or cut to the width: every field keeps its place
// even when a parked line ends early.
std::string ajustado(std::string_view texto, std::size_t largura) {
    std::string r(texto.substr(0, largura));
    r.resize(largura, ' ');
    return r;
}

std::string zeros(int largura, Centavos valor) {
    return OBR_ZEROS(largura, 0, static_cast<double>(valor));
}

}  // namespace

bool EhEstacionado(const std::string& nome) {
    // Only the names the segregation gives: "RC", the time, ".", the number.
    if (nome.size() != 12 || nome.compare(0, 2, "RC") != 0 || nome[8] != '.') return false;
    for (std::size_t i : {2u, 3u, 4u, 5u, 6u, 7u, 9u, 10u, 11u})
        if (nome[i] < '0' || nome[i] > '9') return false;
    const std::string fim = nome.substr(9);
    return fim > "000" && fim < "999";
}

std::string NomeConsolidado(const std::string& arqretcli, int arquivo) {
    const auto ponto = arqretcli.find('.');
    const std::string base = ponto == std::string::npos ? arqretcli + "." : arqretcli.substr(0, ponto + 1);
    return base + "RT" + std::to_string(arquivo);
}

bool OcorrenciaNaLista(const std::string& ocorrencia, const std::string& lista) {
    return ListaDeOcorrencias(lista).Contem(ocorrencia);
}

ListaDeOcorrencias::ListaDeOcorrencias(const std::string& lista)
    : lista_(lista), todos_(AparaPontas(lista) == "TODOS") {}

std::size_t BaldesOcorrencia::indice(std::string_view balde) {
    static const char* const nomes[] = {"02", "06", "10", "12", "13", "14", "19"};
    for (std::size_t i = 0; i < 7; ++i)
        if (balde == nomes[i]) return i;
    throw std::logic_error("balde de ocorrencia desconhecido");
}

namespace {

// The bucket of an occurrence; empty for the codes counted nowhere. After
// 02 and 06, any code found within "06,10" is 10's.
std::string_view baldeDe(std::string_view ocorrencia) {
    if (ocorrencia == "02" || ocorrencia == "06" || ocorrencia == "12" || ocorrencia == "13" ||
        ocorrencia == "14" || ocorrencia == "19")
        return ocorrencia;
    if (ocorrencia.size() == 2 && std::string_view("06,10").find(ocorrencia) != std::string_view::npos)
        return "10";
    return {};
}

}  // namespace

bool BaldesOcorrencia::TemBalde(std::string_view ocorrencia) { return !baldeDe(ocorrencia).empty(); }

void BaldesOcorrencia::Conta(std::string_view ocorrencia, Centavos valor) {
    const std::string_view balde = baldeDe(ocorrencia);
    if (balde.empty()) return;
    const std::size_t i = indice(balde);
    ++quantidades_[i];
    valores_[i] += valor;
}

std::string HeaderConsolidado(const std::string& ultimoHeader, TData data, int numero) {
    const std::string h = ajustado(ultimoHeader, 400);
    const std::string d = OBR_DATATOTEXTO("DATA_DDMMAA", data);
    return h.substr(0, 94) + d + h.substr(100, 8) + zeros(5, numero) + h.substr(113, 266) + d +
           h.substr(385, 15);
}

std::string DetalheConsolidado(std::string_view detalhe, long numero) {
    std::string r;
    DetalheConsolidado(detalhe, numero, r);
    return r;
}

void DetalheConsolidado(std::string_view detalhe, long numero, std::string& r) {
    const std::string_view inicio = detalhe.substr(0, 394);
    r.assign(inicio.data(), inicio.size());
    r.resize(394, ' ');
    if (numero < 0 || numero > 999999) {
        r += zeros(6, numero);
        return;
    }
    // Every detail of a day passes here: its six digits without the general
    // number conversion.
    r.resize(400);
    for (int i = 399; i >= 394; --i, numero /= 10) r[static_cast<std::size_t>(i)] = static_cast<char>('0' + numero % 10);
}

std::string TrailerConsolidado(const std::string& ultimoTrailer, int numeroHeader,
                                const BaldesOcorrencia& b, long registros) {
    auto par = [&b](const char* balde) { return zeros(5, b.Quantidade(balde)) + zeros(12, b.Valor(balde)); };
    return ajustado(ultimoTrailer, 39) + zeros(8, numeroHeader) + std::string(10, ' ') + par("02") +
           zeros(12, b.Valor("06")) + zeros(5, b.Quantidade("06")) + zeros(12, b.Valor("10")) +
           par("10") + par("13") + par("14") + par("12") + par("19") + std::string(174, ' ') +
           std::string(15, '0') + std::string(8, '0') + std::string(9, ' ') + zeros(6, registros);
}
