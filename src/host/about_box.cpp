// SPDX-License-Identifier: MIT
#include <tickwell/host/about_box.hpp>

#include <tickwell/model/version.hpp>

namespace tickwell {

Form about_box_form() {
    const FormFont heading{"MS Sans Serif", 12, true};
    Form form;
    form.name = "ClockAbout";
    form.caption = "About VexClock";
    form.client_width = 4680;
    form.client_height = 4545;
    form.items = {
        {"Label1", FormItemKind::label, "Tickwell VexClock " TICKWELL_VERSION, 525, 420, 3405, 540,
         heading, false},
        {"Label3", FormItemKind::label, "A stopwatch control for desktop applications", 285, 1230,
         3945, 300, std::nullopt, false},
        {"Label4", FormItemKind::label, "Free software under the MIT licence", 225, 1635, 4245, 255,
         std::nullopt, false},
        {"Label5", FormItemKind::label, "Report problems in the Tickwell issue tracker", 345, 2010,
         4050, 240, std::nullopt, false},
        {"Label2", FormItemKind::label, "Copyright 2026 the Tickwell developers", 435, 2400, 3900,
         450, heading, false},
        {"OkPb", FormItemKind::command_button, "Ok", 3645, 4050, 915, 360, std::nullopt, true},
    };
    return form;
}

}  // namespace tickwell
