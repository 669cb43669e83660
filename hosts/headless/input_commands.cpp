// SPDX-License-Identifier: MIT
// The platform's input notifications, delivered to a control as a user's clicks, keys and
// mouse activity would be, and the pointer shown over its surface.
#include <cstdint>

#include <tickwell/headless/script_runner.hpp>

namespace tickwell::headless {
namespace {

using Args = ScriptRunner::Arguments;

// The images of the digital face that receive their own clicks, with their handlers.
struct ClickableImage {
    std::string_view name;
    void (VexClock::*handler)(int);
    std::string_view handler_name;
};
constexpr ClickableImage kClickable[] = {
    {"DisplayIm", &VexClock::DisplayIm_Click, "DisplayIm_Click"},
    {"NumIm", &VexClock::NumIm_Click, "NumIm_Click"},
    {"ColonIm", &VexClock::ColonIm_Click, "ColonIm_Click"},
};

// A 16-bit argument of a notification: key codes, shift states, buttons.
std::int16_t integer_argument(const Token& t) {
    const double v = ScriptRunner::number(t);
    if (!(v >= -32768 && v <= 32767) || v != static_cast<std::int16_t>(v))
        throw ScriptError("\"" + t.text + "\" is not a 16-bit whole number");
    return static_cast<std::int16_t>(v);
}

float twips_argument(const Token& t) {
    const double v = ScriptRunner::number(t);
    if (!(v >= -1e7 && v <= 1e7))
        throw ScriptError("\"" + t.text + "\" is not a position in twips");
    return static_cast<float>(v);
}

void cmd_click(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 1, 2, "click NAME [ELEMENT]");
    VexClock& c = r.control(a[0]);
    if (a.size() == 1) {
        r.guarded(a[0].text, "UserControl_Click", [&] { c.UserControl_Click(); });
        return;
    }
    // ELEMENT is NAME(INDEX) of an image array that receives clicks.
    const std::string& text = a[1].text;
    const auto open = text.find('(');
    const std::string base = text.substr(0, open);
    for (const ClickableImage& image : kClickable) {
        if (open == std::string::npos || image.name != base) continue;
        const std::string inside = text.substr(open + 1, text.size() - open - 2);
        if (text.back() != ')' || inside.empty() || inside.size() > 4 ||
            inside.find_first_not_of("0123456789") != std::string::npos)
            break;
        const int index = std::stoi(inside);
        if (!c.scene().find(base, index)) break;
        r.guarded(a[0].text, image.handler_name, [&] { (c.*image.handler)(index); });
        return;
    }
    throw ScriptError("\"" + text +
                      "\" is no image that receives clicks (DisplayIm(i), NumIm(i), ColonIm(i))");
}

void cmd_dblclick(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 1, 1, "dblclick NAME");
    VexClock& c = r.control(a[0]);
    r.guarded(a[0].text, "UserControl_DblClick", [&] { c.UserControl_DblClick(); });
}

void key(ScriptRunner& r, const Args& a, bool down) {
    const char* usage = down ? "keydown NAME CODE SHIFT" : "keyup NAME CODE SHIFT";
    ScriptRunner::expect(a, 3, 3, usage);
    VexClock& c = r.control(a[0]);
    std::int16_t code = integer_argument(a[1]);
    std::int16_t shift = integer_argument(a[2]);
    if (down)
        r.guarded(a[0].text, "UserControl_KeyDown", [&] { c.UserControl_KeyDown(code, shift); });
    else
        r.guarded(a[0].text, "UserControl_KeyUp", [&] { c.UserControl_KeyUp(code, shift); });
}

void cmd_keypress(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 2, 2, "keypress NAME CODE");
    VexClock& c = r.control(a[0]);
    std::int16_t code = integer_argument(a[1]);
    r.guarded(a[0].text, "UserControl_KeyPress", [&] { c.UserControl_KeyPress(code); });
}

using MouseHandler = void (VexClock::*)(std::int16_t&, std::int16_t&, float, float);

void mouse(ScriptRunner& r, const Args& a, const char* usage, MouseHandler handler,
           std::string_view handler_name) {
    ScriptRunner::expect(a, 5, 5, usage);
    VexClock& c = r.control(a[0]);
    std::int16_t button = integer_argument(a[1]);
    std::int16_t shift = integer_argument(a[2]);
    const float x = twips_argument(a[3]);
    const float y = twips_argument(a[4]);
    r.guarded(a[0].text, handler_name, [&] { (c.*handler)(button, shift, x, y); });
}

void cmd_pointer(ScriptRunner& r, const Args& a) {
    ScriptRunner::expect(a, 1, 1, "pointer NAME");
    r.control(a[0]);
    const HeadlessSite& site = *r.container().site(a[0].text);
    r.out() << a[0].text << " pointer " << site.pointer() << (site.pointer() == 99 ? " custom" : "")
            << '\n';
}

}  // namespace

void add_input_commands(ScriptRunner& r) {
    r.add_command("click", cmd_click);
    r.add_command("dblclick", cmd_dblclick);
    r.add_command("keydown", [](ScriptRunner& r, const Args& a) { key(r, a, true); });
    r.add_command("keyup", [](ScriptRunner& r, const Args& a) { key(r, a, false); });
    r.add_command("keypress", cmd_keypress);
    r.add_command("mousedown", [](ScriptRunner& r, const Args& a) {
        mouse(r, a, "mousedown NAME BUTTON SHIFT X Y", &VexClock::UserControl_MouseDown,
              "UserControl_MouseDown");
    });
    r.add_command("mouseup", [](ScriptRunner& r, const Args& a) {
        mouse(r, a, "mouseup NAME BUTTON SHIFT X Y", &VexClock::UserControl_MouseUp,
              "UserControl_MouseUp");
    });
    r.add_command("mousemove", [](ScriptRunner& r, const Args& a) {
        mouse(r, a, "mousemove NAME BUTTON SHIFT X Y", &VexClock::UserControl_MouseMove,
              "UserControl_MouseMove");
    });
    r.add_command("pointer", cmd_pointer);
}

}  // namespace tickwell::headless
