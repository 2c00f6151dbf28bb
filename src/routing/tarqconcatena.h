#pragma once
// Remittance concatenation: every client remittance file of the five
// collection products found in the working directory is translated by its
// client's rules and appended, whole (header, details, trailer), to the
// bank's inbound file of its product; each file read is moved to the
// holding directory; a printed log tells what happened to every file.
//
// Nothing is sent twice and nothing is lost:
// - a file's lines go into the product file only once the file itself is in
//   the holding directory; a file that cannot be moved stays in the working
//   directory, out of the product file, and is read again by the next run;
// - the product file appears under its name only complete, and only with
//   lines in it; when it cannot be written the files moved for it are put
//   back into the working directory for the next run;
// - a product file never replaces another one of the same run (two products
//   whose names come out equal) nor a client file the run lists: that
//   product's files wait for the next run;
// - a client file still being written (a transfer still receiving it), or
//   one that ends before its trailer, is left in the working directory,
//   logged, for a later run to take whole.
// Two workstations may run it on one directory at once: a file goes to the
// run that moves it, and each run's sequence number is taken under the
// installation record's lock.
//
// The clients are read from CONVECLI once, when the run lists the directory,
// so the file lists and the translation see one view of the register.

#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/arquivos/leitura_externo.h"
#include "core/diario_execucao.h"
#include "registers/manconvecli.h"
#include "routing/arquivo_produto.h"
#include "routing/guarda_remessa.h"
#include "routing/remessa_cliente.h"

class Tabela;
struct ProdutoRemessa;

class TarqCONCATENA {
public:
    // Works on the open tables CONVEINS and CONVECLI of the data module.
    TarqCONCATENA();
    ~TarqCONCATENA();
    TarqCONCATENA(const TarqCONCATENA&) = delete;
    TarqCONCATENA& operator=(const TarqCONCATENA&) = delete;

    // The whole run.
    void ARQ_CONCATENA();
    // Builds the product file of one product from its client files.
    void ARQ_GRAVAPRODUTO(char codigo, std::vector<std::string>& lista);
    // Reads, translates, moves and appends the client file KARQREMCLI.
    void ARQ_LEREMESSA();
    // One heading ("A", "C", "D", "R", "V", "OUTROS") or file line of the log.
    void ARQ_OCORRENCIA(const std::string& texto);

    std::unique_ptr<ArquivoProduto> oGRAEXT;  // the product file being built
    TaexLEITURAEXTERNO oARQREMESSA;             // lines of the client file being read
    TmanCONVECLI omanCONVECLI;

    // The candidate files of each product, in the order of ProdutosRemessa().
    std::array<std::vector<std::string>, 5> KTBREMESSAS;
    std::vector<std::string> KTBOUTREM;  // candidates of no concatenation client
    std::string KDIRCOPIA;               // holding directory, ending in "/"
    std::int32_t KSEQREMC24 = 0;         // numbers chosen in this run; 0 = not yet
    std::int32_t KSEQREMC40 = 0;
    std::string KULTDATCOB;              // "DDMM" of the day
    std::string KARQREMBAN;              // product file being built
    std::string KARQREMCLI;              // client file being read

    // The file list of a product code; KTBOUTREM for any other code.
    // (The product table's order is the lists' order.)
    std::vector<std::string>& LISTA(char codigo);

private:
    struct Movido {
        std::string nome;      // as listed
        std::string guardado;  // path in the holding directory
        std::string original;  // name in the working directory
    };

    bool confereInstalacao();
    // Where the listed client file lies (empty when its name is no plain
    // name).
    std::string caminhoDoCliente(const std::string& nome) const;
    void classifica(const std::vector<std::string>& nomes);
    std::string nomeDoProduto(const ProdutoRemessa& produto);
    // The steps of ARQ_GRAVAPRODUTO. A name already taken in this run is
    // refused, its client files logged and the unit undone (true).
    bool recusaNomeJaUsado(const std::string& chave, const std::vector<std::string>& lista);
    // Reads the product's client files into a new oGRAEXT.
    void leRemessasDoProduto(const ProdutoRemessa& produto, const std::vector<std::string>& lista);
    // Writes oGRAEXT under its name; when it cannot, the moved files go back.
    void gravaProduto(const std::string& chave);
    // Keeps the day of the numbering with a written file, or undoes the unit.
    void concluiUnidade();
    void traduz(const ClienteRemessa& cliente, const ProdutoRemessa& produto);
    void linhaDoLog(const std::string& nome, const std::string& texto);
    // The moved files are back where they were: the journal undid the
    // unit; the directory views follow.
    void devolveMovidos();
    // Undoes the product's unit (files back, number returned).
    void desfazUnidade();
    void imprimeTotais();

    Tabela& conveins_;
    Tabela& convecli_;
    ClientesPorRemessa clientes_;
    NomesDoDiretorio trabalho_;                // the working directory, read once
    std::unique_ptr<NomesDoDiretorio> guarda_;  // the holding directory, read once
    const ProdutoRemessa* produtoAtual_ = nullptr;
    std::vector<Movido> movidos_;              // files of the product being built
    std::unique_ptr<DiarioExecucao> diario_;   // the unit of the product being built
    std::set<std::string> emGravacao_;         // its client files still being written
    bool numeroDaUnidade_ = false;             // the unit reserved its number itself
    // Names no bank file of this run may take: the client files listed and
    // the bank files written.
    std::set<std::string> nomesUsados_;
};

// Menu "Concatena Remessas" and command line "REMESSA": opens CONVEINS and
// CONVECLI, runs the concatenation, closes them again.
void CONCATENA_REMESSAS();
