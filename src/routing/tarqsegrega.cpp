#include "routing/tarqsegrega.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <cstdio>
#include <cstring>

#include "core/arquivos/arquivo_em_uso.h"
#include "core/arquivos/erro_arquivo.h"
#include "core/arquivos/nome_saida.h"
#include "core/arquivos/obr_listas.h"
#include "core/dados/tabelas_abertas.h"
#include "core/dados/tdmquor.h"
#include "core/geral.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_datas.h"
#include "core/texto/obr_numeros.h"
#include "core/texto/obr_texto.h"
#include "report/resumo_execucao.h"
#include "report/toprint.h"
#include "routing/leitor_linhas.h"
#include "routing/produtos_retorno.h"
#include "routing/resumo_roteamento.h"
#include "routing/tarqsegrega_blocos.h"
#include "tabela/nome_arquivo.h"

namespace {

bool ehRetornoDoBanco(const std::string& nome) {
    return nome.find('.') != std::string::npos && nome.size() >= 3 &&
           nome.compare(nome.size() - 3, 3, "020") == 0;
}

// The backup of a bank file: its name up to the first ".", then ".ANT".
std::string nomeAnterior(const std::string& nome) { return nome.substr(0, nome.find('.')) + ".ANT"; }

std::string semTrailer() { return "BLOCO SEM TRAILER - NÃO GRAVADO"_ansi; }

}  // namespace

void GravaDiretorio(const std::string& diretorio) {
    const int fd = ::open(diretorio.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool MesmoDiretorio(const std::string& a, const std::string& b) {
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

TarqSEGREGA::TarqSEGREGA() : convecli_(DMQUOR().TBCONVECLI) {}

TarqSEGREGA::~TarqSEGREGA() = default;

namespace {

// Where a product code stands in the product table.
std::size_t posicaoDoProduto(char codigo) {
    const auto& produtos = ProdutosRetorno();
    for (std::size_t i = 0; i < produtos.size(); ++i)
        if (produtos[i].codigo == codigo) return i;
    return produtos.size();
}

}  // namespace

std::vector<std::string>& TarqSEGREGA::LISTA(char codigo) {
    const std::size_t i = posicaoDoProduto(codigo);
    return i < KTBRETORNOS.size() ? KTBRETORNOS[i] : KTBOUTRET;
}

std::int32_t& TarqSEGREGA::TOTAL(char codigo) {
    // Only the products' codes are asked for.
    return KTOTCLIENTES.at(posicaoDoProduto(codigo));
}

void TarqSEGREGA::classifica(const std::vector<std::string>& nomes) {
    for (const std::string& nome : nomes) {
        if (!ehRetornoDoBanco(nome)) continue;
        protegidos_.insert(nome);
        protegidos_.insert(nomeAnterior(nome));
        const ProdutoRetorno* p = ProdutoDoArquivo(nome);
        if (p && LISTA(p->codigo).empty()) LISTA(p->codigo).push_back(nome);
        else KTBOUTRET.push_back(nome);
    }
}

void TarqSEGREGA::ARQ_SEGREGA() {
    std::vector<std::string> nomes;
    // A directory that cannot be read is no directory with nothing to do.
    if (!OBR_LISTAARQ("*", ".", false, nomes)) {
        GERAL().MENSAGEM("NÃO FOI POSSÍVEL LER O DIRETÓRIO DE DADOS: "_ansi + std::strerror(errno) +
                             ". NADA FOI FEITO.",
                         somERRO);
        return;
    }
    trabalho_ = NomesDoDiretorio(".");
    classifica(nomes);

    if (!IMP_PREPARA("LEITURA DE ARQUIVO RETORNO - SEGREGAÇÃO"_ansi, {})) return;
    oPRINT->KNOMEdoARQUIVOemPDF = "ARQUIVO_RETORNO_SEGREGACAO";
    oPRINT->COLUNAS = 80;

    const std::string hora = TextoDaHora(GERAL().Hora());
    const std::string hoje = OBR_DATATOSTR(GERAL().DATADIA);
    nomeLog_ = "CV" + hoje.substr(0, 2) + hora.substr(0, 2) + hora.substr(3, 2) + ".LOG";
    protegidos_.insert(nomeLog_);
    linhaDoLog("*****   INICIO DA SEGREGAÇÃO DO RETORNO   *****"_ansi);
    linhaDoLog("Data: " + hoje + " - " + hora + " - Passada: " + OBR_INTTOSTR(KPASSADA, 2) +
               " - Arquivo: " + nomeLog_);

    if (!oPRINT->IMPINICIALIZA(-1, "", false)) {
        oPRINT.reset();
        return;
    }
    oPRINT->TITESQ = "Le Banco / Grava Cliente - Hora: " + hora;
    oPRINT->TITCAB1 = "   Arquivo/Cliente       Ocorrência"_ansi;
    oPRINT->TITCAB2 = "   ---------------       ----------";

    cadastro_ = CadastroRetorno(convecli_, omanCONVECLI);
    diretoriosDosCadastros_ = DiretoriosDosCadastros();
    diretorioDeGuarda_ = DiretorioDeGuardaDaInstalacao();

    for (const ProdutoRetorno& p : ProdutosRetorno()) {
        const std::vector<std::string>& lista = LISTA(p.codigo);
        if (lista.empty()) continue;
        KARQRETBAN = lista.front();
        KTIPOEMP = std::string(1, p.codigo);
        ARQ_SEGREGAPRODUTO(p.codigo, TOTAL(p.codigo));
    }

    if (!KTBOUTRET.empty()) {
        ARQ_OCORRENCIA("OUTROS");
        std::vector<std::string> outros = KTBOUTRET;
        OBR_ORDENALISTA(outros);
        for (const std::string& nome : outros) {
            KARQRETCLI = nome;
            ARQ_OCORRENCIA("NÃO CONSIDERADO NESTE PROCESSAMENTO."_ansi);
        }
    }

    ARQ_FECHAPASSADA();
    totais();
    EJECT(krSEM_MENSAGEM);
    gravaLog();
}

void TarqSEGREGA::ARQ_SEGREGAPRODUTO(char codigo, std::int32_t& contador) {
    produtoAtual_ = ProdutoRetornoDe(codigo);
    ARQ_OCORRENCIA(std::string(1, codigo));
    ResumoLido("arquivo retorno do banco: " + KARQRETBAN);
    ARQ_SEPARACLIENTES(contador);
    produtoAtual_ = nullptr;
}

bool TarqSEGREGA::ARQ_LOCALIZACLIENTE(const std::string& chave) {
    clienteAtual_ = KTIPOEMP.size() == 1 ? cadastro_.Localiza(KTIPOEMP[0], chave) : nullptr;
    return clienteAtual_ != nullptr;
}

void TarqSEGREGA::ARQ_SEPARACLIENTES(std::int32_t& contador) {
    const std::string nome = KARQRETBAN;
    std::string caminho;
    LeitorDeLinhas leitor;
    std::string_view linha;
    const ProdutoRetorno* produto = abreArquivoDoBanco(nome, caminho, leitor, linha);
    if (!produto) return;
    // The file is the backup before any block leaves it: another
    // workstation does not split it a second time.
    diario_ = std::make_unique<DiarioExecucao>("SEGREGAÇÃO DO ARQUIVO "_ansi + nome);
    falhouGravacao_ = false;
    diario_->MoveFeito(caminho, nomeAnterior(nome), true);
    if (!moveParaAnterior(caminho, nomeAnterior(nome))) {
        diario_->Conclui();
        diario_.reset();
        return;
    }
    produtoAtual_ = produto;
    contadorAtual_ = &contador;
    std::string trabalho;
    do separaLinha(*produto, linha, leitor, trabalho);
    while (leitor.Proxima(linha));
    concluiArquivoDoBanco(nome, caminho, leitor);
}

// The bank file opened on its first line; its product, or nullptr when it
// is not to be split now (said in the log).
const ProdutoRetorno* TarqSEGREGA::abreArquivoDoBanco(const std::string& nome, std::string& caminho,
                                                      LeitorDeLinhas& leitor, std::string_view& linha) {
    // The name comes from the directory listing, upper-cased: the file is the
    // entry of that name in any letter case.
    if (EhNomeSimples(nome)) {
        const std::vector<std::string> achados = trabalho_.Achados(nome);
        caminho = achados.empty() ? nome : achados.front();
    }
    const LeitorDeLinhas::Abertura abertura =
        caminho.empty() ? LeitorDeLinhas::Abertura::ausente : leitor.Abre(caminho);
    KARQRETCLI = nome;
    if (abertura == LeitorDeLinhas::Abertura::ausente) {
        ARQ_OCORRENCIA("ARQUIVO RETORNO DO BANCO NÃO DISPONÍVEL NO MOMENTO."_ansi);
        return nullptr;
    }
    const bool temLinha = abertura == LeitorDeLinhas::Abertura::aberto && leitor.Proxima(linha);
    if (abertura == LeitorDeLinhas::Abertura::ilegivel || leitor.Falhou()) {
        // Left in place, it is the product's first file again next run:
        // the operator must hear of it.
        ARQ_OCORRENCIA("ARQUIVO RETORNO DO BANCO NÃO PÔDE SER LIDO."_ansi);
        GERAL().MENSAGEM("NÃO CONSEGUIU TRANSFORMAR O ARQUIVO TEXTO EM MEMÓRIA.\n"
                         "ARQUIVO PROCURADO: "_ansi + nome,
                         somERRO);
        return nullptr;
    }
    // Split now, its last block would stay behind in the backup, with the
    // rest the transfer goes on writing there: none of it would reach its
    // client.
    if (AindaEmGravacao({caminho}).count(caminho)) {
        ARQ_OCORRENCIA(TextoAindaEmGravacao());
        return nullptr;
    }
    if (!temLinha) {
        ARQ_OCORRENCIA("NENHUMA OPERAÇÃO DISPONÍVEL PARA LEITURA NO ARQUIVO RETORNO."_ansi);
        return nullptr;
    }
    const ProdutoRetorno* produto = KTIPOEMP.size() == 1 ? ProdutoRetornoDe(KTIPOEMP[0]) : nullptr;
    if (!produto) ARQ_OCORRENCIA("NAO IDENTIFICADO O TIPO DE EMPRESA QUE FOI LIDO NO ARQUIVO.");
    return produto;
}

// One line of the bank file: a header opens its client's block, a trailer
// closes it, a detail goes to the open block, translated back by the
// client's rules. Lines outside a block of a known client are not
// delivered; they stay in the backup of the bank file.
void TarqSEGREGA::separaLinha(const ProdutoRetorno& produto, std::string_view linha, const LeitorDeLinhas& leitor,
                              std::string& trabalho) {
    const std::string_view tipo = produto.TipoRegistro(linha);
    if (tipo == produto.codHeader) {
        if (bloco_) descartaBloco(semTrailer());
        KARQRETCLI = std::string(linha.substr(std::min(linha.size(), static_cast<std::size_t>(produto.posIdentificacao - 1)),
                                              static_cast<std::size_t>(produto.tamIdentificacao)));
        if (!ARQ_LOCALIZACLIENTE(produto.Identificacao(linha))) {
            ARQ_OCORRENCIA("CLIENTE SEM DEFINIÇÃO PARA ESTE TIPO DE ARQUIVO."_ansi);
            return;
        }
        abreBloco(*clienteAtual_);
        if (!bloco_) return;
        trabalho.assign(linha);
        for (const RegraTraducao& r : bloco_->cliente->cabecalho)
            // Cobrança 400 only: the bank code a header rule puts back at
            // 77-79 goes into the trailer too, at 5-7.
            if (r.Reverte(trabalho) && produto.codigo == 'C' && r.Inicio() == 77 && r.Fim() == 79)
                bloco_->banco = trabalho.substr(76, 3);
        escreve(trabalho, nullptr);
        return;
    }
    if (!bloco_) return;
    if (tipo == produto.codTrailer) {
        if (!OBR_VAZIO(bloco_->banco)) {
            trabalho.assign(linha);
            if (trabalho.size() < 7) trabalho.resize(7, ' ');
            trabalho.replace(4, 3, bloco_->banco);
            escreve(trabalho, nullptr);
        } else {
            escreve(linha, &leitor);
        }
        encerraBloco();
        return;
    }
    const std::vector<RegraTraducao>& regras = bloco_->cliente->detalhe;
    bool muda = false;
    for (const RegraTraducao& r : regras) muda = muda || r.Reverteria(linha);
    if (!muda) {
        escreve(linha, &leitor);
        return;
    }
    trabalho.assign(linha);
    for (const RegraTraducao& r : regras) r.Reverte(trabalho);
    escreve(trabalho, nullptr);
}

// The end of the bank file: what waits is delivered and the unit is done,
// or, when a write failed, all of it is undone and the file waits, whole.
void TarqSEGREGA::concluiArquivoDoBanco(const std::string& nome, const std::string& caminho,
                                        const LeitorDeLinhas& leitor) {
    if (bloco_) descartaBloco(semTrailer());
    entregaPendentes();
    // A unit already failing is undone whole: its gathered blocks just go.
    if (falhouGravacao_) juntos_.clear();
    else entregaJuntos();
    loteAnterior_ = blocosNoLote_ = 0;
    bytesNoLote_ = 0;
    if (falhouGravacao_) {
        const std::string relato = diario_->Desfaz();
        diario_.reset();
        trabalho_.Retira(nomeAnterior(nome));
        trabalho_.Inclui(caminho);
        KARQRETCLI = nome;
        ARQ_OCORRENCIA("ERRO NA GRAVAÇÃO - SEGREGAÇÃO DESFEITA"_ansi);
        GERAL().MENSAGEM("ERRO NA GRAVAÇÃO DOS RETORNOS DO ARQUIVO "_ansi + nome +
                             ". NENHUM BLOCO DELE FOI ENTREGUE; O ARQUIVO FICA PARA A PRÓXIMA EXECUÇÃO. "_ansi +
                             relato,
                         somERRO);
        return;
    }
    diario_->Conclui();
    diario_.reset();
    if (leitor.Falhou()) {
        KARQRETCLI = nome;
        ARQ_OCORRENCIA("ERRO NA LEITURA - SEGREGAÇÃO INCOMPLETA"_ansi);
        GERAL().MENSAGEM("ERRO NA LEITURA DO ARQUIVO RETORNO DO BANCO "_ansi + nome +
                             ". A SEGREGAÇÃO DESTE ARQUIVO FICOU INCOMPLETA; O ARQUIVO ESTÁ EM "_ansi +
                             nomeAnterior(nome) + ".",
                         somERRO);
    }
}

bool TarqSEGREGA::moveParaAnterior(const std::string& caminho, const std::string& anterior) {
    const std::vector<std::string> outrasCaixas = trabalho_.Achados(anterior);
    // One step: the older backup is replaced only by the new one. (Two names
    // of one file "rename" without moving: the bank file would stay to be
    // split again.)
    struct stat antes {}, depois {};
    const bool mesmoArquivo = ::lstat(caminho.c_str(), &antes) == 0 && ::lstat(anterior.c_str(), &depois) == 0 &&
                              antes.st_dev == depois.st_dev && antes.st_ino == depois.st_ino;
    if (mesmoArquivo || ::rename(caminho.c_str(), anterior.c_str()) != 0) {
        const int erro = mesmoArquivo ? EEXIST : errno;
        if (erro == ENOENT) {
            ARQ_OCORRENCIA("ARQUIVO RETORNO DO BANCO NÃO DISPONÍVEL NO MOMENTO."_ansi);
            return false;
        }
        ARQ_OCORRENCIA("NÃO FOI MOVIDO PARA "_ansi + anterior + " - NÃO SEGREGADO"_ansi);
        GERAL().MENSAGEM("NÃO CONSEGUIU MOVER O ARQUIVO RETORNO DO BANCO "_ansi + KARQRETBAN + " PARA " +
                             anterior + ". NADA FOI SEGREGADO; O ARQUIVO FICA PARA A PRÓXIMA EXECUÇÃO."_ansi,
                         somERRO);
        return false;
    }
    trabalho_.Retira(caminho);
    // The same backup under another letter case is the one replaced.
    for (const std::string& velho : outrasCaixas) {
        struct stat st {};
        if (velho != anterior && ::lstat(velho.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) &&
            ::unlink(velho.c_str()) == 0)
            trabalho_.Retira(velho);
    }
    trabalho_.Inclui(anterior);
    GravaDiretorio(".");
    return true;
}

void TarqSEGREGA::abreBloco(const ClienteRetorno& cliente) {
    const std::string& nome = cliente.arqretcli;
    const std::string chave = EmMaiusculas(nome);
    KARQRETCLI = nome.empty() ? cliente.codigo : nome;
    // The name is the register's: it must name one file of the working
    // directory and no file the system itself keeps there.
    if (!EhNomeSimples(nome)) {
        ARQ_OCORRENCIA("NOME DE ARQUIVO INVÁLIDO - NÃO GRAVADO"_ansi);
        return;
    }
    if (protegidos_.count(chave) || !RecusaNomeDeSaida(nome, diretoriosDosCadastros_).empty()) {
        ARQ_OCORRENCIA("NOME RESERVADO PELO SISTEMA - NÃO GRAVADO"_ansi);
        return;
    }
    const auto dono = entregues_.find(chave);
    if (dono != entregues_.end() && dono->second != cliente.codigo) {
        ARQ_OCORRENCIA("NOME JÁ GRAVADO PARA OUTRO CLIENTE - NÃO GRAVADO"_ansi);
        return;
    }
    bloco_ = std::make_unique<Bloco>();
    bloco_->cliente = &cliente;
    bloco_->copia = std::none_of(cliente.detalhe.begin(), cliente.detalhe.end(),
                                 [](const RegraTraducao& r) { return r.Reversivel(); });
    bloco_->arquivo = std::make_unique<ArquivoProduto>(produtoAtual_->tamanhoRegistro, nome);
    registraNoDiario(*bloco_->arquivo);
}

std::string TarqSEGREGA::recusaTemporario(const ClienteRetorno& cliente) const {
    const std::string& dir = cliente.dirtemp;
    if (MesmoDiretorio(dir, ".")) return "É O DIRETÓRIO DE DADOS"_ansi;
    if (!diretorioDeGuarda_.empty() && MesmoDiretorio(dir, diretorioDeGuarda_))
        return "É O DIRETÓRIO DE GUARDA DAS REMESSAS"_ansi;
    for (const ClienteRetorno& outro : cadastro_.Clientes())
        if (outro.codigo != cliente.codigo && !OBR_VAZIO(outro.dirtemp) && MesmoDiretorio(dir, outro.dirtemp))
            return "É O DIRETÓRIO TEMPORÁRIO DO CLIENTE "_ansi + outro.codigo;
    return {};
}

void TarqSEGREGA::linhaDoLog(const std::string& linha) {
    if (!pendentes_.empty() && !entregando_) {
        pendentes_.push_back(Pendencia{nullptr, {}, linha, true});
        return;
    }
    oARQLOG.GRAVA_INF(linha);
}

void TarqSEGREGA::ARQ_OCORRENCIA(const std::string& texto) {
    if (!pendentes_.empty() && !entregando_) {
        pendentes_.push_back(Pendencia{nullptr, KARQRETCLI, texto, false});
        return;
    }
    const ProdutoRetorno* produto = texto.size() == 1 ? ProdutoRetornoDe(texto[0]) : nullptr;
    if (produto || texto == "OUTROS") {
        linhaDoLog(produto ? produto->tituloSecao + KARQRETBAN
                           : "ARQUIVOS NÃO IDENTIFICADOS NO PROCESSAMENTO :"_ansi);
        if (!oPRINT) return;
        ToPRINT& p = *oPRINT;
        p.INCLINHA(2);
        p.CHARSAY(p.COLESQ, produto ? produto->tituloSecao + KARQRETBAN
                                    : "ARQUIVOS NÃO IDENTIFICADOS NO PROCESSAMENTO: "_ansi);
        p.INCLINHA(1);
        p.CHARSAY(p.COLESQ, std::string(produto ? static_cast<std::size_t>(produto->tracos) : 43, '-'));
        p.INCLINHA(1);
        return;
    }
    linhaDoLog(std::string(10, ' ') + KARQRETCLI + " - " + texto);
    if (!oPRINT) return;
    ToPRINT& p = *oPRINT;
    p.INCLINHA(1);
    p.CHARSAY(p.COLESQ + 4, KARQRETCLI);
    p.CHARSAY(p.COLESQ + 18, texto);
}

void TarqSEGREGA::totais() {
    const std::pair<std::string, long long> totais[] = {
        {"Arquivos de Cobrança 240 gravados: "_ansi, TOTAL('A')},
        {"Arquivos de Cobrança 400 gravados: "_ansi, TOTAL('C')},
        {"Arquivos de Vendor 250 gravados..: ", TOTAL('V')},
        {"Arquivos de Vendor 240 gravados..: ", TOTAL('R')},
        {"Arquivos de Desconto gravados....: ", TOTAL('D')},
        {"Arquivos não identificados.......: "_ansi, static_cast<long long>(KTBOUTRET.size())},
    };
    for (const auto& [rotulo, total] : totais) linhaDoLog(rotulo + OBR_INTTOSTR(total, 4));
    linhaDoLog("*****   SEGREGAÇÃO DO RETORNO JÁ CONCLUÍDA   *****"_ansi);
    if (!oPRINT) return;
    ToPRINT& p = *oPRINT;
    p.INCLINHA(2);
    bool primeiro = true;
    for (const auto& [rotulo, total] : totais) {
        if (!primeiro) p.INCLINHA(1);
        primeiro = false;
        p.CHARSAY(p.COLESQ + 10, rotulo + OBR_INTTOSTR(total, 0));
    }
}

void TarqSEGREGA::gravaLog() {
    // Two runs started in the same minute of the same day of the month have
    // one name: the later run's lines follow the earlier ones instead of
    // replacing them.
    TaexGRAVAEXTERNO saida(120, tamREGFIXO);
    const std::string existente = ResolveNoDiretorio(".", nomeLog_);
    if (SituacaoDoArquivo(existente) == SituacaoArquivo::regular) {
        TaexLEITURAEXTERNO anterior;
        if (anterior.TXT_TO_MEMO(existente))
            for (const std::string& l : anterior.TABDADOS) saida.GRAVA_INF(l);
    }
    for (oARQLOG.First(); !oARQLOG.Eof(); oARQLOG.Next()) saida.GRAVA_INF(oARQLOG.DADOS1());
    saida.NOMEARQSAI = nomeLog_;
    try {
        saida.GRAVA_ARQUIVO(tipCOMFIMARQ);
    } catch (const ErroArquivo& e) {
        GERAL().MENSAGEM(e.what(), somERRO);
    }
}

void SEGREGA_RETORNOS(int passada) {
    if (passada < 0 || passada > 99) {
        GERAL().MENSAGEM("NÚMERO DA PASSADA INFORMADO PARA SEGREGACAO NÃO ESTÁ PREVISTA.\r\n"
                         "Deverá estar entre o intervalo de 0 a 99."_ansi,
                         somERRO);
        return;
    }
    const TabelasAbertas tabelas{&DMQUOR().TBCONVECLI};
    TarqSEGREGA segrega;
    segrega.KPASSADA = passada;
    segrega.ARQ_SEGREGA();
    ResumoDaSegregacao(segrega);
}
