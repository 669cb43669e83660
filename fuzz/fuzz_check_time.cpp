// SPDX-License-Identifier: MIT
// CheckTime on any text: it accepts, refuses with its message, or overflows; nothing else.
#include <sstream>

#include <tickwell/headless/headless_container.hpp>
#include <tickwell/model/check_time.hpp>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::ostringstream out;
    static tickwell::headless::Container container(out);
    static tickwell::headless::HeadlessSite site(container, "fuzz", 0);
    out.str("");
    std::string text(reinterpret_cast<const char*>(data), size);
    const std::string original = text;
    std::int32_t hours = 0;
    std::int16_t minutes = 0, seconds = 0;
    try {
        if (tickwell::Clock::CheckTime(text, hours, minutes, seconds, site)) {
            // An accepted text is normal and accepted again unchanged.
            if (text.size() != 8 || hours > 99 || minutes > 59 || seconds > 59) __builtin_trap();
            std::string again = text;
            if (!tickwell::Clock::CheckTime(again, hours, minutes, seconds, site) || again != text)
                __builtin_trap();
        } else if (text != original) {
            __builtin_trap();  // a refusal keeps the text
        }
    } catch (const tickwell::Error& e) {
        if (e.kind() != tickwell::ErrorKind::overflow) __builtin_trap();
    }
    return 0;
}
