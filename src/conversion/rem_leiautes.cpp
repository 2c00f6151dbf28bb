#include "conversion/rem_leiautes.h"

#include "core/texto/ansi.h"
#include "core/texto/obr_datas.h"
#include "core/texto/obr_digitos.h"
#include "core/texto/obr_numeros.h"
#include "core/texto/obr_texto.h"

namespace {

TData aaaammdd(const std::string& linha, int inicio) {
    return OBR_TEXTOTODATA("AAAAMMDD_DATA", CampoDaRemessa(linha, inicio, 8));
}

// The reference date of a remittance is its earliest operation date, but
// never later than this.
TData referenciaInicial() { return CodificaData(2019, 12, 31); }

// Values Cofap and Celpav files do not carry.
void valoresFixosDoCliente(TvenCAMPOSREMESSA& k, const TvenCLIENTE& cliente) {
    k.KNUMCONV = cliente.NUMCONV;
    k.KAGEFOR = cliente.AGEFOR;
    k.KATIVICLI = OBR_ZEROS(4, 0, cliente.ATIVICLI);
    k.KTBPLA.S3_CGC1AVAL = std::string(15, '0');
    k.KTBPLA.S3_CGC2AVAL = std::string(15, '0');
    k.KTBPLA.S3_NUMAUT = std::string(8, '0');
    k.KDATACONTR.clear();
    k.KTBPLA.S3_NUMPARC = 1;
}

}  // namespace

std::string CampoDaRemessa(const std::string& linha, int inicio, int tamanho) {
    const auto i = static_cast<std::size_t>(inicio - 1);
    if (inicio < 1 || tamanho <= 0 || i >= linha.size()) return {};
    return linha.substr(i, static_cast<std::size_t>(tamanho));
}

void CampoDaRemessaEm(std::string& destino, const std::string& linha, int inicio, int tamanho) {
    const auto i = static_cast<std::size_t>(inicio - 1);
    if (inicio < 1 || tamanho <= 0 || i >= linha.size()) destino.clear();
    else destino.assign(linha, i, static_cast<std::size_t>(tamanho));
}

void ValoresIniciaisDaRemessa(TvenCAMPOSREMESSA& k, const TvenCLIENTE& cliente, TData hoje,
                         const std::string& horaHHMMSS) {
    k.KDATAPRO = hoje;
    k.KHORAPRO = horaHHMMSS;
    k.KDDDTELRAM = std::string(15, '0');
    k.KNUMANDCOM = std::string(8, '0') + std::string(10, ' ');
    k.KBAIRRO = std::string(15, ' ');
    k.KIDENTEMP = cliente.IDENTEMP;
    k.KNOMEEMP = cliente.NOMEEMP;
    k.KLEGENINS = cliente.LEGENINS;
    k.KNUMPROGOP = cliente.NUMPROGOP;
    k.KDATAREF = referenciaInicial();
}

TData DataInicioCofap(const std::string& primeiraLinha) {
    return aaaammdd(primeiraLinha, 148);
}

void PreparaCofap(TvenCAMPOSREMESSA& k, const TvenCLIENTE& cliente, TData inicioContrato,
                      TData hoje) {
    k.KDATAPED = inicioContrato;
    valoresFixosDoCliente(k, cliente);
    k.KTBPLA.S3_DATAMOV = hoje;
    if (k.KDATAPED < k.KDATAREF) k.KDATAREF = k.KDATAPED;
}

void PreparaCelpav(TvenCAMPOSREMESSA& k, const TvenCLIENTE& cliente,
                       const std::vector<std::string>& linhas) {
    for (std::size_t i = kCELPAV_LINHAS_CABECALHO; i < linhas.size(); ++i) {
        const TData data = OBR_STRTODATA(CampoDaRemessa(linhas[i], 12, 10));
        // A line without a valid date is rejected by the checks and never
        // reaches the bank; it must not blank the reference date of the
        // operations that do.
        if (data != 0 && data < k.KDATAREF) k.KDATAREF = data;
    }
    valoresFixosDoCliente(k, cliente);
}

void PreparaWabco(TvenCAMPOSREMESSA& k, TData hoje) {
    k.KDATAREF = hoje;
    k.KTBPLA.S3_DATAMOV = hoje;
}

bool BrTemHeader(const std::vector<std::string>& linhas) {
    return !linhas.empty() && linhas[0].compare(0, 2, "00") == 0;
}

void LeLinhaCofap(TvenCAMPOSREMESSA& k, const std::string& l) {
    k.KNUMPED = CampoDaRemessa(l, 3, 8) + std::string(7, ' ');
    CampoDaRemessaEm(k.KCGCCLI, l, 13, 14);
    CampoDaRemessaEm(k.KNOMECLI, l, 27, 35);
    CampoDaRemessaEm(k.KENDERECO, l, 62, 35);
    CampoDaRemessaEm(k.KCIDADE, l, 97, 20);
    CampoDaRemessaEm(k.KESTADO, l, 127, 2);
    k.KCEPCLI = CampoDaRemessa(l, 129, 5) + CampoDaRemessa(l, 135, 3);
    k.KTBPLA.S3_DTLIQUI = aaaammdd(l, 156);
    k.KTBPLA.S3_DTPRIPAR = k.KTBPLA.S3_DTLIQUI;
    k.KTBPLA.S3_TAXABAN = OBR_VALOR(CampoDaRemessa(l, 176, 6));
    k.KTBPLA.S3_PRINFIN = OBR_VALOR(CampoDaRemessa(l, 182, 16));
    k.KTBPLA.S3_TAXAFOR = OBR_VALOR(CampoDaRemessa(l, 279, 16));
}

void LeLinhaCelpav(TvenCAMPOSREMESSA& k, const std::string& l) {
    k.KNUMPED = std::string(4, ' ') + CampoDaRemessa(l, 1, 11);
    k.KDATAPED = OBR_STRTODATA(CampoDaRemessa(l, 12, 10));
    k.KTBPLA.S3_DATAMOV = k.KDATAPED;
    k.KTBPLA.S3_DTLIQUI = OBR_STRTODATA(CampoDaRemessa(l, 22, 10));
    k.KTBPLA.S3_DTPRIPAR = k.KTBPLA.S3_DTLIQUI;
    k.KTBPLA.S3_PRINFIN = OBR_VALOR(CampoDaRemessa(l, 32, 12)) / 100;
    k.KTBPLA.S3_TAXABAN = OBR_VALOR(CampoDaRemessa(l, 59, 6)) / 1000;
    k.KTBPLA.S3_TAXAFOR = OBR_VALOR(CampoDaRemessa(l, 68, 7)) / 10000;
    CampoDaRemessaEm(k.KNOMECLI, l, 113, 40);
    CampoDaRemessaEm(k.KCGCCLI, l, 154, 14);
    CampoDaRemessaEm(k.KENDERECO, l, 168, 40);
    CampoDaRemessaEm(k.KCIDADE, l, 208, 20);
    CampoDaRemessaEm(k.KESTADO, l, 228, 2);
    k.KCEPCLI = CampoDaRemessa(l, 230, 5) + CampoDaRemessa(l, 236, 3);
}

void LeLinhaWabco(TvenCAMPOSREMESSA& k, const std::string& l) {
    k.KNUMPED = "000000" + CampoDaRemessa(l, 4, 6);
    k.KTBPLA.S3_PRINFIN = OBR_VALOR(CampoDaRemessa(l, 18, 11)) / 100;
}

TregBR LeLinhaBr(TvenCAMPOSREMESSA& k, const std::string& l, TvenCONSULTATAXA& consulta) {
    const std::string tipo = CampoDaRemessa(l, 1, 2);
    if (tipo == "00") {
        k.KDATAPRO = aaaammdd(l, 3);
        k.KIDENTEMP = CampoDaRemessa(l, 36, 20);
        k.KNOMEEMP = CampoDaRemessa(l, 56, 30);
        k.KDATAREF = aaaammdd(l, 104);
        k.KHORAPRO = CampoDaRemessa(l, 112, 6);
        k.KULTREMBAN = OBR_STRTOINT(CampoDaRemessa(l, 118, 6));
        k.KLEGENINS = CampoDaRemessa(l, 124, 5);
        return brHEADER;
    }
    if (tipo == "01") {
        TKTBMANPLA& p = k.KTBPLA;
        k.KDATAPRO = aaaammdd(l, 3);
        p.S3_DATAMOV = aaaammdd(l, 11);
        k.KNUMCONV = CampoDaRemessa(l, 19, 9);
        k.KAGEFOR = CampoDaRemessa(l, 28, 4);
        k.KCGCCLI = CampoDaRemessa(l, 49, 14);
        // A short line must not shift the later fields of the bank record:
        // these three are passed on at their full widths.
        p.S3_CGC1AVAL = OBR_AJUSTA(CampoDaRemessa(l, 63, 15), 15, true, 0);
        p.S3_CGC2AVAL = OBR_AJUSTA(CampoDaRemessa(l, 78, 15), 15, true, 0);
        p.S3_NUMAUT = OBR_AJUSTA(CampoDaRemessa(l, 93, 8), 8, true, 0);
        k.KNUMPROGOP = OBR_STRTOINT(CampoDaRemessa(l, 101, 5));
        p.S3_PRINFIN = OBR_VALOR(CampoDaRemessa(l, 106, 15)) / 100;
        k.KDATAPED = aaaammdd(l, 121);
        p.S3_DTLIQUI = aaaammdd(l, 129);
        p.S3_NUMPARC = OBR_STRTOINT(CampoDaRemessa(l, 146, 2));
        k.KTIPEQUCLI = CampoDaRemessa(l, 167, 1);
        k.KNUMPED = CampoDaRemessa(l, 168, 15);
        p.S3_DTPRIPAR = aaaammdd(l, 206);
        k.KDATACONTR = CampoDaRemessa(l, 214, 31);
        consulta.data = aaaammdd(l, 214);
        consulta.produto = CampoDaRemessa(l, 222, 1);
        // Whole days between two dates: no rounding is left to do.
        consulta.dias = p.S3_DTLIQUI - consulta.data;
        return brOPERACAO;
    }
    if (tipo == "02") {
        k.KCGCCLI = CampoDaRemessa(l, 12, 14);
        k.KATIVICLI = CampoDaRemessa(l, 26, 4);
        k.KNOMECLI = CampoDaRemessa(l, 30, 40);
        k.KDDDTELRAM = CampoDaRemessa(l, 70, 15);
        k.KENDERECO = CampoDaRemessa(l, 85, 40);
        k.KNUMANDCOM = CampoDaRemessa(l, 125, 18);
        k.KCEPCLI = CampoDaRemessa(l, 143, 8);
        k.KBAIRRO = CampoDaRemessa(l, 151, 15);
        k.KCIDADE = CampoDaRemessa(l, 166, 20);
        k.KESTADO = CampoDaRemessa(l, 186, 2);
        return brCLIENTE;
    }
    return brOUTRO;
}

void EqualizacaoDaRemessa(TvenCAMPOSREMESSA& k, const std::string& tipequcli) {
    const std::string t = AparaPontas(tipequcli);
    if (t == "S" || t == "N") {
        k.KTIPEQUCLI = t;
        return;
    }
    k.KTIPEQUCLI = OBR_FLOATTOSTR(12, 6, k.KTBPLA.S3_TAXABAN) ==
                           OBR_FLOATTOSTR(12, 6, k.KTBPLA.S3_TAXAFOR)
                       ? "N"
                       : "S";
}

void CriticaDaRemessa(const TvenCAMPOSREMESSA& k,
                 const std::function<void(const std::string&)>& ocorrencia) {
    if (OBR_VAZIO(k.KCGCCLI)) ocorrencia("CNPJ DO CLIENTE NÃO INFORMADO."_ansi);
    std::string mensagem;
    if (!OBR_CNPJCPF(k.KCGCCLI, mensagem)) ocorrencia(mensagem);
    if (k.KTBPLA.S3_PRINFIN == 0) ocorrencia("PRINCIPAL DA OPERAÇÃO NÃO INFORMADO."_ansi);
    if (k.KDATAPED == 0) ocorrencia("DATA DA OPERAÇÃO NÃO INFORMADA."_ansi);
    if (k.KTBPLA.S3_DTLIQUI == 0) ocorrencia("DATA DE VECTO DA OPERAÇÃO NÃO INFORMADA."_ansi);
    if (k.KTBPLA.S3_NUMPARC == 0)
        ocorrencia("NÚMERO DE PARCELAS DA OPERAÇÃO NÃO INFORMADO."_ansi);
    if (k.KTBPLA.S3_TAXABAN == 0) ocorrencia("TAXA DO BANCO DA OPERAÇÃO NÃO INFORMADA."_ansi);
}
