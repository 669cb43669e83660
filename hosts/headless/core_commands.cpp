// SPDX-License-Identifier: MIT
// The container's commands for controls, properties, methods, time, answers, the shared
// state, elements and host handlers.
#include <sstream>

#include <tickwell/control/type_library.hpp>
#include <tickwell/headless/script_runner.hpp>
#include <tickwell/platform/error.hpp>

namespace tickwell::headless {
namespace {

using Args = ScriptRunner::Arguments;

std::string format_property(const MemberInfo& m, const Value& v) {
    if (m.type == PropertyType::color) return format_color(static_cast<std::uint32_t>(v.long_()));
    return format_value(v);
}

bool boolean_word(const Token& t, const char* usage) {
    if (t.text == "true") return true;
    if (t.text == "false") return false;
    throw ScriptError(std::string("usage: ") + usage);
}

// "Hand(0)" -> {"Hand", 0}; "Border" -> {"Border", -1}.
std::pair<std::string, int> element_name(const std::string& text) {
    const auto open = text.find('(');
    if (open == std::string::npos) return {text, -1};
    std::int64_t index = -1;
    const std::string inside = text.substr(open + 1, text.size() - open - 2);
    if (text.back() != ')' || inside.empty() ||
        inside.find_first_not_of("0123456789") != std::string::npos || inside.size() > 4)
        throw ScriptError("\"" + text + "\" is not an element name");
    index = std::stoi(inside);
    return {text.substr(0, open), static_cast<int>(index)};
}

const char* shape_kind_name(ShapeKind k) {
    switch (k) {
        case ShapeKind::rectangle:
            return "rectangle";
        case ShapeKind::oval:
            return "oval";
        case ShapeKind::circle:
            return "circle";
    }
    return "?";
}

std::string n(float v) {
    return shortest_text(v);
}

std::string describe_element(const std::string& control, const Element& e) {
    std::ostringstream line;
    line << control << '.' << e.label() << ' ';
    const char* visible = e.visible() ? "true" : "false";
    visit(e, Overloaded{[&](const LineElement& l) {
                            line << "line visible=" << visible << " x1=" << n(l.x1())
                                 << " y1=" << n(l.y1()) << " x2=" << n(l.x2())
                                 << " y2=" << n(l.y2()) << " width=" << l.border_width()
                                 << " color=" << format_color(l.border_color());
                        },
                        [&](const ShapeElement& s) {
                            line << "shape visible=" << visible
                                 << " kind=" << shape_kind_name(s.shape())
                                 << " left=" << n(s.left()) << " top=" << n(s.top())
                                 << " width=" << n(s.width()) << " height=" << n(s.height())
                                 << " borderwidth=" << s.border_width()
                                 << " bordercolor=" << format_color(s.border_color())
                                 << " fillcolor=" << format_color(s.fill_color()) << " fill="
                                 << (s.fill_style() == FillStyle::solid ? "solid" : "transparent");
                        },
                        [&](const ImageElement& i) {
                            line << "image visible=" << visible << " left=" << n(i.left())
                                 << " top=" << n(i.top()) << " width=" << n(i.width())
                                 << " height=" << n(i.height())
                                 << " picture=" << describe(i.picture())
                                 << " tag=" << quote(i.tag());
                        },
                        [&](const TimerElement& t) {
                            line << "timer enabled=" << (t.enabled() ? "true" : "false")
                                 << " interval=" << t.interval();
                        }});
    return line.str();
}

void cmd_new(ScriptRunner& r, const Args& a) {
    constexpr const char* usage = "new NAME [W H] [own]";
    ScriptRunner::expect(a, 1, 4, usage);
    const std::string& name = r.new_control_name(a[0]);
    const auto at = ScriptRunner::placement(a, 1, usage);
    r.guarded(name, "InitProperties",
              [&] { r.container().create(name, at.width, at.height, at.scope); });
}

void cmd_delete(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 1, 1, "delete NAME");
    r.control(a[0]);
    r.container().destroy(a[0].text);
}

void cmd_usermode(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 1, 1, "usermode true|false");
    r.container().user_mode = boolean_word(a[0], "usermode true|false");
}

void cmd_twips(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 2, 2, "twips TX TY");
    const double tx = ScriptRunner::number(a[0]), ty = ScriptRunner::number(a[1]);
    if (!(tx >= 1 && tx <= 1440 && ty >= 1 && ty <= 1440))
        throw ScriptError("twips per pixel must be from 1 to 1440");
    r.container().twips_x = static_cast<float>(tx);
    r.container().twips_y = static_cast<float>(ty);
}

void cmd_scale(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 1, 1, "scale twips|pixels");
    if (a[0].text == "twips")
        r.container().scale = ScaleUnit::twips;
    else if (a[0].text == "pixels")
        r.container().scale = ScaleUnit::pixels;
    else
        throw ScriptError("usage: scale twips|pixels");
}

void cmd_size(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 3, 3, "size NAME W H");
    VexClock& c = r.control(a[0]);
    const float w = ScriptRunner::twips(a[1]), h = ScriptRunner::twips(a[2]);
    r.guarded(a[0].text, "Resize", [&] { c.set_size(w, h); });
}

void cmd_get(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 2, 2, "get NAME PROPERTY");
    VexClock& c = r.control(a[0]);
    const MemberInfo* m = TypeLibrary::find(a[1].text);
    if (!m || m->is_method) throw ScriptError("VexClock has no property \"" + a[1].text + "\"");
    r.guarded(a[0].text, m->name, [&] {
        const Value v = c.get(m->name);
        r.out() << a[0].text << '.' << m->name << " = " << format_property(*m, v) << '\n';
    });
}

void cmd_put(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 3, 3, "put NAME PROPERTY VALUE");
    VexClock& c = r.control(a[0]);
    const MemberInfo* m = TypeLibrary::find(a[1].text);
    if (!m || m->is_method) throw ScriptError("VexClock has no property \"" + a[1].text + "\"");
    r.guarded(a[0].text, m->name, [&] { c.put(m->name, r.value(a[2])); });
}

void cmd_call(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 2, 2, "call NAME METHOD");
    VexClock& c = r.control(a[0]);
    const MemberInfo* m = TypeLibrary::find(a[1].text);
    if (!m || !m->is_method) throw ScriptError("VexClock has no method \"" + a[1].text + "\"");
    r.guarded(a[0].text, m->name, [&] { c.invoke(m->name); });
}

void cmd_clock(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 1, 1, "clock SECONDS");
    try {
        r.container().set_time_of_day(ScriptRunner::microseconds(a[0]));
    } catch (const Error& e) {
        throw ScriptError(e.what());
    }
}

void cmd_run(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 1, 1, "run SECONDS");
    try {
        r.container().run(ScriptRunner::microseconds(a[0]));
    } catch (const Error& e) {
        throw ScriptError(e.what());
    }
}

void fire(ScriptRunner& r, const Args& a, const char* timer, const char* usage) {
    ScriptRunner::expect(a, 1, 1, usage);
    VexClock& c = r.control(a[0]);
    Element* e = c.scene().find(timer, -1);
    r.container().fire(a[0].text, static_cast<TimerElement&>(*e));
}

void cmd_answer(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 1, 2, "answer yes|no [COUNT]");
    if (a[0].text != "yes" && a[0].text != "no") throw ScriptError("usage: answer yes|no [COUNT]");
    double count = a.size() == 2 ? ScriptRunner::number(a[1]) : 1;
    if (!(count >= 0 && count <= 100000) || count != static_cast<int>(count))
        throw ScriptError("\"" + a[1].text + "\" is not a count");
    r.container().queue_answers(a[0].text == "yes", static_cast<int>(count));
}

void cmd_state(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 1, 2, "state [NAME] FIELD");
    const ClockState& record = a.size() == 2 ? r.control(a[0]).state() : Clock::state();
    const std::string& field = a.back().text;
    const auto v = Clock::field(record, field);
    if (!v) throw ScriptError("ClockState has no field \"" + field + "\"");
    r.out() << "ClockState." << field << " = " << format_value(*v) << '\n';
}

const Element& element(ScriptRunner& r, const Token& control, const Token& name) {
    const auto [base, index] = element_name(name.text);
    const Element* e = r.control(control).scene().find(base, index);
    if (!e) throw ScriptError("VexClock has no element \"" + name.text + "\"");
    return *e;
}

void cmd_element(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 2, 2, "element NAME ELEMENT");
    r.out() << describe_element(a[0].text, element(r, a[0], a[1])) << '\n';
}

void cmd_zorder(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 1, 1, "zorder NAME");
    const auto& stack = r.control(a[0]).scene().stacking_order();
    std::string line;
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        if (!line.empty()) line.push_back(' ');
        line += (*it)->label();
    }
    r.out() << line << '\n';
}

void cmd_on(ScriptRunner& r, const Args& a) {
    if (a.size() < 3) throw ScriptError("usage: on NAME EVENT COMMAND...");
    r.control(a[0]);
    if (!TypeLibrary::find_event(a[1].text))
        throw ScriptError("VexClock has no event \"" + a[1].text + "\"");
    const std::vector<Token> command(a.begin() + 2, a.end());
    if (command[0].text == "set" && !command[0].quoted) {
        if (command.size() != 3) throw ScriptError("usage: on NAME EVENT set ARG VALUE");
        const Value v = r.value(command[2]);
        const std::string argument = command[1].text;
        r.container().on(a[0].text, a[1].text, [argument, v](std::span<EventArgument> args) {
            for (auto& arg : args)
                if (arg.name == argument) arg.value = v;
        });
        return;
    }
    r.container().on(a[0].text, a[1].text, [&r, command](std::span<EventArgument>) {
        try {
            r.execute(command);
        } catch (const ScriptError& e) {
            r.out() << "error: " << e.what() << '\n';
        }
    });
}

void cmd_off(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 2, 2, "off NAME EVENT");
    r.control(a[0]);
    r.container().off(a[0].text, a[1].text);
}

void cmd_echo(ScriptRunner& r, const Args& a) {
    r.out() << (a.empty() ? std::string() : a[0].rest) << '\n';
}

}  // namespace

void add_core_commands(ScriptRunner& r) {
    r.add_command("new", cmd_new);
    r.add_command("delete", cmd_delete);
    r.add_command("usermode", cmd_usermode);
    r.add_command("twips", cmd_twips);
    r.add_command("scale", cmd_scale);
    r.add_command("size", cmd_size);
    r.add_command("get", cmd_get);
    r.add_command("put", cmd_put);
    r.add_command("call", cmd_call);
    r.add_command("clock", cmd_clock);
    r.add_command("run", cmd_run);
    r.add_command("tick",
                  [](ScriptRunner& r, const Args& a) { fire(r, a, "SWTimer", "tick NAME"); });
    r.add_command("blink",
                  [](ScriptRunner& r, const Args& a) { fire(r, a, "ColonTimer", "blink NAME"); });
    r.add_command("answer", cmd_answer);
    r.add_command("state", cmd_state);
    r.add_command("element", cmd_element);
    r.add_command("zorder", cmd_zorder);
    r.add_command("on", cmd_on);
    r.add_command("off", cmd_off);
    r.add_command("echo", cmd_echo);
}

}  // namespace tickwell::headless
