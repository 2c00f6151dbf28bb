#pragma once
// One client remittance file of a given company type read as its conversion
// reads it: lines split by the external reader, the type's preparation, each
// line into the working fields, the checks, and the bank records built from
// them. Nothing may crash, hang or write outside the record's columns.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "conversion/rem_arquivo_banco.h"
#include "conversion/rem_leiautes.h"
#include "core/arquivos/leitura_externo.h"
#include "core/texto/calendario.h"
#include "fuzz/arquivo_fuzz.h"

inline void CONFERE_REGISTRO_BANCO(const TvenREGISTRO& r) {
    // A record that fits must fit its columns exactly (the sequence number
    // follows them).
    if (r.falhas.empty() && r.conteudo.size() > kTAMANHO_REGISTRO_BANCO - 6) std::abort();
}

inline int FUZZ_LEIAUTE(const char* tipo, const std::uint8_t* dados, std::size_t tamanho) {
    ArquivoFuzz arquivo("CLIENTE.TXT", dados, tamanho);
    TaexLEITURAEXTERNO leitor;
    if (!leitor.TXT_TO_MEMO(arquivo.Caminho())) return 0;
    const std::vector<std::string>& linhas = leitor.TABDADOS;

    TvenCLIENTE cliente;
    cliente.CODCLI = "FUZZ";
    cliente.TIPOEMP = tipo;
    cliente.IDENTEMP = "QUORFUZZ";
    cliente.NOMEEMP = "FUZZ";
    cliente.TIPEQUCLI = "D";
    cliente.NUMPROGOP = 1;
    const TData hoje = CodificaData(2026, 12, 9);
    TvenCAMPOSREMESSA k;
    ValoresIniciaisDaRemessa(k, cliente, hoje, "120000");
    const std::string t = tipo;
    if (t == kTIPO_COFAP) {
        const TData inicio = linhas.empty() ? 0 : DataInicioCofap(linhas.front());
        PreparaCofap(k, cliente, inicio ? inicio : hoje, hoje);
    } else if (t == kTIPO_CELPAV) {
        PreparaCelpav(k, cliente, linhas);
    } else if (t == kTIPO_WABCO) {
        PreparaWabco(k, hoje);
    } else {
        (void)BrTemHeader(linhas);
    }
    CONFERE_REGISTRO_BANCO(MontaRegistroHeader(k, t == kTIPO_WABCO));
    for (std::size_t i = 0; i < linhas.size() && i < 5000; ++i) {
        const std::string& l = linhas[i];
        if (t == kTIPO_COFAP || t == kTIPO_CELPAV) {
            if (t == kTIPO_CELPAV && i < static_cast<std::size_t>(kCELPAV_LINHAS_CABECALHO)) continue;
            if (t == kTIPO_COFAP) LeLinhaCofap(k, l);
            else LeLinhaCelpav(k, l);
            EqualizacaoDaRemessa(k, cliente.TIPEQUCLI);
            CriticaDaRemessa(k, [](const std::string&) {});
            CONFERE_REGISTRO_BANCO(MontaRegistroCliente(k));
            CONFERE_REGISTRO_BANCO(MontaRegistroOperacao(k));
        } else if (t == kTIPO_WABCO) {
            LeLinhaWabco(k, l);
            CONFERE_REGISTRO_BANCO(MontaRegistroConsignacao(k));
        } else {
            TvenCONSULTATAXA consulta;
            switch (LeLinhaBr(k, l, consulta)) {
                case brOPERACAO: CONFERE_REGISTRO_BANCO(MontaRegistroOperacao(k)); break;
                case brCLIENTE: CONFERE_REGISTRO_BANCO(MontaRegistroCliente(k)); break;
                default: break;
            }
        }
    }
    return 0;
}
