#pragma once
// Rewriting a table as a whole (pack, zap, structure change) without ever
// leaving a half-written table under its name: the new file is built beside
// the old one, flushed, locked for exclusive use and renamed over it.

#include <functional>
#include <string>

#include "tabela/dbf_cabecalho.h"

// A table's file opened for a rewrite outside any table object, holding the
// exclusive open lock while it lives; `uso` ends the refusal when another
// process has the table open ("NÃO PODE SER REPARADA").
class DbfExclusivo {
public:
    DbfExclusivo(const std::string& caminho, const std::string& uso);
    ~DbfExclusivo();
    DbfExclusivo(const DbfExclusivo&) = delete;
    DbfExclusivo& operator=(const DbfExclusivo&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// `proximo` fills a record of cab's layout (deletion byte first) and answers
// true, or answers false when there are no more. Returns a read-write
// descriptor of the new file that already holds the exclusive open lock;
// the old file's descriptors now refer to the replaced file.
int ReescreveDbf(const std::string& caminho, CabecalhoDbf cab,
                  const std::function<bool(std::string&)>& proximo);
