#pragma once
// Failures of the table engine. The text is Windows-1252 Portuguese and names
// the file, so it can be shown to the operator as it stands.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

class ErroTabela : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The record is held by another process: the caller may wait and try again
// (OBR_EDITA does so every 200 ms).
class ErroRegistroBloqueado : public ErroTabela {
public:
    using ErroTabela::ErroTabela;
};

// The table is open elsewhere in a way that excludes this open (an exclusive
// open while others hold it, or a shared open while someone holds it
// exclusively).
class ErroTabelaEmUso : public ErroTabela {
public:
    using ErroTabela::ErroTabela;
};

// The file holds fewer whole records than its header announces (cut short by
// an interrupted copy or a full disk). Opening it anyway would silently lose
// the records the header still counts; the reorganisation offers to repair it.
class ErroTabelaIncompleta : public ErroTabela {
public:
    ErroTabelaIncompleta(const std::string& texto, std::string caminho, std::uint32_t anunciados,
                         std::uint32_t presentes)
        : ErroTabela(texto), caminho_(std::move(caminho)), anunciados_(anunciados), presentes_(presentes) {}
    const std::string& Caminho() const { return caminho_; }
    std::uint32_t Anunciados() const { return anunciados_; }
    std::uint32_t Presentes() const { return presentes_; }

private:
    std::string caminho_;
    std::uint32_t anunciados_;
    std::uint32_t presentes_;
};
