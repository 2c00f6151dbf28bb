#pragma once
// Repair of a table cut short (its file holds fewer whole records than its
// header announces): the original file is kept beside it, then the table is
// rewritten with the records it still holds and their count.

#include <cstdint>
#include <string>

struct ReparoTabela {
    std::string copia;  // where the original file was kept; empty: nothing was done
    std::uint32_t anunciados = 0;
    std::uint32_t presentes = 0;
};

// Needs the table free of every other user (ErroTabelaEmUso otherwise).
// The original is copied byte for byte to "<table>.ANT" beside it, or to
// ".ANT2", ".ANT3", ... so that an earlier copy is never replaced; only then
// is the table rewritten, through the durable rewrite, so a crash leaves
// either the old file or the repaired one. A table that is whole is left as
// it is. Failures throw ErroTabela naming the file; the table is then
// untouched.
ReparoTabela ReparaTabelaIncompleta(const std::string& caminho);
