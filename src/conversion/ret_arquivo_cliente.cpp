#include "conversion/ret_arquivo_cliente.h"

#include <algorithm>
#include <utility>

#include "conversion/ret_perfis.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_datas.h"
#include "core/texto/obr_numeros.h"
#include "core/texto/obr_texto.h"

namespace {

// A record's fields, appended in column order.
class Montagem {
public:
    TvenREGRETORNO r;

    Montagem& fixo(const std::string& t) {
        r.conteudo += t;
        return *this;
    }
    Montagem& texto(const std::string& t, int largura) {
        r.conteudo += OBR_AJUSTA(t, largura, true, 0);
        return *this;
    }
    Montagem& ddmmaa(TData d) {
        r.conteudo += OBR_DATATOTEXTO("DATA_DDMMAA", d);
        return *this;
    }
    // Zero-filled digits; a value the field cannot hold (negative, or too
    // many digits) is reported and the field filled with zeros.
    Montagem& numero(Centavos valor, int largura, const std::string& rotulo) {
        std::string d;
        for (Centavos v = valor < 0 ? -valor : valor; v > 0; v /= 10)
            d.insert(d.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
        if (valor < 0 || d.size() > static_cast<std::size_t>(largura)) {
            r.falhas.push_back("O ARQUIVO DO CLIENTE NÃO COMPORTA "_ansi + rotulo + ": " +
                               (valor < 0 ? "-" : "") + (d.empty() ? "0" : d));
            d.clear();
        }
        r.conteudo += std::string(static_cast<std::size_t>(largura) - d.size(), '0') + d;
        return *this;
    }
};

// yyyymmdd of a bank record read as "dd/mm/yy".
TData dataBanco(const std::string& registro, int inicio) {
    const std::string t = CampoDoRetorno(registro, inicio, 8);
    return OBR_STRTODATA(CampoDoRetorno(t, 7, 2) + "/" + CampoDoRetorno(t, 5, 2) + "/" + CampoDoRetorno(t, 3, 2));
}

int digitos(const std::string& texto) {
    int n = 0;
    for (char c : texto)
        if (c >= '0' && c <= '9') n = n * 10 + (c - '0');
    return n;
}

// Columns 1-244 of a bank record, blank-filled when the line is shorter.
std::string colunas244(const std::string& registro) {
    std::string r = registro.substr(0, 244);
    r.resize(244, ' ');
    return r;
}

int indiceTipoBR(const std::string& tipo) {
    static const char* const kTipos[] = {"11", "21", "12", "22", "13", "14"};
    for (int i = 0; i < 6; ++i)
        if (tipo == kTipos[i]) return i;
    return -1;
}

}  // namespace

int TamanhoDoRegistroRetorno(const std::string& tipoEmpresa) {
    const TvenPERFILRETORNO* perfil = PerfilDoRetorno(tipoEmpresa);
    return perfil ? perfil->tamanhoRegistro : 28;
}

TvenPARCELACOFAP LeParcelaCofap(const std::string& r) {
    TvenPARCELACOFAP p;
    const std::string tipo = TipoDoRegistroRetorno(r);
    p.numped = CampoDoRetorno(r, 11, 15);
    p.numparc = digitos(CampoDoRetorno(r, 42, 2));
    if (tipo == "12") {
        p.ocorrencia = "02";
        p.datapaga = p.dtliqui = dataBanco(r, 44);
        p.valprest = ValorDoRetorno(r, 52);
        p.valpago = ValorDoRetorno(r, 91);
    } else if (tipo == "13") {
        p.ocorrencia = "09";
        // The bank lays this date at 42-49, over the instalment number's
        // columns (which then read as the century digits); the offset
        // differs from "12" and "14" on purpose.
        p.datapaga = p.dtliqui = dataBanco(r, 42);
        p.valprest = p.valpago = ValorDoRetorno(r, 52);
        p.jurmora = ValorDoRetorno(r, 67);
    } else if (tipo == "14") {
        p.ocorrencia = "06";
        p.datapaga = dataBanco(r, 52);
        p.dtliqui = dataBanco(r, 44);
        p.valprest = ValorDoRetorno(r, 62);
        p.valpago = ValorDoRetorno(r, 77);
        p.desconto = ValorDoRetorno(r, 122);
        p.jurmora = ValorDoRetorno(r, 92);
        p.multa = ValorDoRetorno(r, 107);
    }
    return p;
}

TvenREGRETORNO HeaderCofap(const TvenDADOSCOFAP& d) {
    Montagem m;
    m.fixo("02RETORNO01COBRANCA       ")
        .fixo(std::string(11, '0'))
        .fixo(std::string(9, '0'))
        .texto(d.nomeemp, 30)
        .fixo("275")
        .fixo("BANCO QUOR S/A ")
        .ddmmaa(d.hoje)
        .fixo("01600BPI")
        .fixo(OBR_ESPACOS(283))
        .numero(d.geracao, 3, "O NÚMERO DE GERAÇÃO"_ansi);
    return std::move(m.r);  // a member: not moved by itself
}

TvenREGRETORNO ParcelaCofap(const TvenDADOSCOFAP& d, const TvenPARCELACOFAP& p,
                                const std::string& cgccli) {
    const std::string zeros13(13, '0');
    Montagem m;
    m.fixo("102")
        .texto(d.cgcfor, 14)
        .texto(d.identemp, 20)
        .fixo(OBR_ESPACOS(10))
        .texto(cgccli, 14)
        .fixo(" ")
        .fixo(std::string(11, '0'))
        .fixo(OBR_ESPACOS(34))
        .fixo("5")
        .fixo(p.ocorrencia)
        .ddmmaa(p.datapaga)
        .texto(p.numped, 10)
        .fixo(std::string(11, '0'))
        .fixo(OBR_ESPACOS(9))
        .ddmmaa(p.dtliqui)
        .numero(p.valprest, 13, "O VALOR DA PARCELA")
        .fixo("000")
        .fixo("00000")
        .fixo("NP")
        .fixo(zeros13)
        .fixo(zeros13)
        .fixo(OBR_ESPACOS(13))
        .fixo(zeros13)
        .fixo(zeros13)
        .numero(p.desconto, 13, "O DESCONTO")
        .numero(p.valpago, 13, "O VALOR PAGO")
        .numero(p.jurmora, 13, "OS JUROS DE MORA")
        .numero(p.multa, 13, "A MULTA")
        .fixo(OBR_ESPACOS(3))
        .ddmmaa(p.datapaga)
        .fixo(OBR_ESPACOS(84))
        .ddmmaa(d.hoje)
        .numero(d.geracao, 3, "O NÚMERO DE GERAÇÃO"_ansi);
    return std::move(m.r);  // a member: not moved by itself
}

TvenREGRETORNO TrailerCofap(const TvenDADOSCOFAP& d, long long detalhes,
                                 Centavos totalPago) {
    Montagem m;
    m.fixo("9")
        .numero(detalhes, 8, "A QUANTIDADE DE PARCELAS")
        .numero(totalPago, 14, "O TOTAL PAGO")
        .fixo(OBR_ESPACOS(8))
        .fixo(std::string(354, '0'))
        .ddmmaa(d.hoje)
        .numero(d.geracao, 3, "O NÚMERO DE GERAÇÃO"_ansi);
    return std::move(m.r);  // a member: not moved by itself
}

void TvenTOTAISFILIAL::Soma(const std::string& registro) {
    const int i = indiceTipoBR(TipoDoRegistroRetorno(registro));
    if (i < 0) return;
    static const int kColuna[] = {57, 57, 52, 52, 52, 77};
    ++qtd[i];
    valor[i] += ValorDoRetorno(registro, kColuna[i]);
}

TvenREGRETORNO HeaderBr(const std::string& headerBanco, int geracao) {
    const std::string h = colunas244(headerBanco);
    Montagem m;
    m.fixo(h.substr(0, 117)).numero(geracao, 6, "O NÚMERO DE GERAÇÃO"_ansi).fixo(h.substr(123));
    return std::move(m.r);  // a member: not moved by itself
}

TvenREGRETORNO DetalheBr(const std::string& registro) { return {colunas244(registro), {}}; }

TvenREGRETORNO TrailerBr(const std::string& traillerBanco, const TvenTOTAISFILIAL& t) {
    static const char* const kTipos[] = {"11", "21", "12", "22", "13", "14"};
    const std::string b = colunas244(traillerBanco);
    auto qtd = [&](int i) { return "A QUANTIDADE DE REGISTROS " + std::string(kTipos[i]); };
    auto total = [&](int i) { return "O TOTAL DOS REGISTROS " + std::string(kTipos[i]); };
    Montagem m;
    m.fixo(b.substr(0, 10));
    for (int i = 0; i < 5; ++i) m.numero(t.qtd[i], 5, qtd(i));
    for (int i = 0; i < 5; ++i) m.numero(t.valor[i], 15, total(i));
    m.numero(t.qtd[5], 5, qtd(5)).numero(t.valor[5], 15, total(5)).fixo(b.substr(130));
    return std::move(m.r);  // a member: not moved by itself
}

TvenREGRETORNO PagamentoWabco(int consignante, const std::string& registro) {
    Montagem m;
    m.numero(consignante, 3, "O CÓDIGO DA EMPRESA CONSIGNANTE"_ansi)
        .texto(CampoDoRetorno(registro, 11, 6), 6)
        .fixo("567")
        .fixo("00000")
        .numero(ValorDoRetorno(registro, 30), 11, "O VALOR PAGO");
    return std::move(m.r);  // a member: not moved by itself
}
