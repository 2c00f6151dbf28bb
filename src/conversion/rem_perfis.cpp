#include "conversion/rem_perfis.h"

namespace {

std::string preparaCofap(TvenCAMPOSREMESSA& k, const TvenCLIENTE& cliente,
                         const std::vector<std::string>&, TData inicioContrato, TData hoje) {
    PreparaCofap(k, cliente, inicioContrato, hoje);
    return {};
}

std::string preparaBr(TvenCAMPOSREMESSA&, const TvenCLIENTE&, const std::vector<std::string>& linhas,
                      TData, TData) {
    return BrTemHeader(linhas) ? std::string() : "ARQUIVO REMESSA DO CLIENTE SEM REGISTRO HEADER";
}

std::string preparaCelpav(TvenCAMPOSREMESSA& k, const TvenCLIENTE& cliente,
                          const std::vector<std::string>& linhas, TData, TData) {
    PreparaCelpav(k, cliente, linhas);
    return {};
}

std::string preparaWabco(TvenCAMPOSREMESSA& k, const TvenCLIENTE&, const std::vector<std::string>&,
                         TData, TData hoje) {
    PreparaWabco(k, hoje);
    return {};
}

// Cofap and Celpav lines each carry a buyer and its operation.
void operacaoComCliente(TvenCAMPOSREMESSA& k, const TvenCLIENTE& cliente,
                        const TvenOCORRENCIA& ocorrencia, TvenREGISTROSDALINHA& registros) {
    EqualizacaoDaRemessa(k, cliente.TIPEQUCLI);
    CriticaDaRemessa(k, ocorrencia);
    registros.emplace_back(MontaRegistroCliente(k), false);
    registros.emplace_back(MontaRegistroOperacao(k), true);
}

bool linhaCofap(TvenCAMPOSREMESSA& k, const TvenCLIENTE& cliente, const std::string& linha,
                const TvenOCORRENCIA& ocorrencia, const TvenBUSCATAXA&, TvenREGISTROSDALINHA& registros) {
    LeLinhaCofap(k, linha);
    operacaoComCliente(k, cliente, ocorrencia, registros);
    return true;
}

bool linhaCelpav(TvenCAMPOSREMESSA& k, const TvenCLIENTE& cliente, const std::string& linha,
                 const TvenOCORRENCIA& ocorrencia, const TvenBUSCATAXA&, TvenREGISTROSDALINHA& registros) {
    LeLinhaCelpav(k, linha);
    operacaoComCliente(k, cliente, ocorrencia, registros);
    return true;
}

// A BR file is in the bank's layout already: its operation and buyer
// records are rebuilt one for one, with the rates looked up.
bool linhaBr(TvenCAMPOSREMESSA& k, const TvenCLIENTE&, const std::string& linha,
             const TvenOCORRENCIA&, const TvenBUSCATAXA& taxas, TvenREGISTROSDALINHA& registros) {
    TvenCONSULTATAXA consulta;
    switch (LeLinhaBr(k, linha, consulta)) {
        case brOPERACAO:
            if (!taxas(consulta)) return false;
            registros.emplace_back(MontaRegistroOperacao(k), true);
            break;
        case brCLIENTE:
            registros.emplace_back(MontaRegistroCliente(k), false);
            break;
        case brHEADER:
        case brOUTRO:
            break;
    }
    return true;
}

bool linhaWabco(TvenCAMPOSREMESSA& k, const TvenCLIENTE&, const std::string& linha,
                const TvenOCORRENCIA&, const TvenBUSCATAXA&, TvenREGISTROSDALINHA& registros) {
    LeLinhaWabco(k, linha);
    registros.emplace_back(MontaRegistroConsignacao(k), true);
    return true;
}

const TvenPERFILREMESSA kPERFIS[] = {
    {.tipo = kTIPO_COFAP,
     .linhasCabecalho = 0,
     .faltaProgramaOperacional = "PROGRAMA OPERACIONAL DO CLIENTE AINDA NAO INFORMADO",
     .exigeAtividade = true,
     .perguntaInicioContrato = true,
     .numeraArquivoCliente = true,
     .numeraArquivoBanco = true,
     .consignacao = false,
     .guardaPendentes = true,
     .prepara = preparaCofap,
     .leLinha = linhaCofap},
    {.tipo = kTIPO_BR,
     .linhasCabecalho = 0,
     .faltaProgramaOperacional = nullptr,
     .exigeAtividade = false,
     .perguntaInicioContrato = false,
     .numeraArquivoCliente = true,
     .numeraArquivoBanco = false,  // the generation comes in the file's header
     .consignacao = false,
     .guardaPendentes = false,
     .prepara = preparaBr,
     .leLinha = linhaBr},
    {.tipo = kTIPO_CELPAV,
     .linhasCabecalho = kCELPAV_LINHAS_CABECALHO,
     .faltaProgramaOperacional = "PROGRAMA OPERACIONAL DO CLIENTE AINDA NAO INFORMADO",
     .exigeAtividade = true,
     .perguntaInicioContrato = false,
     .numeraArquivoCliente = true,
     .numeraArquivoBanco = true,
     .consignacao = false,
     .guardaPendentes = false,
     .prepara = preparaCelpav,
     .leLinha = linhaCelpav},
    {.tipo = kTIPO_WABCO,
     .linhasCabecalho = 0,
     .faltaProgramaOperacional = "CODIGO DA EMPRESA CONSIGNANTE AINDA NAO INFORMADO",
     .exigeAtividade = false,
     .perguntaInicioContrato = false,
     .numeraArquivoCliente = false,
     .numeraArquivoBanco = true,
     .consignacao = true,
     .guardaPendentes = false,
     .prepara = preparaWabco,
     .leLinha = linhaWabco},
};

}  // namespace

const TvenPERFILREMESSA* PerfilDaRemessa(const std::string& tipo) {
    for (const TvenPERFILREMESSA& p : kPERFIS)
        if (tipo == p.tipo) return &p;
    return nullptr;
}
