// SPDX-License-Identifier: MIT
#include "text_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace tickwell::headless {
namespace {

std::string quoted_path(const std::string& path) {
    return "\"" + path + "\"";
}

[[noreturn]] void fail_save(const std::string& path, int error) {
    throw FileError("cannot save " + quoted_path(path) + ": " + std::strerror(error));
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The permissions a new file gets from open(): 0666 less the process's umask.
mode_t new_file_mode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool write_all(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

std::string read_text_file(const std::string& path, std::size_t limit) {
    const auto fail = [&](int error) -> FileError {
        return FileError("cannot read " + quoted_path(path) + ": " + std::strerror(error));
    };
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) throw fail(EISDIR);
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) throw fail(errno);
    std::string text;
    char buffer[8192];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
        text.append(buffer, n);
        if (text.size() > limit)
            throw FileError("cannot read " + quoted_path(path) + ": larger than " +
                            std::to_string(limit >> 20) + " MiB");
        if (n < sizeof buffer) break;
    }
    if (std::ferror(file.get())) throw fail(errno ? errno : EIO);
    return text;
}

void replace_text_file(const std::string& path, std::string_view text) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    if (path.empty()) fail_save(path, ENOENT);
    if (target.filename().empty()) fail_save(path, EISDIR);
    const fs::path directory = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string temporary = (directory / ("." + target.filename().string() + ".XXXXXX")).string();

    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) fail_save(path, errno);
    // From here on every failure removes the temporary; the old file is never touched.
    const auto abandon = [&](int error) {
        ::close(fd);
        ::unlink(temporary.c_str());
        fail_save(path, error);
    };
    struct stat old {};
    const mode_t mode = ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)
                            ? old.st_mode & 07777
                            : new_file_mode();
    if (::fchmod(fd, mode) != 0) abandon(errno);
    if (!write_all(fd, text)) abandon(errno);
    if (::fsync(fd) != 0) abandon(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        fail_save(path, error);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        fail_save(path, error);
    }
    // Make the rename itself durable; a directory that cannot be synced changes nothing.
    const int dir = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

}  // namespace tickwell::headless
