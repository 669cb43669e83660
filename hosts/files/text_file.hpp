// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <tickwell/platform/api.hpp>
#include <vector>

#include <tickwell/files/file_limits.hpp>
#include <tickwell/platform/error.hpp>

namespace tickwell::headless {

/// A file that cannot be read, is not in its format, or cannot be written: the platform's
/// error (kind invalid_value) whose what() names the file and says what is wrong, and whose
/// member() is the key of the file at fault where one is known.
class TICKWELL_API FileError : public Error {
  public:
    /// An error whose what() is `message`, attributed to `key` where one is known.
    explicit FileError(const std::string& message, std::string key = {})
        : Error(ErrorKind::invalid_value, message, std::move(key)) {}
};

/// The whole content of the regular file at `path`, of at most `limit` bytes. Throws
/// FileError for a file that is missing or unreadable, is no regular file (a directory, FIFO,
/// socket or device is refused without waiting for it to open or to end), or is larger than
/// `limit` (checked before it is read, and again while reading a file that grows).
TICKWELL_API std::string read_text_file(const std::string& path,
                                        std::size_t limit = kLargestSettingsFile);
/// The bytes of a picture file, within kLargestPictureFile; refused as read_text_file does.
TICKWELL_API std::vector<std::uint8_t> read_picture_file(const std::string& path);

/// The lines of a text as it comes, a line at a time (a script, standard input), read under
/// the rules of the guarded reader: at most kLongestLine bytes a line, whatever the file
/// holds, and any error while reading reported, never taken for the end of the text.
class TICKWELL_API LineReader {
  public:
    /// The regular file at `path`, refused as read_text_file refuses what is no regular file.
    /// `kind` names it in errors: kind "script" gives "cannot read script "PATH": ...".
    static LineReader open(const std::string& path, std::string_view kind = {});
    /// An open descriptor of any kind (standard input: a terminal, a pipe, a file), named
    /// `name` in errors ("standard input"); closed at the end when `owned`.
    LineReader(int fd, std::string name, bool owned = false);
    /// Takes over `other`'s descriptor and what it has buffered.
    LineReader(LineReader&& other) noexcept;
    /// \cond internal
    LineReader& operator=(LineReader&&) = delete;
    /// \endcond
    ~LineReader();

    /// The next line without its "\n" (a last line may have none); nothing at the end of the
    /// text. Throws FileError naming the text for a line longer than kLongestLine (before
    /// holding more of it) and for a read error.
    std::optional<std::string> next();

  private:
    static constexpr std::size_t kReadChunk = std::size_t{64} << 10;

    int fd_;
    bool owned_;
    std::string name_;
    std::string buffer_;
    std::size_t start_ = 0;  ///< where the next line begins in buffer_
    bool ended_ = false;
    std::size_t lines_ = 0;  ///< lines returned so far
};

/// The one writer of every file the program saves (property bags, forms, rendered faces,
/// screenshots, exports). Replaces the file at `path` with `bytes`, or creates it, so that the
/// file holds either its old or its new content at any moment and a failed save (a full disk,
/// a killed process) leaves the old file as it was:
/// - the bytes go to an unnamed file (O_TMPFILE) in the target's directory, are flushed to
///   disk, linked under a temporary name and renamed over the target, and the directory is
///   flushed; where the file system has no unnamed files, a named temporary is used, and the
///   next save of the same file removes one that a killed save left;
/// - a symbolic link is written through: its final target gets the new content and the link
///   stays (a dangling link creates its target);
/// - a target that exists and is no regular file once links are followed (a directory,
///   device, FIFO or socket) is refused, and so is one reached through a process's open file
///   (/dev/stdout, /proc/self/fd/N): renaming over it would replace the device or the file a
///   shell opened for the program's output, not write into it;
/// - more than `limit` bytes are refused: a file that the program reads back is never written
///   larger than its reader takes (kLargestSettingsFile for bags and forms);
/// - a replaced file keeps its permissions; a new one gets 0666 less the umask;
/// - any file name the file system takes (up to NAME_MAX bytes) can be saved.
/// Every refusal comes before anything is written. Throws FileError "cannot VERB "PATH":
/// reason".
TICKWELL_API void replace_file(const std::string& path, std::string_view bytes,
                               std::string_view verb = "save",
                               std::size_t limit = std::numeric_limits<std::size_t>::max());
/// Throws the FileError replace_file would for a target it refuses whatever the bytes: for a
/// caller that would rather fail before it makes what it is to save.
TICKWELL_API void check_save_target(const std::string& path, std::string_view verb = "save");

}  // namespace tickwell::headless
