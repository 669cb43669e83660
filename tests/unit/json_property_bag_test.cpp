// SPDX-License-Identifier: MIT
#include <tickwell/files/json_property_bag.hpp>
#include "clock_fixture.hpp"
#include "scratch_dir.hpp"
#include "test_pictures.hpp"
#include "thrown.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include <tickwell/face/glyphs.hpp>
#include <tickwell/files/form_file.hpp>
#include <tickwell/headless/headless_container.hpp>
#include <tickwell/headless/script_runner.hpp>
#include <tickwell/platform/error.hpp>

namespace tickwell::headless {
namespace {

namespace fs = std::filesystem;

// A PNG of `width` x `height` with `tail` bytes after it, which readers ignore: they cover
// every byte value and, by their count, every base64 padding.
std::vector<std::uint8_t> png_bytes(int width, int height, std::size_t tail) {
    std::vector<std::uint8_t> d =
        testing::png_file(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
    for (std::size_t i = 0; i < tail; ++i)
        d.push_back(static_cast<std::uint8_t>(i * 7));
    return d;
}

std::string bag_file(const std::string& properties) {
    return R"({"class": "Tickwell.VexClock", "properties": )" + properties + "}";
}

// The FileError text of parsing `text`, or "" when it parses.
std::string refusal(const std::string& text) {
    return testing::what_thrown<FileError>([&] { parse_property_bag(text, "x.json"); });
}

class TempDir : public ::testing::Test, protected testing::ScratchDir {
  protected:
    TempDir() : ScratchDir("bag") {}
};

// --- Values ----------------------------------------------------------------------------

TEST(JsonPropertyBag, JsonNumbersTakeTheNarrowestKindThatHoldsThem) {
    struct Row {
        const char* json;
        Value expected;
    };
    const Row rows[] = {
        {"32767", Value(std::int16_t{32767})},
        {"-32768", Value(std::int16_t{-32768})},
        {"32768", Value(std::int32_t{32768})},
        {"-32769", Value(std::int32_t{-32769})},
        {"2147483647", Value(std::int32_t{2147483647})},
        {"-2147483648", Value(std::int32_t{INT32_MIN})},
        // Beyond 32 bits: a Double, which a field refuses with overflow instead of wrapping.
        {"2147483648", Value(2147483648.0)},
        {"-2147483649", Value(-2147483649.0)},
        {"18446744073709551615", Value(18446744073709551615.0)},
        {"1.5", Value(1.5)},
        {"2.0", Value(2.0)},
        {"true", Value(Boolean{true})},
        {R"("00:01:00")", Value("00:01:00")},
        {"null", Value()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.json);
        auto bag = parse_property_bag(bag_file(std::string(R"({"K": )") + row.json + "}"), "x");
        EXPECT_EQ(bag.read("K", Value("absent")), row.expected);
    }
}

TEST(JsonPropertyBag, KeysAreExactNamesAndAbsentOnesYieldTheDefault) {
    auto bag = parse_property_bag(bag_file(R"({"hours": 7, "Unknown": 5, "Hours ": 8})"), "x");
    EXPECT_EQ(bag.read("Hours", Value(std::int16_t{3})), Value(std::int16_t{3}));
    EXPECT_EQ(bag.read("hours", Value()), Value(std::int16_t{7}));
}

TEST(JsonPropertyBag, WritesEveryValueInWriteOrderDefaultsIncluded) {
    JsonPropertyBag bag;
    bag.write("MouseIcon", Value(PictureRef{}), Value(std::int16_t{0}));
    bag.write("Hours", Value(std::int16_t{0}), Value(std::int16_t{0}));
    bag.write("IgnoreDisplay", Value(Boolean{true}), Value(Boolean{false}));
    bag.write("AlertTime", Value(std::int32_t{356400}), Value(std::int32_t{0}));
    bag.write("InitialTime", Value("00:01:00"), Value("00:00:00"));
    bag.write("Background", Value(std::int32_t{0x00C0C0C0}), Value(std::int32_t{0x00C0C0C0}));
    bag.write("Hours", Value(std::int16_t{5}), Value(std::int16_t{0}));  // replaced in place

    EXPECT_EQ(property_bag_text(bag), R"({
  "class": "Tickwell.VexClock",
  "properties": {
    "MouseIcon": null,
    "Hours": 5,
    "IgnoreDisplay": true,
    "AlertTime": 356400,
    "InitialTime": "00:01:00",
    "Background": 12632256
  }
}
)");
}

TEST(JsonPropertyBag, PicturesKeepTheirFormatAndEveryByte) {
    // Three tails: the base64 text ends with no padding, one "=" and two "=".
    for (std::size_t tail : {0u, 256u, 257u, 258u}) {
        SCOPED_TRACE(tail);
        const auto bytes = png_bytes(32, 16, tail);
        JsonPropertyBag bag;
        bag.write("MouseIcon", Value(Picture::make_encoded("png", bytes)), Value());
        const auto back = parse_property_bag(property_bag_text(bag), "x");
        const PictureRef picture = back.find("MouseIcon")->picture();
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->format(), "png");
        EXPECT_EQ(std::vector<std::uint8_t>(picture->data().begin(), picture->data().end()), bytes);
        EXPECT_EQ(describe(picture), "picture:32x16");
    }
    const std::string svg = R"(<svg xmlns="http://www.w3.org/2000/svg" width="24" height="8"/>)";
    JsonPropertyBag bag;
    bag.write(
        "MouseIcon",
        Value(Picture::make_encoded("svg", std::vector<std::uint8_t>(svg.begin(), svg.end()))),
        Value());
    const auto json = nlohmann::json::parse(property_bag_text(bag));
    EXPECT_EQ(json["properties"]["MouseIcon"]["picture"], "svg");
    EXPECT_EQ(describe(parse_property_bag(json.dump(), "x").find("MouseIcon")->picture()),
              "picture:24x8");
}

TEST(JsonPropertyBag, RefusesToWriteWhatAFileCannotHold) {
    JsonPropertyBag bag;
    const Error drawn =
        testing::thrown([&] { bag.write("MouseIcon", Value(glyphs::digit(3)), Value()); });
    EXPECT_EQ(drawn.kind(), ErrorKind::invalid_picture);
    EXPECT_EQ(drawn.member(), "MouseIcon");
    EXPECT_THROW(bag.write("X", Value(std::nan("")), Value()), Error);
    EXPECT_THROW(bag.write("X", Value(std::string("\xff\xfe")), Value()), Error);
    EXPECT_TRUE(bag.values().empty());
}

// --- Files that are not property bags -----------------------------------------------------

// The schema's invalid edge files show the other malformed bags refused.
TEST(JsonPropertyBag, RefusesFilesThatAreNotThisFormat) {
    struct Row {
        const char* what;
        std::string text;
        const char* says;
    };
    const Row rows[] = {
        {"empty", "", "\"x.json\" is not JSON: "},
        {"a NUL byte after the bag", bag_file("{}") + std::string(1, '\0') + "{\"Hours\": 4}",
         "\"x.json\" is not JSON: a NUL byte at offset 48"},
        {"top level array", "[]",
         "is not a Tickwell.VexClock property bag: it holds no JSON object"},
        {"no class", R"({"properties": {}})", "property bag: it has no \"class\""},
        {"object without picture", bag_file(R"({"MouseIcon": {"data": ""}})"),
         "\"MouseIcon\" holds an object without \"picture\""},
        {"no data", bag_file(R"({"MouseIcon": {"picture": "png"}})"),
         "holds a picture without base64 \"data\""},
        {"bad base64", bag_file(R"({"MouseIcon": {"picture": "png", "data": "iVBOR*0K"}})"),
         "\"data\" is not valid base64"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string said = refusal(row.text);
        EXPECT_NE(said.find("\"x.json\""), std::string::npos) << said;
        EXPECT_NE(said.find(row.says), std::string::npos) << said;
    }
}

// Text made to break a reader: each refused with the file and, where there is one, the key.
// The hostile-files script shows the rest: numbers beyond a double, tokens that are no JSON,
// ill-formed text, keys given twice.
TEST(JsonPropertyBag, RefusesHostileTextNamingTheKey) {
    struct Row {
        const char* what;
        std::string text;
        const char* says;
        const char* key;
    };
    const Row rows[] = {
        {"beyond a double", bag_file(R"({"Hours": 1e400})"),
         "holds a number out of range at \"Hours\": number overflow parsing '1e400'", "Hours"},
        {"same key in a picture",
         bag_file(R"({"MouseIcon": {"picture": "png", "picture": "bmp"}})"),
         "the key \"picture\" appears twice", "picture"},
        {"text past the limit", bag_file(R"({"InitialTime": ")" + std::string(65537, '1') + "\"}"),
         "\"InitialTime\" holds a text of 65537 bytes, beyond the limit of 65536", "InitialTime"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const Error e = testing::thrown([&] { parse_property_bag(row.text, "x.json"); });
        EXPECT_EQ(std::string(e.what()).rfind("\"x.json\"", 0), 0u) << e.what();
        EXPECT_NE(std::string(e.what()).find(row.says), std::string::npos) << e.what();
        EXPECT_EQ(e.member(), row.key);
    }
    // At its limit a text is taken.
    EXPECT_EQ(refusal(bag_file(R"({"InitialTime": ")" + std::string(65536, '1') + "\"}")), "");
}

// --- Files ----------------------------------------------------------------------------

using JsonPropertyBagFile = TempDir;

// What the program writes, it reads: a control holding the largest picture file that is
// read saves a bag that loads back, picture and all.
TEST_F(JsonPropertyBagFile, TheLargestPictureSavesAndLoadsBack) {
    std::vector<std::uint8_t> picture = testing::bmp_file(64, 32);
    picture.resize(kLargestPictureFile, 0);  // a decoder reads no further than the pixels
    put(path("largest.bmp"), std::string(picture.begin(), picture.end()));
    std::ostringstream out;
    Container container(out);
    const std::string script = "new a\nput a MouseIcon @" + path("largest.bmp") + "\nsave a " +
                               path("a.json") + "\nload b " + path("a.json") + "\n";
    EXPECT_TRUE(testing::run_script(container, script, true)) << out.str();
    ASSERT_NE(container.find("b"), nullptr);
    const PictureRef loaded = container.find("b")->MouseIcon();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->describe(), "picture:64x32");
    EXPECT_TRUE(
        std::equal(loaded->data().begin(), loaded->data().end(), picture.begin(), picture.end()));
    EXPECT_LE(fs::file_size(path("a.json")), kLargestSettingsFile);
}

TEST_F(JsonPropertyBagFile, AFailedSaveLeavesTheOldFileAndNoTemporary) {
    const std::string target = path("a.json");
    std::ofstream(target) << "old";
    JsonPropertyBag bag;
    bag.write("InitialTime", Value(std::string(4096, '0')), Value());

    // A file size limit makes the write itself fail half-way, even for root.
    struct sigaction ignore {
    }, previous{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    rlimit old_limit{};
    getrlimit(RLIMIT_FSIZE, &old_limit);
    rlimit small = old_limit;
    small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &small);
    const std::string said =
        testing::what_thrown<FileError>([&] { write_property_bag_file(target, bag); });
    setrlimit(RLIMIT_FSIZE, &old_limit);
    sigaction(SIGXFSZ, &previous, nullptr);

    EXPECT_EQ(said, "cannot save \"" + target + "\": File too large");
    EXPECT_EQ(contents(target), "old");
    EXPECT_EQ(entries(), std::vector<std::string>{"a.json"});
}

TEST_F(JsonPropertyBagFile, SavesThatCannotBeginOrFinishNameTheFile) {
    std::ofstream(path("plain")) << "x";
    fs::create_directory(dir / "sub");
    const struct {
        std::string file;
        const char* why;
    } rows[] = {
        {path("none/a.json"), "No such file or directory"},
        {path("plain/a.json"), "Not a directory"},
        {path("sub"), "Is a directory"},  // the temporary is written, the rename fails
        {"", "No such file or directory"},
    };
    JsonPropertyBag bag;
    bag.write("Hours", Value(std::int16_t{1}), Value());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        EXPECT_EQ(testing::what_thrown<FileError>([&] { write_property_bag_file(row.file, bag); }),
                  "cannot save \"" + row.file + "\": " + row.why);
    }
    EXPECT_EQ(entries(), (std::vector<std::string>{"plain", "sub"}));
    EXPECT_TRUE(fs::is_empty(dir / "sub"));
}

TEST_F(JsonPropertyBagFile, AReplacedFileKeepsItsPermissions) {
    const std::string target = path("a.json");
    std::ofstream(target) << "old";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    write_property_bag_file(target, JsonPropertyBag{});
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_NE(contents(target).find("Tickwell.VexClock"), std::string::npos);
}

// --- Forms ----------------------------------------------------------------------------

using FormFileTest = TempDir;

TEST_F(FormFileTest, ControlsRoundTripWithPlacesAndBags) {
    FormFile form;
    form.controls.push_back({"VexClock1", 120, 120, 3240, 2070, {}});
    form.controls.push_back({"VexClock2", 3500, 0, 1500.5f, 600, {}});
    form.controls[0].properties.write("Hours", Value(std::int16_t{3}), Value());
    form.controls[1].properties.write(
        "MouseIcon", Value(Picture::make_encoded("png", png_bytes(16, 16, 5))), Value());
    write_form_file(path("form.json"), form);

    const auto json = nlohmann::json::parse(contents(path("form.json")));
    EXPECT_EQ(json["form"], 1);
    EXPECT_EQ(json["controls"][0]["left"].dump(), "120");  // whole twips as integers
    EXPECT_EQ(json["controls"][1]["width"].dump(), "1500.5");

    const FormFile back = read_form_file(path("form.json"));
    ASSERT_EQ(back.controls.size(), 2u);
    EXPECT_EQ(back.controls[0].name, "VexClock1");
    EXPECT_EQ(back.controls[0].left, 120);
    EXPECT_EQ(back.controls[0].properties.values(), form.controls[0].properties.values());
    EXPECT_EQ(back.controls[1].width, 1500.5f);
    EXPECT_EQ(describe(back.find("VexClock2")->properties.find("MouseIcon")->picture()),
              "picture:16x16");
}

TEST_F(FormFileTest, PlacesDefaultToANewControls) {
    const FormFile form = parse_form(R"({"form": 1, "controls": [
        {"name": "a", "properties": {}}]})",
                                     "f.json");
    EXPECT_EQ(form.controls[0].left, 0);
    EXPECT_EQ(form.controls[0].width, 3240);
    EXPECT_EQ(form.controls[0].height, 2070);
}

// How a refusal names the form, the control and the key; the schema's invalid edge files show
// that every other malformed form is refused.
TEST_F(FormFileTest, RefusesFormsThatAreNotThisFormat) {
    const struct {
        const char* what;
        const char* text;
        const char* says;
    } rows[] = {
        {"not json", R"({"form": 1, "controls": [)", "\"f.json\" is not JSON"},
        {"no version", R"({"controls": []})",
         "\"f.json\" is not a form: it has no \"form\" version"},
        {"nameless", R"({"form": 1, "controls": [{"properties": {}}]})",
         "\"f.json\": control 1: it has no \"name\""},
        {"place not a number",
         R"({"form": 1, "controls": [{"name": "a", "left": "1", "properties": {}}]})",
         "control \"a\": its \"left\" is not a number"},
        {"bad picture",
         R"({"form": 1, "controls": [{"name": "b", "properties": {"MouseIcon": {"picture": "jpg", "data": ""}}}]})",
         "\"f.json\": control \"b\": \"MouseIcon\" holds a picture of unknown format"},
        {"version with a fraction", R"({"form": 1.0, "controls": []})",
         "\"f.json\" is not a form: its \"form\" version is 1.0, not a whole number"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string said =
            testing::what_thrown<FileError>([&] { parse_form(row.text, "f.json"); });
        EXPECT_NE(said.find(row.says), std::string::npos) << said;
    }
}

// A form whose file its reader would refuse is not written: too large with two of the
// largest pictures, holding more values than a form file may, or naming two controls alike.
TEST_F(FormFileTest, AFormItCouldNotReadBackIsNotSaved) {
    std::ofstream(path("form.json")) << "old";
    std::vector<std::uint8_t> largest = testing::bmp_file(8, 8);
    largest.resize(kLargestPictureFile, 0);
    const PictureRef picture = Picture::make_encoded("bmp", largest);
    FormFile pictures;
    for (const char* name : {"a", "b"}) {
        pictures.controls.push_back({name, 0, 0, 100, 100, {}});
        pictures.controls.back().properties.write("MouseIcon", Value(picture), Value());
    }
    FormFile crowded;
    for (int i = 0; i < 12000; ++i) {
        crowded.controls.push_back({"c" + std::to_string(i), 0, 0, 100, 100, {}});
        for (const char* key : {"Hours", "Minutes", "Seconds", "Tens", "Hundreds"})
            crowded.controls.back().properties.write(key, Value(std::int16_t{1}), Value());
    }
    FormFile same_names;
    same_names.controls.assign(2, {"a", 0, 0, 100, 100, {}});
    const struct {
        const char* what;
        const FormFile& form;
        std::string says;
    } rows[] = {
        {"two of the largest pictures", pictures,
         "bytes, beyond the limit of 16 MiB that reading it back allows"},
        {"too many values", crowded,
         ", which could not be read back: \"" + path("form.json") +
             "\" is refused: it holds more than 262144 values"},
        {"two controls of one name", same_names, ": two controls are named \"a\""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string said =
            testing::what_thrown<FileError>([&] { write_form_file(path("form.json"), row.form); });
        EXPECT_EQ(said.rfind("cannot save \"" + path("form.json") + "\"", 0), 0u) << said;
        EXPECT_NE(said.find(row.says), std::string::npos) << said;
        EXPECT_EQ(contents(path("form.json")), "old");
    }
}

}  // namespace
}  // namespace tickwell::headless
