#include "single_instance.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(CheckSingleInstance, FirstCopyHoldsTheNameForTheProcess) {
    const std::string name = "core-test-" + std::to_string(::getpid());
    ASSERT_TRUE(CheckSingleInstance(name));
    EXPECT_FALSE(CheckSingleInstance(name));  // the name exists now, as a mutex would
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(CheckSingleInstance(name) ? 0 : 1);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);  // a second copy is refused
}

}  // namespace
