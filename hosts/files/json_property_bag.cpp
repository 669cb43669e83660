// SPDX-License-Identifier: MIT
#include <tickwell/files/json_property_bag.hpp>

#include <tickwell/files/base64.hpp>
#include <tickwell/files/in_quotes.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <new>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <span>
#include <vector>

#include <tickwell/control/type_library.hpp>
#include <tickwell/platform/error.hpp>

namespace tickwell::headless {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

constexpr std::string_view kFormats[] = {"png", "bmp", "ico", "svg"};

// An exception text of the JSON library without its tag ("[json.exception.parse_error.101] ").
std::string without_tag(std::string why) {
    if (const auto tag_end = why.find("] ");
        why.starts_with("[json.") && tag_end != std::string::npos)
        why.erase(0, tag_end + 2);
    // The library quotes what it read, which a hostile file makes as long as it likes.
    if (why.size() > 160) why = why.substr(0, 160) + "...";
    return why;
}

// A JSON value as it appears in a file, cut short for an error text. Arrays and objects
// are only named: a file may nest them deeper than it is wise to print.
std::string shown(const json& j) {
    if (j.is_array()) return "an array";
    if (j.is_object()) return "an object";
    if (j.is_string() && j.get_ref<const std::string&>().size() > 40)
        return json(j.get_ref<const std::string&>().substr(0, 40))
                   .dump(-1, ' ', false, json::error_handler_t::replace) +
               "...";
    std::string text = j.dump();
    if (text.size() > 40) text = text.substr(0, 40) + "...";
    return text;
}

[[noreturn]] void bad_value(std::string_view key, const std::string& why) {
    throw FileError(in_quotes(key) + " " + why, std::string(key));
}

PictureRef picture_from_json(std::string_view key, const json& object) {
    const auto format = object.find("picture");
    if (format == object.end())
        bad_value(key, "holds an object without \"picture\", which is no property value");
    if (!format->is_string() || std::find(std::begin(kFormats), std::end(kFormats),
                                          format->get<std::string>()) == std::end(kFormats))
        bad_value(
            key, "holds a picture of unknown format " + shown(*format) + " (png, bmp, ico or svg)");
    const auto data = object.find("data");
    if (data == object.end() || !data->is_string())
        bad_value(key, "holds a picture without base64 \"data\"");
    auto bytes = base64_decode(data->get_ref<const std::string&>());
    if (!bytes) bad_value(key, "holds a picture whose \"data\" is not valid base64");
    try {
        return Picture::make_encoded(format->get<std::string>(), std::move(*bytes));
    } catch (const Error& e) {
        bad_value(key, std::string("holds a picture that cannot be read: ") + e.what());
    }
}

Value whole_number(std::int64_t n) {
    if (n >= INT16_MIN && n <= INT16_MAX) return Value(static_cast<std::int16_t>(n));
    if (n >= INT32_MIN && n <= INT32_MAX) return Value(static_cast<std::int32_t>(n));
    // Beyond a Long: kept as a number, so that the field it is read into refuses it with
    // overflow rather than taking its low bits.
    return Value(static_cast<double>(n));
}

Value value_from_json(std::string_view key, const json& j) {
    switch (j.type()) {
        case json::value_t::null:
            return Value();
        case json::value_t::boolean:
            return Value(Boolean{j.get<bool>()});
        case json::value_t::number_integer:
            return whole_number(j.get<std::int64_t>());
        case json::value_t::number_unsigned: {
            const auto n = j.get<std::uint64_t>();
            return n <= static_cast<std::uint64_t>(INT32_MAX)
                       ? whole_number(static_cast<std::int64_t>(n))
                       : Value(static_cast<double>(n));
        }
        case json::value_t::number_float:
            return Value(j.get<double>());
        case json::value_t::string:
            if (j.get_ref<const std::string&>().size() > kLongestText)
                bad_value(key, "holds a text of " +
                                   std::to_string(j.get_ref<const std::string&>().size()) +
                                   " bytes, beyond the limit of " + std::to_string(kLongestText));
            return Value(j.get<std::string>());
        case json::value_t::object:
            return Value(picture_from_json(key, j));
        default:
            break;
    }
    bad_value(key, std::string("holds ") + (j.is_array() ? "an array" : "a value") +
                       ", which is no property value");
}

ordered_json value_to_json(const Value& v) {
    switch (v.type()) {
        case ValueType::empty:
            return nullptr;
        case ValueType::integer:
            return v.integer();
        case ValueType::long_:
            return v.long_();
        case ValueType::single:
            return static_cast<double>(v.single());
        case ValueType::double_:
            return v.double_();
        case ValueType::boolean:
            return v.boolean();
        case ValueType::string:
            return v.string();
        case ValueType::picture:
            break;
    }
    const PictureRef& picture = v.picture();
    if (!picture) return nullptr;
    ordered_json object = ordered_json::object();
    object["picture"] = picture->format();
    object["data"] = base64_encode(picture->data());
    return object;
}

}  // namespace

// --- The bag ----------------------------------------------------------------------------

const Value* JsonPropertyBag::find(std::string_view key) const {
    for (const auto& [k, v] : values_)
        if (k == key) return &v;
    return nullptr;
}

Value JsonPropertyBag::read(std::string_view key, const Value& default_value) {
    const Value* v = find(key);
    return v ? *v : default_value;
}

void JsonPropertyBag::write(std::string_view key, const Value& value, const Value&) {
    const auto refuse = [&](ErrorKind kind, const std::string& why) {
        throw Error(kind, std::string(key) + ": " + why, std::string(key));
    };
    if (value.type() == ValueType::picture && value.picture() &&
        value.picture()->kind() != Picture::Kind::encoded)
        refuse(ErrorKind::invalid_picture,
               "a drawn picture (" + value.picture()->describe() +
                   ") cannot be kept in a property-bag file, only png, bmp, ico or svg data");
    if ((value.type() == ValueType::double_ && !std::isfinite(value.double_())) ||
        (value.type() == ValueType::single && !std::isfinite(value.single())))
        refuse(ErrorKind::invalid_value, "a number that is not finite cannot be kept in JSON");
    if (value.type() == ValueType::string) {
        try {
            (void)ordered_json(value.string()).dump();
        } catch (const ordered_json::exception&) {
            refuse(ErrorKind::invalid_value, "the text is not valid UTF-8");
        }
    }
    // Defaults are written too: a saved file shows every setting.
    for (auto& [k, v] : values_) {
        if (k == key) {
            v = value;
            return;
        }
    }
    values_.emplace_back(std::string(key), value);
}

// --- JSON -------------------------------------------------------------------------------

JsonPropertyBag bag_from_json(const json& properties) {
    if (!properties.is_object()) throw FileError("\"properties\" is not an object");
    JsonPropertyBag bag;
    bag.values_.reserve(properties.size());
    // The keys of a JSON object are unique: no search for an earlier value is needed.
    for (const auto& [key, value] : properties.items())
        bag.values_.emplace_back(key, value_from_json(key, value));
    return bag;
}

ordered_json bag_to_json(const JsonPropertyBag& bag) {
    ordered_json properties = ordered_json::object();
    for (const auto& [key, value] : bag.values())
        properties[key] = value_to_json(value);
    return properties;
}

json parse_json_text(std::string_view text, const std::string& origin) {
    // The reader's own refusals, raised from inside the parser's callback.
    struct Refusal {
        std::string why;
        std::string key;
    };
    // One entry per open array or object: the keys an object has shown so far.
    std::vector<std::optional<std::set<std::string>>> open;
    std::size_t values = 0;
    std::string last_key;
    const json::parser_callback_t check = [&](int, json::parse_event_t event, json& parsed) {
        using Event = json::parse_event_t;
        if (event == Event::object_end || event == Event::array_end) {
            open.pop_back();
            return true;
        }
        if (++values > kMostJsonValues)
            throw Refusal{"it holds more than " + std::to_string(kMostJsonValues) + " values", {}};
        if (event == Event::object_start || event == Event::array_start) {
            if (open.size() >= static_cast<std::size_t>(kDeepestJson))
                throw Refusal{"its arrays and objects nest more than " +
                                  std::to_string(kDeepestJson) + " deep" +
                                  (last_key.empty() ? "" : " at " + in_quotes(last_key)),
                              last_key};
            open.emplace_back();
            if (event == Event::object_start) open.back().emplace();
        } else if (event == Event::key) {
            last_key = parsed.get<std::string>();
            if (!open.empty() && open.back() && !open.back()->insert(last_key).second)
                throw Refusal{"the key " + in_quotes(last_key) + " appears twice in one object",
                              last_key};
        }
        return true;
    };
    const auto at_key = [&] { return last_key.empty() ? "" : " at " + in_quotes(last_key); };
    // The parser takes a NUL byte for the end of the text: what follows one would be lost
    // without a word. JSON has none outside strings, and those escape it.
    if (const auto nul = text.find('\0'); nul != std::string_view::npos)
        throw FileError(in_quotes(origin) + " is not JSON: a NUL byte at offset " +
                        std::to_string(nul));
    try {
        return json::parse(text, check);
    } catch (const Refusal& r) {
        throw FileError(in_quotes(origin) + " is refused: " + r.why, r.key);
    } catch (const json::parse_error& e) {
        throw FileError(in_quotes(origin) + " is not JSON: " + without_tag(e.what()), last_key);
    } catch (const json::out_of_range& e) {
        // A number beyond a double's range (1e400, a 5,000-digit integer).
        throw FileError(in_quotes(origin) + " holds a number out of range" + at_key() + ": " +
                            without_tag(e.what()),
                        last_key);
    } catch (const json::exception& e) {
        throw FileError(
            in_quotes(origin) + " cannot be read" + at_key() + ": " + without_tag(e.what()),
            last_key);
    } catch (const std::bad_alloc&) {
        throw FileError(in_quotes(origin) + " is too large to hold in memory");
    }
}

void rethrow_as_file_error(const std::string& origin) {
    try {
        throw;
    } catch (const FileError&) {
        throw;
    } catch (const json::exception& e) {
        throw FileError(in_quotes(origin) + " cannot be read: " + without_tag(e.what()));
    } catch (const std::bad_alloc&) {
        throw FileError(in_quotes(origin) + " is too large to hold in memory");
    }
}

JsonPropertyBag parse_property_bag(std::string_view text, const std::string& origin) try {
    const json document = parse_json_text(text, origin);
    const std::string not_a_bag =
        in_quotes(origin) + " is not a " + std::string(TypeLibrary::kProgId) + " property bag: ";
    if (!document.is_object()) throw FileError(not_a_bag + "it holds no JSON object");
    const auto cls = document.find("class");
    if (cls == document.end()) throw FileError(not_a_bag + "it has no \"class\"");
    if (!cls->is_string() || cls->get_ref<const std::string&>() != TypeLibrary::kProgId)
        throw FileError(not_a_bag + "its \"class\" is " + shown(*cls));
    const auto properties = document.find("properties");
    if (properties == document.end()) throw FileError(not_a_bag + "it has no \"properties\"");
    if (!properties->is_object())
        throw FileError(not_a_bag + "its \"properties\" is " + shown(*properties) +
                        ", not an object");
    try {
        return bag_from_json(*properties);
    } catch (const FileError& e) {
        throw FileError(in_quotes(origin) + ": " + e.what(), e.member());
    }
} catch (...) {
    rethrow_as_file_error(origin);
}

void refuse_unless_it_reads_back(
    const std::string& path, std::string_view text,
    const std::function<void(std::string_view, const std::string&)>& read) {
    // Beyond the size the reader takes, replace_file refuses it without reading.
    if (text.size() > kLargestSettingsFile) return;
    try {
        read(text, path);
    } catch (const FileError& e) {
        throw FileError("cannot save " + in_quotes(path) +
                        ", which could not be read back: " + e.what());
    }
}

std::string property_bag_text(const JsonPropertyBag& bag) {
    ordered_json document = ordered_json::object();
    document["class"] = TypeLibrary::kProgId;
    document["properties"] = bag_to_json(bag);
    return document.dump(2) + "\n";
}

JsonPropertyBag read_property_bag_file(const std::string& path) {
    return parse_property_bag(read_text_file(path), path);
}

void write_property_bag_file(const std::string& path, const JsonPropertyBag& bag) {
    const std::string text = property_bag_text(bag);
    refuse_unless_it_reads_back(path, text, parse_property_bag);
    replace_file(path, text, "save", kLargestSettingsFile);
}

}  // namespace tickwell::headless
