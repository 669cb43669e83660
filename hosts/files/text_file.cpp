// SPDX-License-Identifier: MIT
#include <tickwell/files/text_file.hpp>

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <utility>

namespace tickwell::headless {
namespace {

std::string quoted_path(const std::string& path) {
    return "\"" + path + "\"";
}

// Closes a file descriptor on every way out.
class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { reset(); }
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }
    // Closes now, reporting the error a delayed write may only show here.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

  private:
    int fd_;
};

std::string what_it_is(mode_t mode) {
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

std::string in_mib(std::size_t bytes) {
    if (bytes % (std::size_t{1} << 20) != 0) return std::to_string(bytes) + " bytes";
    return std::to_string(bytes >> 20) + " MiB";
}

// Opens the regular file at `path` for reading, refusing anything else with `fail`'s error.
// Non-blocking: opening a FIFO with no writer would otherwise wait for one for ever. What is
// opened is checked on the descriptor itself, so that a file swapped for another between a
// check and the open changes nothing.
template <class Fail>
int open_regular(const std::string& path, const Fail& fail, struct stat& st) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) throw fail(std::strerror(errno));
    if (::fstat(fd.get(), &st) != 0) throw fail(std::strerror(errno));
    if (S_ISDIR(st.st_mode)) throw fail(std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode)) throw fail(what_it_is(st.st_mode) + ", not a regular file");
    return fd.release();
}

// Reads the regular file at `path` into `buffer` (a std::string or a byte vector).
template <class Buffer>
Buffer read_bounded(const std::string& path, std::size_t limit) {
    const auto fail = [&](const std::string& why) {
        return FileError("cannot read " + quoted_path(path) + ": " + why);
    };
    const auto too_large = [&](std::size_t bytes, bool at_least) {
        return fail(std::string(at_least ? "more than " : "") + std::to_string(bytes) +
                    " bytes, beyond the limit of " + in_mib(limit));
    };
    struct stat st {};
    const Descriptor fd(open_regular(path, fail, st));
    if (st.st_size < 0 || static_cast<std::uintmax_t>(st.st_size) > limit)
        throw too_large(static_cast<std::size_t>(st.st_size), false);

    Buffer buffer;
    try {
        buffer.resize(static_cast<std::size_t>(st.st_size) + 1);
        std::size_t used = 0;
        for (;;) {
            if (used == buffer.size()) {
                // The file grew while it was read.
                if (used > limit) throw too_large(limit, true);
                buffer.resize(std::min(limit + 1, used * 2 + 4096));
            }
            const ssize_t n = ::read(fd.get(), buffer.data() + used, buffer.size() - used);
            if (n < 0) {
                if (errno == EINTR) continue;
                throw fail(std::strerror(errno));
            }
            if (n == 0) break;
            used += static_cast<std::size_t>(n);
        }
        if (used > limit) throw too_large(limit, true);
        buffer.resize(used);
    } catch (const std::bad_alloc&) {
        throw fail("not enough memory to hold it");
    }
    return buffer;
}

// --- Saving -----------------------------------------------------------------------------

// The permissions a new file gets from open(): 0666 less the process's umask.
mode_t new_file_mode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Whether the symbolic link `link` is one of the kernel's links to what a process has open
// (/proc/PID/fd/N, and /dev/stdout through it): its text names a file another program may
// hold open for writing (a shell's `>> log.txt`), or is no path at all ("pipe:[1234]").
bool is_process_link(const std::string& link) {
    const Descriptor fd(::open(link.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct statfs fs {};
    return fd.get() >= 0 && ::fstatfs(fd.get(), &fs) == 0 && fs.f_type == PROC_SUPER_MAGIC;
}

// The file a path names once its symbolic links are followed (as many as the system itself
// follows); the path itself when it is no link. A dangling link names the file it would
// create. Throws `fail`'s error for a loop, or for a link to what a process has open.
template <class Fail>
std::string final_target(const std::string& path, const Fail& fail) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        if (is_process_link(current))
            throw fail("it leads through " + quoted_path(current) +
                       " to a file a process has open, not a regular file");
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n < 0) return current;
        link.resize(static_cast<std::size_t>(n));
        if (link.empty()) return current;
        const std::filesystem::path here(current);
        current = link.front() == '/' || !here.has_parent_path()
                      ? link
                      : (here.parent_path() / link).string();
    }
    throw fail(std::strerror(ELOOP));
}

// Temporary names: "." + the target's name (cut to fit NAME_MAX) + "~tw." + the saving
// process's id in ten digits + "." + six letters. The id lets a later save recognise the
// temporaries of a process that died while saving this file.
constexpr std::size_t kTemporaryTail = 4 + 10 + 1 + 6;

std::string temporary_stem(const std::string& name) {
    return "." + name.substr(0, std::min(name.size(), std::size_t{NAME_MAX} - 1 - kTemporaryTail)) +
           "~tw.";
}

std::string temporary_name(const std::string& stem) {
    static std::atomic<std::uint64_t> counter{0};
    char pid[16];
    std::snprintf(pid, sizeof pid, "%010ld", static_cast<long>(::getpid()));
    std::uint64_t seed =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
    std::string letters(6, 'a');
    for (char& c : letters) {
        c = "abcdefghijklmnopqrstuvwxyz0123456789"[seed % 36];
        seed /= 36;
    }
    return stem + pid + "." + letters;
}

// Removes the temporaries of this file that a save killed before its rename left behind:
// those of processes that no longer run.
void remove_stale_temporaries(int directory, const std::string& stem) {
    const int fd = ::dup(directory);
    if (fd < 0) return;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    ::rewinddir(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name.size() != stem.size() + kTemporaryTail - 4 || name.substr(0, stem.size()) != stem)
            continue;
        const std::string pid_digits(name.substr(stem.size(), 10));
        if (pid_digits.find_first_not_of("0123456789") != std::string::npos) continue;
        const long pid = std::strtol(pid_digits.c_str(), nullptr, 10);
        if (pid <= 0 || pid == ::getpid() || ::kill(static_cast<pid_t>(pid), 0) == 0 ||
            errno != ESRCH)
            continue;
        ::unlinkat(directory, entry->d_name, 0);
    }
    ::closedir(dir);
}

// Gives the unnamed file `fd` the name `temporary` in `directory`.
bool link_unnamed(int fd, int directory, const std::string& temporary) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), directory, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    // Without /proc: the same by descriptor, which needs a capability a user may lack.
    return ::linkat(fd, "", directory, temporary.c_str(), AT_EMPTY_PATH) == 0;
}

}  // namespace

LineReader LineReader::open(const std::string& path, std::string_view kind) {
    const std::string name = (kind.empty() ? "" : std::string(kind) + " ") + quoted_path(path);
    struct stat st {};
    const int fd = open_regular(
        path, [&](const std::string& why) { return FileError("cannot read " + name + ": " + why); },
        st);
    // Read as it comes: blocking, now that it is known to be a regular file.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return LineReader(fd, name, true);
}

LineReader::LineReader(int fd, std::string name, bool owned)
    : fd_(fd), owned_(owned), name_(std::move(name)) {}

LineReader::LineReader(LineReader&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      owned_(other.owned_),
      name_(std::move(other.name_)),
      buffer_(std::move(other.buffer_)),
      start_(other.start_),
      ended_(other.ended_),
      lines_(other.lines_) {}

LineReader::~LineReader() {
    if (owned_ && fd_ >= 0) ::close(fd_);
}

std::optional<std::string> LineReader::next() {
    const auto fail = [&](const std::string& why) {
        return FileError("cannot read " + name_ + ": " + why);
    };
    for (;;) {
        const auto end = buffer_.find('\n', start_);
        const std::size_t length = (end == std::string::npos ? buffer_.size() : end) - start_;
        if (length > kLongestLine)
            throw fail("line " + std::to_string(lines_ + 1) + " is longer than " +
                       std::to_string(kLongestLine) + " bytes");
        if (end != std::string::npos || (ended_ && length > 0)) {
            std::string line = buffer_.substr(start_, length);
            start_ += length + (end != std::string::npos ? 1 : 0);
            ++lines_;
            return line;
        }
        if (ended_) return std::nullopt;
        buffer_.erase(0, std::exchange(start_, 0));
        const std::size_t had = buffer_.size();
        buffer_.resize(had + kReadChunk);
        ssize_t n = 0;
        do {
            n = ::read(fd_, buffer_.data() + had, kReadChunk);
        } while (n < 0 && errno == EINTR);
        if (n < 0) {
            const int error = errno;
            throw fail(std::string(std::strerror(error)) + " after line " + std::to_string(lines_));
        }
        buffer_.resize(had + static_cast<std::size_t>(n));
        ended_ = n == 0;
    }
}

std::string read_text_file(const std::string& path, std::size_t limit) {
    return read_bounded<std::string>(path, limit);
}

std::vector<std::uint8_t> read_picture_file(const std::string& path) {
    return read_bounded<std::vector<std::uint8_t>>(path, kLargestPictureFile);
}

namespace {

template <class Fail>
void check_replaceable(mode_t mode, const Fail& fail) {
    if (S_ISDIR(mode)) throw fail(std::strerror(EISDIR));
    if (!S_ISREG(mode)) throw fail(what_it_is(mode) + ", not a regular file");
}

// The file a save of `path` replaces or creates, once its links are followed: refused with
// `fail`'s error where it exists and is no regular file (a directory, device, FIFO or
// socket), or where it is reached through a process's open file.
template <class Fail>
std::filesystem::path save_target(const std::string& path, const Fail& fail) {
    if (path.empty()) throw fail(std::strerror(ENOENT));
    const std::filesystem::path target(final_target(path, fail));
    const std::string name = target.filename().string();
    if (name.empty() || name == "." || name == "..") throw fail(std::strerror(EISDIR));
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) check_replaceable(st.st_mode, fail);
    return target;
}

}  // namespace

void check_save_target(const std::string& path, std::string_view verb) {
    save_target(path, [&](const std::string& why) {
        return FileError("cannot " + std::string(verb) + " " + quoted_path(path) + ": " + why);
    });
}

void replace_file(const std::string& path, std::string_view bytes, std::string_view verb,
                  std::size_t limit) {
    namespace fs = std::filesystem;
    const auto refuse = [&](const std::string& why) {
        return FileError("cannot " + std::string(verb) + " " + quoted_path(path) + ": " + why);
    };
    const auto fail = [&](int error) { return refuse(std::strerror(error)); };
    // What the reader of such a file would refuse is never written.
    if (bytes.size() > limit)
        throw refuse(std::to_string(bytes.size()) + " bytes, beyond the limit of " + in_mib(limit) +
                     " that reading it back allows");
    const fs::path target = save_target(path, refuse);
    const std::string name = target.filename().string();
    const fs::path directory_path = target.has_parent_path() ? target.parent_path() : ".";

    Descriptor directory(::open(directory_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() < 0) throw fail(errno);
    struct stat old {};
    mode_t mode = new_file_mode();
    // Checked again on the directory that is written: the rename replaces whatever is there.
    if (::fstatat(directory.get(), name.c_str(), &old, 0) == 0) {
        check_replaceable(old.st_mode, refuse);
        mode = old.st_mode & 07777;
    }
    const std::string stem = temporary_stem(name);
    remove_stale_temporaries(directory.get(), stem);

    // An unnamed file first: a save killed while writing it leaves nothing behind.
    Descriptor file(::openat(directory.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
    const bool unnamed = file.get() >= 0;
    std::string temporary;
    if (!unnamed) {
        for (int attempt = 0; attempt < 100 && file.get() < 0; ++attempt) {
            temporary = temporary_name(stem);
            file.reset(::openat(directory.get(), temporary.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
            if (file.get() < 0 && errno != EEXIST) throw fail(errno);
        }
        if (file.get() < 0) throw fail(EEXIST);
    }
    // From here on every failure removes the temporary; the old file is never touched.
    const auto abandon = [&](int error) {
        file.reset();
        if (!temporary.empty()) ::unlinkat(directory.get(), temporary.c_str(), 0);
        return fail(error);
    };
    if (::fchmod(file.get(), mode) != 0) throw abandon(errno);
    if (!write_all(file.get(), bytes)) throw abandon(errno);
    if (::fsync(file.get()) != 0) throw abandon(errno);
    if (unnamed) {
        int error = EEXIST;
        for (int attempt = 0; attempt < 100 && temporary.empty(); ++attempt) {
            std::string candidate = temporary_name(stem);
            if (link_unnamed(file.get(), directory.get(), candidate))
                temporary = std::move(candidate);
            else if ((error = errno) != EEXIST)
                break;
        }
        if (temporary.empty()) throw abandon(error);
    }
    if (file.close() != 0) throw abandon(errno);
    if (::renameat(directory.get(), temporary.c_str(), directory.get(), name.c_str()) != 0)
        throw abandon(errno);
    // Make the rename itself durable; a directory that cannot be synced changes nothing.
    ::fsync(directory.get());
}

}  // namespace tickwell::headless
