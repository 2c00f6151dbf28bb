#include "registers/manconvecli.h"

#include "core/texto/ansi.h"
#include "core/texto/obr_numeros.h"
#include "core/texto/obr_texto.h"

namespace {

TXKTBCONVE regraDoTexto(const std::string& t) {
    TXKTBCONVE r;
    r.S5_INI = OBR_STRTOINT(TrechoDe(t, 1, 3));
    r.S5_FIN = OBR_STRTOINT(TrechoDe(t, 4, 3));
    r.S5_ORI = AparaDireita(TrechoDe(t, 7, 30));
    r.S5_TRA = TrechoDe(t, 37, 30);
    return r;
}

}  // namespace

const std::array<TipoEmpresa, 9>& TiposDeEmpresa() {
    static const std::array<TipoEmpresa, 9> tipos{{
        {"1", "1) Cofap", "Conversao de Vendor - Cofap"},
        {"2", "2) BR", "Conversao de Vendor - BR"},
        {"3", "3) Celpav", "Conversao de Vendor - Celpav"},
        {"4", "4) Wabco", "Conversao de Vendor - Wabco"},
        {"A", "Cobrança 240"_ansi, "Concatenacao de Remessa de Cobranca 240"},
        {"C", "Cobrança 400"_ansi, "Concatenacao de Remessa de Cobranca 400"},
        {"R", "Vendor 240", "Concatenacao de Remessa de Vendor 240"},
        {"V", "Vendor 250", "Concatenacao de Remessa de Vendor 250"},
        {"D", "Desconto", "Concatenacao de Remessa de Desconto 400"},
    }};
    return tipos;
}

TraducaoCONVECLI TmanCONVECLI::CLI_TRTIPOEMP(TsaiTRADUZ modo, const std::string& codigo,
                                             int indice) const {
    const auto& tipos = TiposDeEmpresa();
    TraducaoCONVECLI r;
    switch (modo) {
        case trCODIGOtoNUMERICO:
            for (std::size_t i = 0; i < tipos.size(); ++i)
                if (codigo == tipos[i].codigo) r.numero = static_cast<int>(i);
            break;
        case trNUMERICOtoCODIGO:
            if (indice >= 0 && indice < static_cast<int>(tipos.size()))
                r.texto = tipos[static_cast<std::size_t>(indice)].codigo;
            break;
        case trCODIGOtoTEXTO:
            r.texto = "Conteudo invalido - KTIPOEMPSTR: " + codigo;
            for (const auto& t : tipos)
                if (codigo == t.codigo) r.texto = t.texto;
            break;
        case saiVARIAVEL:
            break;
    }
    return r;
}

TraducaoCONVECLI TmanCONVECLI::CLI_TRTIPEQUCLI(TsaiTRADUZ modo, const std::string& codigo,
                                               int indice) const {
    static const char* const kCodigos[] = {"S", "N", "D"};
    TraducaoCONVECLI r;
    switch (modo) {
        case trCODIGOtoTEXTO:
            r.texto = codigo == "S"   ? "Sim"
                      : codigo == "N" ? "Não"_ansi
                      : codigo == "D" ? "Depende"
                                      : "-------";
            break;
        case trCODIGOtoNUMERICO:
            r.numero = codigo == "S" ? 0 : codigo == "D" ? 2 : 1;
            break;
        case trNUMERICOtoCODIGO:
            // Nothing chosen (-1) or anything unknown is "N".
            r.texto = indice >= 0 && indice <= 2 ? kCodigos[indice] : "N";
            break;
        case saiVARIAVEL:
            break;
    }
    return r;
}

void TmanCONVECLI::CLI_ABRPARAM(TKTBCONVE& regras, const std::string& texto1,
                                const std::string& texto2, const std::string& texto3) const {
    regras[1] = regraDoTexto(texto1);
    regras[2] = regraDoTexto(texto2);
    regras[3] = regraDoTexto(texto3);
}

std::string TmanCONVECLI::FechaParametrosDoCliente(const TXKTBCONVE& regra) const {
    return OBR_INTTOSTR(regra.S5_INI, 3) + OBR_INTTOSTR(regra.S5_FIN, 3) +
           OBR_AJUSTA(regra.S5_ORI, 30, true, 0) + OBR_AJUSTA(regra.S5_TRA, 30, true, 0);
}

std::string TmanCONVECLI::CLI_ABRBR(const std::string& modo, TKTBBRFILIAL& filiais,
                                    const std::string& texto) const {
    if (modo == "ABRE_FILIAIS") {
        for (int k = 1; k <= TKTBBRFILIAL::Tamanho(); ++k) {
            const int inicio = 9 * (k - 1) + 1;
            filiais[k].S6_FILIAL = TrechoDe(texto, inicio, 3);
            filiais[k].S6_ULTRETBR = OBR_STRTOINT(TrechoDe(texto, inicio + 3, 6));
        }
        return {};
    }
    std::string guardado;
    for (int k = 1; k <= TKTBBRFILIAL::Tamanho(); ++k)
        guardado += OBR_AJUSTA(filiais[k].S6_FILIAL, 3, true, 0) +
                    OBR_INTTOSTR(filiais[k].S6_ULTRETBR, 6);
    return guardado;
}
