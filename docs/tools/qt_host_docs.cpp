// SPDX-License-Identifier: MIT
// Writes the API reference's documentation of what the control's registry declares by macro:
// its enums, and each Qt host class's properties, accessors, change signals and enums. The
// facts (names, kinds, help texts, ranges, bag keys) come from the registry, so that they are
// written once; the members every host declares by hand are documented in a template that
// this copies once per host class.
//
//   qt-host-docs OUT TEMPLATE [HOST_CLASS...]
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

#include <tickwell/control/property_registry.hpp>
#include <tickwell/model/enums.hpp>
#include <tickwell/model/member_facts.hpp>
#include <tickwell/model/ranges.hpp>

namespace {

using namespace tickwell;

std::string qt_type(std::string_view kind, std::string_view enum_name) {
    if (kind == "boolean") return "bool";
    if (kind == "string") return "QString";
    if (kind == "color") return "QColor";
    if (kind == "picture") return "QPixmap";
    if (kind == "enumeration") return std::string(enum_name);
    return "int";
}

// What a host sees of a value of each kind, beyond the registry's help text.
void write_kind_note(std::ostream& out, std::string_view kind, std::string_view enum_name) {
    if (kind == "integer")
        out << "An Integer: 16 bits in the control.";
    else if (kind == "long_")
        out << "A Long: 32 bits in the control.";
    else if (kind == "boolean")
        out << "A Boolean.";
    else if (kind == "string")
        out << "A string.";
    else if (kind == "color")
        out << "A colour: a system colour reads as the colour the host's colorScheme() paints "
               "it; a QColor written is kept as that explicit colour.";
    else if (kind == "picture")
        out << "A picture; a null QPixmap is no picture.";
    else
        out << "One of the values of #" << enum_name << "; a value it does not name is refused.";
}

// The range the control enforces where a put checks a number.
void write_range_note(std::ostream& out, PropertyId id) {
    switch (id) {
        case PropertyId::Hours:
            out << " From 0 to " << kMaxHours << ". The analog face takes at most "
                << kMaxAnalogHours << ".";
            break;
        case PropertyId::Minutes:
            out << " From 0 to " << kMaxMinutes << ".";
            break;
        case PropertyId::Seconds:
            out << " From 0 to " << kMaxSeconds << ".";
            break;
        case PropertyId::Tens:
        case PropertyId::Hundreds:
            out << " From 0 to " << kMaxFractionDigit << ".";
            break;
        case PropertyId::AlertTime:
            out << " From 0 to " << kMaxAlertTime << " seconds (99 hours); 0 raises no alert.";
            break;
        default:
            break;
    }
}

void document_property(std::ostream& out, std::string_view host, PropertyId id,
                       std::string_view qt_name, std::string_view qt_cap_name,
                       std::string_view kind, std::string_view enum_name) {
    const MemberInfo& info = Registry::property(id);
    const std::string type = qt_type(kind, enum_name);
    out << "/** \\property " << host << "::" << qt_name << "\n    " << info.help << "\n\n    ";
    write_kind_note(out, kind, enum_name);
    write_range_note(out, id);
    out << "\n\n    The control's property `" << info.name << "`";
    if (info.bag)
        out << ", kept in the property bag under the key `" << info.bag->key << "`";
    else
        out << ", which no property bag keeps";
    out << ".";
    if (!info.browsable) out << " Designers do not list it.";
    out << " */\n";
    out << "/** \\fn " << type << " " << host << "::" << qt_name << "() const\n    Reads #"
        << qt_name << ". */\n";
    out << "/** \\fn void " << host << "::set" << qt_cap_name << "(const " << type
        << " &value)\n    Writes #" << qt_name
        << " through the control's put, which checks and converts the value as the control "
           "does: a refused value reaches the user as #messagePolicy says and changes "
           "nothing. */\n";
    out << "/** \\fn void " << host << "::" << qt_name << "Changed(" << type
        << " value)\n    Emitted once per actual change of #" << qt_name
        << ", whatever made it, with the new value. */\n";
}

#define TICKWELL_DOC_ENUMERATOR(cpp_name, library_name, qt_name, value) \
    out << "    - `" #qt_name "` (" << value << "): `" #library_name "`\n";
#define TICKWELL_DOC_CORE_ENUMERATOR(cpp_name, library_name, qt_name, value) \
    out << "    - `" #cpp_name "` (" << value << "): `" #library_name "`\n";

// Where a host class declares an enum of the control under its C++ name, with Qt-style
// values.
void document_host_enums(std::ostream& out, std::string_view host) {
#define TICKWELL_DOC_ENUM(Type, library_name, VALUES)                                    \
    out << "/** \\enum " << host << "::" #Type                                           \
        << "\n    The control's enum tickwell::" #Type " (`" #library_name               \
           "` in the type "                                                              \
           "library) under Qt-style value names, for QML and Qt's property system:\n\n"; \
    VALUES(TICKWELL_DOC_ENUMERATOR)                                                      \
    out << "*/\n";
    TICKWELL_ENUMS(TICKWELL_DOC_ENUM)
#undef TICKWELL_DOC_ENUM
}

void document_core_enums(std::ostream& out) {
#define TICKWELL_DOC_ENUM(Type, library_name, VALUES)                                     \
    out << "/** \\enum tickwell::" #Type                                                  \
           "\n    The values of the control's enum properties of this type, as the type " \
           "library names them `" #library_name                                           \
           "`; each value with its name in the type "                                     \
           "library:\n\n";                                                                \
    VALUES(TICKWELL_DOC_CORE_ENUMERATOR)                                                  \
    out << "*/\n";
    TICKWELL_ENUMS(TICKWELL_DOC_ENUM)
#undef TICKWELL_DOC_ENUM
}

void document_host(std::ostream& out, std::string_view host, const std::string& hand_written) {
#define TICKWELL_DOC_PROPERTY(Name, QtName, QtCapName, Kind, Enum, Browsable) \
    document_property(out, host, PropertyId::Name, #QtName, #QtCapName, #Kind, #Enum);
    TICKWELL_QT_PROPERTIES(TICKWELL_DOC_PROPERTY)
#undef TICKWELL_DOC_PROPERTY
    document_host_enums(out, host);
    std::string text = hand_written;
    const std::string marker = "@CLASS@";
    for (auto at = text.find(marker); at != std::string::npos; at = text.find(marker, at))
        text.replace(at, marker.size(), host);
    out << text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: qt-host-docs OUT TEMPLATE [HOST_CLASS...]\n";
        return EXIT_FAILURE;
    }
    std::ifstream in(argv[2]);
    std::stringstream hand_written;
    hand_written << in.rdbuf();
    if (!in) {
        std::cerr << "qt-host-docs: cannot read " << argv[2] << "\n";
        return EXIT_FAILURE;
    }
    std::ostringstream out;
    out << "// Made by qt-host-docs from the control's registry.\n";
    document_core_enums(out);
    for (int i = 3; i < argc; ++i)
        document_host(out, argv[i], hand_written.str());
    std::ofstream file(argv[1]);
    file << out.str();
    if (!file.flush()) {
        std::cerr << "qt-host-docs: cannot write " << argv[1] << "\n";
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
