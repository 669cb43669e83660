// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string_view>

namespace tickwell::qt {

// The control's events and the Qt-named signals a host raises them as, for every Qt host:
// each host's signals take its own key and mouse event types (a value for a widget, an
// object for QML), so the table is made for the host that uses it.
template <typename Host, typename KeyArg, typename MouseArg>
struct EventSignals {
    using Plain = void (Host::*)();
    using Key = void (Host::*)(KeyArg);
    using Mouse = void (Host::*)(MouseArg);

    template <typename Signal>
    struct Row {
        std::string_view event;
        Signal signal;
    };

    static constexpr Row<Plain> plain[] = {
        {"TimeExpired", &Host::timeExpired},
        {"Click", &Host::clicked},
        {"Alert", &Host::alert},
        {"Notify", &Host::notify},
        {"DblClick", &Host::doubleClicked},
    };
    // KeyDown and KeyUp pass the key code and the shift state; KeyPress the character only.
    static constexpr Row<Key> keys[] = {
        {"KeyDown", &Host::keyDown},
        {"KeyUp", &Host::keyUp},
        {"KeyPress", &Host::keyPress},
    };
    static constexpr Row<Mouse> mice[] = {
        {"MouseDown", &Host::mouseDown},
        {"MouseUp", &Host::mouseUp},
        {"MouseMove", &Host::mouseMove},
    };

    // The signal of `event` in `rows`; nullptr for an event not there.
    template <typename Signal, std::size_t N>
    static Signal find(const Row<Signal> (&rows)[N], std::string_view event) {
        for (const auto& row : rows)
            if (row.event == event) return row.signal;
        return nullptr;
    }
};

}  // namespace tickwell::qt
