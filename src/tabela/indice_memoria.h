#pragma once
// The ordered index a table object navigates by: record numbers ordered by
// (key bytes, record number), keys held in one flat array indexed by record
// number so a million-record table costs a few tens of megabytes.

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

class IndiceMemoria {
public:
    struct Prefixo {
        const char* p;
        std::size_t n;
    };
    struct Ordem {
        using is_transparent = void;
        const IndiceMemoria* idx;
        bool operator()(std::uint32_t a, std::uint32_t b) const {
            int c = std::memcmp(idx->Chave(a), idx->Chave(b), idx->tamanho_);
            return c < 0 || (c == 0 && a < b);
        }
        bool operator()(std::uint32_t a, const Prefixo& b) const {
            return std::memcmp(idx->Chave(a), b.p, b.n) < 0;
        }
        bool operator()(const Prefixo& a, std::uint32_t b) const {
            return std::memcmp(a.p, idx->Chave(b), a.n) < 0;
        }
    };
    using Conjunto = std::set<std::uint32_t, Ordem>;
    using Iter = Conjunto::const_iterator;

    explicit IndiceMemoria(int tamanhoChave)
        : tamanho_(static_cast<std::size_t>(tamanhoChave)), ordem_(Ordem{this}) {}
    IndiceMemoria(const IndiceMemoria&) = delete;
    IndiceMemoria& operator=(const IndiceMemoria&) = delete;

    std::size_t TamanhoChave() const { return tamanho_; }
    const char* Chave(std::uint32_t recno) const { return chaves_.data() + recno * tamanho_; }
    // Key storage for a record number (grows the array); write the key there
    // before Insere, and only while the record is not in the order.
    char* ChaveParaEscrita(std::uint32_t recno) {
        if ((recno + 1) * tamanho_ > chaves_.size()) {
            std::size_t novo = std::max<std::size_t>((recno + 1) * tamanho_, chaves_.size() * 3 / 2);
            chaves_.resize(novo, ' ');
        }
        return chaves_.data() + recno * tamanho_;
    }

    void Insere(std::uint32_t recno) { ordem_.insert(recno); }
    void Remove(std::uint32_t recno) { ordem_.erase(recno); }
    bool Contem(std::uint32_t recno) const { return ordem_.count(recno) != 0; }
    // Builds the order from records whose keys are already written.
    void Constroi(std::vector<std::uint32_t> recnos);

    Iter Inicio() const { return ordem_.begin(); }
    Iter Fim() const { return ordem_.end(); }
    Iter Acha(std::uint32_t recno) const { return ordem_.find(recno); }
    Iter LimiteInferior(const std::string& prefixo) const {
        return ordem_.lower_bound(Prefixo{prefixo.data(), prefixo.size()});
    }
    std::size_t Quantidade() const { return ordem_.size(); }

private:
    std::size_t tamanho_;
    std::vector<char> chaves_;
    Conjunto ordem_;
};
