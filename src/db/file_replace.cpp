#include "file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace {

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

ReplacingFile::ReplacingFile(std::string target, FileOps& ops) : target_(std::move(target)), ops_(ops) {}

ReplacingFile::~ReplacingFile() {
    if (!temp_.empty() && !committed_) ops_.Remove(temp_);
}

bool ReplacingFile::Prepare() {
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0) {
        if ((st.st_mode & 0222) == 0) return false;
        keepMode_ = true;
        mode_ = st.st_mode & 07777;
    }
    static std::atomic<unsigned> counter{0};
    const auto slash = target_.rfind('/');
    const std::string base = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    const std::string folder = slash == std::string::npos ? std::string() : target_.substr(0, slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = folder + "." + base + "." + std::to_string(::getpid()) + "-" +
                                 std::to_string(counter.fetch_add(1)) + ".tmp";
        const int fd = ops_.Open(name, O_RDWR | O_CREAT | O_EXCL, 0666);
        if (fd >= 0) {
            ops_.Close(fd);
            temp_ = name;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

bool ReplacingFile::Commit() {
    if (temp_.empty() || committed_) return false;
    const int fd = ops_.Open(temp_, O_RDONLY, 0);
    if (fd < 0) return false;
    const bool synced = ops_.Sync(fd) == 0;
    if (ops_.Close(fd) != 0 || !synced) return false;
    if (keepMode_ && ::chmod(temp_.c_str(), static_cast<mode_t>(mode_)) != 0) return false;
    if (ops_.Rename(temp_, target_) != 0) return false;
    committed_ = true;
    // The rename itself reaches the disk with the folder.
    const int folder = ops_.Open(FolderOf(target_), O_RDONLY | O_DIRECTORY, 0);
    if (folder >= 0) {
        ops_.Sync(folder);
        ops_.Close(folder);
    }
    return true;
}
