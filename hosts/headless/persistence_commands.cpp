// SPDX-License-Identifier: MIT
// load and save: a control created from a property-bag file, and its settings saved to one.
#include <tickwell/files/json_property_bag.hpp>
#include <tickwell/headless/script_runner.hpp>
#include <tickwell/platform/error.hpp>

namespace tickwell::headless {
namespace {

using Args = ScriptRunner::Arguments;

constexpr const char* kLoadUsage = "load NAME FILE [W H] [own]";

// The file is read and checked whole before the control is created: a file that cannot be
// read or is not a property bag creates nothing. A value that cannot be converted to its
// field or element ends the read path with the platform's error, printed against its key;
// the control then stays on the form with what was applied before that key (the read path
// keeps it and skips only its own layout), and the container still gives it its size, as
// it does every control it holds.
void cmd_load(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 2, 5, kLoadUsage);
    const std::string& name = r.new_control_name(a[0]);
    const auto at = ScriptRunner::placement(a, 2, kLoadUsage);
    const float w = at.width, h = at.height;

    JsonPropertyBag bag;
    try {
        bag = read_property_bag_file(a[1].text);
    } catch (const FileError& e) {
        throw ScriptError(e.what());
    }
    try {
        r.container().create_with(
            name, [&bag](VexClock& c) { c.ReadProperties(bag); }, w, h, at.scope);
    } catch (const Error& e) {
        r.container().report(name, e, "ReadProperties");
        if (VexClock* c = r.container().find(name))
            r.guarded(name, "Resize", [&] { c->set_size(w, h); });
    }
}

// The write path runs into a bag in memory; only a complete bag replaces the file, so a
// failed save leaves the old file as it was.
void cmd_save(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 2, 2, "save NAME FILE");
    const VexClock& c = r.control(a[0]);
    const std::string& path = a[1].text;
    try {
        JsonPropertyBag bag;
        c.WriteProperties(bag);
        write_property_bag_file(path, bag);
    } catch (const FileError& e) {
        throw ScriptError(e.what());
    } catch (const Error& e) {
        throw ScriptError("cannot save \"" + path + "\": " + e.what());
    }
}

}  // namespace

void add_persistence_commands(ScriptRunner& runner) {
    runner.add_command("load", cmd_load);
    runner.add_command("save", cmd_save);
}

}  // namespace tickwell::headless
