// SPDX-License-Identifier: MIT
// A property-bag file's text, as a host would load it: refused as a whole with a reason, or
// read into a control, which either takes it or ends the read with a conversion error.
// Whatever was read, the control lays out, saves and reloads without failing.
#include <sstream>
#include <stdexcept>

#include <tickwell/files/json_property_bag.hpp>
#include <tickwell/headless/headless_container.hpp>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tickwell::Clock::reset_state();
    std::ostringstream out;
    tickwell::headless::Container container(out);
    tickwell::headless::JsonPropertyBag bag;
    try {
        bag = tickwell::headless::parse_property_bag(
            std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.json");
    } catch (const std::runtime_error&) {
        return 0;  // refused before anything is applied
    }
    tickwell::VexClock* clock = nullptr;
    try {
        clock = &container.create_with("a", [&](tickwell::VexClock& c) { c.ReadProperties(bag); });
    } catch (const tickwell::Error&) {
        clock = container.find("a");  // the read failed before anything was applied
    }
    if (!clock) __builtin_trap();
    clock->set_size(4000, 1500);
    tickwell::headless::JsonPropertyBag saved;
    clock->WriteProperties(saved);
    // Whatever the control holds now, it writes, and a fresh control reads it back.
    const auto text = tickwell::headless::property_bag_text(saved);
    auto reread = tickwell::headless::parse_property_bag(text, "saved.json");
    container.create_with("b", [&](tickwell::VexClock& c) { c.ReadProperties(reread); });
    return 0;
}
