// SPDX-License-Identifier: MIT
// The SVG face: which elements it draws and in which order, their geometry in pixels, the
// colours it resolves, pictures as data, and the render command that writes it.
#include <tickwell/headless/svg_renderer.hpp>

#include <algorithm>
#include <cstdio>
#include <regex>

#include <tickwell/headless/script_runner.hpp>
#include <tickwell/platform/system_colors.hpp>
#include "clock_fixture.hpp"
#include "scratch_dir.hpp"
#include "thrown.hpp"

namespace tickwell::testing {
namespace {

class SvgRendererTest : public ClockTest {
  protected:
    std::string render() const {
        const TwipsPerPixel tpp{container.twips_x, container.twips_y};
        return headless::render_svg(clock->scene(),
                                    surface_size(clock->width(), clock->height(), tpp), tpp);
    }
    void put(const char* property, const Value& v) {
        clock->put(property, v);
        take();
    }
};

// The element names in the order the document draws them, back to front.
std::vector<std::string> drawn_names(const std::string& svg) {
    static const std::regex name(R"re(data-name="([^"]+)")re");
    std::vector<std::string> names;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), name); it != std::sregex_iterator();
         ++it)
        names.push_back((*it)[1]);
    return names;
}

// The document's line that draws the element `name`.
std::string line_of(const std::string& svg, const std::string& name) {
    const auto at = svg.find("data-name=\"" + name + "\"");
    if (at == std::string::npos) return {};
    const auto begin = svg.rfind('\n', at) + 1;
    return svg.substr(begin, svg.find('\n', at) - begin);
}

std::size_t position(const std::vector<std::string>& names, const std::string& name) {
    const auto it = std::find(names.begin(), names.end(), name);
    EXPECT_NE(it, names.end()) << name << " is not drawn";
    return static_cast<std::size_t>(it - names.begin());
}

std::string indexed(const char* name, int i) {
    return std::string(name) + "(" + std::to_string(i) + ")";
}

TEST_F(SvgRendererTest, AnalogFaceDrawsItsVisibleSetBackToFront) {
    const auto names = drawn_names(render());
    // Border, three hands and their copies, hub and copy, twelve marks and their copies.
    EXPECT_EQ(names.size(), 1u + 6u + 2u + 24u);
    EXPECT_EQ(names.front(), "Border");
    EXPECT_EQ(names.back(), "Dot(11)");
    for (const char* hidden : {"IconIm", "DisplayIm(0)", "ColonIm(0)", "NumIm(10)", "NumIm(3)"})
        EXPECT_EQ(std::count(names.begin(), names.end(), hidden), 0) << hidden;
    // Every hand in front of every white copy; the hub in front of the hands' pivot.
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_GT(position(names, indexed("Hand", i)), position(names, indexed("HandSh", j)));
    for (int i = 0; i < 3; ++i)
        EXPECT_GT(position(names, "Hub"), position(names, indexed("Hand", i)));
    for (int i = 1; i < 12; ++i)
        EXPECT_EQ(position(names, indexed("Dot", i)), position(names, indexed("DotSh", i)) + 1);
}

TEST_F(SvgRendererTest, SurfaceIsTheControlsSizeInPixelsOnEachAxis) {
    container.twips_x = 12;
    container.twips_y = 18;
    clock->set_size(3240, 2070);  // lays the face out again at the new resolution
    const std::string svg = render();
    EXPECT_NE(svg.find("width=\"270\" height=\"115\" viewBox=\"0 0 270 115\""), std::string::npos)
        << svg.substr(0, 200);
    // The hands' pivot is the control's centre; a one-pixel hand sits on pixel centres.
    EXPECT_NE(line_of(svg, "Hand(0)").find("x1=\"135.5\" y1=\"58\""), std::string::npos)
        << line_of(svg, "Hand(0)");
}

TEST_F(SvgRendererTest, CircleIsTheLargestCircleCentredInItsBox) {
    // The hub's box is 0.121 of the control each way: 392.04 x 250.47 twips, not square.
    const std::string hub = line_of(render(), "Hub");
    EXPECT_NE(hub.find("<circle data-name=\"Hub\" cx=\"108\" cy=\"69\" r=\"8.349\""),
              std::string::npos)
        << hub;
}

TEST_F(SvgRendererTest, OvalFaceFillsTheControl) {
    put("ClockFace", Value(std::int16_t{1}));
    const std::string border = line_of(render(), "Border");
    EXPECT_NE(border.find("<ellipse cx=\"108\" cy=\"69\" rx=\"108\" ry=\"69\" fill=\"#C0C0C0\"/>"),
              std::string::npos)
        << border;
}

TEST_F(SvgRendererTest, InsideOutlineLiesWithinTheBox) {
    struct Row {
        std::int16_t width;
        const char* stroke;  // the outline's centre line and pen, in pixels
    };
    const Row rows[] = {
        {1,
         "x=\"0.5\" y=\"0.5\" width=\"215\" height=\"137\" fill=\"none\" stroke=\"#000000\" "
         "stroke-width=\"1\""},
        {2,
         "x=\"1\" y=\"1\" width=\"214\" height=\"136\" fill=\"none\" stroke=\"#000000\" "
         "stroke-width=\"2\""},
    };
    for (const auto& r : rows) {
        put("BorderWidth", Value(r.width));
        const std::string border = line_of(render(), "Border");
        EXPECT_NE(border.find(r.stroke), std::string::npos) << r.width << ": " << border;
        // The fill covers the whole box, under the outline.
        EXPECT_NE(
            border.find("<rect x=\"0\" y=\"0\" width=\"216\" height=\"138\" fill=\"#C0C0C0\""),
            std::string::npos)
            << border;
    }
}

TEST_F(SvgRendererTest, ColoursAreResolvedToRgb) {
    put("BackGround", Value(std::int32_t{static_cast<std::int32_t>(0x80000005)}));  // window
    put("BorderColor", Value(std::int32_t{0x000000FF}));                            // red
    put("ForeColor", Value(std::int32_t{0x00FF8000}));  // blue 255, green 128
    const std::string svg = render();
    EXPECT_NE(svg.find("<rect width=\"216\" height=\"138\" fill=\"#C0C0C0\"/>"), std::string::npos)
        << "the surface is button face grey";
    EXPECT_NE(line_of(svg, "Border").find("fill=\"#FFFFFF\""), std::string::npos);
    EXPECT_NE(line_of(svg, "Border").find("stroke=\"#FF0000\""), std::string::npos);
    EXPECT_NE(line_of(svg, "Hand(2)").find("stroke=\"#0080FF\""), std::string::npos);
    EXPECT_EQ(svg.find("8000"), std::string::npos) << "no system colour left unresolved";
}

TEST_F(SvgRendererTest, GlyphIsANestedDocumentStretchedToItsCell) {
    put("Display", Value(std::int16_t{1}));
    const std::string cell = line_of(render(), "DisplayIm(0)");
    // At 3240 x 2070 twips with a 2-pixel frame: 28 pixels wide, 134 high, 2 pixels in.
    EXPECT_EQ(cell.rfind("<svg data-name=\"DisplayIm(0)\" x=\"2\" y=\"2\" width=\"28\" "
                         "height=\"134\" viewBox=\"0 0 8644 16000\" preserveAspectRatio=\"none\"",
                         0),
              0u)
        << cell;
    // The background, then the six lit segments of the 0, each filled then outlined.
    EXPECT_NE(cell.find("fill=\"#DEDDDD\" shape-rendering=\"crispEdges\""), std::string::npos);
    EXPECT_NE(cell.find("fill-rule=\"evenodd\" fill=\"#0079C5\""), std::string::npos);
    EXPECT_NE(cell.find("stroke=\"#008FE0\" stroke-width=\"39\""), std::string::npos);
}

TEST_F(SvgRendererTest, HandOfWidthZeroIsDrawnOnePixelWide) {
    put("SecWidth", Value(std::int16_t{0}));
    EXPECT_NE(line_of(render(), "Hand(0)").find("stroke-width=\"1\""), std::string::npos);
}

// Encoded pictures are not a face's own, so this builds a scene directly. The data URI's
// base64 is the property bag's, whose tests cover every padding.
TEST(SvgRendererPictures, EncodedPictureIsADataUriAtItsOwnSizeOrStretched) {
    const std::string text = R"(<svg xmlns="http://www.w3.org/2000/svg" width="4" height="2"/>)";
    Scene scene;
    auto& image = scene.add<ImageElement>("Im");
    image.move(15, 30, 150, 150);
    image.set_picture(
        Picture::make_encoded("svg", std::vector<std::uint8_t>(text.begin(), text.end())));
    std::string svg = headless::render_svg(scene, {20, 20}, {15, 15});
    // Not stretched: drawn at 4 x 2 pixels inside a box that clips it.
    EXPECT_NE(svg.find("<svg data-name=\"Im\" x=\"1\" y=\"2\" width=\"10\" height=\"10\" "
                       "overflow=\"hidden\"><image x=\"0\" y=\"0\" width=\"4\" height=\"2\""),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find("xlink:href=\"data:image/svg+xml;base64,PHN2ZyB4bWxucz0i"),
              std::string::npos);
    EXPECT_NE(svg.find("IjIiLz4=\"/>"), std::string::npos) << svg;

    image.set_stretch(true);
    svg = headless::render_svg(scene, {20, 20}, {15, 15});
    EXPECT_NE(svg.find("<image data-name=\"Im\" x=\"1\" y=\"2\" width=\"10\" height=\"10\" "
                       "preserveAspectRatio=\"none\""),
              std::string::npos)
        << svg;
}

// --- The render command ---

class RenderCommandTest : public ClockTest, protected ScratchDir {
  protected:
    RenderCommandTest() : ScratchDir("render") {}
    void execute(const std::string& line) { runner.execute(headless::tokenize(line)); }
    std::string failure(const std::string& line) {
        return what_thrown<headless::ScriptError>([&] { execute(line); });
    }

    headless::ScriptRunner runner{container};
};

TEST_F(RenderCommandTest, PngGoesThroughTheInstalledEncoder) {
    EXPECT_EQ(failure("render a " + path("face.png")),
              "cannot write \"" + path("face.png") +
                  "\": this container was built without PNG output (it needs Qt)");
    PixelSize seen;
    runner.png_encoder = [&](const Scene&, PixelSize size, TwipsPerPixel) {
        seen = size;
        return std::string("\x89PNG");
    };
    execute("render a " + path("face.png"));
    EXPECT_EQ(contents(path("face.png")), "\x89PNG");
    EXPECT_EQ(seen.width, 216);
    EXPECT_EQ(seen.height, 138);

    clock->set_size(8192 * 15, 100);
    execute("render a " + path("wide.png"));  // the largest side taken
    clock->set_size(8193 * 15, 100);
    EXPECT_EQ(failure("render a " + path("wider.png")),
              "cannot write \"" + path("wider.png") +
                  "\": the face is 8193 x 7 pixels, more than 8192 on a side");
    EXPECT_EQ(seen.width, 8192);
    clock->set_size(3240, 2070);

    runner.png_encoder = [](const Scene&, PixelSize, TwipsPerPixel) { return std::string(); };
    EXPECT_EQ(failure("render a " + path("x.png")),
              "cannot write \"" + path("x.png") + "\": PNG encoding failed");
    EXPECT_FALSE(std::filesystem::exists(path("x.png")));
}

// A face larger than its file may hold is refused, never drawn at another size.
TEST_F(RenderCommandTest, AFaceTooLargeForItsFileIsRefusedNotShrunk) {
    container.twips_x = 1;
    container.twips_y = 1;
    clock->set_size(1e7f, 100);
    const std::string svg = path("huge.SVG");  // the extension in either case
    EXPECT_EQ(failure("render a " + svg),
              "cannot write \"" + svg +
                  "\": the face is 10000000 x 100 pixels, more than 999999 on a side");
    EXPECT_FALSE(std::filesystem::exists(svg));

    clock->set_size(999999, 100);  // the largest side an SVG takes
    execute("render a " + svg);
    EXPECT_NE(contents(svg).find("width=\"999999\" height=\"100\""), std::string::npos);
}

TEST_F(RenderCommandTest, FailuresNameTheFile) {
    const std::string missing = path("no/such/face.svg");
    EXPECT_EQ(failure("render a " + missing),
              "cannot write \"" + missing + "\": No such file or directory");
    EXPECT_EQ(failure("render a face.jpg"),
              "cannot write \"face.jpg\": render writes .svg or .png files");
    EXPECT_EQ(failure("render b face.svg"), "no control named \"b\"");
    EXPECT_EQ(failure("render a"), "usage: render NAME FILE");
}

}  // namespace
}  // namespace tickwell::testing
