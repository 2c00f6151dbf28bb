#pragma once
// Table object over a real dBase file, offering the dataset verbs the system
// was written against (Open, First, Next, Locate, Edit, Post, ...).
//
// Sharing follows the FoxPro locking scheme with open-file-description locks,
// so several processes (and several table objects of one process) can work on
// one data directory: a shared opener holds a read lock on the open byte, an
// exclusive opener a write lock; records and appends are locked at the FoxPro
// offsets. Navigation by index tag uses an ordered index kept in memory, built
// from the DBF when first needed and kept current by this object's own writes;
// appends and changes made by other processes are noticed as the cursor moves.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "tabela/campo.h"
#include "tabela/erro_tabela.h"
#include "tabela/indice_memoria.h"

// A value handed to Locate: text for character fields, a number for numeric
// fields, a day count (as a number) for date fields.
struct ValorBusca {
    std::variant<std::string, double> v;
    ValorBusca(const std::string& s) : v(s) {}
    ValorBusca(const char* s) : v(std::string(s)) {}
    ValorBusca(double d) : v(d) {}
    ValorBusca(int i) : v(static_cast<double>(i)) {}
    ValorBusca(long i) : v(static_cast<double>(i)) {}
    ValorBusca(long long i) : v(static_cast<double>(i)) {}
};

// Index tag: its name (as stored, upper case) and key expression text.
struct DefIndice {
    std::string tag;
    std::string expressao;
    std::string arquivo;  // index file; empty = the table's structural index
};

enum class EstadoTabela { Inativa, Navegando, Editando, Inserindo };

struct TagCdx;

class Tabela {
public:
    Tabela();
    ~Tabela();
    Tabela(const Tabela&) = delete;
    Tabela& operator=(const Tabela&) = delete;

    // Binding. DatabaseName "." (or empty) is the current directory. A table
    // name without extension gets ".DBF".
    void SetDatabaseName(const std::string& diretorio);
    const std::string& DatabaseName() const { return diretorio_; }
    void SetTableName(const std::string& nome);
    const std::string& TableName() const { return nomeTabela_; }
    void SetExclusive(bool exclusiva);
    bool Exclusive() const { return exclusiva_; }
    // Current order: a tag name, or empty for physical order. May change while
    // the table is open; the cursor then goes to the first record.
    void SetIndexName(const std::string& tag);
    const std::string& IndexName() const { return tagAtual_; }
    // Tags this object knows besides those of the table's index file
    // (the data module declares the tags of the system's tables).
    void AddIndexDef(const std::string& tag, const std::string& expressao,
                     const std::string& arquivo = std::string());
    const std::vector<DefIndice>& IndexDefs() const { return indices_; }

    // Full path of the DBF as resolved on disk (or as it would be created).
    std::string CaminhoArquivo() const;

    void Open();
    void Close();
    bool Active() const { return estado_ != EstadoTabela::Inativa; }
    EstadoTabela State() const { return estado_; }
    bool SomenteLeitura() const { return somenteLeitura_; }

    // Navigation over live records in the current order.
    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof() const {
        posicionaAdiado();
        return eof_;
    }
    bool Bof() const {
        posicionaAdiado();
        return bof_;
    }
    bool IsEmpty();
    long RecordCount();          // live records
    long PhysicalRecordCount();  // records in the file, deleted included
    std::uint32_t RecNo() const {
        posicionaAdiado();
        return recAtual_;
    }

    // Fields joined by ";" (blanks around names ignored), values in the same
    // order; exact, case-sensitive match of whole values. Seeks in the
    // current tag when the fields form a prefix of its key, otherwise walks
    // the current order from the first record.
    bool Locate(const std::string& campos, const std::vector<ValorBusca>& valores);

    Campo& FieldByName(const std::string& nome);
    Campo* FindField(const std::string& nome);
    int FieldCount() const { return static_cast<int>(defs_.size()); }
    const DefCampo& FieldDef(int numero) const;  // from 1
    const std::vector<DefCampo>& FieldDefs() const { return defs_; }

    // Many searches of one kind, each followed by an edit of the record it
    // finds: for search i (its values given by `valores(i, v)`, as Locate
    // takes them), the record Locate(campos, v) would find is changed by
    // `altera(i)` through the fields, as between Edit and Post, and the file
    // ends as those Locate, Edit, Post in turn would leave it. `altera` must
    // leave the fields of the current order's key as they were.
    //
    // Cheaper than that: the records go in file order, in blocks of at most
    // kLoteRegistros (and about 1 MiB); the records of a block are locked
    // (neighbours under one lock, only the records edited), read once and
    // written back together, each only if its bytes changed, and unlocked;
    // the change counter moves once a block (with the batch, inside one).
    // Another process sees each record as a Post leaves it, and waits for a
    // record at most for the reading and writing of one block. `altera`
    // must change the record only: no moves, no other table operations.
    //
    // Each answer: Editado; Ausente, no record holds those values; Adiado,
    // not done here, for the caller's own Locate and Edit (and wait): the
    // record is held by another process or changed since the order was
    // read, or the fields are no prefix of the current order's key. The
    // cursor rests on the record of the last search edited.
    enum class Localizado : unsigned char { Editado, Ausente, Adiado };
    std::vector<Localizado> EditaLocalizados(
        const std::string& campos, std::size_t buscas,
        const std::function<void(std::size_t, std::vector<ValorBusca>&)>& valores,
        const std::function<void(std::size_t)>& altera);

    void Append();
    void Edit();  // on an empty table adds a record; fails fast while another process holds it
    void Post();
    void Cancel();
    void Delete();

    // Appends in batches. After IniciaLote each Post of an appended record
    // keeps it in memory, and the records reach the file together, under one
    // take of the append lock and with the header's count raised once: when
    // the batch is full (kLoteRegistros records, or kLoteMs since its first),
    // before any other operation on the table, and at EncerraLote or Close.
    // Another process sees a batch whole or not at all, and never waits for
    // more than the writing of one. Until its batch is written an appended
    // record has no number (RecNo 0); a failed write drops the whole batch.
    // Edits in a batch reach the file at once, as always; the change counter
    // that tells other processes about them moves once, with the batch.
    static constexpr std::uint32_t kLoteRegistros = 8192;
    static constexpr int kLoteMs = 500;
    void IniciaLote();
    void EncerraLote();

    void Pack();  // needs the table open exclusively
    void Zap();   // needs the table open exclusively

    // Creates (or replaces) a tag over every record and makes the engine know
    // it. `arquivoIndice` empty = the structural index of the table.
    void CreateIndex(const std::string& arquivoIndice, const std::string& tag,
                     const std::string& expressao);

    // Deletes an index file of the open table (empty = the structural one)
    // and forgets its tags; a missing file is no error.
    void DeleteIndexFile(const std::string& arquivoIndice);

    // New empty table with this table's fields.
    void CopyTableStructure(const std::string& caminhoNovo) const;

    // Fields that the record buffer keeps; used by Campo.
    const char* BufferRegistro() const {
        posicionaAdiado();
        return buffer_.data();
    }
    char* BufferParaEscrita();

private:
    struct Implementacao;
    std::unique_ptr<Implementacao> imp_;

    std::string diretorio_ = ".";
    std::string nomeTabela_;
    bool exclusiva_ = false;
    std::string tagAtual_;
    std::vector<DefIndice> indices_;

    EstadoTabela estado_ = EstadoTabela::Inativa;
    bool somenteLeitura_ = false;
    std::vector<DefCampo> defs_;
    std::vector<std::unique_ptr<Campo>> campos_;
    std::string buffer_;  // current record, deletion byte first
    std::uint32_t recAtual_ = 0;
    bool eof_ = true;
    bool bof_ = true;

    void posicionaAdiado() const;
    IndiceMemoria* ordem();
    void descarregaLote();
    void escreveInclusoesDoLote();
    void marcaPendenciaDoLote();
    void descarregaLoteVencido();
    void gravaNoFim(const char* registros, std::uint32_t quantos);
    void sincroniza();
    void recarregaTudo(std::uint32_t total);
    void incrementaVersao();
    void revalida();
    void varre(std::uint32_t de, std::uint32_t ate,
               const std::function<void(std::uint32_t, const char*)>& f);
    void construiIndice();
    const DefIndice* achaTag(const std::string& tag) const;
    void ativaTag(const std::string& tag);
    bool carrega(std::uint32_t rec);
    bool carregaPosicao(IndiceMemoria::Iter& it);
    bool avancaIndice(IndiceMemoria::Iter it);
    bool avancaFisico(std::uint32_t de);
    std::vector<Campo*> camposDaBusca(const std::string& campos);
    void confereQuantidadeDaBusca(const std::vector<Campo*>& lista,
                                  const std::vector<ValorBusca>& valores) const;
    bool combinaBusca(const std::vector<Campo*>& lista, const std::vector<ValorBusca>& valores) const;
    bool chaveDaBusca(const std::vector<Campo*>& lista, const std::vector<ValorBusca>& valores,
                      std::string& chave);
    struct BlocoDeEdicao;
    void editaBloco(BlocoDeEdicao& bloco);
    bool editaNoBloco(BlocoDeEdicao& bloco, std::uint32_t rec, char* registro, std::size_t primeiro,
                      std::size_t fim);
    void travaBloco(BlocoDeEdicao& bloco);
    void leBloco(BlocoDeEdicao& bloco);
    void gravaBloco(const BlocoDeEdicao& bloco);
    void exigeNavegacao() const;
    void exigeEscrita() const;
    void exigeExclusiva(const char* operacao) const;
    void fimDeNavegacao();
    void preparaMovimento();
    void semRegistro();
    void soltaRegistro();
    void reescreve(bool manterRegistros);
    std::string caminhoIndice(const std::string& arquivo) const;
    void leIndicesDoDisco();
    void confereIndiceEstrutural();
    void limpaTemporarios();
    void marcaIndiceEstrutural(bool tem);
    TagCdx montaTag(const DefIndice& def);
    void escreveArquivoIndice(const std::string& arquivo);
    void atualizaArquivosIndice();
};

// Receives the engine's notices that need no answer (an index file found
// damaged and rebuilt, an index file that could not be brought up to date);
// the application shows them to the operator.
void DefineAvisoDaTabela(std::function<void(const std::string&)> aviso);

// Table creation from the engine's field-list form:
// "NOME,CHARACTER,12,0;VALOR,NUMERIC,13,2;DATA,DATE,8,0;"
std::vector<DefCampo> ListaDeCampos(const std::string& lista);
// Creates a DBF (dBase III, Windows-1252 code page mark) with no records.
// Refuses to replace an existing file unless `substitui` is set.
void CriaTabela(const std::string& caminho, const std::vector<DefCampo>& campos,
                 bool substitui = false);
