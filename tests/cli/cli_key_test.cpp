#include <gtest/gtest.h>

#include "cli_run.h"

namespace {

TEST(CliKey, PrintsEachKeySpacedWithItsCheckByte) {
    const CliRun run = RunArgs({"key", " ff ff ff ff ff ff ff ff ", "0000000000000000", "AAaa01020304052D"});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_EQ(run.out, "14 FF FF FF FF FF FF FF\n00 00 00 00 00 00 00 00\n"
                       "F1 AA 01 02 03 04 05 2D\n");
    EXPECT_EQ(run.err, "");
}

TEST(CliKey, IncompleteKeyIsNamedAndFailsTheRun) {
    const CliRun run = RunArgs({"key", "0123", "FFFFFFFFFFFFFFFF", "ключ"});
    EXPECT_EQ(run.status, kExitBadArguments);
    EXPECT_EQ(run.out, "14 FF FF FF FF FF FF FF\n");
    EXPECT_NE(run.err.find("'0123'"), std::string::npos);
    EXPECT_NE(run.err.find("'ключ'"), std::string::npos);  // UTF-8 in, UTF-8 out
}

TEST(CliKey, UsageErrors) {
    EXPECT_EQ(RunArgs({"key"}).status, kExitBadArguments);
    EXPECT_EQ(RunArgs({}).status, kExitBadArguments);
    EXPECT_EQ(RunArgs({"nope"}).status, kExitBadArguments);
    EXPECT_EQ(RunArgs({"help"}).status, kExitOk);
}

}  // namespace
