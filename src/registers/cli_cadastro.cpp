#include "registers/cli_cadastro.h"

#include "core/geral.h"
#include "core/obr_edita.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_digitos.h"
#include "core/texto/obr_numeros.h"
#include "core/texto/obr_texto.h"

namespace {

// The client fields the working fields stand for, one to one.
struct CampoTexto {
    const char* campo;
    std::string CamposCliente::*k;
};
struct CampoNumero {
    const char* campo;
    int CamposCliente::*k;
};

const CampoTexto kTextos[] = {
    {"ARQREMCLI", &CamposCliente::KARQREMCLI}, {"ARQREMBAN", &CamposCliente::KARQREMBAN},
    {"ARQRETBAN", &CamposCliente::KARQRETBAN}, {"ARQRETCLI", &CamposCliente::KARQRETCLI},
    {"LEGENINS", &CamposCliente::KLEGENINS},   {"IDENTEMP", &CamposCliente::KIDENTEMP},
    {"NUMCONV", &CamposCliente::KNUMCONV},     {"AGEFOR", &CamposCliente::KAGEFOR},
    {"CGCFOR", &CamposCliente::KCGCCLI},       {"TIPEQUCLI", &CamposCliente::KTIPEQUCLI},
    {"DIRTEMP", &CamposCliente::KDIRTEMP},     {"CODCOBLIQ", &CamposCliente::KCODCOBLIQ},
    {"CODCOBCON", &CamposCliente::KCODCOBCON}, {"NOMEPLAN", &CamposCliente::KNOMEPLAN},
};
const CampoNumero kNumeros[] = {
    {"ULTREMCLI", &CamposCliente::KULTREMCLI}, {"ULTREMBAN", &CamposCliente::KULTREMBAN},
    {"ULTRETBAN", &CamposCliente::KULTRETBAN}, {"ULTRETCLI", &CamposCliente::KULTRETCLI},
    {"NUMPROGOP", &CamposCliente::KNUMPROGOP}, {"ATIVICLI", &CamposCliente::KATIVICLI},
    {"ULTPASCLI", &CamposCliente::KULTPASCLI},
};
const CampoTexto kRegrasGuardadas[] = {
    {"CONHEACP1", &CamposCliente::KCONHEACP1}, {"CONHEACP2", &CamposCliente::KCONHEACP2},
    {"CONHEACP3", &CamposCliente::KCONHEACP3}, {"CONDETCP1", &CamposCliente::KCONDETCP1},
    {"CONDETCP2", &CamposCliente::KCONDETCP2}, {"CONDETCP3", &CamposCliente::KCONDETCP3},
};

// A type belongs to a set written as a string of codes.
bool noConjunto(const std::string& tipo, const char* conjunto) {
    return !tipo.empty() && std::string(conjunto).find(tipo) != std::string::npos;
}

// The code as CONVECLI keeps it: at most the field's width, trailing blanks
// dropped. Comparing in that form keeps a typed "ABC " from passing the
// duplicate check and then being stored over as a second "ABC".
std::string codigoGuardado(const std::string& codigo) {
    return AparaDireita(codigo.substr(0, 15));
}

}  // namespace

std::vector<LinhaCliente> LinhasDosClientes(Tabela& convecli) {
    std::vector<LinhaCliente> linhas;
    for (convecli.First(); !convecli.Eof(); convecli.Next())
        linhas.push_back({convecli.FieldByName("CODCLI").AsString(),
                          convecli.FieldByName("TIPOEMP").AsString(),
                          convecli.FieldByName("NOMEEMP").AsString(), convecli.RecNo()});
    return linhas;
}

bool ExcluiCliente(Tabela& convecli, Tabela& convepen) {
    const std::string codigo = convecli.FieldByName("CODCLI").AsString();
    if (convepen.Locate("CODCLI", {codigo})) {
        GERAL().MENSAGEM("CLIENTE COM REMESSAS PENDENTES DE RETORNO. NÃO PODE SER EXCLUÍDO."_ansi,
                         somERRO);
        return false;
    }
    if (!OBR_CONFIRMA("Confirma exclusão do Cliente selecionado ? "_ansi, "N_Cliente : " + codigo))
        return false;
    // Waits while another workstation holds the row.
    OBR_EDITA(convecli);
    convecli.Delete();
    return true;
}

TdetJANELA JanelaDeDetalheDoCliente(int itemIndex) {
    switch (itemIndex) {
        case 0: return detCOFAP;
        case 1: return detBR;
        case 2: return detCELPAV;
        case 3: return detWABCO;
        case 4:
        case 6:
        case 7: return detVENDOR250240;
        case 5: return detCOBRANCA;
        case 8: return detDESCONTO;
        default: return detNENHUMA;
    }
}

bool CLI_VALIDACAMPO(int inicio, int fim, const std::string& tipo, const std::string& original,
                     const std::string& traducao, std::string& mensagem) {
    mensagem.clear();
    if (inicio == 0 && fim == 0 && OBR_VAZIO(original) && OBR_VAZIO(traducao)) return true;
    const int registro = OBR_TAMREGISTRO(tipo);
    const long long tamanho = static_cast<long long>(fim) - inicio + 1;
    auto compara = [tamanho](const std::string& texto, const std::string& menor,
                             const std::string& maior) {
        const auto n = static_cast<long long>(AparaPontas(texto).size());
        return n < tamanho ? menor : n > tamanho ? maior : std::string();
    };
    if (inicio == 0)
        mensagem = "POSIÇÃO INICIAL NÃO INFORMADA."_ansi;
    else if (fim == 0)
        mensagem = "POSIÇÃO FINAL CAMPO NÃO INFORMADO."_ansi;
    else if (OBR_VAZIO(traducao))
        mensagem = "TRADUÇÃO PARA O CAMPO NÃO INFORMADA."_ansi;
    else if (fim > registro)
        mensagem = "POSIÇÃO FINAL DO CAMPO > TAMANHO DO REGISTRO("_ansi + OBR_INTTOSTR(registro, 3) + ")";
    else {
        mensagem = compara(original, "CAMPO ORIGINAL MENOR QUE O TAMANHO INFORMADO.",
                           "CAMPO ORIGINAL MAIOR QUE O TAMANHO INFORMADO.");
        if (mensagem.empty())
            mensagem = compara(traducao, "CAMPO DE TRADUÇÃO MENOR QUE O TAMANHO INFORMADO."_ansi,
                               "CAMPO DE TRADUÇÃO MAIOR QUE O TAMANHO INFORMADO."_ansi);
    }
    return mensagem.empty();
}

TcadCLIENTE::TcadCLIENTE(Tabela& convecli, const TmanCONVECLI& omanCONVECLI, TfmINCALT funcao)
    : KFUNCAO(funcao), convecli_(convecli), oman_(omanCONVECLI) {}

std::string TcadCLIENTE::Tipo() const {
    return oman_.CLI_TRTIPOEMP(trNUMERICOtoCODIGO, "", ITEMINDEX).texto;
}

void TcadCLIENTE::FormShow() {
    if (Inclusao()) {
        static_cast<CamposCliente&>(*this) = CamposCliente{};
    } else {
        TXTCODCLI = convecli_.FieldByName("CODCLI").AsString();
        ITEMINDEX = oman_.CLI_TRTIPOEMP(trCODIGOtoNUMERICO,
                                        convecli_.FieldByName("TIPOEMP").AsString(), 0)
                        .numero;
        TXTNOMEEMP = convecli_.FieldByName("NOMEEMP").AsString();
        for (const auto& c : kTextos) this->*c.k = convecli_.FieldByName(c.campo).AsString();
        for (const auto& c : kNumeros)
            this->*c.k = static_cast<int>(convecli_.FieldByName(c.campo).AsInteger());
        for (const auto& c : kRegrasGuardadas)
            this->*c.k = convecli_.FieldByName(c.campo).AsString();
    }
    if (ITEMINDEX == 1) {
        oman_.CLI_ABRBR("ABRE_FILIAIS", KTBBRFILIAL, KCONDETCP1);
    } else {
        oman_.CLI_ABRPARAM(KTBHEACON, KCONHEACP1, KCONHEACP2, KCONHEACP3);
        oman_.CLI_ABRPARAM(KTBDETCON, KCONDETCP1, KCONDETCP2, KCONDETCP3);
    }
}

bool TcadCLIENTE::DetalhaCliente() {
    if (ITEMINDEX == -1) {
        GERAL().MENSAGEM(
            "AINDA NÃO FOI DEFINIDO O TIPO DA EMPRESA. NÃO PODE FAZER O DETALHAMENTO."_ansi,
            somERRO);
        return false;
    }
    if (Inclusao() && ITEMINDEX != tipoDosPadroes_) {
        tipoDosPadroes_ = ITEMINDEX;
        switch (ITEMINDEX) {
            case 5:  // Cobrança 400
                KCONHEACP1 = "036046";
                KCONHEACP2 = "077079";
                KCONDETCP1 = "020037";
                KCONDETCP2 = "063065";
                break;
            case 7:  // Vendor 250
                KCONHEACP1 = "036046";
                KCONDETCP1 = "101105";
                break;
            case 4:  // Cobrança 240
            case 6:  // Vendor 240
                KCONHEACP1 = "059071";
                break;
            default:
                break;
        }
        oman_.CLI_ABRPARAM(KTBHEACON, KCONHEACP1, KCONHEACP2, KCONHEACP3);
        oman_.CLI_ABRPARAM(KTBDETCON, KCONDETCP1, KCONDETCP2, KCONDETCP3);
    }
    return true;
}

bool TcadCLIENTE::CLI_KMENS(bool gravar) {
    const std::string t = Tipo();
    // Group 2's failure replaces group 1's message, group 4's replaces group
    // 3's; groups 3 and 4 are looked at only once 1 and 2 pass.
    std::string mensagem = falhaNosDados(t);
    if (std::string m = falhaNoContratoVendor(t); !m.empty()) mensagem = std::move(m);
    if (mensagem.empty()) {
        mensagem = falhaNasRegras(t);
        if (std::string m = falhaNaGuardaDeRetornos(t); !m.empty()) mensagem = std::move(m);
    }
    if (!mensagem.empty()) {
        GERAL().MENSAGEM(mensagem, somERRO);
        return false;
    }
    if (gravar) grava(t);
    return true;
}

std::string TcadCLIENTE::falhaNosDados(const std::string& t) {
    // Group 1: the first failing check.
    std::string cnpj;
    if (OBR_VAZIO(TXTCODCLI)) return "CÓDIGO DO CLIENTE NÃO FOI INFORMADO."_ansi;
    if (Inclusao() && convecli_.Locate("CODCLI", {codigoGuardado(TXTCODCLI)}))
        return "CÓDIGO DO CLIENTE INFORMADO JÁ EXISTENTE NA TABELA."_ansi;
    if (OBR_VAZIO(TXTNOMEEMP)) return "NOME DA EMPRESA NÃO FOI INFORMADO."_ansi;
    if (OBR_VAZIO(KARQREMBAN) && noConjunto(t, "1234"))
        return "NOME DO ARQUIVO REMESSA DO BANCO NÃO INFORMADO."_ansi;
    if (OBR_VAZIO(KARQRETBAN) && noConjunto(t, "124"))
        return "NOME DO ARQUIVO RETORNO DO BANCO NÃO INFORMADO."_ansi;
    if (OBR_VAZIO(KARQRETCLI) && noConjunto(t, "14ACVDR"))
        return "NOME DO ARQUIVO RETORNO DO CLIENTE NÃO INFORMADO."_ansi;
    if (OBR_VAZIO(KLEGENINS) && noConjunto(t, "134")) return "LEGENDA (MNEMÔNICO) NÃO INFORMADO."_ansi;
    if (!OBR_VAZIO(KLEGENINS) && !OBR_ISLETRA(KLEGENINS))
        return "LEGENDA (MNEMÔNICO) DEVE INICIAR COM LETRA."_ansi;
    if (OBR_VAZIO(KIDENTEMP) && noConjunto(t, "134D"))
        return "IDENTIFICAÇÃO DA EMPRESA NO BANCO NÃO INFORMADA."_ansi;
    if (KNUMPROGOP == 0 && t == "4") return "CÓDIGO DA EMPRESA CONSIGNANTE NÃO INFORMADO."_ansi;
    if (OBR_VAZIO(KCGCCLI) && t == "1") return "CNPJ DO CLIENTE NÃO FOI INFORMADO."_ansi;
    if (!OBR_VAZIO(KCGCCLI) && !OBR_CNPJCPF(KCGCCLI, cnpj)) return cnpj;
    return {};
}

std::string TcadCLIENTE::falhaNoContratoVendor(const std::string& t) const {
    // Group 2, Celpav and Cofap.
    if (!noConjunto(t, "31")) return {};
    if (KNUMPROGOP == 0) return "PROGRAMA OPERACIONAL DA EMPRESA NÃO INFORMADO."_ansi;
    if (KATIVICLI == 0) return "CÓDIGO DA ATIVIDADE DO CLIENTE NÃO INFORMADO."_ansi;
    if (KTIPEQUCLI != "S" && KTIPEQUCLI != "N" && KTIPEQUCLI != "D")
        return "NÃO IDENTIFICADO SE É EQUALIZAÇÃO ANTECIPADA OU NÃO."_ansi;
    if (OBR_VAZIO(KNUMCONV)) return "NÚMERO DO CONVÊNIO NÃO INFORMADO."_ansi;
    if (OBR_VAZIO(KAGEFOR)) return "CÓDIGO DA AGÊNCIA NÃO INFORMADA."_ansi;
    return {};
}

std::string TcadCLIENTE::falhaNasRegras(const std::string& t) const {
    // Group 3: the translation rules of the types whose files are checked;
    // the first rule that fails, header rules first.
    if (!noConjunto(t, "ACVV")) return {};
    for (const TKTBCONVE* regras : {&KTBHEACON, &KTBDETCON}) {
        for (int n = 1; n <= TKTBCONVE::Tamanho(); ++n) {
            const TXKTBCONVE& r = (*regras)[n];
            std::string motivo;
            if (!CLI_VALIDACAMPO(r.S5_INI, r.S5_FIN, t, r.S5_ORI, r.S5_TRA, motivo))
                return "CAMPO " + std::to_string(n) + " : " + motivo;
        }
    }
    return {};
}

std::string TcadCLIENTE::falhaNaGuardaDeRetornos(const std::string& t) const {
    // Group 4: the collection types that park returns need both the
    // directory and a code.
    if ((t != "A" && t != "C") || (KCODCOBLIQ.empty() && KCODCOBCON.empty() && KDIRTEMP.empty())) return {};
    if (OBR_VAZIO(KDIRTEMP)) return "DIRETÓRIO TEMPORÁRIO PRECISA SER INFORMADO (PARA CÓDIGO)."_ansi;
    if (OBR_VAZIO(KCODCOBLIQ) && OBR_VAZIO(KCODCOBCON))
        return "PELO MENOS UM CÓDIGO PRECISA SER INFORMADO (COM DIRETÓRIO)."_ansi;
    return {};
}

void TcadCLIENTE::grava(const std::string& tipo) {
    const std::string codigo = codigoGuardado(TXTCODCLI);
    const bool existe = convecli_.Locate("CODCLI", {codigo});
    GravaRegistroDoCadastro(
        convecli_, existe,
        [&] {
            convecli_.FieldByName("CODCLI").SetAsString(TXTCODCLI);
            convecli_.FieldByName("DATAINC").SetAsDate(GERAL().DATADIA);
        },
        [&] {
            convecli_.FieldByName("TIPOEMP").SetAsString(tipo);
            convecli_.FieldByName("NOMEEMP").SetAsString(TXTNOMEEMP);
            for (const auto& c : kTextos) convecli_.FieldByName(c.campo).SetAsString(this->*c.k);
            for (const auto& c : kNumeros) convecli_.FieldByName(c.campo).SetAsInteger(this->*c.k);
            if (tipo == "2")
                oman_.GravaFiliaisDoCliente(convecli_, KTBBRFILIAL);
            else
                oman_.GravaRegrasDoCliente(convecli_, KTBHEACON, KTBDETCON);
        });
}
