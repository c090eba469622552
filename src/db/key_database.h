#pragma once
// The key database file: a dBASE III table with exactly the fields
// STREET 128 C, HOUSE 8 C, CORPUS 8 N, ENTRANCE 8 N, KEY_HEX 16 C,
// REPORT 128 C, KEY_DEF 1 N (header length 257, record length 298).

#include <cstdint>
#include <string>

#include "dbf.h"
#include "records.h"

class BaseDbf : public TypedDbf<BaseDbf> {
public:
    BaseDbf(std::string fileName, DbfAccess access, FileOps& ops = SystemFileOps()) : TypedDbf(std::move(fileName), access, ops) {}

    CHARACTER street;
    CHARACTER house;
    int32_t corpus = 0;
    int32_t entrance = 0;
    CHARACTER key_hex;
    CHARACTER report;
    int32_t key_def = 0;

    // Declares the seven fields, in file order, before create().
    bool add_key_fields();
    void read_record();
    bool write_record();
};

// The open table has the program's field set, name by name.
bool HasKeyDatabaseFields(const DBF& table);

// Replaces the rows with those of the file: 1 loaded, 0 the file could not
// be read, -1 it is not a key database. Shows nothing itself. Texts are
// trimmed; Marked and Selected are false; Number counts from 1.
int LoadKeyDatabase(DatabaseModel& model, const std::string& fileName);

// The whole opening of a file as the database window does it: loading,
// one default key per address, the program's order. A file that could not
// be read or is not a key database is reported on the status line.
int OpenKeyDatabase(DatabaseModel& model, const std::string& fileName);

// Writes the rows in their order and reports the outcome on the status line.
// The file is replaced only once the new one is completely written; on any
// failure the previous file is left untouched.
bool SaveKeyDatabase(const DatabaseModel& model, const std::string& fileName, FileOps& ops = SystemFileOps());
