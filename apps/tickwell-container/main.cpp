// SPDX-License-Identifier: MIT
// tickwell-container: hosts VexClock controls on the headless platform and drives them
// from a script, printing everything the controls do to their surroundings.
#include <unistd.h>

#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include <tickwell/headless/headless_container.hpp>
#include <tickwell/headless/script_runner.hpp>
#ifdef TICKWELL_WITH_QT_RENDER
#include <tickwell/qt/png_renderer.hpp>
#endif

namespace {

int usage() {
    std::cerr << "usage: tickwell-container [--strict] [SCRIPT | -]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool strict = false;
    const char* script = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--strict") == 0)
            strict = true;
        else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return usage(), 0;
        else if (!script)
            script = argv[i];
        else
            return usage();
    }

    tickwell::headless::Container container(std::cout);
    tickwell::headless::ScriptRunner runner(container);
#ifdef TICKWELL_WITH_QT_RENDER
    runner.png_encoder = [](const tickwell::Scene& scene, tickwell::PixelSize size,
                            tickwell::TwipsPerPixel tpp) {
        const QByteArray png = tickwell::qt::encode_png(scene, size, tpp);
        return std::string(png.constData(), static_cast<std::size_t>(png.size()));
    };
#endif
    // The script is read as every input file is (see LineReader): a script that cannot be
    // read to its end ends the run with an error naming it and exit status 1.
    try {
        std::optional<tickwell::headless::LineReader> lines;
        const char* prompt = nullptr;
        if (!script || std::strcmp(script, "-") == 0) {
            lines.emplace(STDIN_FILENO, "standard input");
            if (isatty(STDIN_FILENO)) prompt = "> ";
        } else {
            lines.emplace(tickwell::headless::LineReader::open(script, "script"));
        }
        const bool ok = runner.run(*lines, strict, prompt);
        return strict && !ok ? 1 : 0;
    } catch (const tickwell::headless::FileError& e) {
        std::cout << "error: " << e.what() << '\n';
        return 1;
    }
}
