// SPDX-License-Identifier: MIT
// What a control writes, it reads, value for value. A control is given any values: a bag of
// any values under every key of the bag (read without the puts' range checks, as a foreign
// file is), then puts of any values by name. Its write path runs into a bag, whose text is
// checked as a save checks it and read into a fresh control: that read must succeed, and
// every value the second control writes must equal what the first wrote.
#include <sstream>
#include <string>

#include <tickwell/control/type_library.hpp>
#include <tickwell/files/json_property_bag.hpp>
#include <tickwell/headless/headless_container.hpp>
#include <tickwell/model/new_control.hpp>
#include "fuzz_input.hpp"

namespace {

using tickwell::PictureRef;
using tickwell::Value;
using tickwell::fuzzing::Input;

Value any_value(Input& in) {
    switch (in.byte() % 8) {
        case 0:
            return Value(in.pick<std::int16_t>());
        case 1:
            return Value(in.pick<std::int32_t>());
        case 2:
            return Value(in.pick<double>());
        case 3:
            return Value(tickwell::Boolean{(in.byte() & 1) != 0});
        case 4: {
            const auto b = in.bytes(64);
            return Value(std::string(b.begin(), b.end()));
        }
        case 5: {
            static const char* const kFormats[] = {"png", "bmp", "ico", "svg"};
            const char* format = kFormats[in.byte() % 4];
            try {
                return Value(tickwell::Picture::make_encoded(format, in.bytes(1024)));
            } catch (const tickwell::Error&) {
                return Value(PictureRef{});
            }
        }
        case 6:
            return Value(PictureRef{});
        default:
            return Value();
    }
}

// Values compare as a bag holds them: pictures by their format and bytes.
bool same(const Value& a, const Value& b) {
    if (a.type() != tickwell::ValueType::picture || b.type() != tickwell::ValueType::picture)
        return a == b;
    const PictureRef& p = a.picture();
    const PictureRef& q = b.picture();
    if (!p || !q) return !p && !q;
    return p->format() == q->format() && p->describe() == q->describe() &&
           std::equal(p->data().begin(), p->data().end(), q->data().begin(), q->data().end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tickwell;
    using namespace tickwell::headless;
    Clock::reset_state();
    std::ostringstream out;
    Container container(out);
    Input in(data, size);

    JsonPropertyBag given;
    for (const BagEntry* entry : Registry::bag_read_order()) {
        if (in.byte() % 4 == 0) continue;
        try {
            given.write(entry->key, any_value(in), Value());
        } catch (const Error&) {
            // A value no file holds (a text that is not UTF-8): the key is left out.
        }
    }
    VexClock* first = nullptr;
    try {
        first = &container.create_with(
            "a", [&](VexClock& c) { c.ReadProperties(given); }, kNewControlWidth, kNewControlHeight,
            StateScope::own);
    } catch (const Error&) {
        first = container.find("a");  // what was read before the failing key stays
    }
    if (!first) __builtin_trap();
    const auto members = TypeLibrary::members();
    for (int step = 0; step < 16 && !in.empty(); ++step) {
        const MemberInfo& m = members[in.byte() % members.size()];
        try {
            if (!m.is_method) first->put(m.name, any_value(in));
        } catch (const Error&) {
            // The platform's refusal, as a host meets it.
        }
    }

    JsonPropertyBag written;
    try {
        first->WriteProperties(written);
    } catch (const Error&) {
        return 0;  // a value the file format cannot hold, refused with a reason
    }
    const std::string text = property_bag_text(written);
    // A bag a save would write: within the size its reader takes, and reading back.
    if (text.size() > kLargestSettingsFile) __builtin_trap();
    refuse_unless_it_reads_back("fuzz.json", text, parse_property_bag);
    JsonPropertyBag read = parse_property_bag(text, "fuzz.json");
    VexClock& second = container.create_with(
        "b", [&](VexClock& c) { c.ReadProperties(read); }, kNewControlWidth, kNewControlHeight,
        StateScope::own);
    JsonPropertyBag rewritten;
    second.WriteProperties(rewritten);
    if (written.values().size() != rewritten.values().size()) __builtin_trap();
    for (std::size_t i = 0; i < written.values().size(); ++i) {
        const auto& [key, value] = written.values()[i];
        if (rewritten.values()[i].first != key || !same(value, rewritten.values()[i].second))
            __builtin_trap();
    }
    return 0;
}
