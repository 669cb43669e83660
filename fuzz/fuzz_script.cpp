// SPDX-License-Identifier: MIT
// The container's script reader on any input: every line runs or fails as a command; no
// crash, no hang. Commands that touch files are replaced, and virtual time is capped.
#include <sstream>

#include <tickwell/headless/script_runner.hpp>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tickwell::Clock::reset_state();
    std::ostringstream out;
    tickwell::headless::Container container(out);
    tickwell::headless::ScriptRunner runner(container);
    const auto no_files = [](tickwell::headless::ScriptRunner&,
                             const tickwell::headless::ScriptRunner::Arguments&) {};
    for (const char* command : {"load", "save", "render"})
        runner.add_command(command, no_files);
    runner.add_command("run", [](tickwell::headless::ScriptRunner& r,
                                 const tickwell::headless::ScriptRunner::Arguments& a) {
        tickwell::headless::ScriptRunner::expect(a, 1, 1, "run SECONDS");
        const auto us = tickwell::headless::ScriptRunner::microseconds(a[0]);
        r.container().run(us > 5'000'000 ? 5'000'000 : us);
    });
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    try {
        runner.run(in, false);
    } catch (const tickwell::headless::FileError&) {
        // A line beyond the longest a script may have ends the run, as a read error does.
    }
    return 0;
}
