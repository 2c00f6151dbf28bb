#pragma once
// Return segregation: the bank's return file of each collection product,
// in which the blocks (header, details, trailer) of all clients follow each
// other, is split into one return file per client, the fields the client's
// rules rewrote on the way in translated back. Cobrança 400 returns of
// clients with a temporary directory are parked there; in the run whose
// pass number is a client's last pass, its parked returns are consolidated
// into its first and second return files (tarqsegrega_passada.cpp). Every
// run writes a log file (120-column records) and prints its report.
//
// Nothing is delivered twice and nothing is lost:
// - the bank file is moved to its backup name (".ANT") before any of its
//   blocks is delivered: a second workstation running at the same moment
//   never splits it again; when it cannot be moved nothing of it is
//   delivered and it waits for the next run, as does a bank file still
//   being written (a transfer still receiving it); a split that cannot
//   finish (a write error, a full disk, a crash) is undone as a whole, so
//   the bank file is a candidate again and no block reaches a client twice;
// - a client file appears under its name only complete, flushed to disk; a
//   parked file never replaces another one;
// - a second block of one client in the same bank file joins the first in
//   the client's file instead of replacing it (the further blocks are
//   gathered and joined to it once, at the end of the bank file);
// - a block that cannot be delivered (no trailer, a client file name that
//   is no plain name or that another file of the run already holds) is
//   logged and stays in the backup of the bank file;
// - parked files are deleted only once the consolidated files are written,
//   and the planilha only with them.
//
// The bank file is read as a stream of lines and each client file is
// written as its block is read, so the memory a run needs does not grow
// with the size of the bank file. The process's current directory (the
// data directory) is never changed: a relative temporary directory is
// relative to it, at parking and at consolidation alike.

#include <array>
#include <cstdint>
#include <cstddef>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/arquivos/grava_externo.h"
#include "core/arquivos/leitura_externo.h"
#include "core/diario_execucao.h"
#include "registers/manconvecli.h"
#include "routing/arquivo_produto.h"
#include "routing/guarda_remessa.h"
#include "routing/retorno_cliente.h"

class LeitorDeLinhas;
class Tabela;
struct ProdutoRetorno;

class TarqSEGREGA {
public:
    // Works on the open table CONVECLI of the data module.
    TarqSEGREGA();
    ~TarqSEGREGA();
    TarqSEGREGA(const TarqSEGREGA&) = delete;
    TarqSEGREGA& operator=(const TarqSEGREGA&) = delete;

    // The whole run.
    void ARQ_SEGREGA();
    // Heading, then the split of KARQRETBAN, for one product.
    void ARQ_SEGREGAPRODUTO(char codigo, std::int32_t& contador);
    // Splits KARQRETBAN; adds 1 to the counter for each client file written.
    void ARQ_SEPARACLIENTES(std::int32_t& contador);
    // The client of type KTIPOEMP whose identity is the key; false when none.
    bool ARQ_LOCALIZACLIENTE(const std::string& chave);
    // One heading ("A", "C", "D", "R", "V", "OUTROS") or event line, to the
    // log file and the printed report.
    void ARQ_OCORRENCIA(const std::string& texto);

    // The pass step: consolidation of the clients whose last pass is
    // KPASSADA (tarqsegrega_passada.cpp).
    void ARQ_FECHAPASSADA();

    TaexLEITURAEXTERNO oARQPLANILHA;      // the planilha being reconciled
    TaexGRAVAEXTERNO oARQLOG{120, tamREGFIXO};
    TmanCONVECLI omanCONVECLI;

    // The bank files of each product, and the client files written from
    // them, in the order of ProdutosRetorno().
    std::array<std::vector<std::string>, 5> KTBRETORNOS;
    std::array<std::int32_t, 5> KTOTCLIENTES{};
    std::vector<std::string> KTBOUTRET;   // candidates not split in this run
    // The parked returns of the client being consolidated.
    std::vector<std::string> KTBESTACIONADOS;
    std::string KTIPOEMP;
    std::string KARQRETBAN;  // bank file being split
    std::string KARQRETCLI;  // name shown in the current log line
    std::int32_t KPASSADA = 0;

    // The file list of a product code; KTBOUTRET for any other code.
    std::vector<std::string>& LISTA(char codigo);
    // Client files written for a product code.
    std::int32_t& TOTAL(char codigo);
    // Name of this run's log file, "CV" + day + hour + minute + ".LOG".
    const std::string& NomeDoLog() const { return nomeLog_; }

private:
    struct Bloco;
    enum class Entrega { gravada, juntada, recusada, falhou };

    void classifica(const std::vector<std::string>& nomes);
    const ProdutoRetorno* abreArquivoDoBanco(const std::string& nome, std::string& caminho, LeitorDeLinhas& leitor,
                                             std::string_view& linha);
    void separaLinha(const ProdutoRetorno& produto, std::string_view linha, const LeitorDeLinhas& leitor,
                     std::string& trabalho);
    void concluiArquivoDoBanco(const std::string& nome, const std::string& caminho, const LeitorDeLinhas& leitor);
    void linhaDoLog(const std::string& linha);  // log file only
    void abreBloco(const ClienteRetorno& cliente);
    // One line of the open block; `origem` when it is unchanged from the
    // bank file's line just read.
    void escreve(std::string_view linha, const LeitorDeLinhas* origem);
    void descarregaTrecho();
    void encerraBloco();
    void entrega(Bloco& bloco, std::int32_t& contador);
    // Delivers the first `quantos` waiting entries (all by default).
    void entregaPendentes(std::size_t quantos = SIZE_MAX);
    void descartaBloco(const std::string& motivo);
    Entrega entregaNoTrabalho(Bloco& bloco);
    // The gathered blocks of one client (all of them when `chave` is
    // empty) joined to the client's file, which then takes its name.
    void entregaJuntos(const std::string& chave = {});
    void juntaAoArquivo(const std::string& nome, ArquivoProduto& juntos);
    bool estaciona(Bloco& bloco, std::int32_t contador);
    bool moveParaAnterior(const std::string& caminho, const std::string& anterior);
    // Consolidation of one client (tarqsegrega_passada.cpp).
    void consolida(const ClienteRetorno& cliente);
    bool ARQ_GERARETORNOS(const ClienteRetorno& cliente, const std::string& diretorio);
    struct Consolidacao;
    bool mantemEstacionados(const std::string& motivo);
    bool leEstacionados(Consolidacao& c, std::string& ilegivel);
    void consolidaDetalhe(Consolidacao& c, std::string_view linha, std::string& registro);
    static bool ARQ_ACHARETORNO(const Consolidacao& c, const std::string& chave);
    bool ARQ_CONFEREPLANILHA(const Consolidacao& c);
    bool gravaConsolidados(Consolidacao& c, bool conferida);
    void totais();
    void gravaLog();

    Tabela& convecli_;
    CadastroRetorno cadastro_;
    const ClienteRetorno* clienteAtual_ = nullptr;
    const ProdutoRetorno* produtoAtual_ = nullptr;
    NomesDoDiretorio trabalho_;  // the working directory, read once per run
    std::unique_ptr<Bloco> bloco_;  // the client block being written
    // Finished blocks wait in batches, their disk writes started, so that
    // one flush of the journal and of the directory serves many files; the
    // log events met meanwhile wait with them, in order. A batch is
    // delivered once the next one is full (the disk writes one while the
    // next is read) and at the end of each bank file.
    struct Pendencia;
    std::vector<Pendencia> pendentes_;
    std::size_t loteAnterior_ = 0;   // entries of the batch the disk is writing
    std::size_t blocosNoLote_ = 0;   // blocks of the batch being filled
    long long bytesNoLote_ = 0;
    bool entregando_ = false;
    std::int32_t* contadorAtual_ = nullptr;
    std::set<std::string> diretoriosAlterados_;
    std::string nomeLog_;
    // Names (upper case) no client file may take: the bank files listed,
    // their backups, the log file, the tables.
    std::set<std::string> protegidos_;
    // Client files written in the working directory by this run: upper-case
    // name -> client code.
    std::map<std::string, std::string> entregues_;
    // A client's further blocks in the bank file being split are gathered
    // in one unnamed file and joined to its file once, when the bank file
    // ends (or when too many clients gather at once): rewriting the whole
    // client file for every block would make a bank file of many blocks of
    // one client take time growing with the square of their number.
    struct Juntos {
        std::unique_ptr<ArquivoProduto> arquivo;
        std::string nome;        // the client's file
        unsigned long uso = 0;   // when a block last joined
    };
    std::map<std::string, Juntos> juntos_;  // by upper-case name
    unsigned long usos_ = 0;
    // The temporary directories parked into, each read once per run.
    std::map<std::string, NomesDoDiretorio> temporarios_;
    std::vector<std::string> diretoriosDosCadastros_;  // where register names may write
    // The unit of the bank file being split: its move to the backup name
    // and every file delivered from it are undone together when the split
    // cannot finish, by the run itself or, after a crash, by the next one.
    std::unique_ptr<DiarioExecucao> diario_;
    bool falhouGravacao_ = false;
    // Why the client's temporary directory may not take parked returns nor
    // be consolidated (the data directory, the holding directory or another
    // client's temporary directory, through links); empty when it may.
    std::string recusaTemporario(const ClienteRetorno& cliente) const;
    std::string diretorioDeGuarda_;  // the installation's holding directory
    // The writer's temporaries and names go into the unit's journal.
    void registraNoDiario(ArquivoProduto& arquivo);
};

// Both paths name one existing directory.
bool MesmoDiretorio(const std::string& a, const std::string& b);
// The directory's entries (new names, removals) reach the disk.
void GravaDiretorio(const std::string& diretorio);

// Menu "Segrega Retornos" (pass 0) and command line "RETORNO passada":
// refuses a pass number outside 0..99 with its message; otherwise opens
// CONVECLI, runs the segregation, closes it again.
void SEGREGA_RETORNOS(int passada);
