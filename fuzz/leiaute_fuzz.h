#pragma once
// One client remittance file of a given company type read as its conversion
// reads it, through the type's profile: lines split by the external reader,
// the preparation, each line into the working fields, the checks, and the
// bank records built from them. Nothing may crash, hang or write outside the
// record's columns.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "conversion/rem_arquivo_banco.h"
#include "conversion/rem_leiautes.h"
#include "conversion/rem_perfis.h"
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
    const TvenPERFILREMESSA& perfil = *PerfilDaRemessa(tipo);
    const TData inicio = linhas.empty() ? 0 : DataInicioCofap(linhas.front());
    (void)perfil.prepara(k, cliente, linhas, inicio ? inicio : hoje, hoje);
    CONFERE_REGISTRO_BANCO(MontaRegistroHeader(k, perfil.consignacao));
    // Rates are looked up in a table the fuzzer has none of: a fixed pair.
    const TvenBUSCATAXA taxas = [&k](const TvenCONSULTATAXA&) {
        k.KTBPLA.S3_TAXABAN = 1.5;
        k.KTBPLA.S3_TAXAFOR = 1.25;
        return true;
    };
    for (std::size_t i = static_cast<std::size_t>(perfil.linhasCabecalho); i < linhas.size() && i < 5000; ++i) {
        TvenREGISTROSDALINHA registros;
        (void)perfil.leLinha(k, cliente, linhas[i], [](const std::string&) {}, taxas, registros);
        for (const auto& [registro, operacao] : registros) CONFERE_REGISTRO_BANCO(registro);
    }
    return 0;
}
