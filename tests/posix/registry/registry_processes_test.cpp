// Several processes on one hive: concurrent writers lose nothing, and a writer killed
// at any moment leaves a whole hive behind.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "tests/posix/registry/registry_test_support.h"

namespace {

using namespace regtest;
using plat::RegKeyHandle;

// Runs `body` in a child process that exits with its result (0 for success), never
// returning into the test framework.
template <typename Body>
pid_t Spawn(Body body) {
    const pid_t pid = fork();
    if (pid == 0) _exit(body());
    return pid;
}

int ExitStatus(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Blocks every child on one pipe until the parent closes it, so that they start
// together.
class StartGate {
public:
    StartGate() { EXPECT_EQ(pipe(m_fds), 0); }
    ~StartGate() {
        Open();
        if (m_fds[0] >= 0) close(m_fds[0]);
    }
    void Wait() {
        close(m_fds[1]);
        char c;
        while (read(m_fds[0], &c, 1) > 0) {
        }
    }
    void Open() {
        if (m_fds[1] >= 0) close(m_fds[1]);
        m_fds[1] = -1;
    }

private:
    int m_fds[2] = {-1, -1};
};

TEST(RegistryProcesses, TwoWritersAtOnceLoseNoChange) {
    TempFolder folder;
    const std::string registryFolder = folder.path() + "/registry";
    constexpr int kWrites = 60;
    StartGate gate;
    auto writer = [&](const std::string& who) {
        return [&, who] {
            gate.Wait();
            posixplat::PosixRegistry registry(registryFolder, "tester");
            for (int i = 0; i < kWrites; ++i) {
                RegKeyHandle key;
                if (registry.CreateKey(plat::kHkeyCurrentUser, "Software\\Race", &key) != plat::kErrorSuccess) return 1;
                const std::string name = who + std::to_string(i);
                if (SetString(registry, key, name, "value of " + name) != plat::kErrorSuccess) return 2;
                registry.CloseKey(key);
                if (i % 10 == 0) {
                    if (registry.CreateKey(plat::kHkeyCurrentUser, "Software\\Race\\" + name, &key) != plat::kErrorSuccess) {
                        return 3;
                    }
                    registry.CloseKey(key);
                }
            }
            return 0;
        };
    };
    const pid_t first = Spawn(writer("first-"));
    const pid_t second = Spawn(writer("second-"));
    gate.Open();
    EXPECT_EQ(ExitStatus(first), 0);
    EXPECT_EQ(ExitStatus(second), 0);

    posixplat::PosixRegistry registry(registryFolder, "tester");
    RegKeyHandle key = MustOpen(registry, plat::kHkeyCurrentUser, "Software\\Race", plat::kKeyRead);
    for (const std::string who : {"first-", "second-"}) {
        for (int i = 0; i < kWrites; ++i) {
            const std::string name = who + std::to_string(i);
            EXPECT_EQ(Query(registry, key, name).bytes, "value of " + name + '\0') << name;
            if (i % 10 == 0) {
                RegKeyHandle sub;
                EXPECT_EQ(registry.OpenKey(key, name, plat::kKeyRead, &sub), plat::kErrorSuccess) << name;
                registry.CloseKey(sub);
            }
        }
    }
    // The shell folders written when the first of them created the hive survive too.
    RegKeyHandle shell;
    EXPECT_EQ(registry.OpenKey(plat::kHkeyCurrentUser,
                               "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                               plat::kKeyRead, &shell),
              plat::kErrorSuccess);
    registry.CloseKey(shell);
    registry.CloseKey(key);
}

TEST(RegistryProcesses, AReaderOfTheOldFileKeepsSeeingItWhole) {
    // A change never writes into the file readers may have open: it replaces it.
    TempFolder folder;
    const std::string registryFolder = folder.path() + "/registry";
    posixplat::PosixRegistry registry(registryFolder, "tester");
    RegKeyHandle key = MustCreate(registry, plat::kHkeyLocalMachine, "Replace");
    ASSERT_EQ(SetString(registry, key, "Value", std::string(3000, 'a')), plat::kErrorSuccess);
    const std::string hive = registryFolder + "/HKEY_LOCAL_MACHINE.reg";
    const std::string before = ReadFile(hive);
    std::ifstream reader(hive, std::ios::binary);

    ASSERT_EQ(SetString(registry, key, "Value", "short"), plat::kErrorSuccess);
    const std::string seen((std::istreambuf_iterator<char>(reader)), std::istreambuf_iterator<char>());
    EXPECT_EQ(seen, before);
    EXPECT_NE(ReadFile(hive), before);
    EXPECT_FALSE(std::filesystem::exists(hive + ".tmp"));
    registry.CloseKey(key);
}

struct Generation {
    std::string binary;
    std::string text;
};

Generation Content(char fill) {
    return {std::string(2500, fill), std::string(1500, fill) + '\0'};
}

TEST(RegistryProcesses, AWriterKilledAtAnyMomentLeavesEachValueOldOrNew) {
    TempFolder folder;
    const std::string registryFolder = folder.path() + "/registry";
    const Generation old = Content('a');
    const Generation fresh = Content('b');
    {
        posixplat::PosixRegistry registry(registryFolder, "tester");
        RegKeyHandle key = MustCreate(registry, plat::kHkeyLocalMachine, "Crash");
        for (int v = 0; v < 2; ++v) {
            ASSERT_EQ(Set(registry, key, "Bin" + std::to_string(v), plat::kRegBinary, old.binary), plat::kErrorSuccess);
            ASSERT_EQ(Set(registry, key, "Text" + std::to_string(v), plat::kRegSz, old.text), plat::kErrorSuccess);
        }
        registry.CloseKey(key);
    }

    for (int round = 0; round < 8; ++round) {
        int started[2];
        ASSERT_EQ(pipe(started), 0);
        const pid_t writer = Spawn([&] {
            close(started[0]);
            posixplat::PosixRegistry registry(registryFolder, "tester");
            RegKeyHandle key;
            if (registry.OpenKey(plat::kHkeyLocalMachine, "Crash", plat::kKeyAllAccess, &key) != plat::kErrorSuccess) {
                return 1;
            }
            for (long n = 0;; ++n) {
                const Generation& next = n % 2 ? old : fresh;
                for (int v = 0; v < 2; ++v) {
                    Set(registry, key, "Bin" + std::to_string(v), plat::kRegBinary, next.binary);
                    Set(registry, key, "Text" + std::to_string(v), plat::kRegSz, next.text);
                }
                if (n == 0 && write(started[1], "x", 1) != 1) return 2;
            }
        });
        close(started[1]);
        char c;
        ASSERT_EQ(read(started[0], &c, 1), 1) << "writer did not start";
        close(started[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(900 * round + 100));
        kill(writer, SIGKILL);
        ASSERT_EQ(ExitStatus(writer), 128 + SIGKILL);

        posixplat::PosixRegistry registry(registryFolder, "tester");
        RegKeyHandle key = MustOpen(registry, plat::kHkeyLocalMachine, "Crash", plat::kKeyRead);
        for (int v = 0; v < 2; ++v) {
            const StoredValue binary = Query(registry, key, "Bin" + std::to_string(v));
            const StoredValue text = Query(registry, key, "Text" + std::to_string(v));
            EXPECT_TRUE(binary.bytes == old.binary || binary.bytes == fresh.binary) << "round " << round;
            EXPECT_TRUE(text.bytes == old.text || text.bytes == fresh.text) << "round " << round;
            EXPECT_EQ(binary.type, plat::kRegBinary);
            EXPECT_EQ(text.type, plat::kRegSz);
        }
        registry.CloseKey(key);
    }

    // The lock died with the writer: the hive still takes changes.
    posixplat::PosixRegistry registry(registryFolder, "tester");
    RegKeyHandle key = MustOpen(registry, plat::kHkeyLocalMachine, "Crash");
    EXPECT_EQ(SetString(registry, key, "After", "ok"), plat::kErrorSuccess);
    EXPECT_EQ(Query(registry, key, "After").bytes, std::string("ok\0", 3));
    registry.CloseKey(key);
}

}  // namespace
