#include "conversion/rem_arquivo_banco.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>

#include "core/texto/ansi.h"
#include "core/texto/obr_datas.h"
#include "core/texto/obr_numeros.h"
#include "core/texto/obr_texto.h"

namespace {

constexpr int kCONTEUDO = 244;
constexpr long long kMAIOR_VALOR_15 = 999999999999999LL;
constexpr int kMAIOR_CONTAGEM_5 = 99999;
constexpr int kMAIOR_SEQUENCIA_6 = 999999;

// What each numeric field is called when the bank's layout cannot hold its
// value; built once, since the records that fit never need them.
const std::string kROTULO_GERACAO = "O NÚMERO DE GERAÇÃO"_ansi;
const std::string kROTULO_CONVENIO = "O NÚMERO DO CONVÊNIO"_ansi;
const std::string kROTULO_AGENCIA = "A AGÊNCIA DO FORNECEDOR"_ansi;
const std::string kROTULO_PROGRAMA = "O PROGRAMA OPERACIONAL";
const std::string kROTULO_PRINCIPAL = "O PRINCIPAL DA OPERAÇÃO"_ansi;
const std::string kROTULO_TAXA_BANCO = "A TAXA DO BANCO";
const std::string kROTULO_PARCELAS = "O NÚMERO DE PARCELAS"_ansi;
const std::string kROTULO_TAXA_FORNECEDOR = "A TAXA DO FORNECEDOR";
const std::string kROTULO_CONSIGNANTE = "O CÓDIGO DA EMPRESA CONSIGNANTE"_ansi;
const std::string kSEM_ROTULO;  // totals the checks before them keep in range

// Digits of a value known to fit, zero-filled on the left.
void digitos(std::string& destino, long long valor, int largura) {
    char b[24];
    int n = 24;
    do {
        b[--n] = static_cast<char>('0' + valor % 10);
        valor /= 10;
    } while (valor > 0);
    destino.append(static_cast<std::size_t>(largura > 24 - n ? largura - (24 - n) : 0), '0');
    destino.append(b + n, static_cast<std::size_t>(24 - n));
}

// 10^n, exact, as std::pow(10.0, n) gives it for the widths of the layout.
double potenciaDe10(int n) {
    static constexpr double kPotencias[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8,
                                            1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16};
    return n >= 0 && n < 17 ? kPotencias[n] : std::pow(10.0, n);
}

// A record's fields, appended in column order. Millions of records go
// through here, so the formats of the field utilities are done in place
// (text fitted like OBR_AJUSTA, dates like OBR_DATATOTEXTO, whole numbers
// like OBR_ZEROS), without a temporary string per field.
class Montagem {
public:
    TvenREGISTRO r;

    Montagem() { r.conteudo.reserve(kCONTEUDO); }

    Montagem& fixo(std::string_view t) {
        r.conteudo += t;
        return *this;
    }
    // Trailing blanks and control characters dropped, then blank-filled or
    // cut to the width.
    Montagem& texto(const std::string& t, int largura) {
        std::size_t fim = t.size();
        while (fim > 0 && static_cast<unsigned char>(t[fim - 1]) <= ' ') --fim;
        const std::size_t n = std::min(fim, static_cast<std::size_t>(largura));
        r.conteudo.append(t, 0, n);
        r.conteudo.append(static_cast<std::size_t>(largura) - n, ' ');
        return *this;
    }
    // yyyymmdd; zeros for no date.
    Montagem& data(TData d) {
        // The records of a file mostly repeat a few dates: the last one is
        // kept laid out.
        thread_local bool guardada = false;
        thread_local TData ultima = 0;
        thread_local char t[8];
        if (!guardada || d != ultima) {
            int ano = 0, mes = 0, dia = 0;
            DecodificaData(d, ano, mes, dia);
            const int partes[] = {ano / 1000, ano / 100 % 10, ano / 10 % 10, ano % 10,
                                  mes / 10,   mes % 10,       dia / 10,      dia % 10};
            for (int i = 0; i < 8; ++i) t[i] = static_cast<char>('0' + partes[i]);
            ultima = d;
            guardada = true;
        }
        r.conteudo.append(t, 8);
        return *this;
    }
    // Zero-filled digits of valor × 10^decimais, fraction dropped. A value
    // the field cannot hold (negative, or too many digits) is reported.
    Montagem& numero(int largura, int decimais, double valor, const std::string& rotulo,
                     Centavos* valorEscrito = nullptr) {
        const double escalado = valor * potenciaDe10(decimais);
        std::string t;
        if (escalado >= 0 && escalado < 1e15 && escalado == std::floor(escalado)) {
            // The common case, digits that fit, goes straight into the record.
            const long long inteiro = static_cast<long long>(escalado);
            if (largura > 0 && inteiro < potenciaDe10(largura)) {
                digitos(r.conteudo, inteiro, largura);
                if (valorEscrito) *valorEscrito = inteiro;
                return *this;
            }
            t = OBR_REPLICA("*", largura);
        } else {
            t = OBR_ZEROS(largura, decimais, valor);
        }
        if (t.find_first_not_of("0123456789") != std::string::npos)
            r.falhas.push_back("O ARQUIVO DO BANCO NÃO COMPORTA "_ansi + rotulo + ": " +
                               TextoDoNumero(valor));
        else if (valorEscrito)
            *valorEscrito = CentavosDoCampo(t);
        r.conteudo += t;
        return *this;
    }
};

}  // namespace

TvenREGISTRO MontaRegistroHeader(const TvenCAMPOSREMESSA& k, bool consignacao) {
    Montagem m;
    m.fixo(consignacao ? "40" : "00")
        .data(k.KDATAPRO)
        .fixo("1")
        .fixo("REMESSA")
        .fixo("00")
        .texto(consignacao ? "CONSIGNACAO" : "VENDOR", 15)
        .texto(k.KIDENTEMP, 20)
        .texto(k.KNOMEEMP, 30)
        .fixo(OBR_ESPACOS(3))
        .fixo("BANCO QUOR S/A ")
        .data(k.KDATAREF)
        .texto(k.KHORAPRO, 6)
        .numero(6, 0, k.KULTREMBAN, kROTULO_GERACAO)
        .texto(k.KLEGENINS, 5);
    return std::move(m.r);  // a member: not moved by itself
}

TvenREGISTRO MontaRegistroCliente(const TvenCAMPOSREMESSA& k) {
    Montagem m;
    m.fixo("02")
        .data(k.KDATAPRO)
        .fixo("0")
        .texto(k.KCGCCLI, 14)
        .texto(k.KATIVICLI, 4)
        .texto(k.KNOMECLI, 40)
        .texto(k.KDDDTELRAM, 15)
        .texto(k.KENDERECO, 40)
        .texto(k.KNUMANDCOM, 18)
        .texto(k.KCEPCLI, 8)
        .texto(k.KBAIRRO, 15)
        .texto(k.KCIDADE, 20)
        .texto(k.KESTADO, 2);
    return std::move(m.r);  // a member: not moved by itself
}

TvenREGISTRO MontaRegistroOperacao(const TvenCAMPOSREMESSA& k) {
    const TKTBMANPLA& p = k.KTBPLA;
    Montagem m;
    m.fixo("01")
        .data(k.KDATAPRO)
        .data(p.S3_DATAMOV)
        .numero(9, 0, OBR_STRTOINT(k.KNUMCONV), kROTULO_CONVENIO)
        .numero(4, 0, OBR_STRTOINT(k.KAGEFOR), kROTULO_AGENCIA)
        .fixo("0000000")
        .fixo(OBR_ESPACOS(9))
        .fixo("0")
        .texto(k.KCGCCLI, 14)
        .texto(p.S3_CGC1AVAL, 15)
        .texto(p.S3_CGC2AVAL, 15)
        .texto(p.S3_NUMAUT, 8)
        .numero(5, 0, k.KNUMPROGOP, kROTULO_PROGRAMA)
        .numero(15, 2, p.S3_PRINFIN, kROTULO_PRINCIPAL, &m.r.principalCentavos)
        .data(k.KDATAPED)
        .data(p.S3_DTLIQUI)
        .numero(9, 3, p.S3_TAXABAN, kROTULO_TAXA_BANCO)
        .numero(2, 0, p.S3_NUMPARC, kROTULO_PARCELAS)
        .fixo("000000000")
        .numero(9, 3, p.S3_TAXAFOR, kROTULO_TAXA_FORNECEDOR)
        .fixo("N")
        .texto(k.KTIPEQUCLI, 1)
        .texto(k.KNUMPED, 15)
        .fixo("0000000")
        .fixo("0000000000000000")
        .data(p.S3_DTPRIPAR)
        .texto(k.KDATACONTR, 31);
    return std::move(m.r);  // a member: not moved by itself
}

TvenREGISTRO MontaRegistroConsignacao(const TvenCAMPOSREMESSA& k) {
    const TKTBMANPLA& p = k.KTBPLA;
    Montagem m;
    m.fixo("41")
        .numero(3, 0, k.KNUMPROGOP, kROTULO_CONSIGNANTE)
        .texto(k.KNUMPED, 15)
        .data(p.S3_DATAMOV)
        .fixo("01")
        .fixo("01")
        .numero(15, 2, p.S3_PRINFIN, kROTULO_PRINCIPAL, &m.r.principalCentavos)
        .fixo("1")
        .fixo("00000000")
        .numero(15, 2, p.S3_PRINFIN, kROTULO_PRINCIPAL)
        .fixo("00000")
        .fixo("000000")
        .fixo("00000000");
    // The amount appears twice: one message is enough.
    if (m.r.falhas.size() > 1 && m.r.falhas.back() == m.r.falhas[m.r.falhas.size() - 2])
        m.r.falhas.pop_back();
    return std::move(m.r);  // a member: not moved by itself
}

void TvenGRAVAREMESSA::REM_GRAVAREG(const std::string& conteudo) {
    ++WTOTREGGR;
    std::string& reg = saida_.REGGRA;
    reg.assign(conteudo, 0, kCONTEUDO);
    reg.append(kCONTEUDO - reg.size(), ' ');
    // Past 999999 the number no longer fits: the trailer refuses such a file.
    if (WTOTREGGR <= kMAIOR_SEQUENCIA_6) digitos(reg, WTOTREGGR, 6);
    else reg += "******";
    saida_.GRAVA_REG();
}

void TvenGRAVAREMESSA::REM_GRAVAOPERACAO(const TvenREGISTRO& registro) {
    ++WTOTREGTI;
    if (totalExcedido_ || registro.principalCentavos > kMAIOR_VALOR_15 - WTOTVALTI)
        totalExcedido_ = true;
    else
        WTOTVALTI += registro.principalCentavos;
    REM_GRAVAREG(registro.conteudo);
}

std::vector<std::string> TvenGRAVAREMESSA::REM_GRAVATRAILLER(const TvenCAMPOSREMESSA& k,
                                                             bool consignacao) {
    std::vector<std::string> motivos;
    if (WTOTREGTI > kMAIOR_CONTAGEM_5)
        motivos.push_back("O ARQUIVO DO BANCO NÃO COMPORTA "_ansi + std::to_string(WTOTREGTI) +
                          " OPERAÇÕES (NO MÁXIMO 99999 POR ARQUIVO)."_ansi);
    if (totalExcedido_)
        motivos.push_back(
            "O ARQUIVO DO BANCO NÃO COMPORTA O TOTAL DO PRINCIPAL DESTA REMESSA (MAIS DE 15 DÍGITOS)."_ansi);
    if (WTOTREGGR + 1 > kMAIOR_SEQUENCIA_6)
        motivos.push_back("O ARQUIVO DO BANCO NÃO COMPORTA "_ansi + std::to_string(WTOTREGGR + 1) +
                          " REGISTROS (NO MÁXIMO 999999 POR ARQUIVO)."_ansi);
    if (!motivos.empty()) return motivos;

    const double total = static_cast<double>(WTOTVALTI);
    Montagem m;
    if (consignacao) {
        m.fixo("49")
            .numero(3, 0, k.KNUMPROGOP, kROTULO_CONSIGNANTE)
            .fixo("1")
            .numero(5, 0, WTOTREGTI, kSEM_ROTULO)
            .numero(15, 0, total, kSEM_ROTULO)
            .numero(5, 0, WTOTREGTI, kSEM_ROTULO)
            .numero(15, 0, total, kSEM_ROTULO)
            .fixo("00000")
            .fixo(std::string(15, '0'))
            .fixo("00000")
            .fixo(std::string(15, '0'));
    } else {
        m.fixo("09")
            .data(k.KDATAPRO)
            .numero(5, 0, WTOTREGTI, kSEM_ROTULO)
            .numero(15, 0, total, kSEM_ROTULO)
            .fixo("1");
    }
    if (!m.r.falhas.empty()) return m.r.falhas;
    REM_GRAVAREG(m.r.conteudo);
    return {};
}
