#include "routing/tarqconcatena.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cstdio>
#include <stdexcept>

#include "core/arquivos/arquivo_em_uso.h"
#include "core/arquivos/nome_saida.h"
#include "core/arquivos/obr_listas.h"
#include "core/dados/tabelas_abertas.h"
#include "core/dados/tdmquor.h"
#include "core/geral.h"
#include "core/obr_edita.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_datas.h"
#include "core/texto/obr_numeros.h"
#include "core/texto/obr_texto.h"
#include "report/resumo_execucao.h"
#include "report/toprint.h"
#include "routing/guarda_remessa.h"
#include "routing/produtos_remessa.h"
#include "routing/regra_traducao.h"
#include "routing/resumo_roteamento.h"
#include "routing/sequencia_remessa.h"
#include "tabela/nome_arquivo.h"

namespace {

// The holding directory as a path prefix. A setting brought from an older
// installation may still separate its directories with "\".
std::string diretorioDeGuarda(std::string dir) {
    std::replace(dir.begin(), dir.end(), '\\', '/');
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

}  // namespace

TarqCONCATENA::TarqCONCATENA()
    : conveins_(DMQUOR().TBCONVEINS), convecli_(DMQUOR().TBCONVECLI) {}

TarqCONCATENA::~TarqCONCATENA() = default;

std::vector<std::string>& TarqCONCATENA::LISTA(char codigo) {
    const auto& produtos = ProdutosRemessa();
    for (std::size_t i = 0; i < produtos.size(); ++i)
        if (produtos[i].codigo == codigo) return KTBREMESSAS[i];
    return KTBOUTREM;
}

bool TarqCONCATENA::confereInstalacao() {
    conveins_.First();
    for (const ProdutoRemessa& p : ProdutosRemessa()) {
        if (!OBR_VAZIO(conveins_.FieldByName(p.campoArquivo).AsString())) continue;
        GERAL().MENSAGEM(p.semInstalacao, somERRO);
        return false;
    }
    if (OBR_VAZIO(conveins_.FieldByName("DIRCOPIA").AsString())) {
        GERAL().MENSAGEM("DIRETÓRIO PARA MOVER ARQUIVOS REMESSAS NÃO DEFINIDO NA INSTALAÇÃO"_ansi,
                         somERRO);
        return false;
    }
    // Every product's name as this run would make it, before anything is
    // read or moved.
    const std::string hoje = OBR_DATATOSTR(GERAL().DATADIA);
    const std::vector<std::string> diretorios = DiretoriosDosCadastros();
    for (const ProdutoRemessa& p : ProdutosRemessa()) {
        const std::string modelo = AparaPontas(conveins_.FieldByName(p.campoArquivo).AsString());
        const std::string nome = SubstituiPrimeira(
            SubstituiPrimeira(modelo, "DDMM", hoje.substr(0, 2) + hoje.substr(3, 2)), "NN", "01");
        const std::string recusa = RecusaNomeDeSaida(nome, diretorios);
        if (recusa.empty()) continue;
        GERAL().MENSAGEM(MensagemDeSaidaRecusada(p.campoArquivo, "", modelo, recusa), somERRO);
        return false;
    }
    return true;
}

std::string TarqCONCATENA::caminhoDoCliente(const std::string& nome) const {
    // The name comes from the directory listing, upper-cased: the file is the
    // entry of that name in any letter case.
    if (!EhNomeSimples(nome)) return {};
    const std::vector<std::string> achados = trabalho_.Achados(nome);
    return achados.empty() ? ResolveNoDiretorio(".", nome) : achados.front();
}

void TarqCONCATENA::classifica(const std::vector<std::string>& nomes) {
    for (const std::string& nome : nomes) {
        if (!EhRemessaDeCliente(nome)) continue;
        nomesUsados_.insert(nome);
        const auto cliente = clientes_.find(ChaveDaRemessa(nome));
        if (cliente == clientes_.end()) {
            KTBOUTREM.push_back(nome);
            continue;
        }
        const std::string& tipo = cliente->second.tipo;
        LISTA(tipo.size() == 1 ? tipo[0] : '\0').push_back(nome);
    }
}

void TarqCONCATENA::ARQ_CONCATENA() {
    if (!confereInstalacao()) return;
    KDIRCOPIA = diretorioDeGuarda(conveins_.FieldByName("DIRCOPIA").AsString());

    std::vector<std::string> nomes;
    // A directory that cannot be read is no directory with nothing to do.
    if (!OBR_LISTAARQ("*", ".", false, nomes)) {
        GERAL().MENSAGEM("NÃO FOI POSSÍVEL LER O DIRETÓRIO DE DADOS: "_ansi + std::strerror(errno) +
                             ". NADA FOI FEITO.",
                         somERRO);
        return;
    }
    trabalho_ = NomesDoDiretorio(".");
    clientes_ = LeClientesPorRemessa(convecli_, omanCONVECLI);
    classifica(nomes);
    if (KTBOUTREM.empty() &&
        std::all_of(KTBREMESSAS.begin(), KTBREMESSAS.end(), [](const auto& l) { return l.empty(); }))
        return;

    if (!IMP_PREPARA("LEITURA DE ARQUIVO REMESSA - CONCATENAÇÃO"_ansi, {})) return;
    oPRINT->KNOMEdoARQUIVOemPDF = "ARQUIVO_REMESSA_CONCATENACAO";
    oPRINT->COLUNAS = 80;
    if (!oPRINT->IMPINICIALIZA(-1, "", false)) {
        oPRINT.reset();
        return;
    }
    oPRINT->TITESQ = "Le Cliente / Grava Banco - Hora: " + TextoDaHora(GERAL().Hora());
    oPRINT->TITCAB1 = "   Arquivo       Ocorrência"_ansi;
    oPRINT->TITCAB2 = "   -------       ----------";

    const std::string hoje = OBR_DATATOSTR(GERAL().DATADIA);  // dd/mm/yyyy
    KULTDATCOB = hoje.substr(0, 2) + hoje.substr(3, 2);

    for (const ProdutoRemessa& p : ProdutosRemessa()) {
        std::vector<std::string>& lista = LISTA(p.codigo);
        if (lista.empty()) continue;
        KARQREMBAN = conveins_.FieldByName(p.campoArquivo).AsString();
        ARQ_GRAVAPRODUTO(p.codigo, lista);
    }

    if (!KTBOUTREM.empty()) {
        ARQ_OCORRENCIA("OUTROS");
        std::vector<std::string> outros = KTBOUTREM;
        OBR_ORDENALISTA(outros);
        for (const std::string& nome : outros) {
            KARQREMCLI = nome;
            ARQ_OCORRENCIA("SEM CLIENTE DEFINIDO");
        }
    }
    imprimeTotais();
    EJECT(krSEM_MENSAGEM);
}

std::string TarqCONCATENA::nomeDoProduto(const ProdutoRemessa& produto) {
    std::string nome = SubstituiPrimeira(KARQREMBAN, "DDMM", KULTDATCOB);
    if (nome.find("NN") == std::string::npos) return nome;
    std::int32_t& numero = produto.codigo == 'A' ? KSEQREMC24 : KSEQREMC40;
    // Chosen once per counter and run: later products that share the
    // counter take the same number.
    if (numero == 0) {
        conveins_.First();
        numero = ReservaSequencia(
            conveins_, produto.campoSequencia, KULTDATCOB,
            [this, &produto](long long anterior, int novo, const std::string& diaAnterior) {
                numeroDaUnidade_ = true;
                diario_->Numero("CONVEINS.DBF", "", "", produto.campoSequencia,
                                std::to_string(anterior), std::to_string(novo), "ULTDATCOB",
                                diaAnterior, KULTDATCOB);
            });
    }
    return SubstituiPrimeira(nome, "NN", OBR_ZEROS(2, 0, numero));
}

void TarqCONCATENA::ARQ_GRAVAPRODUTO(char codigo, std::vector<std::string>& lista) {
    const ProdutoRemessa* produto = ProdutoRemessaDe(codigo);
    if (!produto) return;
    // One unit of work per product file: its number, the client files moved
    // to the holding directory and the file itself reach the disk together
    // or, after a crash, are undone together by the next run.
    diario_ = std::make_unique<DiarioExecucao>("CONCATENAÇÃO "_ansi + KARQREMBAN);
    numeroDaUnidade_ = false;
    KARQREMBAN = nomeDoProduto(*produto);
    ARQ_OCORRENCIA(std::string(1, codigo));
    OBR_ORDENALISTA(lista);

    const std::string chave = EmMaiusculas(KARQREMBAN);
    if (recusaNomeJaUsado(chave, lista)) return;
    leRemessasDoProduto(*produto, lista);
    if (oGRAEXT->TOTREGGRA > 0) gravaProduto(chave);
    oGRAEXT.reset();
    produtoAtual_ = nullptr;
    movidos_.clear();
    concluiUnidade();
}

bool TarqCONCATENA::recusaNomeJaUsado(const std::string& chave, const std::vector<std::string>& lista) {
    // A bank file must not replace another one of this run (two products
    // whose names come out the same) nor a client file this run lists: what
    // it replaced would be lost.
    if (!nomesUsados_.count(chave)) return false;
    GERAL().MENSAGEM("O NOME DO ARQUIVO REMESSA DO BANCO "_ansi + KARQREMBAN +
                         " JÁ É USADO NESTA CONCATENAÇÃO. VERIFIQUE OS NOMES DOS "
                         "ARQUIVOS REMESSA DO BANCO NA INSTALAÇÃO."_ansi,
                     somERRO);
    for (const std::string& nome : lista) linhaDoLog(nome, "NAO LIDO - NOME DO ARQUIVO DO BANCO JA USADO");
    desfazUnidade();
    return true;
}

void TarqCONCATENA::leRemessasDoProduto(const ProdutoRemessa& produto, const std::vector<std::string>& lista) {
    produtoAtual_ = &produto;
    oGRAEXT = std::make_unique<ArquivoProduto>(produto.tamanhoRegistro, KARQREMBAN);
    oGRAEXT->aoCriarTemporario = [this](const std::string& temporario, const std::string& final) {
        diario_->Saida(temporario, final, true);
    };
    movidos_.clear();
    // Files a transfer program is still writing wait for a later run; those
    // the system cannot tell by a lease are watched together, once.
    std::vector<std::string> caminhos;
    for (const std::string& nome : lista)
        if (const std::string c = caminhoDoCliente(nome); !c.empty()) caminhos.push_back(c);
    emGravacao_ = AindaEmGravacao(caminhos);
    try {
        for (const std::string& nome : lista) {
            KARQREMCLI = nome;
            ARQ_LEREMESSA();
        }
    } catch (...) {
        oGRAEXT.reset();
        desfazUnidade();
        devolveMovidos();
        throw;
    }
}

void TarqCONCATENA::gravaProduto(const std::string& chave) {
    bool gravou = false;
    try {
        if (oGRAEXT->PRONTO()) {
            diario_->Confirma({DiarioExecucao::Define("CONVEINS.DBF", "", "", "ULTDATCOB", KULTDATCOB)});
            gravou = oGRAEXT->GRAVA_ARQUIVO();
        }
    } catch (const std::exception& e) {
        GERAL().MENSAGEM(e.what(), somERRO);
    }
    if (gravou) {
        nomesUsados_.insert(chave);
        ResumoGravado(KARQREMBAN + ": " + ResumoRegistros(oGRAEXT->TOTREGGRA));
    } else if (!diario_->Confirmado()) {
        oGRAEXT.reset();
        desfazUnidade();
        devolveMovidos();
    }
}

void TarqCONCATENA::concluiUnidade() {
    // A unit that wrote nothing gives its number back, and the day of the
    // numbering stays as it was with it.
    if (!diario_->Confirmado()) {
        desfazUnidade();
        diario_.reset();
        return;
    }
    conveins_.First();
    OBR_EDITA(conveins_);
    conveins_.FieldByName("ULTDATCOB").SetAsString(KULTDATCOB);
    conveins_.Post();
    diario_->Conclui();
    diario_.reset();
}

void TarqCONCATENA::desfazUnidade() {
    if (!diario_ || diario_->Confirmado()) return;
    const std::string relato = diario_->Desfaz();
    if (relato.find("FALHOU") != std::string::npos) GERAL().MENSAGEM(relato, somERRO);
    // The number went back to the counter (unless another workstation
    // took the next one meanwhile): the next product asks again.
    if (numeroDaUnidade_) KSEQREMC24 = KSEQREMC40 = 0;
    numeroDaUnidade_ = false;
}

void TarqCONCATENA::devolveMovidos() {
    for (const Movido& m : movidos_) {
        if (SituacaoDoArquivo(m.original) == SituacaoArquivo::regular) {
            trabalho_.Inclui(m.original);
            if (guarda_) guarda_->Retira(m.nome);
        } else {
            GERAL().MENSAGEM("NAO CONSEGUIU DEVOLVER O ARQUIVO: " + m.guardado, somERRO);
        }
    }
    linhaDoLog(KARQREMBAN, "NAO GRAVADO - REMESSAS DEVOLVIDAS PARA NOVA LEITURA");
}

void TarqCONCATENA::ARQ_LEREMESSA() {
    if (!oGRAEXT || !produtoAtual_) throw std::logic_error("ARQ_LEREMESSA fora de ARQ_GRAVAPRODUTO");
    const std::string nome = KARQREMCLI;
    const std::string caminho = caminhoDoCliente(nome);
    const SituacaoArquivo situacao =
        caminho.empty() ? SituacaoArquivo::ausente : SituacaoDoArquivo(caminho);
    if (situacao == SituacaoArquivo::ausente) {
        ARQ_OCORRENCIA("ARQUIVO REMESSA DO CLIENTE NÃO DISPONÍVEL NO MOMENTO."_ansi);
        return;
    }
    // Read now, it would go to the bank cut short and its rest would stay
    // behind in the holding copy.
    if (situacao == SituacaoArquivo::regular &&
        (emGravacao_.count(caminho) || GravacaoPelaConcessao(caminho) == EstadoDeGravacao::emCurso)) {
        ARQ_OCORRENCIA(TextoAindaEmGravacao());
        return;
    }
    // A link could lead out of the working directory, and a pipe or device
    // would never end: only a regular file is read.
    if (situacao != SituacaoArquivo::regular || !oARQREMESSA.TXT_TO_MEMO(caminho)) {
        GERAL().MENSAGEM("NÃO CONSEGUIU TRANSFORMAR O ARQUIVO TEXTO EM MEMÓRIA.\n"
                         "ARQUIVO PROCURADO: "_ansi + nome,
                         somERRO);
        return;
    }
    if (oARQREMESSA.TABDADOS.empty()) {
        ARQ_OCORRENCIA("NENHUMA OPERAÇÃO DISPONÍVEL PARA LEITURA NO ARQUIVO REMESSA."_ansi);
        return;
    }
    const auto cliente = clientes_.find(ChaveDaRemessa(nome));
    if (cliente == clientes_.end()) {
        ARQ_OCORRENCIA("CLIENTE NÃO FOI LOCALIZADO NA TABELA."_ansi);
        return;
    }
    const ProdutoRemessa* produto = ProdutoRemessaDe(cliente->second.tipo);
    if (!produto || produto != produtoAtual_) {
        ARQ_OCORRENCIA("NAO IDENTIFICADO O TIPO DE EMPRESA PARA O ARQUIVO INFORMADO");
        return;
    }
    if (!produto->ConfereHeader(oARQREMESSA.TABDADOS.front())) {
        ARQ_OCORRENCIA(produto->semHeader);
        return;
    }
    if (!produto->TerminaNoTrailer(oARQREMESSA.TABDADOS)) {
        ARQ_OCORRENCIA("SEM TRAILER (ARQUIVO INCOMPLETO); SERÁ LIDO NA PRÓXIMA EXECUÇÃO."_ansi);
        return;
    }
    traduz(cliente->second, *produto);

    // The lines join the product file only once the file is out of the
    // working directory: a file left there is read again by the next run,
    // and its remittances must not reach the bank twice.
    std::string guardado;
    if (!guarda_ || guarda_->Diretorio() != KDIRCOPIA)
        guarda_ = std::make_unique<NomesDoDiretorio>(KDIRCOPIA);
    // Written down before the move: a crash before the product file has
    // its name puts the file back where it was.
    diario_->MoveFeito(caminho, JuntaCaminho(guarda_->Diretorio(), nome));
    if (!MoveParaGuarda(caminho, *guarda_, nome, guardado)) {
        diario_->MoveNaoFeito();
        GERAL().MENSAGEM("NAO CONSEGUIU MOVER O ARQUIVO: " + nome, somERRO);
        ARQ_OCORRENCIA("NAO FOI MOVIDO - NAO CONCATENADO");
        return;
    }
    trabalho_.Retira(caminho);
    movidos_.push_back({nome, guardado, caminho});
    for (const std::string& linha : oARQREMESSA.TABDADOS) oGRAEXT->GRAVA_INF(linha);
    ARQ_OCORRENCIA("Lido com sucesso");
}

void TarqCONCATENA::traduz(const ClienteRemessa& cliente, const ProdutoRemessa& produto) {
    std::vector<RegraTraducao> cabecalho, detalhe;
    for (int n = 1; n <= TKTBCONVE::Tamanho(); ++n) {
        cabecalho.emplace_back(cliente.cabecalho[n]);
        detalhe.emplace_back(cliente.detalhe[n]);
    }
    // Cobrança 400 only: the bank code a header rule writes at 77-79 goes
    // into the trailer too, at 5-7.
    const bool levaBanco = produto.codigo == 'C';
    std::string banco;
    for (std::string& linha : oARQREMESSA.TABDADOS) {
        const std::string tipo = produto.TipoRegistro(linha);
        if (tipo == produto.codHeader) {
            for (const RegraTraducao& r : cabecalho)
                if (r.Aplica(linha) && levaBanco && r.Inicio() == 77 && r.Fim() == 79)
                    banco = linha.substr(76, 3);
        } else if (tipo == produto.codTrailer) {
            if (!OBR_VAZIO(banco)) {
                if (linha.size() < 7) linha.resize(7, ' ');
                linha.replace(4, 3, banco);
                banco.clear();
            }
        } else {
            for (const RegraTraducao& r : detalhe) r.Aplica(linha);
        }
    }
}

void TarqCONCATENA::ARQ_OCORRENCIA(const std::string& texto) {
    if (!oPRINT) return;
    ToPRINT& p = *oPRINT;
    const ProdutoRemessa* produto = texto.size() == 1 ? ProdutoRemessaDe(texto[0]) : nullptr;
    if (produto || texto == "OUTROS") {
        p.INCLINHA(2);
        p.CHARSAY(p.COLESQ, produto ? produto->tituloSecao + KARQREMBAN
                                    : std::string("ARQUIVOS SEM CADASTRAMENTO DE CLIENTE :"));
        p.INCLINHA(1);
        p.CHARSAY(p.COLESQ, std::string(produto ? static_cast<std::size_t>(produto->tracos) : 37, '-'));
        p.INCLINHA(1);
        return;
    }
    linhaDoLog(KARQREMCLI, texto);
}

void TarqCONCATENA::linhaDoLog(const std::string& nome, const std::string& texto) {
    if (!oPRINT) return;
    ToPRINT& p = *oPRINT;
    p.INCLINHA(1);
    p.CHARSAY(p.COLESQ + 4, nome);
    p.CHARSAY(p.KCOLATU + 2, texto);
}

void TarqCONCATENA::imprimeTotais() {
    ToPRINT& p = *oPRINT;
    p.INCLINHA(2);
    for (const ProdutoRemessa& produto : ProdutosRemessa()) {
        p.CHARSAY(p.COLESQ + 10, produto.rotuloTotal + OBR_INTTOSTR(static_cast<long long>(LISTA(produto.codigo).size()), 0));
        p.INCLINHA(1);
    }
    p.CHARSAY(p.COLESQ + 10, "Arquivos nao identificados.......: " +
                                 OBR_INTTOSTR(static_cast<long long>(KTBOUTREM.size()), 0));
}

void CONCATENA_REMESSAS() {
    const TabelasAbertas tabelas{&DMQUOR().TBCONVEINS, &DMQUOR().TBCONVECLI};
    TarqCONCATENA concatena;
    concatena.ARQ_CONCATENA();
    ResumoDaConcatenacao(concatena);
}
