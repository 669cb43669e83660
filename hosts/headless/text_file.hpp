// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tickwell::headless {

// A settings file that cannot be read, is not in its format, or cannot be written. what()
// names the file and says what is wrong.
class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The whole content of the file at `path`. Throws FileError for a file that cannot be read
// (missing, a directory, unreadable, larger than `limit` bytes).
std::string read_text_file(const std::string& path, std::size_t limit = 64u << 20);

// Replaces the file at `path` with `text`, or creates it. The text is written to a
// temporary file in the same directory, flushed to disk and renamed over the old file, so
// the file holds either its old or its new content at any moment: a failed save leaves no
// half-written or empty file and no temporary behind. A replaced file keeps its permissions.
// Throws FileError naming the file.
void replace_text_file(const std::string& path, std::string_view text);

}  // namespace tickwell::headless
