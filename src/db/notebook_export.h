#pragma once
// The export file of the NBX-4 key notebook: a dBASE III table of exactly
// 1000 records (60194 bytes) with the fields TYPE_KEY 3 N, MODE 3 N,
// NAME 14 C, KEY_HEX 23 C, OLD_KEY 16 C. Records 1 to n are the exported
// keys, the rest empty slots (255, -1, blanks).

#include <cstdint>
#include <string>

#include "dbf.h"
#include "records.h"

inline constexpr int kNotebookSlots = 1000;

class NBX4WriterDbf : public TypedDbf<NBX4WriterDbf> {
public:
    NBX4WriterDbf(std::string fileName, DbfAccess access, FileOps& ops = SystemFileOps())
        : TypedDbf(std::move(fileName), access, ops) {}

    int32_t TYPE_KEY = 0;  // 0 a stored key, 255 an empty slot
    int32_t MODE = 0;      // 0 a stored key, -1 an empty slot
    CHARACTER NAME;
    CHARACTER KEY_HEX;  // eight pairs separated by single spaces
    CHARACTER OLD_KEY;  // the 16 digits as stored in the database

    // Declares the five fields, in file order, before create().
    bool add_notebook_fields();
    bool write_record();
    void read_record();
};

// The name the notebook shows: the street upper-cased, reduced to the
// letters the notebook has, and the address cut to 14 characters.
std::string NotebookEntryName(const BaseRecord& row);

enum class NotebookExport { kWritten, kNothingToExport, kWriteFailed };

// Writes the default keys of the marked addresses, at most 1000, to the
// file and reports the outcome on the status line. The file is replaced only
// once the new one is complete.
NotebookExport ExportMarkedToNotebook(const DatabaseModel& model, const std::string& fileName,
                                      FileOps& ops = SystemFileOps());
