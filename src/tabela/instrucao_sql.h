#pragma once
// The one SQL statement the system runs against its tables: the ALTER TABLE
// of the start-up schema change. Supported clauses, in any number and order:
//   ADD COLUMN name type
//   ALTER COLUMN old new type      (renames old to new, keeping its data)
// with types CHAR(n), CHARACTER(n), NUMERIC(p,s), DECIMAL(p,s), DATE.
// The table is rebuilt beside the old file and renamed over it, so a failure
// leaves the table as it was.

#include <string>

class InstrucaoSQL {
public:
    void SetDatabaseName(const std::string& diretorio) { diretorio_ = diretorio; }
    const std::string& DatabaseName() const { return diretorio_; }
    void SetSQL(const std::string& texto) { sql_ = texto; }
    const std::string& SQL() const { return sql_; }
    // Throws ErroTabela (the table open elsewhere, a column missing or
    // already present, data that the new type cannot hold, a statement it
    // does not understand).
    void ExecSQL();

private:
    std::string diretorio_ = ".";
    std::string sql_;
};
