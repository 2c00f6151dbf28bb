#include "conversion/ret_arquivo_banco.h"

#include <cmath>

#include "conversion/ret_perfis.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_numeros.h"
#include "core/texto/obr_texto.h"

std::string CampoDoRetorno(const std::string& linha, int inicio, int tamanho) {
    const auto i = static_cast<std::size_t>(inicio - 1);
    if (i >= linha.size()) return {};
    return linha.substr(i, static_cast<std::size_t>(tamanho));
}

Centavos ValorDoRetorno(const std::string& linha, int inicio) {
    return CentavosDoCampo(CampoDoRetorno(linha, inicio, 15));
}

bool LinhaVazia(const std::string& linha) {
    return linha.find_first_not_of(' ') == std::string::npos;
}

int GeracaoDoHeader(const std::string& header) {
    return OBR_STRTOINT(CampoDoRetorno(header, 118, 6));
}

std::string ConfereHeaderDoRetorno(const std::string& header, const std::string& tipoEmpresa,
                              const std::string& identemp, int geracaoEsperada) {
    const TvenPERFILRETORNO* perfil = PerfilDoRetorno(tipoEmpresa);
    if (TipoDoRegistroRetorno(header) != (perfil && perfil->consignacao ? "40" : "10"))
        return "ARQUIVO RETORNO DO BANCO SEM O REGISTRO HEADER.";
    if (CampoDoRetorno(header, 12, 7) != "RETORNO")
        return "ARQUIVO LIDO NÃO IDENTIFICADO COMO RETORNO PELO HEADER."_ansi;
    if (!perfil || !perfil->confereIdentificacao) return {};
    const std::string informado = CampoDoRetorno(header, 36, 20);
    if (AparaPontas(informado) != AparaPontas(identemp))
        return "IDENTIFICAÇÃO DA EMPRESA NÃO BATE COM O INFORMADO NO HEADER.\r\nInformado no Header : "_ansi +
               informado + "\r\n" + "Tabela de Clientes - Identificação : "_ansi + identemp;
    const int lida = GeracaoDoHeader(header);
    if (lida != geracaoEsperada)
        return "ARQUIVO RETORNO INFORMADO AO SISTEMA NãO CORRESPONTE AO ESPERADO.\r\n Arquivo esperado : "_ansi +
               std::to_string(geracaoEsperada) + "\r\n" + "Arquivo informado : " +
               std::to_string(lida);
    return {};
}

TvenTOTAISRETORNO LeTotaisDoRetorno(const std::vector<std::string>& linhas, bool br) {
    TvenTOTAISRETORNO t;
    auto conta = [&t](int i, Centavos valor) {
        ++t.qtdLida[i];
        t.valorLido[i] += valor;
    };
    for (const std::string& l : linhas) {
        const std::string tipo = TipoDoRegistroRetorno(l);
        if (tipo == "11") conta(0, ValorDoRetorno(l, 57));
        else if (tipo == "13") conta(1, ValorDoRetorno(l, 52));
        else if (tipo == "14") conta(2, ValorDoRetorno(l, 77));
        else if (tipo == "19") {
            t.temTrailler = true;
            t.qtdInformada[0] += OBR_STRTOINT(CampoDoRetorno(l, 11, 5));
            t.qtdInformada[1] += OBR_STRTOINT(CampoDoRetorno(l, 31, 5));
            t.qtdInformada[2] += OBR_STRTOINT(CampoDoRetorno(l, 111, 5));
            t.valorInformado[0] += ValorDoRetorno(l, 36);
            t.valorInformado[1] += ValorDoRetorno(l, 96);
            t.valorInformado[2] += ValorDoRetorno(l, 116);
        } else if (tipo == "49") {
            t.temTrailler = true;
            for (int i = 0; i < 3; ++i) t.qtdInformada[i] = t.valorInformado[i] = 0;
        }
        if (br && tipo != "10" && tipo != "19" && !LinhaVazia(l)) {
            const std::string filial = CampoDoRetorno(l, 242, 3);
            bool nova = true;
            for (const std::string& f : t.filiais)
                if (f == filial) {
                    nova = false;
                    break;
                }
            if (nova) t.filiais.push_back(filial);
        }
    }
    return t;
}

namespace {

// Laid out by the message's picture; a value the picture cannot hold is
// written with a wider one of the same style rather than as asterisks.
std::string figura(const char* picture, const char* maior, double valor) {
    const std::string r = OBR_PICTURE(picture, valor);
    return r.find('*') == std::string::npos ? r : OBR_PICTURE(maior, valor);
}

std::string T(Centavos centavos) {
    return figura("@E 999,999,999,999.99", "@E 999,999,999,999,999,999,999.99",
                  EmReais(centavos));
}

std::string C(long long n) {
    return figura("@E 99,999", "@E 999,999,999", static_cast<double>(n));
}

}  // namespace

std::string ConfereTotaisDoRetorno(const TvenTOTAISRETORNO& t) {
    if (!t.temTrailler) return "ARQUIVO RETORNO DO BANCO SEM O REGISTRO TRAILLER.";
    bool igual = true;
    for (int i = 0; i < 3; ++i)
        igual = igual && t.qtdLida[i] == t.qtdInformada[i] && t.valorLido[i] == t.valorInformado[i];
    if (igual) return {};
    const char* const rotulos[] = {"Reg. 11 - Total informado : ", "Reg. 13 - Total informado : ",
                                   "Reg. 14 - Total informado : "};
    std::string m = "TOTAL INFORMADO NO TRAILLER NÃO BATE COM O OBTIDO NA LEITURA.\r\n"_ansi;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) m += "\r\n";
        m += rotulos[i] + T(t.valorInformado[i]) + " - " + C(t.qtdInformada[i]) + "\r\n" +
             "               Total lido : " + T(t.valorLido[i]) + " - " + C(t.qtdLida[i]);
    }
    return m;
}
