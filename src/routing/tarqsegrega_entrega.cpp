// The delivery of what the segregation splits: finished blocks wait in
// batches whose disk writes are started together, lines the bank sent as
// they are copied in one piece, a client's further blocks gathered and
// joined once, blocks parked in a client's temporary directory; every file
// through the unit's journal.

#include "routing/tarqsegrega.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/arquivos/erro_arquivo.h"
#include "core/geral.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_datas.h"
#include "core/texto/obr_numeros.h"
#include "core/texto/obr_texto.h"
#include "routing/leitor_linhas.h"
#include "routing/produtos_retorno.h"
#include "routing/tarqsegrega_blocos.h"
#include "tabela/nome_arquivo.h"

namespace {

// A batch is delivered when it holds this many blocks or bytes.
constexpr std::size_t kBlocosPorLote = 64;
constexpr long long kBytesPorLote = 256LL << 20;
// Clients gathering further blocks at once; one more joins the one that
// gathered least recently to its file first.
constexpr std::size_t kJuntosAbertos = 16;

}  // namespace

void TarqSEGREGA::entregaPendentes(std::size_t quantos) {
    quantos = std::min(quantos, pendentes_.size());
    std::vector<Pendencia> lote(std::make_move_iterator(pendentes_.begin()),
                                std::make_move_iterator(pendentes_.begin() + static_cast<std::ptrdiff_t>(quantos)));
    pendentes_.erase(pendentes_.begin(), pendentes_.begin() + static_cast<std::ptrdiff_t>(quantos));
    for (Pendencia& p : lote)
        if (p.bloco) p.bloco->arquivo->AguardaDisco();
    entregando_ = true;
    for (Pendencia& p : lote) {
        if (p.bloco) {
            entrega(*p.bloco, *contadorAtual_);
            p.bloco.reset();
        } else if (p.soNoArquivoDeLog) {
            linhaDoLog(p.texto);
        } else {
            KARQRETCLI = p.nome;
            ARQ_OCORRENCIA(p.texto);
        }
    }
    entregando_ = false;
    // The new names reach the disk with their directories, once per batch.
    for (const std::string& dir : diretoriosAlterados_) GravaDiretorio(dir);
    diretoriosAlterados_.clear();
}

void TarqSEGREGA::registraNoDiario(ArquivoProduto& arquivo) {
    DiarioExecucao* diario = diario_.get();
    if (!diario) return;
    arquivo.aoCriarTemporario = [diario](const std::string& temporario, const std::string& final) {
        diario->Saida(temporario, final, true);
    };
    arquivo.antesDeNomear = [diario](const std::string& temporario, const std::string& final) {
        diario->Criado(temporario, final);
    };
}

namespace {

// The line is written exactly as it stands: the record length, and nothing
// the writer would change at its end (trailing control characters become
// blanks there).
bool jaNoFormato(std::string_view linha, std::size_t tamanho) {
    if (linha.size() != tamanho) return false;
    std::size_t fim = linha.size();
    while (fim >= 8 && std::memcmp(linha.data() + fim - 8, "        ", 8) == 0) fim -= 8;
    while (fim > 0 && linha[fim - 1] == ' ') --fim;
    return fim == 0 || static_cast<unsigned char>(linha[fim - 1]) > ' ';
}

}  // namespace

void TarqSEGREGA::escreve(std::string_view linha, const LeitorDeLinhas* origem) {
    Bloco& b = *bloco_;
    const std::size_t tamanho = static_cast<std::size_t>(produtoAtual_->tamanhoRegistro);
    long long inicio = 0;
    if (b.copia && origem && jaNoFormato(linha, tamanho) && origem->TrechoDoArquivo(inicio)) {
        const long long bytes = static_cast<long long>(tamanho) + 2;
        if (b.trechoBytes > 0 && b.origem == origem->Descritor() && b.trechoInicio + b.trechoBytes == inicio) {
            b.trechoBytes += bytes;
            ++b.trechoRegistros;
            return;
        }
        descarregaTrecho();
        b.origem = origem->Descritor();
        b.trechoInicio = inicio;
        b.trechoBytes = bytes;
        b.trechoRegistros = 1;
        return;
    }
    descarregaTrecho();
    b.arquivo->GRAVA_INF(linha);
}

void TarqSEGREGA::descarregaTrecho() {
    Bloco& b = *bloco_;
    if (b.trechoBytes == 0) return;
    b.arquivo->AcrescentaTrecho(b.origem, b.trechoInicio, b.trechoBytes, b.trechoRegistros);
    b.trechoBytes = 0;
    b.trechoRegistros = 0;
}

void TarqSEGREGA::descartaBloco(const std::string& motivo) {
    KARQRETCLI = bloco_->cliente->arqretcli;
    bloco_.reset();
    ARQ_OCORRENCIA(motivo);
}

void TarqSEGREGA::encerraBloco() {
    descarregaTrecho();
    bloco_->arquivo->ENCAMINHA();
    bytesNoLote_ += static_cast<long long>(bloco_->arquivo->TOTREGGRA) * (produtoAtual_->tamanhoRegistro + 2);
    ++blocosNoLote_;
    pendentes_.push_back(Pendencia{std::move(bloco_), {}, {}, false});
    if (blocosNoLote_ < kBlocosPorLote && bytesNoLote_ < kBytesPorLote) return;
    entregaPendentes(loteAnterior_);
    loteAnterior_ = pendentes_.size();
    blocosNoLote_ = 0;
    bytesNoLote_ = 0;
}

void TarqSEGREGA::entrega(Bloco& bloco, std::int32_t& contador) {
    const ClienteRetorno& cliente = *bloco.cliente;
    KARQRETCLI = cliente.arqretcli;
    const bool estacionar = produtoAtual_->codigo == 'C' && !OBR_VAZIO(cliente.dirtemp);
    try {
        if (estacionar && estaciona(bloco, contador)) {
            ++contador;
            ARQ_OCORRENCIA("Gravado com sucesso");
            ARQ_OCORRENCIA("Movido para diretorio temporario");
            return;
        }
        switch (entregaNoTrabalho(bloco)) {
            case Entrega::recusada:
                ARQ_OCORRENCIA("NOME JÁ GRAVADO PARA OUTRO CLIENTE - NÃO GRAVADO"_ansi);
                return;
            case Entrega::falhou:
                falhouGravacao_ = true;
                ARQ_OCORRENCIA("ERRO NA GRAVAÇÃO - NÃO GRAVADO"_ansi);
                return;
            case Entrega::gravada:
                ++contador;
                ARQ_OCORRENCIA("Gravado com sucesso");
                break;
            case Entrega::juntada:
                ++contador;
                ARQ_OCORRENCIA("Gravado com sucesso - junto ao bloco anterior");
                break;
        }
        if (estacionar) linhaDoLog("NÃO CONSEGUIU MOVER O ARQUIVO: "_ansi + cliente.arqretcli);
    } catch (const ErroArquivo& e) {
        falhouGravacao_ = true;
        GERAL().MENSAGEM(e.what(), somERRO);
        KARQRETCLI = cliente.arqretcli;
        ARQ_OCORRENCIA("ERRO NA GRAVAÇÃO - NÃO GRAVADO"_ansi);
    }
}

TarqSEGREGA::Entrega TarqSEGREGA::entregaNoTrabalho(Bloco& bloco) {
    const ClienteRetorno& cliente = *bloco.cliente;
    const std::string chave = EmMaiusculas(cliente.arqretcli);
    const auto dono = entregues_.find(chave);
    if (dono != entregues_.end() && dono->second != cliente.codigo) return Entrega::recusada;
    if (dono != entregues_.end()) {
        // A further block of the client in this run: its file holds the
        // earlier block(s) first, then this one, so nothing is replaced.
        auto juntos = juntos_.find(chave);
        if (juntos == juntos_.end() &&
            SituacaoDoArquivo(ResolveNoDiretorio(".", cliente.arqretcli)) != SituacaoArquivo::ausente) {
            if (juntos_.size() >= kJuntosAbertos) {
                const auto antigo = std::min_element(juntos_.begin(), juntos_.end(), [](const auto& x, const auto& y) {
                    return x.second.uso < y.second.uso;
                });
                entregaJuntos(antigo->first);
            }
            auto arquivo = std::make_unique<ArquivoProduto>(produtoAtual_->tamanhoRegistro, cliente.arqretcli);
            registraNoDiario(*arquivo);
            juntos = juntos_.emplace(chave, Juntos{std::move(arquivo), cliente.arqretcli, 0}).first;
        }
        if (juntos != juntos_.end()) {
            bloco.arquivo->JuntaEm(*juntos->second.arquivo);
            juntos->second.uso = ++usos_;
            return Entrega::juntada;
        }
        // The earlier file was taken away meanwhile: this block alone.
    }
    bloco.arquivo->sincronizaDiretorio = false;
    diretoriosAlterados_.insert(".");
    if (!bloco.arquivo->GRAVA_ARQUIVO()) return Entrega::falhou;
    entregues_[chave] = cliente.codigo;
    trabalho_.Inclui(cliente.arqretcli);
    return Entrega::gravada;
}

void TarqSEGREGA::entregaJuntos(const std::string& chave) {
    std::vector<Juntos> lista;
    for (auto i = juntos_.begin(); i != juntos_.end();) {
        if (!chave.empty() && i->first != chave) {
            ++i;
            continue;
        }
        lista.push_back(std::move(i->second));
        i = juntos_.erase(i);
    }
    for (Juntos& j : lista) {
        KARQRETCLI = j.nome;
        try {
            juntaAoArquivo(j.nome, *j.arquivo);
        } catch (const ErroArquivo& e) {
            falhouGravacao_ = true;
            GERAL().MENSAGEM(e.what(), somERRO);
            KARQRETCLI = j.nome;
            ARQ_OCORRENCIA("ERRO NA GRAVAÇÃO - NÃO GRAVADO"_ansi);
        }
    }
}

void TarqSEGREGA::juntaAoArquivo(const std::string& nome, ArquivoProduto& juntos) {
    const std::string anterior = ResolveNoDiretorio(".", nome);
    LeitorDeLinhas velho;
    const LeitorDeLinhas::Abertura abertura = velho.Abre(anterior);
    bool gravou = false;
    if (abertura == LeitorDeLinhas::Abertura::ausente) {
        // The earlier file was taken away meanwhile: these blocks alone.
        gravou = juntos.GRAVA_ARQUIVO();
        if (gravou) trabalho_.Inclui(nome);
    } else {
        if (abertura != LeitorDeLinhas::Abertura::aberto)
            throw ErroArquivo("ERRO AO LER O ARQUIVO "_ansi + anterior, EIO);
        ArquivoProduto junto(produtoAtual_->tamanhoRegistro, nome);
        registraNoDiario(junto);
        std::string_view linha;
        while (velho.Proxima(linha)) junto.GRAVA_INF(linha);
        if (velho.Falhou()) throw ErroArquivo("ERRO AO LER O ARQUIVO "_ansi + anterior, EIO);
        juntos.JuntaEm(junto);
        gravou = junto.GRAVA_ARQUIVO();
    }
    if (!gravou) {
        falhouGravacao_ = true;
        ARQ_OCORRENCIA("ERRO NA GRAVAÇÃO - NÃO GRAVADO"_ansi);
    }
}

bool TarqSEGREGA::estaciona(Bloco& bloco, std::int32_t contador) {
    const std::string& dir = bloco.cliente->dirtemp;
    // Never a directory of other files: the consolidation takes every
    // parked file of the directory and deletes it.
    if (!GERAL().EMP_DIRCRIA(dir)) return false;
    if (const std::string recusa = recusaTemporario(*bloco.cliente); !recusa.empty()) {
        linhaDoLog("DIRETÓRIO TEMPORÁRIO "_ansi + dir + " RECUSADO: " + recusa);
        return false;
    }
    auto vista = temporarios_.find(dir);
    if (vista == temporarios_.end()) vista = temporarios_.emplace(dir, NomesDoDiretorio(dir)).first;
    // The number is the counter's next value; a name already taken (an
    // earlier run in the same second, a counter past 998) takes the next free
    // one of 001..998, so that no parked file is ever replaced and every one
    // is consolidated.
    const std::string hora = OBR_HORA();
    int numero = contador % 998 + 1;
    for (int tentativa = 0; tentativa < 998; ++tentativa, numero = numero % 998 + 1) {
        const std::string nome = "RC" + hora + "." + OBR_ZEROS(3, 0, numero);
        if (!vista->second.Achados(nome).empty()) continue;
        bloco.arquivo->sincronizaDiretorio = false;
        diretoriosAlterados_.insert(dir);
        switch (bloco.arquivo->MoveSemSubstituir(JuntaCaminho(dir, nome))) {
            case ArquivoProduto::Movimento::movido:
                vista->second.Inclui(nome);
                return true;
            case ArquivoProduto::Movimento::existe:
                vista->second.Inclui(nome);
                continue;
            case ArquivoProduto::Movimento::falhou:
                return false;
        }
    }
    return false;
}

