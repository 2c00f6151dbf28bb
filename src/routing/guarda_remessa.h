#pragma once
// Moving a client file that was read into the holding directory. A client
// file name is data from outside: it is used only as one entry of the
// working directory and one entry of the holding directory, never as a path,
// and only a regular file (not a link to elsewhere) is read or moved.

#include <map>
#include <string>
#include <vector>

// A name that stays inside its directory: not empty, no "/" nor NUL, not
// "." nor "..".
bool EhNomeSimples(const std::string& nome);

// The entry is there and is a regular file itself (not a link, directory,
// pipe or device).
enum class SituacaoArquivo { ausente, regular, outro };
SituacaoArquivo SituacaoDoArquivo(const std::string& caminho);

// The entries of a directory by name without regard to letter case, read
// once: a run that handles thousands of files does not read the directory
// again for each one. Kept current by the caller's own changes.
class NomesDoDiretorio {
public:
    NomesDoDiretorio() = default;  // an empty view of no directory
    explicit NomesDoDiretorio(std::string diretorio);
    const std::string& Diretorio() const { return diretorio_; }
    // Paths of the entries named `nome` in any letter case, the exact name
    // first.
    std::vector<std::string> Achados(const std::string& nome) const;
    void Inclui(const std::string& nome);
    void Retira(const std::string& nome);

private:
    std::string diretorio_;
    std::multimap<std::string, std::string> nomes_;  // upper case -> as on disk
};

// Moves `origem` (a regular file) into the directory of `guarda` under
// `nome`: renamed where both lie on one file system, otherwise copied,
// flushed to disk and only then deleted. An older copy of that name (in any
// letter case) is replaced. At every moment the file exists in one of the
// two places. False, with the file where it was, when the move cannot be
// done, and also when the holding directory is the working directory itself.
// `destino` receives the path of the moved file.
bool MoveParaGuarda(const std::string& origem, NomesDoDiretorio& guarda,
                        const std::string& nome, std::string& destino);
