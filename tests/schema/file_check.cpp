// SPDX-License-Identifier: MIT
// The file formats' side of the schema tests: whether a property-bag or form file loads, as
// a host loads it (the file read and parsed, then each control created from its bag through
// the read path), what the registry says of the bag's keys, and a form written from bags.
//
//   file-check bag FILE | form FILE    exit 0 when the file loads, 1 (and why) when refused
//   file-check registry                the bag's keys: kind, default, enum (JSON)
//   file-check form-of OUT BAG...      writes a form holding a control for each bag file
#include <cstdlib>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include <tickwell/control/property_registry.hpp>
#include <tickwell/files/form_file.hpp>
#include <tickwell/files/json_property_bag.hpp>
#include <tickwell/headless/headless_container.hpp>
#include <tickwell/platform/error.hpp>

namespace {

using namespace tickwell;
using namespace tickwell::headless;

void load(Container& container, const std::string& name, const JsonPropertyBag& bag, float width,
          float height, StateScope scope) {
    JsonPropertyBag copy = bag;
    container.create_with(
        name, [&copy](VexClock& c) { c.ReadProperties(copy); }, width, height, scope);
}

int check_bag(const std::string& path) {
    std::ostream null_out(nullptr);
    Container container(null_out);
    load(container, "c", read_property_bag_file(path), kNewControlWidth, kNewControlHeight,
         StateScope::own);
    return EXIT_SUCCESS;
}

int check_form(const std::string& path) {
    std::ostream null_out(nullptr);
    Container container(null_out);
    const FormFile form = read_form_file(path);
    const StateScope scope = form.shared_state ? StateScope::shared : StateScope::own;
    for (const FormControl& c : form.controls)
        load(container, c.name, c.properties, c.width, c.height, scope);
    return EXIT_SUCCESS;
}

// The kinds in the order PropertyType lists them.
constexpr std::string_view kKindNames[] = {"integer", "long",    "boolean",    "string",
                                           "color",   "picture", "enumeration"};

// A default as a file holds it, written by the bag's own writer.
nlohmann::json json_of(const BagEntry& entry) {
    JsonPropertyBag bag;
    bag.write(std::string(entry.key), entry.default_value(), Value());
    return nlohmann::json::parse(property_bag_text(bag))["properties"].front();
}

int print_registry() {
    nlohmann::json keys = nlohmann::json::array();
    for (const BagEntry* entry : Registry::bag_write_order()) {
        nlohmann::json key = {{"key", entry->key},
                              {"kind", kKindNames[static_cast<std::size_t>(entry->type)]},
                              {"default", json_of(*entry)}};
        for (const MemberInfo& m : Registry::members()) {
            if (m.bag != entry || !m.enum_type) continue;
            nlohmann::json values = nlohmann::json::object();
            for (const EnumMember& member : m.enum_type->members)
                values[std::string(member.name)] = member.value;
            key["enum"] = values;
        }
        keys.push_back(key);
    }
    std::cout << keys.dump(2) << "\n";
    return EXIT_SUCCESS;
}

int write_form_of(int argc, char** argv) {
    FormFile form;
    form.shared_state = true;
    for (int i = 3; i < argc; ++i) {
        FormControl control;
        control.name = "VexClock" + std::to_string(i - 2);
        control.left = static_cast<float>(120 * (i - 2));
        control.top = 120;
        control.properties = read_property_bag_file(argv[i]);
        form.controls.push_back(control);
    }
    write_form_file(argv[2], form);
    return EXIT_SUCCESS;
}

int usage() {
    std::cerr << "usage: file-check bag FILE | form FILE | registry | form-of OUT BAG...\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string mode = argv[1];
    try {
        if (mode == "registry" && argc == 2) return print_registry();
        if (mode == "bag" && argc == 3) return check_bag(argv[2]);
        if (mode == "form" && argc == 3) return check_form(argv[2]);
        if (mode == "form-of" && argc >= 4) return write_form_of(argc, argv);
    } catch (const Error& e) {
        std::cout << "refused: " << e.what() << "\n";
        return EXIT_FAILURE;
    }
    return usage();
}
