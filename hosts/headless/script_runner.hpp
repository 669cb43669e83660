// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <istream>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <tickwell/platform/api.hpp>
#include <vector>

#include <tickwell/files/text_file.hpp>
#include <tickwell/headless/headless_container.hpp>
#include <tickwell/model/new_control.hpp>
#include <tickwell/platform/paint_geometry.hpp>

namespace tickwell::headless {

// A token of a script line; `quoted` tells a quoted string from a bare word.
struct TICKWELL_API Token {
    std::string text;
    bool quoted = false;
    std::string rest;  // the line from this token on, comment and trailing blanks removed
};

// Splits one line into tokens: blanks separate them, double quotes keep blanks in a token
// (with \" and \\ inside), and # outside quotes starts a comment. Throws ScriptError for an
// unterminated quote.
TICKWELL_API std::vector<Token> tokenize(std::string_view line);

// A command that cannot run as written: unknown command, bad arguments, unknown control,
// property, element or field, or a file that cannot be read or written.
class TICKWELL_API ScriptError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Runs container scripts against a headless Container: one command per line, printing what
// the controls do. Commands are looked up in a table that other parts of the host extend.
class TICKWELL_API ScriptRunner {
  public:
    using Arguments = std::vector<Token>;  // the tokens after the command's name
    using Command = std::function<void(ScriptRunner&, const Arguments&)>;

    explicit ScriptRunner(Container& container);

    // Runs every line of the script. With `strict`, stops at the first failing command and
    // returns false. `prompt` is written before each line (for a terminal). A script that
    // cannot be read to its end (a read error, a line longer than kLongestLine) stops the run
    // with FileError: what could not be read is never taken for the end of the script.
    bool run(LineReader& lines, bool strict, const char* prompt = nullptr);
    bool run(std::istream& in, bool strict, const char* prompt = nullptr);
    // Runs one tokenized command; throws ScriptError when it fails.
    void execute(const std::vector<Token>& tokens);

    void add_command(const std::string& name, Command command);

    Container& container() { return container_; }
    std::ostream& out() { return container_.out(); }

    // Encodes a scene as PNG bytes on a surface of the given size, for `render NAME x.png`.
    // The headless library draws no pixels: a program that links a raster renderer installs
    // one here (the container does when it is built with Qt). Empty: PNG output is refused.
    // An encoder returns no bytes when it fails.
    using PngEncoder = std::function<std::string(const Scene&, PixelSize, TwipsPerPixel)>;
    PngEncoder png_encoder;

    // --- Helpers for commands ---
    VexClock& control(const Token& name) const;            // throws for an unknown control
    Value value(const Token& token) const;                 // a VALUE of the script language
    static double number(const Token& token);              // a plain number argument
    static std::int64_t microseconds(const Token& token);  // SECONDS, exactly
    static float twips(const Token& token);                // a size W or H in twips
    // The NAME of a control about to be placed: letters, digits and _, not yet on the form.
    const std::string& new_control_name(const Token& name) const;
    // Where a control is placed: the optional `W H` from `args[at]` (else a new control's
    // size), then an optional `own` for a state record of its own. Anything else throws
    // ScriptError with `usage`.
    struct Placement {
        float width = kNewControlWidth, height = kNewControlHeight;
        StateScope scope = StateScope::shared;
    };
    static Placement placement(const Arguments& args, std::size_t at, const char* usage);
    static void expect(const Arguments& args, std::size_t at_least, std::size_t at_most,
                       const char* usage);
    // Calls into a control, printing an error that reaches the caller as
    // "error NAME.MEMBER: KIND".
    void guarded(const std::string& control, std::string_view member,
                 const std::function<void()>& call);

  private:
    bool run_lines(const std::function<std::optional<std::string>()>& next_line, bool strict,
                   const char* prompt);

    Container& container_;
    std::map<std::string, Command> commands_;
};

// The commands of the core container: controls, properties, methods, time, answers, state,
// elements and host handlers.
TICKWELL_API void add_core_commands(ScriptRunner& runner);
// load and save of property-bag files.
TICKWELL_API void add_persistence_commands(ScriptRunner& runner);
// click, dblclick, keys, mouse, pointer.
TICKWELL_API void add_input_commands(ScriptRunner& runner);
// page, fields, field, apply.
TICKWELL_API void add_page_commands(ScriptRunner& runner);
// render.
TICKWELL_API void add_render_commands(ScriptRunner& runner);

}  // namespace tickwell::headless
