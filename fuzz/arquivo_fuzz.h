#pragma once
// The fuzzers' input laid down as a file in a private directory, since the
// readers under test read files.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

class ArquivoFuzz {
public:
    ArquivoFuzz(const char* nome, const std::uint8_t* dados, std::size_t tamanho) {
        // One directory for the process, gone with it: each input removes
        // its own file, so the directory is empty at exit.
        struct DoProcesso {
            std::string caminho;
            DoProcesso() {
                char modelo[] = "/tmp/conversor-fuzz-XXXXXX";
                if (::mkdtemp(modelo)) caminho = modelo;
            }
            ~DoProcesso() {
                if (!caminho.empty()) ::rmdir(caminho.c_str());
            }
        };
        static const DoProcesso dir;
        dir_ = dir.caminho;
        caminho_ = dir_ + "/" + nome;
        if (FILE* f = std::fopen(caminho_.c_str(), "wb")) {
            std::fwrite(dados, 1, tamanho, f);
            std::fclose(f);
        }
    }
    ~ArquivoFuzz() { ::unlink(caminho_.c_str()); }
    const std::string& Diretorio() const { return dir_; }
    const std::string& Caminho() const { return caminho_; }

private:
    std::string dir_, caminho_;
};
