#include "SingleInstance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

std::string UniqueName(const char* tag) { return std::string("test-") + tag + "-" + std::to_string(::getpid()); }

// Runs `body` in a child process and returns its exit status.
template <typename F>
int InChild(F body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SingleInstance, SecondHolderIsRefusedUntilTheFirstLetsGo) {
    const std::string name = UniqueName("two");
    platform::SingleInstanceLock first;
    ASSERT_TRUE(first.Acquire(name));
    EXPECT_TRUE(first.Held());
    EXPECT_EQ(InChild([&] {
                  platform::SingleInstanceLock second;
                  return second.Acquire(name) ? 0 : 1;
              }),
              1);
    first.Release();
    EXPECT_EQ(InChild([&] {
                  platform::SingleInstanceLock second;
                  return second.Acquire(name) ? 0 : 1;
              }),
              0);
}

TEST(SingleInstance, ACrashedHolderLeavesNothingStuck) {
    const std::string name = UniqueName("crash");
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        platform::SingleInstanceLock lock;
        const char ok = lock.Acquire(name) ? 'y' : 'n';
        (void)!::write(pipeFds[1], &ok, 1);
        ::pause();
        ::_exit(0);
    }
    char got = 0;
    ASSERT_EQ(::read(pipeFds[0], &got, 1), 1);
    ASSERT_EQ(got, 'y');
    platform::SingleInstanceLock mine;
    EXPECT_FALSE(mine.Acquire(name));
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    EXPECT_TRUE(mine.Acquire(name));
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
}

TEST(SingleInstance, NamesDoNotCollideAndOddBytesAreSafe) {
    platform::SingleInstanceLock a, b;
    ASSERT_TRUE(a.Acquire(UniqueName("x") + "/../\xC1\xE0\xE7\xE0"));
    EXPECT_TRUE(b.Acquire(UniqueName("y")));
}

TEST(SingleInstance, LockFolderIsPrivate) {
    const std::string folder = platform::SingleInstanceLock::LockFolder();
    ASSERT_FALSE(folder.empty());
    struct stat st {};
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, ::getuid());
    EXPECT_EQ(st.st_mode & 022, 0u);
}

}  // namespace
