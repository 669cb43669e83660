// SPDX-License-Identifier: MIT
#include <tickwell/headless/script_runner.hpp>

#include <charconv>
#include <fstream>
#include <iostream>
#include <iterator>

#include <tickwell/control/type_library.hpp>
#include <tickwell/files/text_file.hpp>
#include <tickwell/platform/error.hpp>

namespace tickwell::headless {
namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string trim_right(std::string_view s) {
    while (!s.empty() && is_blank(s.back()))
        s.remove_suffix(1);
    return std::string(s);
}

bool parse_int64(std::string_view s, std::int64_t& out, int base = 10) {
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out, base);
    return ec == std::errc() && end == s.data() + s.size();
}

}  // namespace

std::vector<Token> tokenize(std::string_view line) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    // The end of the line's content: a # outside quotes starts a comment.
    std::size_t content_end = line.size();
    {
        bool in_quotes = false;
        for (std::size_t j = 0; j < line.size(); ++j) {
            if (in_quotes && line[j] == '\\' && j + 1 < line.size()) {
                ++j;
            } else if (line[j] == '"') {
                in_quotes = !in_quotes;
            } else if (!in_quotes && line[j] == '#') {
                content_end = j;
                break;
            }
        }
    }
    const std::string_view content = line.substr(0, content_end);
    while (i < content.size()) {
        if (is_blank(content[i])) {
            ++i;
            continue;
        }
        Token t;
        t.rest = trim_right(content.substr(i));
        if (content[i] == '"') {
            t.quoted = true;
            ++i;
            bool closed = false;
            while (i < content.size()) {
                const char c = content[i++];
                if (c == '\\' && i < content.size() && (content[i] == '"' || content[i] == '\\')) {
                    t.text.push_back(content[i++]);
                } else if (c == '"') {
                    closed = true;
                    break;
                } else {
                    t.text.push_back(c);
                }
            }
            if (!closed) throw ScriptError("unterminated quoted string");
        } else {
            while (i < content.size() && !is_blank(content[i]))
                t.text.push_back(content[i++]);
        }
        tokens.push_back(std::move(t));
    }
    return tokens;
}

ScriptRunner::ScriptRunner(Container& container) : container_(container) {
    add_core_commands(*this);
    add_persistence_commands(*this);
    add_input_commands(*this);
    add_page_commands(*this);
    add_render_commands(*this);
}

void ScriptRunner::add_command(const std::string& name, Command command) {
    commands_[name] = std::move(command);
}

bool ScriptRunner::run(LineReader& lines, bool strict, const char* prompt) {
    return run_lines([&lines] { return lines.next(); }, strict, prompt);
}

bool ScriptRunner::run(std::istream& in, bool strict, const char* prompt) {
    return run_lines(
        [&in]() -> std::optional<std::string> {
            std::string line;
            if (!std::getline(in, line)) {
                if (in.bad()) throw FileError("cannot read the script: the stream failed");
                return std::nullopt;
            }
            if (line.size() > kLongestLine)
                throw FileError("cannot read the script: a line is longer than " +
                                std::to_string(kLongestLine) + " bytes");
            return line;
        },
        strict, prompt);
}

bool ScriptRunner::run_lines(const std::function<std::optional<std::string>()>& next_line,
                             bool strict, const char* prompt) {
    bool ok = true;
    for (;;) {
        if (prompt) std::cout << prompt << std::flush;
        const std::optional<std::string> line = next_line();
        if (!line) break;
        try {
            execute(tokenize(*line));
        } catch (const ScriptError& e) {
            out() << "error: " << e.what() << '\n';
            ok = false;
            if (strict) break;
        }
        out().flush();
    }
    return ok;
}

void ScriptRunner::execute(const std::vector<Token>& tokens) {
    if (tokens.empty()) return;
    const auto it = commands_.find(tokens[0].text);
    if (tokens[0].quoted || it == commands_.end())
        throw ScriptError("unknown command \"" + tokens[0].text + "\"");
    Container::CallGuard guard(container_);
    it->second(*this, Arguments(tokens.begin() + 1, tokens.end()));
}

VexClock& ScriptRunner::control(const Token& name) const {
    VexClock* c = container_.find(name.text);
    if (!c) throw ScriptError("no control named \"" + name.text + "\"");
    return *c;
}

void ScriptRunner::expect(const Arguments& args, std::size_t at_least, std::size_t at_most,
                          const char* usage) {
    if (args.size() < at_least || args.size() > at_most)
        throw ScriptError(std::string("usage: ") + usage);
}

double ScriptRunner::number(const Token& token) {
    try {
        if (token.quoted) throw Error(ErrorKind::type_mismatch, "quoted");
        return whole_text_number(token.text);
    } catch (const Error&) {
        throw ScriptError("\"" + token.text + "\" is not a number");
    }
}

std::int64_t ScriptRunner::microseconds(const Token& token) {
    const std::string& s = token.text;
    const auto dot = s.find('.');
    const std::string whole = s.substr(0, dot);
    std::string fraction = dot == std::string::npos ? "" : s.substr(dot + 1);
    std::int64_t seconds = 0, micros = 0;
    const bool digits_only = fraction.find_first_not_of("0123456789") == std::string::npos;
    if (token.quoted || whole.empty() || whole[0] == '-' || whole[0] == '+' ||
        !parse_int64(whole, seconds) || !digits_only || fraction.size() > 6 ||
        seconds > 1'000'000'000)
        throw ScriptError("\"" + s + "\" is not a time in seconds (up to six decimals)");
    fraction.resize(6, '0');
    parse_int64(fraction, micros);
    return seconds * 1'000'000 + micros;
}

float ScriptRunner::twips(const Token& token) {
    const double v = number(token);
    if (!(v >= 0 && v <= 1e7)) throw ScriptError("\"" + token.text + "\" is not a size in twips");
    return static_cast<float>(v);
}

const std::string& ScriptRunner::new_control_name(const Token& name) const {
    const std::string& n = name.text;
    if (n.empty() || name.quoted ||
        n.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_") !=
            std::string::npos)
        throw ScriptError("\"" + n + "\" is not a control name (letters, digits, _)");
    if (container_.find(n)) throw ScriptError("a control named \"" + n + "\" exists");
    return n;
}

ScriptRunner::Placement ScriptRunner::placement(const Arguments& args, std::size_t at,
                                                const char* usage) {
    Placement p;
    std::size_t rest = args.size() - std::min(at, args.size());
    if (rest > 0 && !args.back().quoted && args.back().text == "own") {
        p.scope = StateScope::own;
        --rest;
    }
    if (rest == 1 || rest > 2) throw ScriptError(std::string("usage: ") + usage);
    if (rest == 2) {
        p.width = twips(args[at]);
        p.height = twips(args[at + 1]);
    }
    return p;
}

Value ScriptRunner::value(const Token& token) const {
    const std::string& s = token.text;
    if (token.quoted) return Value(s);
    if (s == "true") return Value(Boolean{true});
    if (s == "false") return Value(Boolean{false});
    if (s == "nothing") return Value(PictureRef{});
    if (!s.empty() && s[0] == '@') {
        const std::string path = s.substr(1);
        const std::string format = Picture::format_for_path(path);
        if (format.empty())
            throw ScriptError("\"" + path + "\" is not a png, bmp, ico or svg file");
        std::vector<std::uint8_t> bytes;
        try {
            bytes = read_picture_file(path);
        } catch (const FileError& e) {
            throw ScriptError(e.what());
        }
        // A file that holds no picture of its format is a file that cannot be read, reported
        // against the file rather than the property it was meant for.
        try {
            return Value(Picture::make_encoded(format, std::move(bytes)));
        } catch (const Error& e) {
            throw ScriptError("\"" + path + "\" holds no picture: " + e.what());
        }
    }
    std::int64_t n = 0;
    for (const char* prefix : {"0x", "0X", "&H", "&h"}) {
        const std::string_view p(prefix);
        if (s.size() > p.size() && s.size() <= p.size() + 8 && s.compare(0, p.size(), p) == 0 &&
            parse_int64(std::string_view(s).substr(p.size()), n, 16))
            return Value(static_cast<std::int32_t>(static_cast<std::uint32_t>(n)));
    }
    const std::string_view digits = !s.empty() && (s[0] == '-' || s[0] == '+')
                                        ? std::string_view(s).substr(1)
                                        : std::string_view(s);
    if (!digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos) {
        if (parse_int64(s[0] == '+' ? std::string_view(s).substr(1) : std::string_view(s), n)) {
            if (n >= INT16_MIN && n <= INT16_MAX) return Value(static_cast<std::int16_t>(n));
            if (n >= INT32_MIN && n <= INT32_MAX) return Value(static_cast<std::int32_t>(n));
        }
    }
    try {
        return Value(whole_text_number(s));
    } catch (const Error&) {
        throw ScriptError("\"" + s + "\" is not a value");
    }
}

void ScriptRunner::guarded(const std::string& control, std::string_view member,
                           const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& e) {
        container_.report(control, e, member);
    }
}

}  // namespace tickwell::headless
