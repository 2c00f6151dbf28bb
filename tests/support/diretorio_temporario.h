#pragma once
// A fresh directory under /tmp for one test, removed with everything in it.

#include <string>

class DiretorioTemporario {
public:
    DiretorioTemporario();
    ~DiretorioTemporario();
    DiretorioTemporario(const DiretorioTemporario&) = delete;
    DiretorioTemporario& operator=(const DiretorioTemporario&) = delete;
    const std::string& Caminho() const { return caminho_; }
    std::string operator/(const std::string& nome) const { return caminho_ + "/" + nome; }

private:
    std::string caminho_;
};

// Whole content of a file as bytes ("" when missing).
std::string LE_ARQUIVO(const std::string& caminho);
void GRAVA_ARQUIVO_TESTE(const std::string& caminho, const std::string& conteudo);
