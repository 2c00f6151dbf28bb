#include "conversion/rem_processa.h"

#include "conversion/execucao_vendor.h"
#include "conversion/rem_leiautes.h"
#include "conversion/rem_pendente.h"
#include "conversion/rem_perfis.h"
#include "conversion/resumo_vendor.h"
#include "core/arquivos/arquivo_duravel.h"
#include "core/arquivos/caminho_arquivo.h"
#include "core/arquivos/erro_arquivo.h"
#include "core/arquivos/nome_saida.h"
#include "core/dados/tabelas_abertas.h"
#include "core/dados/tdmquor.h"
#include "core/diario_execucao.h"
#include "core/geral.h"
#include "core/obr_edita.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_datas.h"
#include "core/texto/obr_texto.h"
#include "registers/tax_localiza.h"
#include "report/resumo_execucao.h"
#include "tabela/nome_arquivo.h"

namespace {

TvenCLIENTE leCliente(Tabela& t) {
    TvenCLIENTE c;
    auto texto = [&t](const char* campo) { return t.FieldByName(campo).AsString(); };
    c.CODCLI = texto("CODCLI");
    c.TIPOEMP = AparaPontas(texto("TIPOEMP"));
    c.ARQREMCLI = AparaPontas(texto("ARQREMCLI"));
    c.ARQREMBAN = AparaPontas(texto("ARQREMBAN"));
    c.IDENTEMP = texto("IDENTEMP");
    c.NOMEEMP = texto("NOMEEMP");
    c.LEGENINS = texto("LEGENINS");
    c.NUMCONV = texto("NUMCONV");
    c.AGEFOR = texto("AGEFOR");
    c.TIPEQUCLI = texto("TIPEQUCLI");
    c.NUMPROGOP = static_cast<int>(t.FieldByName("NUMPROGOP").AsInteger());
    c.ATIVICLI = static_cast<int>(t.FieldByName("ATIVICLI").AsInteger());
    c.ULTREMCLI = t.FieldByName("ULTREMCLI").AsInteger();
    c.ULTREMBAN = t.FieldByName("ULTREMBAN").AsInteger();
    return c;
}

}  // namespace

std::string TituloDaJanelaRemessa() { return "Leitura do Arquivo Remessa de Vendor - Conversão"_ansi; }

TvenREMESSA::TvenREMESSA(const std::string& codigo, bool linhaComando)
    : KACIONOU_EM_LINHA_DE_COMANDO(linhaComando) {
    KQUALCLIENTE = codigo;
}

void TvenREMESSA::REM_OCORRENCIA(const std::string& mensagem) {
    const bool primeira = WERRO == "N";
    WERRO = "S";
    oLOG_.Ocorrencia(primeira, KCGCCLI, KDATAPED, KULTREMBAN, mensagem);
}

bool TvenREMESSA::pedeCliente() {
    Tabela& cli = DMQUOR().TBCONVECLI;
    return PedeClienteVendor(
        cli, KQUALCLIENTE, TituloDaJanelaRemessa(),
        [](const std::string&) { return std::string("CODIGO DO CLIENTE INFORMADO NÃO LOCALIZADO NA TABELA."_ansi); },
        [&]() -> std::string {
            perfil_ = PerfilDaRemessa(AparaPontas(cli.FieldByName("TIPOEMP").AsString()));
            if (!perfil_) return "CLIENTE INFORMADO NÃO TEM TIPO DE ARQUIVO DEFINIDO."_ansi;
            cliente_ = leCliente(cli);
            return {};
        });
}

bool TvenREMESSA::confereCadastro() {
    std::string mensagem;
    if (cliente_.ARQREMBAN.empty())
        mensagem = "NOME DO ARQUIVO REMESSA DO BANCO AINDA NAO INFORMADO";
    else if (cliente_.ARQREMCLI.empty())
        mensagem = "NOME DO ARQUIVO REMESSA DO CLIENTE AINDA NAO INFORMADO";
    else if (cliente_.NUMPROGOP == 0 && perfil_->faltaProgramaOperacional)
        mensagem = perfil_->faltaProgramaOperacional;
    else if (cliente_.ATIVICLI == 0 && perfil_->exigeAtividade)
        mensagem = "CODIGO DA ATIVIDADE DO CLIENTE AINDA NAO INFORMADO";
    if (mensagem.empty()) return true;
    GERAL().MENSAGEM(mensagem, somERRO);
    return false;
}

bool TvenREMESSA::leArquivoCliente() { return LeArquivoVendor(oARQREMCLI, KARQREMCLI, "REMESSA DO CLIENTE"); }

// The contract start date the person confirms, offered from the file;
// 0 when the question was cancelled.
TData TvenREMESSA::perguntaInicioContrato() {
    TData oferecida = DataInicioCofap(oARQREMCLI.TABDADOS.front());
    for (;;) {
        const auto data = GERAL().Dialogo().DataInicioContrato(oferecida);
        if (!data) return 0;
        if (*data != 0) return *data;
        GERAL().MENSAGEM("DATA DE INICIO DO CONTRATO NÃO FOI INFORMADO CORRETAMENTE."_ansi, somERRO);
        oferecida = 0;  // the window comes back as it was left: empty
    }
}

bool TvenREMESSA::prepara() {
    const TData hoje = GERAL().DATADIA;
    ValoresIniciaisDaRemessa(*this, cliente_, hoje, OBR_HORA());
    TData inicioContrato = 0;
    if (perfil_->perguntaInicioContrato) {
        inicioContrato = perguntaInicioContrato();
        if (inicioContrato == 0) return false;  // the question was cancelled
    }
    const std::string mensagem = perfil_->prepara(*this, cliente_, oARQREMCLI.TABDADOS, inicioContrato, hoje);
    if (mensagem.empty()) return true;
    GERAL().MENSAGEM(mensagem, somERRO);
    return false;
}

bool TvenREMESSA::processaLinha(std::size_t indice) {
    ++WPES;
    WERRO = "N";
    if (indice < static_cast<std::size_t>(perfil_->linhasCabecalho)) {
        ++WDES;
        return true;
    }
    // Kept from line to line: its room is reused.
    TvenREGISTROSDALINHA& registros = registrosDaLinha_;
    registros.clear();
    const auto ocorrencia = [this](const std::string& m) { REM_OCORRENCIA(m); };
    const auto taxas = [this](const TvenCONSULTATAXA& c) {
        return TAX_LOCALIZA(DMQUOR().TBCONVETAX, c.produto, c.dias, c.data, KTBPLA.S3_TAXABAN,
                            KTBPLA.S3_TAXAFOR);
    };
    if (!perfil_->leLinha(*this, cliente_, oARQREMCLI.TABDADOS[indice], ocorrencia, taxas, registros))
        return false;

    TvenREGISTRO header;
    if (oGRAVA.WTOTREGGR == 0) header = MontaRegistroHeader(*this, perfil_->consignacao);
    for (const std::string& f : header.falhas) REM_OCORRENCIA(f);
    for (const auto& [registro, operacao] : registros)
        for (const std::string& f : registro.falhas) REM_OCORRENCIA(f);

    if (WERRO == "S") {
        ++WDES;
        return true;
    }
    if (oGRAVA.WTOTREGGR == 0) {
        oGRAVA.REM_GRAVAREG(header.conteudo);
        geracaoGravada_ = KULTREMBAN;
    }
    for (const auto& [registro, operacao] : registros) {
        if (operacao) oGRAVA.REM_GRAVAOPERACAO(registro);
        else oGRAVA.REM_GRAVAREG(registro.conteudo);
    }
    if (perfil_->guardaPendentes) pendentes_.push_back({KNUMPED, KCGCCLI});
    ++WGRA;
    return true;
}

bool TvenREMESSA::fechaArquivoBanco() {
    const std::vector<std::string> motivos =
        oGRAVA.REM_GRAVATRAILLER(*this, perfil_->consignacao);
    if (motivos.empty()) return true;
    std::string texto;
    for (const std::string& m : motivos) texto += m + "\r\n";
    GERAL().MENSAGEM(texto + "NENHUM ARQUIVO FOI GRAVADO. DIVIDA O ARQUIVO DO CLIENTE EM "
                             "ARQUIVOS MENORES E CONVERTA CADA UM."_ansi,
                     somERRO);
    return false;
}

bool TvenREMESSA::atualizaCadastro(ArquivoDuravel& banco) {
    Tabela& cli = DMQUOR().TBCONVECLI;
    if (!RelocalizaClienteVendor(cli, KQUALCLIENTE, "NENHUM ARQUIVO FOI GRAVADO.")) return false;
    // Another workstation may have converted this client since its record
    // was read: its file carries the generation this one would issue too.
    // Under the record lock, the stored numbers must still be the ones read.
    OBR_EDITA(cli);
    if (cli.FieldByName("ULTREMCLI").AsInteger() != cliente_.ULTREMCLI ||
        cli.FieldByName("ULTREMBAN").AsInteger() != cliente_.ULTREMBAN) {
        cli.Cancel();
        GERAL().MENSAGEM("O CLIENTE "_ansi + KQUALCLIENTE +
                             " FOI CONVERTIDO EM OUTRA ESTAÇÃO DURANTE ESTA CONVERSÃO. NENHUM ARQUIVO "
                             "FOI GRAVADO; CONVERTA-O NOVAMENTE."_ansi,
                         somERRO);
        return false;
    }
    const TData hoje = GERAL().DATADIA;
    Tabela& pen = DMQUOR().TBCONVEPEN;
    try {
        RegistraPendentes(pen, KQUALCLIENTE, pendentes_, hoje);
        // The bank file went on its way to the disk while the pending rows
        // were written; it must be all there before the generations that
        // commit it are posted.
        if (const int erro = banco.Conclui()) throw ErroAoGravar(banco.Destino(), erro);
    } catch (...) {
        cli.Cancel();
        throw;
    }
    cli.FieldByName("ULTREMCLI").SetAsInteger(KULTREMCLI);
    cli.FieldByName("ULTREMBAN").SetAsInteger(geracaoGravada_);
    cli.Post();
    return true;
}

bool TvenREMESSA::confereArquivos() {
    const std::string recusa = RecusaNomeDeSaida(KARQREMBAN, DiretoriosDosCadastros());
    if (!recusa.empty()) {
        GERAL().MENSAGEM(MensagemDeSaidaRecusada("ARQREMBAN", KQUALCLIENTE, KARQREMBAN, recusa),
                         somERRO);
        return false;
    }
    // Writing the bank file over the client's would destroy the file it
    // was made from.
    if (MesmoArquivoVendor(KARQREMCLI, KARQREMBAN)) {
        GERAL().MENSAGEM("O ARQUIVO REMESSA DO BANCO E O DO CLIENTE TÊM O MESMO NOME ("_ansi +
                             KARQREMCLI + "). CORRIJA O CADASTRO DO CLIENTE.",
                         somERRO);
        return false;
    }
    AvisaDisketteVendor(KARQREMCLI);
    if (!ArquivoExiste(ResolveCaminho(KARQREMCLI))) {
        GERAL().MENSAGEM("ARQUIVO REMESSA DO CLIENTE AINDA NAO DISPONIVEL NO MOMENTO", somERRO);
        return false;
    }
    return true;
}

// The bank file, the pending rows and the generations are one unit: after
// a crash the next run names the file when the generations were posted,
// and removes it otherwise.
bool TvenREMESSA::gravaUnidade() {
    if (!fechaArquivoBanco()) {
        fechaSemGravar();
        return false;
    }
    const std::string final = ResolveCaminho(KARQREMBAN);
    if (!banco_) {
        // A missing directory is the writer's to report, under the file's
        // own name; it writes nothing then.
        oARQREMBAN.NOMEARQSAI = KARQREMBAN;
        if (!diretorioDoBancoExiste()) return oARQREMBAN.GRAVA_ARQUIVO(tipCOMFIMARQ);
        abreArquivoBanco();  // the directory was made during the run
    }
    ArquivoDuravel& banco = *banco_;
    oARQREMBAN.DescarregaDireto();
    if (banco.Erro()) throw ErroAoGravar(banco.Destino(), banco.Erro());
    banco.EnviaAoDisco();

    DiarioExecucao diario("CONVERSÃO DA REMESSA VENDOR DO CLIENTE "_ansi + KQUALCLIENTE);
    // Both reach the disk together, before the unit commits: a crash before
    // that leaves an abandoned temporary, which recovery removes.
    diario.Saida(banco.Temporario(), final, true, false);
    banco.Solta();
    diario.Se("CONVECLI.DBF", "CODCLI", KQUALCLIENTE,
              {{"ULTREMBAN", std::to_string(geracaoGravada_)}, {"ULTREMCLI", std::to_string(KULTREMCLI)}});
    if (!atualizaCadastro(banco)) return false;  // the journal removes the file
    diario.Comprometido();
    if (const int erro = RenomeiaDuravel(banco.Temporario(), final, true)) {
        // The counters have moved on: the file must not be lost. The
        // journal stays, and the next run gives it its name.
        AvisaSemNomeVendor("REMESSA DO BANCO", banco.Temporario(), final, erro);
        diario.DeixaParaARecuperacao();
        return false;
    }
    diario.Conclui();
    ResumoGravado(KARQREMBAN + ": " + ResumoRegistros(WGRA));
    return true;
}

bool TvenREMESSA::diretorioDoBancoExiste() const {
    const std::string diretorio = OBR_PARTEARQ(KARQREMBAN, 0);
    return diretorio.empty() || ArquivoExiste(diretorio);
}

// The bank file is written as its records are made, unnamed, so that they
// take no memory; the unit gives it its name.
void TvenREMESSA::abreArquivoBanco() {
    banco_ = std::make_unique<ArquivoDuravel>(ResolveCaminho(KARQREMBAN));
    oARQREMBAN.EscreveDiretoEm(*banco_);
}

void TvenREMESSA::fechaSemGravar() {
    oARQREMBAN.LIMPAAUXILIAR();
    banco_.reset();  // the unnamed file goes
}

void TvenREMESSA::REM_PROCESSA() {
    if (!KACIONOU_EM_LINHA_DE_COMANDO &&
        !OBR_CONFIRMA(
            "    Esta funcao ira efetuar a leitura de um arquivo Remessa gerado pelo cliente, e a "
            "partir dele ira gravar um arquivo Remessa no formato definido pelo banco, contendo as "
            "operacoes ocorridas em um certo periodo.\r\nSe por algum motivo o arquivo gravado se "
            "perder, este podera ser recriado, dentro das condicoes estabelecidas.",
            "Confirma Leitura do Arquivo Remessa ? "))
        return;
    oGRAVA.WTOTREGGR = oGRAVA.WTOTREGTI = 0;
    oGRAVA.WTOTVALTI = 0;
    if (!pedeCliente() || !confereCadastro()) return;

    KARQREMCLI = cliente_.ARQREMCLI + ".TXT";
    KARQREMBAN = cliente_.ARQREMBAN + ".TXT";
    KULTREMCLI = perfil_->numeraArquivoCliente ? ProximaGeracaoVendor(cliente_.ULTREMCLI) : 0;
    KULTREMBAN = perfil_->numeraArquivoBanco ? ProximaGeracaoVendor(cliente_.ULTREMBAN) : 0;

    if (!confereArquivos()) return;
    if (!oLOG_.Prepara()) return;
    oLOG_.DefineArquivos(KARQREMCLI, KULTREMCLI, KARQREMBAN);
    if (!leArquivoCliente()) return;
    if (!KACIONOU_EM_LINHA_DE_COMANDO &&
        !OBR_CONFIRMA("Confirma LEITURA do Arquivo Remessa do cliente ? ", "S"))
        return;
    if (!prepara()) return;
    if (!oLOG_.Inicializa(GERAL().Hora())) return;

    WPES = WGRA = WDES = 0;
    if (perfil_->guardaPendentes) pendentes_.reserve(oARQREMCLI.TABDADOS.size());
    if (diretorioDoBancoExiste()) abreArquivoBanco();
    for (std::size_t i = 0; i < oARQREMCLI.TABDADOS.size(); ++i)
        if (!processaLinha(i)) return;
    std::vector<std::string>().swap(oARQREMCLI.TABDADOS);  // the lines are done with

    // The listing is closed before the bank file is written: the operator
    // keeps the rejected operations even when the file cannot be written.
    oLOG_.Totais(WPES, WDES, WGRA);
    if (oGRAVA.WTOTREGGR > 0 && !gravaUnidade()) return;
    GERAL().MENSAGEM("Registros Pesquisados : " + std::to_string(WPES) + "\r\n" +
                         "Registros desprezados : " + std::to_string(WDES) + "\r\n" +
                         "Registros Gravados : " + std::to_string(WGRA),
                     somSUCESSO, "Leitura da Remessa.");
}

void VEN_CONVREMESSA(const std::string& codigo, bool linhaComando) {
    TDMQUOR& dm = DMQUOR();
    const TabelasAbertas tabelas{&dm.TBCONVECLI, &dm.TBCONVEINS, &dm.TBCONVEPEN, &dm.TBCONVETAX};
    TvenREMESSA run(codigo, linhaComando);
    run.REM_PROCESSA();
    ResumoDaRemessaVendor(run);
}
