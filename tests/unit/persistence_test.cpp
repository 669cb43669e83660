// SPDX-License-Identifier: MIT
// A control's settings through the container's property bag: reading (values as stored,
// failures) and the load and save commands of the container.
#include <gtest/gtest.h>

#include <sstream>

#include <tickwell/control/type_library.hpp>
#include <tickwell/files/json_property_bag.hpp>
#include <tickwell/headless/headless_container.hpp>
#include <tickwell/headless/script_runner.hpp>
#include <tickwell/model/clock_state.hpp>
#include <tickwell/platform/error.hpp>
#include "clock_fixture.hpp"
#include "scratch_dir.hpp"
#include "test_pictures.hpp"
#include "thrown.hpp"

namespace tickwell {
namespace {

using headless::JsonPropertyBag;

class Persistence : public ::testing::Test {
  protected:
    void SetUp() override { Clock::reset_state(); }

    std::string take() {
        std::string s = out.str();
        out.str("");
        return s;
    }

    static JsonPropertyBag bag(const std::string& properties) {
        return headless::parse_property_bag(
            R"({"class": "Tickwell.VexClock", "properties": )" + properties + "}", "test");
    }

    VexClock& load(const std::string& name, JsonPropertyBag& from, float w = 3240, float h = 2070) {
        return container.create_with(
            name, [&from](VexClock& c) { c.ReadProperties(from); }, w, h);
    }

    // The error that the read of `from` ends with.
    Error read_failure(const std::string& name, JsonPropertyBag from) {
        return testing::thrown([&] { load(name, from); });
    }

    // A property as a host sees it: colours in hex, everything else as the container prints.
    static std::string shown(const VexClock& c, const char* property) {
        const Value v = c.get(property);
        return TypeLibrary::property(property).type == PropertyType::color
                   ? headless::format_color(to_color(v))
                   : headless::format_value(v);
    }

    std::ostringstream out;
    headless::Container container{out};
};

// --- Reading ---------------------------------------------------------------------------

TEST_F(Persistence, StoredValuesAreTakenWithoutTheChecksOfThePuts) {
    const struct {
        const char* key;
        const char* json;
        const char* reads;
    } rows[] = {
        {"Minutes", "-3", "-3"},
        {"InitialTime", "\"1:2:3\"", "\"01:02:03\""},  // as CheckTime writes it
        {"BorderWidth", "500", "500"},                 // wider than the control leaves room for
        {"Hours", "2.5", "2"},                         // converted as the platform does
        {"IgnoreDisplay", "-1", "true"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.key) + " " + row.json);
        Clock::reset_state();
        const std::string name = "c" + std::to_string(&row - rows);
        JsonPropertyBag stored = bag(std::string("{\"") + row.key + "\": " + row.json + "}");
        const VexClock& c = load(name, stored);
        EXPECT_EQ(shown(c, row.key), row.reads);
        EXPECT_EQ(take(), "");
    }
}

// A hand-edited start value is taken as the control takes one put (normalised), and a
// count-down's fields come from it (the shared-state script shows a loaded one counting).
TEST_F(Persistence, AHandWrittenStartValueIsTakenAsThePutTakesIt) {
    auto b = bag(R"({"ClockMode": 1, "InitialTime": "0:1:5"})");
    const VexClock& c = load("c", b);
    EXPECT_EQ(c.InitialTime(), "00:01:05");
    EXPECT_EQ(c.Minutes(), 1);
    EXPECT_EQ(c.Seconds(), 5);
}

// A start value the control would refuse ends the read, as any value that cannot be taken
// does: nothing of the bag is applied.
TEST_F(Persistence, AStartValueTheControlWouldRefuseEndsTheRead) {
    for (const char* initial : {"99:99:99", "00:60:00", "1:2", "ten", "00:00:00:00"}) {
        SCOPED_TRACE(initial);
        Clock::reset_state();
        const Error e =
            read_failure(std::string("c") + initial,
                         bag(std::string(R"({"ClockMode": 1, "Hours": 3, "InitialTime": ")") +
                             initial + R"("})"));
        EXPECT_EQ(e.kind(), ErrorKind::invalid_value);
        EXPECT_EQ(e.member(), "InitialTime");
        EXPECT_NE(std::string(e.what()).find(initial), std::string::npos) << e.what();
        EXPECT_EQ(Clock::state().ClockMode, ClockMode::normal);
        EXPECT_EQ(Clock::state().Hours, 0);
    }
    // The empty text of a control that never had a start value reads back as it was saved.
    JsonPropertyBag empty = bag(R"({"InitialTime": ""})");
    const VexClock& fresh = load("fresh", empty);
    EXPECT_EQ(fresh.InitialTime(), "");
}

// The round-trip script shows the elements a bag's colours and widths reach; a face read
// oval is laid out oval.
TEST_F(Persistence, AnOvalFaceFromTheBagShapesTheBorder) {
    auto b = bag(R"({"ClockFace": 1})");
    EXPECT_EQ(load("a", b).face().Border.shape(), ShapeKind::oval);
}

// The conversion-errors script shows the shared fields untouched by a read that fails; the
// control's own elements are too, and its face is not laid out.
TEST_F(Persistence, AFailedConversionLeavesTheElementsAsCreated) {
    auto b = bag(R"({"BorderWidth": 4, "Accuracy": "fast"})");
    const Error e = read_failure("a", b);
    EXPECT_EQ(e.kind(), ErrorKind::type_mismatch);
    EXPECT_EQ(e.member(), "Accuracy");
    const VexClock* a = container.find("a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->face().Border.border_width(), 1);
    EXPECT_EQ(a->face().Border.width(), 990);
}

TEST_F(Persistence, ValuesThatCannotBeConvertedNameTheirKey) {
    const struct {
        const char* key;
        const char* json;
        ErrorKind kind;
    } rows[] = {
        {"Hours", "2147483648", ErrorKind::overflow},  // beyond 32 bits: no wrap-around to 0
        {"MouseIcon", "5", ErrorKind::type_mismatch},
        {"IgnoreDisplay", "\"maybe\"", ErrorKind::type_mismatch},
        {"BorderVisible", "\"perhaps\"", ErrorKind::type_mismatch},
        {"Background", "5000000000", ErrorKind::overflow},
        {"BorderWidth", "-1", ErrorKind::invalid_value},  // the border refuses it
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.key) + " " + row.json);
        Clock::reset_state();
        const Error e = read_failure("c" + std::to_string(&row - rows),
                                     bag(std::string("{\"") + row.key + "\": " + row.json + "}"));
        EXPECT_EQ(e.kind(), row.kind);
        EXPECT_EQ(e.member(), row.key);
    }
    EXPECT_EQ(take(), "");
}

TEST_F(Persistence, APictureForATextKeyIsAMismatch) {
    JsonPropertyBag b;
    b.write("InitialTime", Value(Picture::make_encoded("png", testing::png_file(32, 32))), Value());
    const Error e = read_failure("a", b);
    EXPECT_EQ(e.kind(), ErrorKind::type_mismatch);
    EXPECT_EQ(e.member(), "InitialTime");
}

// --- The container's load and save commands ----------------------------------------------

class PersistenceCommands : public Persistence, protected testing::ScratchDir {
  protected:
    PersistenceCommands() : ScratchDir("persist") {}
};

TEST_F(PersistenceCommands, AStrictScriptStopsAtAFileThatCannotBeRead) {
    const std::string missing = path("missing.json");
    EXPECT_FALSE(
        testing::run_script(container, "load a " + missing + "\necho not reached\n", true));
    EXPECT_EQ(take(), "error: cannot read \"" + missing + "\": No such file or directory\n");
}

TEST_F(PersistenceCommands, ALoadNeverReplacesAControl) {
    const std::string a = path("a.json");
    put(a, R"({"class": "Tickwell.VexClock", "properties": {"Hours": 5}})");
    testing::run_script(container, "new a\nput a Hours 3\nload a " + a + "\n");
    EXPECT_NE(take().find("error: a control named \"a\" exists\n"), std::string::npos);
    EXPECT_EQ(container.find("a")->Hours(), 3);
}

}  // namespace
}  // namespace tickwell
