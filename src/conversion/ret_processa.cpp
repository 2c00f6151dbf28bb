#include "conversion/ret_processa.h"

#include "conversion/execucao_vendor.h"
#include "conversion/resumo_vendor.h"
#include "conversion/ret_nome_filial.h"
#include "conversion/tktbmanpla.h"
#include "core/arquivos/arquivo_duravel.h"
#include "core/arquivos/caminho_arquivo.h"
#include "core/arquivos/erro_arquivo.h"
#include "core/arquivos/nome_saida.h"
#include "core/dados/tabelas_abertas.h"
#include "core/dados/tdmquor.h"
#include "core/geral.h"
#include "core/obr_edita.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_numeros.h"
#include "core/texto/obr_texto.h"
#include "report/resumo_execucao.h"
#include "tabela/nome_arquivo.h"

namespace {

constexpr long long kMAIOR_SEQUENCIA = 999999;

TvenCLIENTERETORNO leCliente(Tabela& t) {
    TvenCLIENTERETORNO c;
    auto texto = [&t](const char* campo) { return t.FieldByName(campo).AsString(); };
    c.CODCLI = texto("CODCLI");
    c.TIPOEMP = AparaPontas(texto("TIPOEMP"));
    c.ARQRETBAN = AparaPontas(texto("ARQRETBAN"));
    c.ARQRETCLI = AparaPontas(texto("ARQRETCLI"));
    c.IDENTEMP = texto("IDENTEMP");
    c.CGCFOR = texto("CGCFOR");
    c.NUMPROGOP = static_cast<int>(t.FieldByName("NUMPROGOP").AsInteger());
    c.ULTRETBAN = t.FieldByName("ULTRETBAN").AsInteger();
    c.ULTRETCLI = t.FieldByName("ULTRETCLI").AsInteger();
    c.CONDETCP1 = texto("CONDETCP1");
    return c;
}

// Next generation of a Cofap client file: three digits in its records.
int proximaGeracaoCofap(long long ultima) {
    return ultima >= 999 || ultima < 0 ? 1 : static_cast<int>(ultima + 1);
}

}  // namespace

std::string TituloDaJanelaRetorno() { return "Leitura do Arquivo Retorno de Vendor - Conversão"_ansi; }

TvenRETORNO::TvenRETORNO(const std::string& codigo, bool linhaComando)
    : QUALCLIENTE(codigo), ACIONOU_EM_LINHA_DE_COMANDO(linhaComando) {}

void TvenRETORNO::RET_OCORRENCIA(const std::string& mensagem) {
    const bool primeira = WERRO == "N";
    WERRO = "S";
    oLOG_.Irregularidade(primeira, KNUMPED, TipoDoRegistroRetorno(KDADOSBAN), KNUMPARC, mensagem);
}

bool TvenRETORNO::pedeCliente() {
    Tabela& cli = DMQUOR().TBCONVECLI;
    return PedeClienteVendor(
        cli, QUALCLIENTE, TituloDaJanelaRetorno(),
        [](const std::string& codigo) {
            return "CÓDIGO DO CLIENTE INFORMADO NÃO LOCALIZADO NA TABELA.\r\nCódigo informado : "_ansi + codigo;
        },
        [&]() -> std::string {
            cliente_ = leCliente(cli);
            perfil_ = PerfilDoRetorno(cliente_.TIPOEMP);
            if (!perfil_) return "CLIENTE INFORMADO NÃO TEM TIPO DE ARQUIVO DEFINIDO."_ansi;
            const bool comArquivoCliente = PorFilial(*perfil_) || !cliente_.ARQRETCLI.empty();
            if (cliente_.ARQRETBAN.empty()) return "NOME DO ARQUIVO RETORNO DO BANCO AINDA NÃO INFORMADO."_ansi;
            // Without it the client's file would be named ".TXT".
            if (!comArquivoCliente) return "NOME DO ARQUIVO RETORNO DO CLIENTE AINDA NÃO INFORMADO."_ansi;
            return {};
        });
}

bool TvenRETORNO::leArquivoBanco() { return LeArquivoVendor(oARQRETBAN, KARQRETBAN, "RETORNO DO BANCO"); }

bool TvenRETORNO::confereArquivoBanco() {
    const auto& linhas = oARQRETBAN.TABDADOS;
    const std::string& header = linhas.front();
    std::string mensagem =
        ConfereHeaderDoRetorno(header, cliente_.TIPOEMP, cliente_.IDENTEMP, KULTRETBAN);
    if (mensagem.empty()) {
        if (!perfil_->confereIdentificacao) KULTRETBAN = GeracaoDoHeader(header);
        KNOMEEMP = CampoDoRetorno(header, 56, 30);
        const TvenTOTAISRETORNO totais = LeTotaisDoRetorno(linhas, PorFilial(*perfil_));
        KTBFILIAL = totais.filiais;
        mensagem = ConfereTotaisDoRetorno(totais);
    }
    if (mensagem.empty()) return true;
    GERAL().MENSAGEM(mensagem, somERRO);
    return false;
}

void TvenRETORNO::RET_GRAVAREG(const std::string& registro) {
    ++WTOTREGGRA;
    if (WTOTREGGRA > kMAIOR_SEQUENCIA) {
        // Six digits number the records; the file could not be told apart.
        sequenciaExcedida_ = true;
        return;
    }
    const auto colunas = static_cast<std::size_t>(perfil_->colunasAntesDaSequencia);
    if (colunas == 0) {
        oARQRETCLI.GRAVA_INF(registro);
        return;
    }
    // Cut or blank-filled, never trimmed: a BR record goes to the client as
    // the bank wrote it, byte for byte.
    std::string r = registro.substr(0, colunas);
    r.resize(colunas, ' ');
    oARQRETCLI.GRAVA_INF(r + OBR_ZEROS(6, 0, static_cast<double>(WTOTREGGRA)));
}

bool TvenRETORNO::gravaArquivo() {
    if (sequenciaExcedida_) {
        GERAL().MENSAGEM("O ARQUIVO RETORNO DO CLIENTE "_ansi + KARQRETCLI + " TERIA " +
                             std::to_string(WTOTREGGRA) +
                             " REGISTROS, MAIS DO QUE A NUMERAÇÃO DE 6 DÍGITOS COMPORTA. "
                             "NENHUM ARQUIVO FOI GRAVADO."_ansi,
                         somERRO);
        return false;
    }
    // A missing directory is the writer's to report, under the file's own
    // name; it writes nothing then.
    const std::string diretorio = OBR_PARTEARQ(KARQRETCLI, 0);
    oARQRETCLI.NOMEARQSAI = KARQRETCLI;
    try {
        if (!diretorio.empty() && !ArquivoExiste(diretorio)) return oARQRETCLI.GRAVA_ARQUIVO(tipCOMFIMARQ);
        // Written complete under a name of its own and named only with
        // the generations that go with it.
        if (!diario_)
            diario_ = std::make_unique<DiarioExecucao>("CONVERSÃO DO RETORNO VENDOR DO CLIENTE "_ansi +
                                                       QUALCLIENTE);
        const std::string final = ResolveCaminho(KARQRETCLI);
        const std::string temporario = TemporarioVendor(KARQRETCLI);
        diario_->Saida(temporario, final, true);
        oARQRETCLI.NOMEARQSAI = temporario;
        if (!oARQRETCLI.GRAVA_ARQUIVO(tipCOMFIMARQ)) return false;
        escritos_.emplace_back(temporario, final);
        ResumoGravado(KARQRETCLI + ": " + ResumoRegistros(WTOTREGGRA));
        return true;
    } catch (const ErroArquivo& e) {
        GERAL().MENSAGEM(e.what(), somERRO);
        return false;
    }
}

void TvenRETORNO::nomeiaArquivos() {
    if (!diario_) return;
    diario_->Comprometido();
    for (const auto& [temporario, final] : escritos_)
        if (const int erro = RenomeiaDuravel(temporario, final, true)) {
            AvisaSemNomeVendor("RETORNO DO CLIENTE", temporario, final, erro);
            diario_->DeixaParaARecuperacao();
            return;
        }
    diario_->Conclui();
    diario_.reset();
    escritos_.clear();
}

bool TvenRETORNO::RET_GRAVATRAILLER() {
    if (perfil_->traillerProprio) {
        const TvenREGRETORNO t = TrailerCofap(cofap_, WTOTREGTI, WTOTVALTI);
        if (!t.falhas.empty()) {
            std::string texto;
            for (const std::string& f : t.falhas) texto += f + "\r\n";
            GERAL().MENSAGEM(texto + "NENHUM ARQUIVO FOI GRAVADO.", somERRO);
            return false;
        }
        RET_GRAVAREG(t.conteudo);
    }
    return gravaArquivo();
}

void TvenRETORNO::RET_COFAP() {
    Tabela& pen = DMQUOR().TBCONVEPEN;
    for (const std::string& linha : oARQRETBAN.TABDADOS) {
        ++WPES;
        KDADOSBAN = linha;
        const std::string tipo = TipoDoRegistroRetorno(linha);
        if (tipo == "10" || tipo == "19") {
            ++WHEA;
            continue;
        }
        if ((tipo != "12" && tipo != "13" && tipo != "14") ||
            (tipo == "13" && CampoDoRetorno(linha, 85, 1) != "2")) {
            ++WDES;
            continue;
        }
        WERRO = "N";
        const TvenPARCELACOFAP p = LeParcelaCofap(linha);
        KNUMPED = p.numped;
        KNUMPARC = p.numparc;
        std::string cgccli;
        if (OBR_VAZIO(KNUMPED))
            RET_OCORRENCIA("NÚMERO DA PLANILHA NÃO INFORMADO."_ansi);
        else if (!pen.Locate("CODCLI;NUMPED", {QUALCLIENTE, KNUMPED}))
            RET_OCORRENCIA("PLANILHA INEXISTENTE NO REMESSAS PENDENTES.");
        else
            cgccli = pen.FieldByName("CGCCLI").AsString();
        if (KNUMPARC == 0) RET_OCORRENCIA("NÚMERO DA PARCELA NÃO INFORMADO."_ansi);
        const TvenREGRETORNO detalhe = ParcelaCofap(cofap_, p, cgccli);
        for (const std::string& f : detalhe.falhas) RET_OCORRENCIA(f);
        if (WERRO == "S") {
            ++WDES;
            continue;
        }
        if (WTOTREGGRA == 0) {
            oARQRETCLI.CRIA_ARQSAIDA(perfil_->tamanhoRegistro);
            RET_GRAVAREG(HeaderCofap(cofap_).conteudo);
        }
        RET_GRAVAREG(detalhe.conteudo);
        ++WTOTREGTI;
        WTOTVALTI += p.valpago;
        pendentes_.push_back(KNUMPED);
        ++WCON;
    }
}

void TvenRETORNO::RET_WABCO() {
    for (const std::string& linha : oARQRETBAN.TABDADOS) {
        ++WPES;
        KDADOSBAN = linha;
        const std::string tipo = TipoDoRegistroRetorno(linha);
        if (tipo == "40" || tipo == "49") {
            ++WHEA;
            continue;
        }
        // A blank line is no payment: written, it would be a payment of 0
        // for a planilha without number.
        if (tipo == "41" || LinhaVazia(linha)) {
            ++WDES;
            continue;
        }
        WERRO = "N";
        KNUMPED = CampoDoRetorno(linha, 11, 6);
        KNUMPARC = 0;
        const TvenREGRETORNO r = PagamentoWabco(cliente_.NUMPROGOP, linha);
        for (const std::string& f : r.falhas) RET_OCORRENCIA(f);
        if (WERRO == "S") {
            ++WDES;
            continue;
        }
        if (WTOTREGGRA == 0) oARQRETCLI.CRIA_ARQSAIDA(perfil_->tamanhoRegistro);
        RET_GRAVAREG(r.conteudo);
        ++WTOTREGTI;
        WTOTVALTI += ValorDoRetorno(linha, 30);
        ++WCON;
    }
}

int TvenRETORNO::geracaoFilial(const std::string& filial) {
    for (int k = 1; k <= TKTBBRFILIAL::Tamanho(); ++k) {
        TXKTBBRFILIAL& f = KTBBRFILIAL[k];
        if (!OBR_VAZIO(f.S6_FILIAL) &&
            AparaDireita(f.S6_FILIAL) == AparaDireita(filial)) {
            f.S6_ULTRETBR = ProximaGeracaoVendor(f.S6_ULTRETBR);
            return f.S6_ULTRETBR;
        }
    }
    return 1;
}

void TvenRETORNO::recusaFilial(const std::string& filial, const std::string& motivo) {
    const std::string texto = "FILIAL " + FilialVisivel(filial) +
                              " SEM ARQUIVO RETORNO: " + motivo + ". NENHUM ARQUIVO FOI GRAVADO PARA ELA.";
    oLOG_.Aviso(texto);
    recusas_.push_back(texto);
}

std::string TvenRETORNO::motivoSemArquivo(const std::string& filial, const std::string& nome,
                                          const std::vector<std::string>& nomesGravados) {
    std::string motivo = FilialImpropria(filial);
    // Another branch's file of this run, or the bank's own file, must not
    // be replaced.
    if (motivo.empty() && MesmoArquivoVendor(nome, KARQRETBAN))
        motivo = "O ARQUIVO " + nome + " É O PRÓPRIO ARQUIVO RETORNO DO BANCO"_ansi;
    for (const std::string& n : nomesGravados)
        if (motivo.empty() && MesmoArquivoVendor(nome, n))
            motivo = "O ARQUIVO " + nome + " JÁ FOI GRAVADO PARA OUTRA FILIAL NESTA CONVERSÃO"_ansi;
    if (motivo.empty()) {
        const std::string recusa = RecusaNomeDeSaida(nome, diretoriosDosCadastros_);
        if (!recusa.empty()) motivo = "O NOME " + nome + " NÃO PODE SER USADO: "_ansi + recusa;
    }
    return motivo;
}

bool TvenRETORNO::copiaDaFilial(const std::string& filial, const std::string& nome,
                                std::vector<std::string>& falhas) {
    bool primeiroHeader = true;
    bool traillerNoFim = false;
    TvenTOTAISFILIAL lote;
    for (const std::string& linha : oARQRETBAN.TABDADOS) {
        ++WPES;
        const std::string tipo = TipoDoRegistroRetorno(linha);
        if (tipo == "10") {
            ++WHEA;
            if (primeiroHeader) {
                primeiroHeader = false;
                KULTRETCLI = geracaoFilial(filial);
                KARQRETCLI = nome;
                oLOG_.HeaderFilial(KARQRETCLI, KULTRETCLI);
                ++WTOTHEADER_BR;
                if (WTOTHEADER_BR == 1) oARQRETCLI.CRIA_ARQSAIDA(perfil_->tamanhoRegistro);
                else oARQRETCLI.LIMPAAUXILIAR();
            }
            // Each batch of the bank file keeps its own header and trailer
            // in the branch's file, and its trailer counts that batch.
            lote = TvenTOTAISFILIAL();
            const TvenREGRETORNO h = HeaderBr(linha, KULTRETCLI);
            falhas.insert(falhas.end(), h.falhas.begin(), h.falhas.end());
            RET_GRAVAREG(h.conteudo);
            traillerNoFim = false;
        } else if (tipo == "19") {
            ++WHEA;
            const TvenREGRETORNO t = TrailerBr(linha, lote);
            falhas.insert(falhas.end(), t.falhas.begin(), t.falhas.end());
            RET_GRAVAREG(t.conteudo);
            traillerNoFim = true;
        } else if (!LinhaVazia(linha) && CampoDoRetorno(linha, 242, 3) == filial) {
            RET_GRAVAREG(DetalheBr(linha).conteudo);
            lote.Soma(linha);
            ++WCON;
            traillerNoFim = false;
        } else {
            ++WDES;
        }
    }
    return traillerNoFim;
}

bool TvenRETORNO::passaFilial(const std::string& filial,
                              std::vector<std::string>& nomesGravados) {
    WPES = WDES = WHEA = WCON = 0;
    WTOTREGGRA = 0;
    sequenciaExcedida_ = false;
    const std::string nome = ArquivoDaFilial(GERAL().DATADIA, filial);
    if (const std::string motivo = motivoSemArquivo(filial, nome, nomesGravados); !motivo.empty()) {
        oLOG_.Aviso("");
        recusaFilial(filial, motivo);
        return false;
    }

    std::vector<std::string> falhas;
    const TKTBBRFILIAL geracoesAntes = KTBBRFILIAL;
    const bool traillerNoFim = copiaDaFilial(filial, nome, falhas);
    bool gravado = false;
    if (!falhas.empty()) {
        std::string texto;
        for (const std::string& f : falhas) texto += (texto.empty() ? "" : "; ") + f;
        recusaFilial(filial, texto);
    } else if (!traillerNoFim) {
        recusaFilial(filial, "HÁ REGISTROS DA FILIAL DEPOIS DO ÚLTIMO TRAILLER DO ARQUIVO DO BANCO"_ansi);
    } else if (sequenciaExcedida_) {
        recusaFilial(filial, "A FILIAL TEM MAIS REGISTROS DO QUE A NUMERAÇÃO DE 6 DÍGITOS COMPORTA"_ansi);
    } else if (gravaArquivo()) {
        gravado = true;
        nomesGravados.push_back(nome);
    } else {
        // A write that failed may succeed tomorrow: the bank file must then
        // be converted again whole, so nothing of this run is kept.
        falhouGravacao_ = true;
        recusaFilial(filial, "O ARQUIVO " + nome + " NÃO PÔDE SER GRAVADO"_ansi);
    }
    // A branch whose file was not written keeps its generation.
    if (!gravado) KTBBRFILIAL = geracoesAntes;
    oLOG_.TotalFilial(WCON, WHEA);
    return gravado;
}

void TvenRETORNO::RET_BR() {
    oLOG_.InicioBR();
    WTOTHEADER_BR = 0;
    int gravadas = 0;
    int ultimaGeracao = 0;
    std::vector<std::string> nomesGravados;
    for (const std::string& filial : KTBFILIAL) {
        if (passaFilial(filial, nomesGravados)) {
            ++gravadas;
            ultimaGeracao = KULTRETCLI;
        }
    }
    oLOG_.TotalBR(gravadas);
    KULTRETCLI = ultimaGeracao;
    if (falhouGravacao_ && diario_) {
        diario_->Desfaz();
        diario_.reset();
        recusas_.push_back("NENHUM ARQUIVO DE FILIAL FOI MANTIDO E AS GERAÇÕES NÃO MUDARAM: CONVERTA O "
                           "RETORNO NOVAMENTE QUANDO A GRAVAÇÃO FOR POSSÍVEL."_ansi);
    } else if (gravadas > 0) {
        diario_->Se("CONVECLI.DBF", "CODCLI", QUALCLIENTE, "ULTRETBAN", std::to_string(KULTRETBAN));
        if (atualizaCadastro(KULTRETCLI)) nomeiaArquivos();
    }
    if (!recusas_.empty()) {
        std::string texto;
        for (const std::string& r : recusas_) texto += r + "\r\n";
        GERAL().MENSAGEM(texto, somERRO);
    }
}

void TvenRETORNO::dataPendentes() {
    Tabela& pen = DMQUOR().TBCONVEPEN;
    const TData hoje = GERAL().DATADIA;
    for (const std::string& numped : pendentes_) {
        if (!pen.Locate("CODCLI;NUMPED", {QUALCLIENTE, numped})) continue;
        OBR_EDITA(pen);
        pen.FieldByName("DTRETORNO").SetAsDate(hoje);
        pen.Post();
    }
}

bool TvenRETORNO::atualizaCadastro(int ultretcli) {
    Tabela& cli = DMQUOR().TBCONVECLI;
    if (!RelocalizaClienteVendor(cli, QUALCLIENTE, "AS GERAÇÕES NÃO FORAM ATUALIZADAS."_ansi)) return false;
    OBR_EDITA(cli);
    cli.FieldByName("ULTRETBAN").SetAsInteger(KULTRETBAN);
    cli.FieldByName("ULTRETCLI").SetAsInteger(ultretcli);
    if (PorFilial(*perfil_)) omanCONVECLI.GravaFiliaisDoCliente(cli, KTBBRFILIAL);
    cli.Post();
    return true;
}

void TvenRETORNO::RET_PROCESSA() {
    if (!ACIONOU_EM_LINHA_DE_COMANDO &&
        !OBR_CONFIRMA(
            "    Esta funcao ira efetuar a leitura de um arquivo Retorno gerado pelo Banco Quor, "
            "contendo as parcelas que foram baixadas pelo sistema ou outros lancamentos "
            "eventualmente gerados.\r\n    A partir do arquivo Retorno e do Arquivo de Remessas "
            "pendentes,quando for o caso, o sistema ira gravar um arquivo Retorno no layout "
            "definido pelo cliente.",
            "Confirma Leitura do Arquivo Retorno ? "))
        return;
    if (!pedeCliente()) return;

    WTOTREGGRA = WTOTREGTI = 0;
    WTOTVALTI = 0;
    KTBFILIAL.clear();
    const bool porFilial = PorFilial(*perfil_);
    KARQRETBAN = cliente_.ARQRETBAN;
    if (KARQRETBAN.find('.') == std::string::npos) KARQRETBAN += ".TXT";
    if (porFilial) omanCONVECLI.CLI_ABRBR("ABRE_FILIAIS", KTBBRFILIAL, cliente_.CONDETCP1);
    else KARQRETCLI = cliente_.ARQRETCLI + ".TXT";
    KULTRETCLI = perfil_->geracaoDoCliente ? proximaGeracaoCofap(cliente_.ULTRETCLI) : 0;
    KULTRETBAN = ProximaGeracaoVendor(cliente_.ULTRETBAN);

    diretoriosDosCadastros_ = DiretoriosDosCadastros();
    if (!porFilial) {
        const std::string recusa = RecusaNomeDeSaida(KARQRETCLI, diretoriosDosCadastros_);
        if (!recusa.empty()) {
            GERAL().MENSAGEM(MensagemDeSaidaRecusada("ARQRETCLI", QUALCLIENTE, KARQRETCLI, recusa),
                             somERRO);
            return;
        }
    }
    // Writing the client's file over the bank's would destroy the file it
    // is made from.
    if (!porFilial && MesmoArquivoVendor(KARQRETCLI, KARQRETBAN)) {
        GERAL().MENSAGEM("O ARQUIVO RETORNO DO CLIENTE E O DO BANCO TÊM O MESMO NOME ("_ansi +
                             KARQRETBAN + "). CORRIJA O CADASTRO DO CLIENTE.",
                         somERRO);
        return;
    }
    AvisaDisketteVendor(KARQRETBAN);
    if (!ArquivoExiste(ResolveCaminho(KARQRETBAN))) {
        GERAL().MENSAGEM("ARQUIVO RETORNO DO BANCO NÃO ENCONTRADO : "_ansi + KARQRETBAN, somERRO);
        return;
    }
    if (!oLOG_.Prepara()) return;
    if (!ACIONOU_EM_LINHA_DE_COMANDO &&
        !OBR_CONFIRMA("Confirma LEITURA do Arquivo Retorno de Vendor ? ", "S"))
        return;
    if (!leArquivoBanco() || !confereArquivoBanco()) return;
    if (!oLOG_.Inicializa(GERAL().Hora(), KARQRETBAN, KULTRETBAN)) return;

    switch (perfil_->passada) {
        case passaFILIAIS:
            RET_BR();
            return;
        case passaPARCELAS:
            cofap_ = {cliente_.CGCFOR, cliente_.IDENTEMP, KNOMEEMP, GERAL().DATADIA, KULTRETCLI};
            RET_COFAP();
            break;
        case passaPAGAMENTOS:
            RET_WABCO();
            break;
    }
    oLOG_.Totais(WPES, WDES, WHEA, WCON);
    if (WTOTREGGRA == 0 || !RET_GRAVATRAILLER()) return;
    // The pending rows' dates can be written twice without harm; the
    // generations commit the unit.
    diario_->Se("CONVECLI.DBF", "CODCLI", QUALCLIENTE, "ULTRETBAN", std::to_string(KULTRETBAN));
    dataPendentes();
    if (atualizaCadastro(KULTRETCLI)) nomeiaArquivos();
}

void VEN_CONVRETORNO(const std::string& codigo, bool linhaComando) {
    TDMQUOR& dm = DMQUOR();
    const TabelasAbertas tabelas{&dm.TBCONVECLI, &dm.TBCONVEINS, &dm.TBCONVEPEN};
    TvenRETORNO run(codigo, linhaComando);
    run.RET_PROCESSA();
    ResumoDoRetornoVendor(run);
}
