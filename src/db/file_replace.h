#pragma once
// Writes a file under a temporary name in the same folder and puts it in
// place with one rename, so that a write that fails part-way leaves the
// previous file exactly as it was.

#include <string>

#include "file_ops.h"

class ReplacingFile {
public:
    explicit ReplacingFile(std::string target, FileOps& ops = SystemFileOps());
    // Removes the temporary file unless it was committed.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Reserves a fresh temporary name beside the target. False when the
    // target is read-only (no write permission for anyone: the program's
    // read-only attribute) or the folder takes no new file.
    bool Prepare();
    const std::string& TempPath() const { return temp_; }
    // Flushes the finished temporary file to the disk, gives it the target's
    // permissions and renames it over the target.
    bool Commit();

private:
    std::string target_;
    std::string temp_;
    FileOps& ops_;
    bool keepMode_ = false;
    unsigned mode_ = 0;
    bool committed_ = false;
};
