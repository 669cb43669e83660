// SPDX-License-Identifier: MIT
// Internal to the core (not installed): the zlib stream reader that picture checks use.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace tickwell {

// Hands the bytes of the zlib stream (RFC 1950 around RFC 1951 deflate data) at the start of
// `stream` to `take`, in order and in pieces, keeping no more of them than the 32 KiB window
// the format refers back into; `take` returns false to stop. The stream is checked whole: its
// header, every block, and the Adler-32 sum at its end; bytes after it are ignored.
// Returns what was wrong, or "" for a stream read to its end.
std::string inflate_zlib(std::span<const std::uint8_t> stream,
                         const std::function<bool(std::span<const std::uint8_t>)>& take);

}  // namespace tickwell
