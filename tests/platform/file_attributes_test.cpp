#include "FileAttributes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "temp_dir.h"

namespace {

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 0777;
}

TEST(FileAttributes, ReadOnlyIsTheWriteBits) {
    TempDir dir;
    const std::string path = dir.File("f");
    WriteFileBytes(path, "x");
    ::chmod(path.c_str(), 0664);
    ASSERT_TRUE(platform::SetFileAttributes(path, platform::kAttrReadOnly | platform::kAttrHidden));
    EXPECT_EQ(ModeOf(path), 0444u);
    // Hidden + system only: the file becomes writable again for its owner.
    ASSERT_TRUE(platform::SetFileAttributes(path, platform::kAttrHidden | platform::kAttrSystem));
    EXPECT_EQ(ModeOf(path), 0644u);
    EXPECT_FALSE(platform::SetFileAttributes(dir.File("missing"), 0));
}

TEST(FileAttributes, ExistsAndDelete) {
    TempDir dir;
    const std::string path = dir.File("f");
    EXPECT_FALSE(platform::FileExists(path));
    EXPECT_FALSE(platform::FileExists(dir.Path()));  // a folder is not a file
    WriteFileBytes(path, "x");
    EXPECT_TRUE(platform::FileExists(path));
    EXPECT_TRUE(platform::DeleteFile(path));
    EXPECT_FALSE(platform::DeleteFile(path));
}

}  // namespace
