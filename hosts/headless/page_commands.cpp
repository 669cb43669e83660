// SPDX-License-Identifier: MIT
// The designer's property pages: open a page on selected controls, show its fields, edit
// them as a user would, apply.
#include <memory>
#include <stdexcept>

#include <tickwell/headless/headless_pages.hpp>
#include <tickwell/headless/script_runner.hpp>
#include <tickwell/pages/property_pages.hpp>
#include <tickwell/platform/error.hpp>

namespace tickwell::headless {
namespace {

using Args = ScriptRunner::Arguments;

// The page open in this runner's designer; one at a time.
struct Designer {
    std::unique_ptr<HeadlessPage> page;

    HeadlessPage& open(ScriptRunner& r) {
        if (!page) throw ScriptError("no property page is open");
        for (const std::string& name : page->selected_names())
            if (!r.container().find(name))
                throw ScriptError("the page's control \"" + name + "\" no longer exists");
        return *page;
    }
};

void cmd_page(ScriptRunner& r, const Args& a, Designer& d) {
    if (a.size() < 2) throw ScriptError("usage: page PAGE NAME [NAME...]");
    const PageInfo* info = find_page(a[0].text);
    if (!info || a[0].quoted)
        throw ScriptError("no property page \"" + a[0].text +
                          "\" (General, Behaviour or Appearance)");
    std::vector<std::string> selected;
    for (auto it = a.begin() + 1; it != a.end(); ++it) {
        r.control(*it);
        selected.push_back(it->text);
    }
    d.page = std::make_unique<HeadlessPage>(r.container(), *info, std::move(selected));
    HeadlessPage& page = *d.page;
    r.guarded(page.selected_names()[0], "SelectionChanged", [&] { page.selection_changed(); });
}

void cmd_fields(ScriptRunner& r, const Args& a, Designer& d) {
    ScriptRunner::expect(a, 0, 0, "fields");
    HeadlessPage& page = d.open(r);
    for (const std::string& line : page.describe())
        r.out() << line << '\n';
    r.out() << "changed = " << (page.changed() ? "true" : "false") << '\n';
    r.out() << "focus = " << (page.focus().empty() ? std::string("none") : page.focus()) << '\n';
}

int whole_number(const Token& t) {
    const double v = ScriptRunner::number(t);
    if (!(v >= -32768 && v <= 32767) || v != static_cast<int>(v))
        throw ScriptError("\"" + t.text + "\" is not a whole number");
    return static_cast<int>(v);
}

void cmd_field(ScriptRunner& r, const Args& a, Designer& d) {
    ScriptRunner::expect(a, 2, 2, "field FIELD VALUE");
    HeadlessPage& page = d.open(r);
    const FieldInfo* f = page.info().find(a[0].text);
    if (!f || a[0].quoted)
        throw ScriptError(std::string(page.info().name) + " page has no field \"" + a[0].text +
                          "\"");
    try {
        switch (f->kind) {
            case FieldKind::text_box:
                page.type_text(f->name, a[1].text);
                break;
            case FieldKind::combo_box:
                page.choose_item(f->name, whole_number(a[1]));
                break;
            case FieldKind::check_box:
                page.click_check(f->name, whole_number(a[1]));
                break;
            case FieldKind::label:
                throw ScriptError(a[0].text + " is a label");
        }
    } catch (const std::invalid_argument& e) {
        throw ScriptError(e.what());
    }
}

void cmd_apply(ScriptRunner& r, const Args& a, Designer& d) {
    ScriptRunner::expect(a, 0, 0, "apply");
    HeadlessPage& page = d.open(r);
    // An error ends the apply and is reported with the member whose put failed.
    r.guarded(page.selected_names()[0], "ApplyChanges", [&] { page.apply(); });
}

}  // namespace

void add_page_commands(ScriptRunner& r) {
    auto designer = std::make_shared<Designer>();
    r.add_command("page",
                  [designer](ScriptRunner& r, const Args& a) { cmd_page(r, a, *designer); });
    r.add_command("fields",
                  [designer](ScriptRunner& r, const Args& a) { cmd_fields(r, a, *designer); });
    r.add_command("field",
                  [designer](ScriptRunner& r, const Args& a) { cmd_field(r, a, *designer); });
    r.add_command("apply",
                  [designer](ScriptRunner& r, const Args& a) { cmd_apply(r, a, *designer); });
}

}  // namespace tickwell::headless
