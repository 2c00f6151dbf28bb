#pragma once
// Writer of the system's external text files. A run stages every output
// record first, may go back and rewrite records already staged (totals,
// trailers, corrections), and at the end writes them all as fixed-length
// lines ending in CR LF. The staged records are held in memory; they are
// walked with First/Next/Eof like a table, and ATUALIZA_REG rewrites the
// current one. A run that never goes back may have them written into the
// file as they come instead (EscreveDiretoEm).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ArquivoDuravel;

enum TtamTIPOTAMANHOREGISTRO { tamREGVARIAVEL, tamREGFIXO };
// Both write the file the same way, without an end-of-file character.
enum TtipTEMFIMARQUIVO { tipCOMFIMARQ, tipSEMFIMARQ };

class TaexGRAVAEXTERNO {
public:
    // A record length of -1 leaves the staging to a later CRIA_ARQSAIDA.
    TaexGRAVAEXTERNO(int KTAMARQCRIA, TtamTIPOTAMANHOREGISTRO KTIPOTAMANHOREGISTRO);

    std::string REGGRA;      // the record being built
    std::string NOMEARQSAI;  // file to write
    int TOTREGGRA = 0;       // records staged so far
    TtamTIPOTAMANHOREGISTRO TIPOTAMANHOREGISTRO;
    int TAMARQFINAL = 0;     // record length

    // Starts staging records of this length (the rows staged so far go).
    bool CRIA_ARQSAIDA(int KTAMARQCRIA);
    void GRAVA_INF(const std::string& KREGINF);  // REGGRA := text, then GRAVA_REG
    void GRAVA_REG();                             // stages REGGRA
    // Replaces the current staged record.
    void ATUALIZA_REG(const std::string& KREGINF);
    // Removes every staged record; TOTREGGRA stays.
    void LIMPAAUXILIAR();

    // Writes every staged record, in staging order, blank-filled or cut to
    // TAMARQFINAL, each followed by CR LF. The file appears under its name
    // only complete, replacing an older one. When the directory of NOMEARQSAI
    // does not exist: a message and false, no file. Any other failure throws
    // ErroArquivo and leaves no part of the file behind.
    bool GRAVA_ARQUIVO(TtipTEMFIMARQUIVO KMODOGRAVACAO);

    // For a run that never goes back over its records, so that they take
    // no memory: the records staged so far are written into `arquivo`, laid
    // out as GRAVA_ARQUIVO lays them out, and from here on each one as it
    // is staged; none is kept to be walked or rewritten. The caller flushes
    // and names the file; a failed write is kept as the file's Erro. Until
    // CRIA_ARQSAIDA or LIMPAAUXILIAR.
    void EscreveDiretoEm(ArquivoDuravel& arquivo);
    // Writes into that file what is still gathered in memory.
    void DescarregaDireto();

    // The staged records, walked as a table. After a record is staged it is
    // the current one; Next on the last one sets Eof and stays there.
    void First();
    void Next();
    bool Eof() const { return eof_; }
    long RecordCount() const { return static_cast<long>(registros_.size()); }
    // The current staged record as it was staged, cut to the record length
    // (valid until the next DADOS1).
    const std::string& DADOS1() const;

private:
    // Staged records lie side by side in blocks of about 1 MiB, not one
    // allocation each: a bank file holds hundreds of thousands of them.
    struct Lugar {
        std::uint32_t bloco;
        std::uint32_t inicio;
        std::uint32_t tamanho;
    };
    void guarda(const std::string& registro, Lugar& lugar);
    void esqueceGuardados();  // no staged record left, the cursor at Eof
    void poeLinha(std::string& pedaco, std::string_view registro) const;
    // Written a piece of about `porEscrita` bytes at a time.
    void escreveGuardados(ArquivoDuravel& arquivo, std::string& pedaco, std::size_t porEscrita) const;
    std::string_view registro(const Lugar& l) const { return {blocos_[l.bloco].data() + l.inicio, l.tamanho}; }

    bool criada_ = false;
    std::vector<std::string> blocos_;
    std::vector<Lugar> registros_;
    std::size_t atual_ = 0;
    bool eof_ = true;
    mutable std::string copiaAtual_;  // what DADOS1 hands out
    ArquivoDuravel* direto_ = nullptr;  // records written straight here
    std::string pedaco_;                // gathered for the next write there
};
