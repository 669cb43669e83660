// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>
#include <tickwell/platform/api.hpp>
#include <utility>
#include <vector>

#include <tickwell/files/text_file.hpp>
#include <tickwell/persistence/property_bag.hpp>

namespace tickwell::headless {

/// A property bag held in memory and kept in files as JSON, the format that the container,
/// the Qt host and the tests share:
///
/// \verbatim
///   { "class": "Tickwell.VexClock",
///     "properties": { "Hours": 0, "InitialTime": "00:01:00", "IgnoreDisplay": false,
///                     "MouseIcon": { "picture": "png", "data": "<base64>" }, ... } }
/// \endverbatim
///
/// Values map to the platform's kinds: a JSON integer is an Integer where it fits 16 bits,
/// else a Long where it fits 32 bits, else a Double (so that a field refuses it with
/// overflow instead of taking its low bits); a number with a fraction or an exponent is a
/// Double; true and false are Booleans; a string is a String; an object with "picture" is a
/// picture of format png, bmp, ico or svg with its file's bytes in base64 under "data"; null
/// is the empty value, and the empty picture is written as null.
///
/// Texts longer than kLongestText are refused. Keys are matched by exact name; a key the bag does
/// not hold yields the reader's default, and keys no reader asks for are ignored. Every value
/// written is kept, defaults included, in the order of writing, so a saved file shows every
/// setting. The format, with its JSON Schema: \ref property_bag_format.
class TICKWELL_API JsonPropertyBag final : public PropertyBag {
  public:
    /// The value under `key`, or `default_value` when the bag holds none.
    Value read(std::string_view key, const Value& default_value) override;
    /// Refuses what the file format cannot hold with Error attributed to the key: a drawn
    /// (vector) picture, a number that is not finite.
    void write(std::string_view key, const Value& value, const Value& default_value) override;

    /// The values held, in the order they were first written or read from the file.
    const std::vector<std::pair<std::string, Value>>& values() const { return values_; }
    /// The value under `key`; nullptr when the bag holds none.
    const Value* find(std::string_view key) const;

  private:
    friend JsonPropertyBag bag_from_json(const nlohmann::json& properties);
    std::vector<std::pair<std::string, Value>> values_;
};

/// The "properties" object of a file and the bag it holds. from_json refuses anything that
/// is not this format (a value of another JSON kind, a picture object with an unknown format,
/// bad base64 or data that is not a picture of its format) with FileError, whose text names
/// the key and what is wrong but not the file. Files are read into sorted objects, whose
/// look-ups stay fast however many keys a file holds; writing keeps the order of writing.
/// @{
TICKWELL_API JsonPropertyBag bag_from_json(const nlohmann::json& properties);
TICKWELL_API nlohmann::ordered_json bag_to_json(const JsonPropertyBag& bag);
/// @}

/// The JSON document in `text`. Refuses with FileError naming ORIGIN (and, where known, the
/// key) text that is not JSON (bad UTF-8, a lone surrogate escape, NaN), a number beyond a
/// double's range, a key twice in one object, and a document beyond the limits of
/// file_limits.hpp (nesting, number of values, memory).
TICKWELL_API nlohmann::json parse_json_text(std::string_view text, const std::string& origin);

/// Inside a catch: throws the exception being handled again as a FileError naming `origin`
/// when it is an exception of the JSON library or the allocator, else as it is.
[[noreturn]] TICKWELL_API void rethrow_as_file_error(const std::string& origin);

/// A single-control file: `origin` names the file in error texts. parse refuses text that is
/// not JSON or not a "Tickwell.VexClock" property bag with FileError, before the caller can
/// apply anything from it.
/// @{
TICKWELL_API JsonPropertyBag parse_property_bag(std::string_view text, const std::string& origin);
TICKWELL_API std::string property_bag_text(const JsonPropertyBag& bag);
/// @}

/// Throws FileError naming `path` when `read` (a parser of the file's format, such as
/// parse_property_bag) refuses `text`: a file is only saved as something it can be read back
/// from (text within kLargestSettingsFile; replace_file refuses a larger one).
TICKWELL_API void refuse_unless_it_reads_back(
    const std::string& path, std::string_view text,
    const std::function<void(std::string_view, const std::string&)>& read);

/// Reads or saves a single-control file; FileError names the file and what is wrong. Saving
/// replaces the file whole (see replace_file), and refuses a bag that would not read back.
/// @{
TICKWELL_API JsonPropertyBag read_property_bag_file(const std::string& path);
TICKWELL_API void write_property_bag_file(const std::string& path, const JsonPropertyBag& bag);
/// @}

}  // namespace tickwell::headless
