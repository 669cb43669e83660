// SPDX-License-Identifier: MIT
// The files hosts read and write: the size limits reading and saving agree on (the
// hostile-files test sends FIFOs and devices through the readers), and how a save replaces
// its target whole, through links, on a full disk and when killed part-way.
#include <tickwell/files/text_file.hpp>
#include "clock_fixture.hpp"
#include "scratch_dir.hpp"
#include "thrown.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include <tickwell/headless/headless_container.hpp>
#include <tickwell/headless/script_runner.hpp>

namespace tickwell::headless {
namespace {

namespace fs = std::filesystem;

class TextFile : public ::testing::Test, protected testing::ScratchDir {
  protected:
    TextFile() : ScratchDir("file") {}
    void TearDown() override {
        if (mounted) ::umount2(dir.c_str(), MNT_DETACH);
    }
    // A file of `bytes` zeros that takes no disk space.
    static void sparse(const std::string& p, off_t bytes) {
        const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, bytes), 0);
        ::close(fd);
    }
    static std::string refusal(const std::function<void()>& call) {
        return testing::what_thrown<FileError>(call);
    }
    // Mounts a small file system of `size` over the directory in a mount namespace of this
    // process's own; false (with the reason in `why`) where the test may not.
    bool mount_small_tmpfs(const char* size, std::string& why) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            why = std::string("no mount namespace of its own: ") + std::strerror(errno);
            return false;
        }
        const std::string options = std::string("size=") + size;
        if (::mount("tmpfs", dir.c_str(), "tmpfs", 0, options.c_str()) != 0) {
            why = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
            return false;
        }
        mounted = true;
        return true;
    }

    bool mounted = false;
};

// --- Reading ---------------------------------------------------------------------------

// A file the program reads back is never written larger than its reader takes.
TEST_F(TextFile, ReadingAndSavingStopAtTheLimit) {
    put(path("99"), std::string(99, 'x'));
    put(path("101"), std::string(101, 'x'));
    EXPECT_EQ(read_text_file(path("99"), 100).size(), 99u);
    EXPECT_EQ(refusal([&] { read_text_file(path("101"), 100); }),
              "cannot read \"" + path("101") + "\": 101 bytes, beyond the limit of 100 bytes");
    put(path("empty"), "");
    EXPECT_EQ(read_text_file(path("empty")), "");

    EXPECT_EQ(refusal([&] { replace_file(path("99"), std::string(101, 'x'), "save", 100); }),
              "cannot save \"" + path("99") +
                  "\": 101 bytes, beyond the limit of 100 bytes that reading it back allows");
    EXPECT_EQ(contents(path("99")), std::string(99, 'x'));
    replace_file(path("99"), std::string(100, 'x'), "save", 100);
    EXPECT_EQ(read_text_file(path("99"), 100), std::string(100, 'x'));  // at the limit
}

TEST_F(TextFile, LargeFilesAreRefusedBeforeTheyAreRead) {
    // A settings file one byte past its limit and a picture file one byte past its: each
    // refused from its size, with next to no memory spent on it. (The hostile-files test
    // sends FIFOs, devices and a 100 MB file through the container's readers.)
    sparse(path("settings.json"), static_cast<off_t>(kLargestSettingsFile) + 1);
    sparse(path("picture.png"), static_cast<off_t>(kLargestPictureFile) + 1);
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    EXPECT_NE(refusal([&] {
                  read_text_file(path("settings.json"));
              }).find("16777217 bytes, beyond the limit of 16 MiB"),
              std::string::npos);
    EXPECT_NE(refusal([&] {
                  read_picture_file(path("picture.png"));
              }).find("11534337 bytes, beyond the limit of 11 MiB"),
              std::string::npos);
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 8 * 1024) << "kB of peak memory grew";
    // At its limit a settings file is read whole.
    sparse(path("settings.json"), static_cast<off_t>(kLargestSettingsFile));
    EXPECT_EQ(read_text_file(path("settings.json")).size(), kLargestSettingsFile);
}

// A script is read a line at a time: each line as it stands but for its newline. What
// cannot be read as a script (a FIFO, a device, a read error, an endless line on standard
// input) the container's unreadable-scripts test shows.
TEST_F(TextFile, LinesAreReadAsTheyStand) {
    put(path("lines.tw"), "one\n\nthree\r\nlast");
    LineReader lines = LineReader::open(path("lines.tw"));
    for (const char* line : {"one", "", "three\r", "last"})
        EXPECT_EQ(lines.next(), std::optional<std::string>(line));
    EXPECT_EQ(lines.next(), std::nullopt);
    EXPECT_EQ(refusal([&] { LineReader::open(path("missing.tw"), "script"); }),
              "cannot read script \"" + path("missing.tw") + "\": No such file or directory");
}

// --- Saving ----------------------------------------------------------------------------

TEST_F(TextFile, ASymbolicLinkIsWrittenThroughAndStays) {
    fs::create_directory(dir / "real");
    put(path("real/form.json"), "old");
    fs::create_symlink("real/form.json", dir / "relative.json");
    fs::create_symlink(dir / "relative.json", dir / "chain.json");
    fs::create_symlink("real/new.json", dir / "dangling.json");

    replace_file(path("relative.json"), "one");
    EXPECT_TRUE(fs::is_symlink(dir / "relative.json"));
    EXPECT_EQ(contents(path("real/form.json")), "one");

    replace_file(path("chain.json"), "two");
    EXPECT_TRUE(fs::is_symlink(dir / "chain.json"));
    EXPECT_TRUE(fs::is_symlink(dir / "relative.json"));
    EXPECT_EQ(contents(path("real/form.json")), "two");

    replace_file(path("dangling.json"), "three");
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.json"));
    EXPECT_EQ(contents(path("real/new.json")), "three");

    fs::create_symlink("loop.json", dir / "loop.json");
    EXPECT_EQ(refusal([&] { replace_file(path("loop.json"), "x"); }),
              "cannot save \"" + path("loop.json") + "\": Too many levels of symbolic links");
    EXPECT_EQ(entries(), (std::vector<std::string>{"chain.json", "dangling.json", "loop.json",
                                                   "real", "relative.json"}));
}

// A save renames its temporary over the target: over a FIFO, a socket, or the file a shell
// opened for the program's output (reached through /proc, as /dev/stdout is), that would
// replace it instead of writing into it. Each is refused and left as it was.
TEST_F(TextFile, TargetsThatAreNoRegularFilesAreRefusedAndLeftAsTheyWere) {
    ASSERT_EQ(::mkfifo(path("pipe.json").c_str(), 0600), 0);
    fs::create_symlink("pipe.json", dir / "to_pipe.json");
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path("socket.json").c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    put(path("log.txt"), "earlier output\n");
    const int output = ::open(path("log.txt").c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(output, 0);
    const std::string open_output = "/proc/self/fd/" + std::to_string(output);
    fs::create_symlink(open_output, dir / "stdout.json");
    const struct {
        std::string file;
        std::string says;
    } rows[] = {
        {path("pipe.json"), "a FIFO, not a regular file"},
        {path("to_pipe.json"), "a FIFO, not a regular file"},
        {path("socket.json"), "a socket, not a regular file"},
        {open_output, "it leads through \"" + open_output +
                          "\" to a file a process has open, not a regular file"},
        {path("stdout.json"), "it leads through \"" + open_output +
                                  "\" to a file a process has open, not a regular file"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        EXPECT_EQ(refusal([&] { replace_file(row.file, "replaced"); }),
                  "cannot save \"" + row.file + "\": " + row.says);
        EXPECT_EQ(refusal([&] { check_save_target(row.file, "write"); }),
                  "cannot write \"" + row.file + "\": " + row.says);
    }
    ::close(output);
    ::close(listener);
    EXPECT_TRUE(fs::is_fifo(dir / "pipe.json"));
    EXPECT_TRUE(fs::is_socket(dir / "socket.json"));
    EXPECT_EQ(contents(path("log.txt")), "earlier output\n");
    EXPECT_EQ(entries(), (std::vector<std::string>{"log.txt", "pipe.json", "socket.json",
                                                   "stdout.json", "to_pipe.json"}));
}

TEST_F(TextFile, AnyNameTheFileSystemTakesSaves) {
    const std::string longest(NAME_MAX, 'n');
    replace_file(path(longest), "kept");
    EXPECT_EQ(contents(path(longest)), "kept");
    replace_file(path(longest), "again");
    EXPECT_EQ(contents(path(longest)), "again");
    EXPECT_EQ(refusal([&] { replace_file(path(longest + "n"), "x"); }),
              "cannot save \"" + path(longest + "n") + "\": File name too long");
    EXPECT_EQ(entries(), std::vector<std::string>{longest});
}

// Fifty saves killed at varied moments: the target holds one whole version at every moment,
// and the next save leaves no temporary of the killed ones behind. The child reports each
// whole save through a pipe; the kill lands a varying amount of work after one of them, so
// no round waits on the clock.
TEST_F(TextFile, SavesKilledMidWayLeaveAWholeFileAndNoTemporary) {
    const std::string target = path("form.json");
    const std::string versions[] = {std::string(1 << 20, 'a'), std::string(1 << 19, 'b')};
    replace_file(target, versions[0]);
    std::mt19937 random(12);
    int killed_mid_save = 0;
    for (int round = 0; round < 50; ++round) {
        int saved[2];
        ASSERT_EQ(::pipe(saved), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(saved[0]);
            for (int i = 0;; ++i) {
                replace_file(target, versions[i % 2]);
                if (::write(saved[1], "s", 1) != 1) ::_exit(1);
            }
        }
        ::close(saved[1]);
        char one = 0;
        ASSERT_EQ(::read(saved[0], &one, 1), 1) << "round " << round;
        // Work, not sleep or yield, so that the moment varies with the save's progress alone
        // and a loaded machine does not stretch the test.
        for (volatile int spin = std::uniform_int_distribution<int>(0, 400000)(random); spin > 0;)
            spin = spin - 1;
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(saved[0]);
        ASSERT_TRUE(WIFSIGNALED(status));
        const std::string now = contents(target);
        ASSERT_TRUE(now == versions[0] || now == versions[1]) << "round " << round;
        if (entries().size() > 1) ++killed_mid_save;
    }
    replace_file(target, "last");
    EXPECT_EQ(contents(target), "last");
    EXPECT_EQ(entries(), std::vector<std::string>{"form.json"})
        << killed_mid_save << " kills left a named temporary until the next save";
}

TEST_F(TextFile, AFullFileSystemKeepsTheOldFiles) {
    std::string why;
    if (!mount_small_tmpfs("256k", why)) GTEST_SKIP() << why;
    put(path("form.json"), "old form");
    fs::create_symlink("form.json", dir / "link.json");
    put(path("face.svg"), "old face");
    {
        // Fill what is left.
        std::ofstream filler(path("filler"), std::ios::binary);
        filler << std::string(1 << 20, 'f');
    }
    const std::string big(64 << 10, 'x');
    EXPECT_EQ(refusal([&] { replace_file(path("form.json"), big); }),
              "cannot save \"" + path("form.json") + "\": No space left on device");
    EXPECT_EQ(refusal([&] { replace_file(path("link.json"), big); }),
              "cannot save \"" + path("link.json") + "\": No space left on device");
    EXPECT_EQ(contents(path("form.json")), "old form");
    EXPECT_TRUE(fs::is_symlink(dir / "link.json"));

    // render through the container: an error naming the file, the old picture whole.
    std::ostringstream out;
    Container container(out);
    testing::run_script(container, "new a\nrender a " + path("face.svg") + "\n");
    EXPECT_NE(
        out.str().find("error: cannot write \"" + path("face.svg") + "\": No space left on device"),
        std::string::npos)
        << out.str();
    EXPECT_EQ(contents(path("face.svg")), "old face");
    EXPECT_EQ(entries(),
              (std::vector<std::string>{"face.svg", "filler", "form.json", "link.json"}));
}

}  // namespace
}  // namespace tickwell::headless
