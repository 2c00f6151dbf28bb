#pragma once
// Writer of a bank inbound file. A product file gathers every client file of
// its product and may run to millions of records, so its records go to a
// hidden temporary file beside it as they come, and the disk starts writing
// them at once, while the next client files are read. Only at the end is the
// file flushed and given its name: it appears complete or not at all, and an
// older file of that name (in any letter case) is replaced.
//
// Records are written as the staging writer writes them: trailing blanks
// dropped, blank-filled or cut to the record length, CR LF after each.

#include <string>

class ArquivoProduto {
public:
    ArquivoProduto(int tamanhoRegistro, std::string nome);
    ~ArquivoProduto();  // an unfinished file is removed
    ArquivoProduto(const ArquivoProduto&) = delete;
    ArquivoProduto& operator=(const ArquivoProduto&) = delete;

    const std::string NOMEARQSAI;
    long TOTREGGRA = 0;  // records written so far

    void GRAVA_INF(const std::string& registro);

    // Gives the file its name. When the directory of the name does not exist:
    // the staging writer's message and false, no file. Any other failure, now
    // or while records were written, throws ErroArquivo and leaves nothing
    // behind.
    bool GRAVA_ARQUIVO();

private:
    bool abre();
    void descarrega();
    void abandona();

    int tamanho_;
    int fd_ = -1;
    int erro_ = 0;  // errno of the first failure
    std::string temporario_;
    std::string buffer_;
    long long escritos_ = 0;      // bytes handed to the file
    long long encaminhados_ = 0;  // bytes the disk was asked to write
};
