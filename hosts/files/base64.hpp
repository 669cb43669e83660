// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <tickwell/platform/api.hpp>
#include <vector>

namespace tickwell::headless {

// Standard base64 with padding, as pictures travel in property-bag files and SVG data URIs.
TICKWELL_API std::string base64_encode(std::span<const std::uint8_t> data);

// The bytes of a base64 text; blanks and line breaks between characters are skipped, as
// editors and encoders that wrap long lines leave them. nullopt when the text is not base64.
TICKWELL_API std::optional<std::vector<std::uint8_t>> base64_decode(std::string_view text);

}  // namespace tickwell::headless
