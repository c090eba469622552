#include "IniFile.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace {

TEST(IniFile, NamesCompareWithoutCaseAndValuesAreTrimmed) {
    TempDir dir;
    WriteFileBytes(dir.File("a.ini"), "[Timer]\r\n  sysmessinterval =  7 \r\n[com]\r\nCOM_PORT=\"2\"\r\n");
    platform::IniFile ini(dir.File("a.ini"));
    ASSERT_TRUE(ini.Load());
    EXPECT_EQ(ini.ReadString("TIMER", "SysMessInterval", "x"), "7");
    EXPECT_EQ(ini.ReadString("COM", "COM_port", "x"), "2");
    EXPECT_EQ(ini.ReadString("COM", "missing", "x"), "x");
    EXPECT_EQ(ini.ReadString("NOPE", "COM_port", "x"), "x");
}

TEST(IniFile, WritingKeepsForeignLinesAndLineEnds) {
    TempDir dir;
    const std::string path = dir.File("a.ini");
    WriteFileBytes(path, "; note\r\n[OTHER]\r\nx=1\r\n\r\n[TIMER]\r\nSysMessInterval=9\r\nkeep=me\r\n");
    platform::IniFile ini(path);
    ASSERT_TRUE(ini.Load());
    ini.WriteString("timer", "SYSMESSINTERVAL", "5");
    ini.WriteString("OTHER", "y", "2");
    ini.WriteString("COM", "COM_port", "1");
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadFileBytes(path),
              "; note\r\n[OTHER]\r\nx=1\r\ny=2\r\n\r\n[TIMER]\r\nSYSMESSINTERVAL=5\r\nkeep=me\r\n"
              "[COM]\r\nCOM_port=1\r\n");
}

TEST(IniFile, NewFileFromNothing) {
    TempDir dir;
    const std::string path = dir.File("new.ini");
    platform::IniFile ini(path);
    EXPECT_FALSE(ini.Load());
    ini.WriteString("TIMER", "SysMessInterval", "5");
    ini.WriteString("COM", "COM_port", "1");
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadFileBytes(path), "[TIMER]\nSysMessInterval=5\n[COM]\nCOM_port=1\n");
}

TEST(IniFile, ReadSectionListsKeysInOrder) {
    TempDir dir;
    WriteFileBytes(dir.File("a.ini"), "[PORTS]\nCOM2=/dev/ttyS1\n;COM3=/dev/x\nCOM1 = /dev/ttyUSB0\n[X]\nCOM4=y\n");
    platform::IniFile ini(dir.File("a.ini"));
    ASSERT_TRUE(ini.Load());
    const auto entries = ini.ReadSection("ports");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], (std::pair<std::string, std::string>{"COM2", "/dev/ttyS1"}));
    EXPECT_EQ(entries[1], (std::pair<std::string, std::string>{"COM1", "/dev/ttyUSB0"}));
    EXPECT_TRUE(ini.ReadSection("none").empty());
}

TEST(IniFile, SaveIntoMissingFolderFails) {
    platform::IniFile ini("/nonexistent-folder-for-test/a.ini");
    ini.WriteString("A", "b", "c");
    EXPECT_FALSE(ini.Save());
}

}  // namespace
