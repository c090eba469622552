#pragma once
// Rows, hand-made table bytes and file seams for the db tests.

#include <cstdint>
#include <string>
#include <vector>

#include "file_ops.h"
#include "records.h"

// Texts as UTF-8 literals, stored as CP1251.
BaseRecord Row(const std::string& street, const std::string& house, int32_t corpus, int32_t entrance,
               const std::string& key = "0000000000000000", bool keyDef = false, const std::string& report = "");

// Field descriptor for hand-made tables.
struct FieldBytes {
    std::string name;
    char type;
    int length;
    int decimals = 0;
};

// A dBASE III image: header, descriptors, 0x0D, the records as given (each
// must already be record-length bytes), and `tail` after them.
std::string TableBytes(const std::vector<FieldBytes>& fields, const std::vector<std::string>& records,
                       const std::string& tail = "\x1A");

const std::vector<FieldBytes>& KeyFields();
// One record of the key database in its exact stored form.
std::string KeyRecord(const std::string& street, const std::string& house, const std::string& corpus,
                      const std::string& entrance, const std::string& key, const std::string& report,
                      const std::string& keyDef, char flag = ' ');

// Lets writes through until `budget` bytes have been written, then fails
// them (a full disk part-way); can also fail syncing or renaming.
class FailingFileOps : public FileOps {
public:
    explicit FailingFileOps(long budget) : budget_(budget) {}
    long WriteAt(int fd, const void* data, std::size_t size, int64_t offset) override;
    int Sync(int fd) override { return failSync ? -1 : FileOps::Sync(fd); }
    int Rename(const std::string& from, const std::string& to) override {
        return failRename ? -1 : FileOps::Rename(from, to);
    }
    bool failSync = false, failRename = false;

private:
    long budget_;
};

// Counts the calls that reach the system.
class CountingFileOps : public FileOps {
public:
    long ReadAt(int fd, void* data, std::size_t size, int64_t offset) override {
        ++reads;
        return FileOps::ReadAt(fd, data, size, offset);
    }
    long WriteAt(int fd, const void* data, std::size_t size, int64_t offset) override {
        ++writes;
        return FileOps::WriteAt(fd, data, size, offset);
    }
    int reads = 0, writes = 0;
};

// The names in a folder, sorted.
std::vector<std::string> FolderEntries(const std::string& folder);
