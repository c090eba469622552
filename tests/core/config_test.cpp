#include "config.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "temp_dir.h"

namespace {

bool Writable(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR);
}

TEST(CfgClass, FirstStartWritesTheDefaults) {
    TempDir dir;
    CfgClass cfg(dir.Path());
    EXPECT_FALSE(cfg.ReadConfig());
    EXPECT_EQ(ReadFileBytes(dir.File("vestorin.cfg")), "[TIMER]\nSysMessInterval=5\n[COM]\nCOM_port=1\n");
    EXPECT_TRUE(cfg.ReadConfig());
    EXPECT_EQ(cfg.SysMessInterval, 5);
    EXPECT_EQ(cfg.ComPort, 1);
}

TEST(CfgClass, ValuesAndFallbacks) {
    struct Row {
        std::string file;
        int interval, port;
    };
    const Row rows[] = {
        {"[TIMER]\nSysMessInterval=abc\n[COM]\nCOM_port=2\n", 5, 2},
        {"[TIMER]\nSysMessInterval=0\n[COM]\nCOM_port=x\n", 0, 1},
        {"[timer]\nsysmessinterval=12\n", 12, 3},  // TIMER only: the port in memory stays
        {"", 5, 3},
    };
    for (const auto& row : rows) {
        TempDir dir;
        WriteFileBytes(dir.File("vestorin.cfg"), row.file);
        CfgClass cfg(dir.Path());
        cfg.ComPort = 3;
        EXPECT_TRUE(cfg.ReadConfig());
        EXPECT_EQ(cfg.SysMessInterval, row.interval) << row.file;
        EXPECT_EQ(cfg.ComPort, row.port) << row.file;
    }
}

TEST(CfgClass, ForeignSectionsAreKeptOnWrite) {
    TempDir dir;
    WriteFileBytes(dir.File("vestorin.cfg"), "[PORTS]\nCOM1=/dev/ttyUSB0\n[COM]\nCOM_port=1\n");
    CfgClass cfg(dir.Path());
    ASSERT_TRUE(cfg.ReadConfig());
    cfg.ComPort = 2;
    cfg.WriteConfig();
    EXPECT_EQ(ReadFileBytes(dir.File("vestorin.cfg")),
              "[PORTS]\nCOM1=/dev/ttyUSB0\n[COM]\nCOM_port=2\n[TIMER]\nSysMessInterval=5\n");
}

TEST(CfgClass, ReadOnlyFileBecomesWritableAfterRead) {
    TempDir dir;
    const std::string path = dir.File("vestorin.cfg");
    WriteFileBytes(path, "[COM]\nCOM_port=2\n");
    ::chmod(path.c_str(), 0444);
    CfgClass cfg(dir.Path());
    EXPECT_TRUE(cfg.ReadConfig());
    EXPECT_EQ(cfg.ComPort, 2);
    EXPECT_TRUE(Writable(path));
}

TEST(CfgClass, ReadOnlyFolderUsesDefaultsSilently) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    TempDir dir;
    ::chmod(dir.Path().c_str(), 0555);
    CfgClass cfg(dir.Path());
    EXPECT_FALSE(cfg.ReadConfig());
    EXPECT_FALSE(cfg.ReadConfig());
    EXPECT_EQ(cfg.SysMessInterval, 5);
    EXPECT_EQ(cfg.ComPort, 1);
    EXPECT_NE(::access(dir.File("vestorin.cfg").c_str(), F_OK), 0);
}

TEST(CfgClass, UnwritableLocationUsesDefaultsSilently) {
    // A start "folder" that is a plain file cannot take a file, even for root.
    TempDir dir;
    WriteFileBytes(dir.File("plain"), "");
    CfgClass cfg(dir.File("plain"));
    cfg.ComPort = 1;
    EXPECT_FALSE(cfg.ReadConfig());
    EXPECT_FALSE(cfg.ReadConfig());
    EXPECT_EQ(cfg.SysMessInterval, 5);
    EXPECT_EQ(cfg.ComPort, 1);
}

TEST(CfgClass, StartFolderIsTheCurrentDirectoryNotTheExecutables) {
    TempDir dir;
    ScopedCurrentDir cd(dir.Path());
    CfgClass cfg;
    EXPECT_EQ(cfg.FolderPath(), dir.Path() + "/");
    EXPECT_FALSE(cfg.ReadConfig());
    EXPECT_EQ(::access(dir.File("vestorin.cfg").c_str(), F_OK), 0);
}

}  // namespace
