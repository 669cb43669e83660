// SPDX-License-Identifier: MIT
// Sequences of what hosts do to a control through its by-name surface: typed puts of every
// property (NaN, infinities, 1e300, the limits of each integer type, texts, pictures made of
// any bytes), gets, method calls, input notifications, resizes, clock jumps, timer runs and
// renders, in any order. Errors are the platform's; anything else (a crash, a sanitizer
// report, another exception) is a finding.
#include <cmath>
#include <cstdint>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <tickwell/control/type_library.hpp>
#include <tickwell/headless/headless_container.hpp>
#include <tickwell/headless/svg_renderer.hpp>
#include <tickwell/platform/paint_geometry.hpp>
#include "fuzz_input.hpp"

namespace {

using tickwell::Value;
using tickwell::fuzzing::Input;

double special_number(Input& in) {
    constexpr double kSpecial[] = {std::numeric_limits<double>::quiet_NaN(),
                                   std::numeric_limits<double>::infinity(),
                                   -std::numeric_limits<double>::infinity(),
                                   1e300,
                                   -1e300,
                                   32767.5,
                                   -32768.5,
                                   2147483647.5,
                                   -2147483648.5,
                                   0.5,
                                   -0.0,
                                   86400};
    const std::uint8_t which = in.byte();
    if (which < std::size(kSpecial) * 16) return kSpecial[which % std::size(kSpecial)];
    return in.pick<double>();  // any bit pattern, subnormals and NaNs with payloads included
}

Value any_value(Input& in) {
    switch (in.byte() % 9) {
        case 0:
            return Value(in.pick<std::int16_t>());
        case 1:
            return Value(in.pick<std::int32_t>());
        case 2:
            return Value(special_number(in));
        case 3:
            return Value(static_cast<float>(special_number(in)));
        case 4:
            return Value(tickwell::Boolean{(in.byte() & 1) != 0});
        case 5: {
            const auto b = in.bytes(64);
            return Value(std::string(b.begin(), b.end()));
        }
        case 6: {
            static const char* const kFormats[] = {"png", "bmp", "ico", "svg"};
            const char* format = kFormats[in.byte() % 4];
            try {
                return Value(tickwell::Picture::make_encoded(format, in.bytes(512)));
            } catch (const tickwell::Error&) {
                return Value(tickwell::PictureRef{});
            }
        }
        case 7:
            return Value(tickwell::PictureRef{});
        default:
            return Value();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tickwell::Clock::reset_state();
    std::ostringstream out;
    tickwell::headless::Container container(out);
    tickwell::VexClock* clock = &container.create("a");
    const auto members = tickwell::TypeLibrary::members();
    Input in(data, size);
    for (int step = 0; step < 200 && !in.empty(); ++step) {
        const tickwell::MemberInfo& m = members[in.byte() % members.size()];
        try {
            switch (in.byte() % 12) {
                case 0:
                case 1:
                    if (!m.is_method) clock->put(m.name, any_value(in));
                    break;
                case 2:
                    if (!m.is_method) (void)clock->get(m.name);
                    break;
                case 3:
                    if (m.is_method) clock->invoke(m.name);
                    break;
                case 4: {
                    // What a host delivers: finite positions within the form's reach.
                    std::int16_t button = in.pick<std::int16_t>(), shift = in.pick<std::int16_t>();
                    const float x = static_cast<float>(in.pick<std::int32_t>() % 10'000'000);
                    const float y = static_cast<float>(in.pick<std::int32_t>() % 10'000'000);
                    switch (in.byte() % 3) {
                        case 0:
                            clock->UserControl_MouseDown(button, shift, x, y);
                            break;
                        case 1:
                            clock->UserControl_MouseUp(button, shift, x, y);
                            break;
                        default:
                            clock->UserControl_MouseMove(button, shift, x, y);
                    }
                    break;
                }
                case 5: {
                    std::int16_t code = in.pick<std::int16_t>(), shift = in.pick<std::int16_t>();
                    switch (in.byte() % 3) {
                        case 0:
                            clock->UserControl_KeyDown(code, shift);
                            break;
                        case 1:
                            clock->UserControl_KeyUp(code, shift);
                            break;
                        default:
                            clock->UserControl_KeyPress(code);
                    }
                    break;
                }
                case 6: {
                    const int index = in.byte() % 12;
                    switch (in.byte() % 5) {
                        case 0:
                            clock->UserControl_Click();
                            break;
                        case 1:
                            clock->UserControl_DblClick();
                            break;
                        case 2:
                            if (clock->scene().find("DisplayIm", index))
                                clock->DisplayIm_Click(index);
                            break;
                        case 3:
                            if (clock->scene().find("NumIm", index)) clock->NumIm_Click(index);
                            break;
                        default:
                            if (clock->scene().find("ColonIm", index)) clock->ColonIm_Click(index);
                    }
                    break;
                }
                case 7:
                    container.set_clock(in.pick<std::uint32_t>() % (86400ll * 1'000'000 * 3));
                    break;
                case 8:
                    container.run(in.pick<std::uint16_t>() * std::int64_t{100});  // up to 6.5 s
                    break;
                case 9:
                    container.user_mode = (in.byte() & 1) != 0;
                    break;
                case 10:
                    clock->set_size(static_cast<float>(in.pick<std::uint16_t>()) * 4,
                                    static_cast<float>(in.pick<std::uint16_t>()) * 4);
                    break;
                default: {
                    const tickwell::TwipsPerPixel tpp{15, 15};
                    const auto s = tickwell::surface_size(clock->width(), clock->height(), tpp);
                    (void)tickwell::headless::render_svg(clock->scene(), s, tpp);
                }
            }
        } catch (const tickwell::Error&) {
            // The platform's refusal reaches the caller, as it would reach a host.
        }
        // A handler may have destroyed nothing here: the container holds "a" throughout.
        clock = container.find("a");
        if (!clock) __builtin_trap();
    }
    return 0;
}
