#include "core/texto/obr_digitos.h"

#include "core/geral.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_numeros.h"
#include "core/texto/obr_texto.h"

namespace {

// A character read as OBR_STRTOINT reads it alone: its digit, 0 for
// anything else. Every character of every document number and account
// of a run passes here, so without building a string for each.
int digito(char c) { return c >= '0' && c <= '9' ? c - '0' : 0; }

// The character at the 1-based position, read as a digit; 0 beyond the end.
int digitoEm(const std::string& t, std::size_t pos) {
    return pos >= 1 && pos <= t.size() ? digito(t[pos - 1]) : 0;
}

int restoParaDigito(int soma) {
    const int r = soma % 11;
    return r < 2 ? 0 : 11 - r;
}

}  // namespace

int OBR_SOMA(const std::string& pesos, const std::string& numero, int modo) {
    if (pesos.size() != numero.size()) {
        GERAL().MENSAGEM(
            "OBR_SOMA: PARÂMETROS INFORMADOS NÃO PODEM SER DE TAMANHOS DIFERENTES."_ansi +
                "\nPondera: " + pesos + "  (" + std::to_string(pesos.size()) + ")" +
                "\n Numero: " + numero + "  (" + std::to_string(numero.size()) + ")",
            somERRO);
        return 0;
    }
    int soma = 0;
    for (std::size_t i = 0; i < pesos.size(); ++i) {
        const int produto = digito(numero[i]) * digito(pesos[i]);
        if (modo != 0) {
            soma += produto;
        } else {
            const std::string dois = OBR_INTTOSTR(produto, 2);
            soma += digito(dois[0]) + digito(dois[1]);
        }
    }
    return soma;
}

std::string OBR_DAC11(int, const std::string& pesos, const std::string& numero) {
    return std::to_string(restoParaDigito(OBR_SOMA(pesos, numero, 1)));
}

bool OBR_CNPJCPF(const std::string& texto, std::string& mensagem) {
    mensagem.clear();
    const std::string limpo = AparaPontas(texto);
    if (limpo == "ISENTO" || limpo == "ILEGIVEL" || limpo == ".") return true;
    // Lengths are those of the trimmed text; positions count in the text as
    // handed in, so leading blanks make the digits fail.
    if (limpo.size() == 11) {
        int soma1 = 0, soma2 = 0;
        for (std::size_t i = 1; i <= 9; ++i) {
            soma1 += digitoEm(texto, i) * static_cast<int>(11 - i);
            soma2 += digitoEm(texto, i) * static_cast<int>(12 - i);
        }
        const int dv1 = restoParaDigito(soma1);
        soma2 += 2 * dv1;
        const int dv2 = restoParaDigito(soma2);
        if (dv1 != digitoEm(texto, 10) || dv2 != digitoEm(texto, 11) || soma2 == 0)
            mensagem = "CPF INFORMADO ESTÁ INCORRETO( DAC)."_ansi;
    } else if (limpo.size() == 14) {
        const std::string base = texto.substr(0, 12);
        const std::string dv1 = OBR_DAC11(0, "543298765432", base);
        const std::string dv2 = OBR_DAC11(0, "6543298765432", base + dv1);
        if (digito(dv1[0]) != digitoEm(texto, 13) || digito(dv2[0]) != digitoEm(texto, 14))
            mensagem = "CNPJ INFORMADO ESTÁ INCORRETO (DAC)."_ansi;
        if (limpo == "00000000000000")
            mensagem = "CNPJ NÃO PODE SER INFORMADO TODO ZERADO."_ansi;
    } else if (OBR_VAZIO(limpo)) {
        mensagem = "CNPJ/CPF NÃO FOI INFORMADO. OBRIGATÓRIO."_ansi;
    } else {
        mensagem = "NÃO IDENTIFICADO COMO CPF OU CNPJ."_ansi;
    }
    return mensagem.empty();
}
