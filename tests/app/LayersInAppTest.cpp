// Overlay pictures and captions in the running application: adding them, the
// tools that move them, the archive across launches, flattening and the
// operations that clear them.
#include <cmath>

#include "app/AppPickerHost.h"
#include "layers/LayerStack.h"
#include "layers/TextInputViewController.h"
#include "layers/TextLayerView.h"
#include "layers/TextSettingsViewController.h"
#include "layers/TouchImageView.h"
#include "platform/foundation/FileIO.h"
#include "platform/foundation/ResourceBundle.h"
#include "tests/app/AppTestSupport.h"

namespace zorbel::testing {
namespace {

namespace fs = std::filesystem;
using platform::Point;

const ARGBColorBytes kWhite{255, 255, 255, 255};
const ARGBColorBytes kRed{255, 255, 0, 0};

// The pixel of a picture at (x, y), rows top down: alpha, red, green, blue.
ARGBColorBytes pixelOf(const platform::Image& image, int x, int y) {
    const std::uint8_t* p = image.data() + std::size_t(y) * image.bytesPerRow() + std::size_t(x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

class LayersInAppTest : public AppTest {
protected:
    static constexpr const char* kTallRed = "zzlayerstallred.png";

    void SetUp() override {
        AppTest::SetUp();
        // A plain red picture twice as tall as wide, among the resources.
        resources_ = home_ / "resources";
        fs::create_directories(resources_);
        auto red = platform::Image::create(50, 100, solid(50 * 100, kRed)).value();
        ASSERT_TRUE(platform::writeFileAtomically(resources_ / kTallRed, *red->pngData()));
        platform::ResourceBundle::setOverrideDirectory(resources_);
    }

    void TearDown() override {
        platform::ResourceBundle::setOverrideDirectory({});
        AppTest::TearDown();
    }

    static std::vector<std::uint8_t> solid(int pixels, ARGBColorBytes c) {
        std::vector<std::uint8_t> bytes;
        for (int i = 0; i < pixels; ++i)
            bytes.insert(bytes.end(), {c.alpha, c.red, c.green, c.blue});
        return bytes;
    }

    CanvoViewController& main() { return *app().canvoViewController(); }
    fs::path archivePath() const {
        return home_ / "Documents" / LayerStack::kArchiveFileName;
    }

    std::shared_ptr<TouchImageView> addRedShape() {
        main().AddShape(kTallRed);
        return app().lastMovedTouchImageView();
    }

    // A caption the way the text settings screen makes one.
    std::shared_ptr<TextLayerView> addCaption(const std::string& text, Point centre) {
        auto caption = std::make_shared<TextLayerView>(platform::Rect(0, 0, 300, 150));
        caption->setTextString(text);
        caption->setFontName("Helvetica-Bold");
        caption->setFontSize(60);
        caption->setCenter(centre);
        app().addTextLayer(caption);
        return caption;
    }

    void chooseTool(Tool tool) {
        app().setSelectedTool(tool);
        app().applyTool();
    }

    std::vector<std::string> layerClasses() {
        std::vector<std::string> names;
        for (const auto& sub : canvas().subviews())
            names.push_back(sub->className());
        return names;
    }

    // A finger dragged from a to b through the window, in canvas points.
    void dragCanvas(Point a, Point b, int steps = 10) {
        const Point wa = canvas().convertPointToView(a, nullptr);
        const Point wb = canvas().convertPointToView(b, nullptr);
        window().touchDown(1, wa, 1);
        for (int i = 1; i <= steps; ++i) {
            const float t = float(i) / float(steps);
            window().touchMove(1, {wa.x + (wb.x - wa.x) * t, wa.y + (wb.y - wa.y) * t});
        }
        window().touchUp(1, wb);
    }

    fs::path resources_;
};

TEST_F(LayersInAppTest, AddShapePlacesTheNamedPictureInFront) {
    launch();
    app().setDirtyFlag(false);
    auto first = addRedShape();
    ASSERT_TRUE(first);
    // 300 points wide and as tall as its proportions say, on a 700-point layer.
    EXPECT_EQ(first->frame(), platform::Rect(-190, -70, 700, 600));
    EXPECT_EQ(first->center(), (Point{160, 230}));
    EXPECT_EQ(first->orgImageFilename(), kTallRed);
    EXPECT_EQ(first->superview(), &canvas());
    EXPECT_TRUE(app().dirtyFlag());

    auto second = addRedShape();
    ASSERT_NE(first, second);
    EXPECT_EQ(canvas().subviews().back(), second);
    EXPECT_EQ(app().lastMovedTouchImageView(), second);

    // Only the picture shows: the red is there, the layer's margins are clear.
    auto shown = canvas().viewToImage();
    ASSERT_TRUE(shown);
    EXPECT_EQ(pixelOf(*shown, 160, 230), kRed);
    EXPECT_EQ(pixelOf(*shown, 5, 230), kWhite);
    EXPECT_EQ(pixelOf(*shown, 315, 230), kWhite);
}

TEST_F(LayersInAppTest, AddShapeTurnsTheLayerOnALandscapeDocument) {
    launch();
    app().setDocumentOrientation(3);
    auto layer = addRedShape();
    ASSERT_TRUE(layer);
    const auto t = layer->transform();
    EXPECT_NEAR(std::fabs(t.b), 1, 1e-5);
    EXPECT_NEAR(t.a, 0, 1e-5);
    EXPECT_EQ(layer->center(), (Point{160, 230}));
}

TEST_F(LayersInAppTest, AddShapeRefusesMissingAndForeignNames) {
    launch();
    for (const std::string name : {"zznosuchoverlay.png", "../Documents/zorbel.png", ""}) {
        platform::clearLogCapture();
        main().AddShape(name);
        EXPECT_TRUE(logHas("Overlay image not found")) << name;
        EXPECT_TRUE(logHas(name)) << name;
    }
    EXPECT_TRUE(canvas().subviews().empty());
    EXPECT_FALSE(app().lastMovedTouchImageView());
}

TEST_F(LayersInAppTest, EachToolMovesOnlyItsOwnLayers) {
    launch();
    auto shape = addRedShape();
    auto caption = addCaption("Hi", {100, 100});
    const auto touchable = [&] {
        return std::pair{shape->isUserInteractionEnabled(), caption->isUserInteractionEnabled()};
    };
    chooseTool(Tool::ShapeTool);
    caption->setUserInteractionEnabled(false);
    chooseTool(Tool::ShapeTool);
    EXPECT_EQ(touchable(), std::pair(true, false));
    chooseTool(Tool::TextTool);
    EXPECT_EQ(touchable(), std::pair(true, true));
    for (Tool paints : {Tool::PaintBrushTool, Tool::EraserTool, Tool::CloneTool,
                        Tool::ColorBrushTool}) {
        chooseTool(Tool::TextTool);
        chooseTool(paints);
        EXPECT_EQ(touchable(), std::pair(false, false)) << int(paints);
    }
    // The eye dropper leaves them as they were.
    chooseTool(Tool::ShapeTool);
    chooseTool(Tool::EyeDropperTool);
    EXPECT_EQ(touchable(), std::pair(true, false));
}

TEST_F(LayersInAppTest, ADragMovesTheOverlayUnderTheShapeToolAndPaintsUnderTheBrush) {
    launch();
    auto shape = addRedShape();
    chooseTool(Tool::ShapeTool);
    const platform::Rect before = shape->frame();
    dragCanvas({160, 230}, {200, 250});
    // Exactly the finger's way, carried by the layer's transform.
    EXPECT_EQ(shape->frame(), before.offset(40, 20));
    EXPECT_EQ(app().lastMovedTouchImageView(), shape);
    const platform::Rect moved = shape->frame();

    // Under the brush the whole stroke goes to the painting, and the layer stays.
    chooseTool(Tool::PaintBrushTool);
    app().setColor(platform::Color::black());
    app().setBrushAlpha(1);
    dragCanvas({120, 200}, {220, 200});
    EXPECT_EQ(shape->frame(), moved);
    EXPECT_NE(shownPixel(canvas(), 170, 200), kWhite);
    EXPECT_NE(shownPixel(canvas(), 215, 200), kWhite);
}

TEST_F(LayersInAppTest, ATripleTapDeletesTheOverlayUnderTheShapeTool) {
    launch();
    auto shape = addRedShape();
    chooseTool(Tool::ShapeTool);
    const Point w = canvas().convertPointToView({160, 230}, nullptr);
    for (int count = 1; count <= 3; ++count) {
        window().touchDown(1, w, count);
        window().touchUp(1, w);
    }
    EXPECT_FALSE(shape->superview());
    EXPECT_TRUE(canvas().subviews().empty());
    EXPECT_FALSE(app().lastMovedTouchImageView());
}

TEST_F(LayersInAppTest, LayersComeBackAfterARelaunchInTheirOrder) {
    launch();
    auto shape = addRedShape();
    shape->setCenter({100, 300});
    addCaption("Hello", {200, 120});
    auto front = addRedShape();
    front->flipView();
    terminate();
    ASSERT_TRUE(fs::is_regular_file(archivePath()));

    launch();
    EXPECT_EQ(layerClasses(),
              (std::vector<std::string>{"TouchImageView", "TextLayerView", "TouchImageView"}));
    const auto& layers = canvas().subviews();
    ASSERT_EQ(layers.size(), 3u);
    EXPECT_EQ(layers[0]->center(), (Point{100, 300}));
    auto caption = std::dynamic_pointer_cast<TextLayerView>(layers[1]);
    ASSERT_TRUE(caption);
    EXPECT_EQ(caption->textString(), "Hello");
    EXPECT_EQ(caption->center(), (Point{200, 120}));
    EXPECT_EQ(app().lastMovedTextLayer(), caption);
    EXPECT_FLOAT_EQ(layers[2]->transform().a, -1);
    // The restored picture shows as before.
    auto shown = canvas().viewToImage();
    ASSERT_TRUE(shown);
    EXPECT_EQ(pixelOf(*shown, 100, 300), kRed);
}

TEST_F(LayersInAppTest, TerminatingWithoutLayersRemovesTheArchive) {
    launch();
    addRedShape();
    terminate();
    ASSERT_TRUE(fs::exists(archivePath()));
    launch();
    ASSERT_EQ(canvas().subviews().size(), 1u);
    app().removeAllSubviews();
    terminate();
    EXPECT_FALSE(fs::exists(archivePath()));
    launch();
    EXPECT_TRUE(canvas().subviews().empty());
}

TEST_F(LayersInAppTest, ADamagedArchiveIsSetAsideAndTheAppStarts) {
    // A painting from an earlier run, and an archive that is not one.
    launch();
    app().setColor(platform::Color::black());
    chooseTool(Tool::PaintBrushTool);
    dragCanvas({50, 100}, {250, 100});
    terminate();
    const auto painting = platform::readFile(home_ / "Documents" / "zorbel.png");
    ASSERT_TRUE(painting);
    const std::string junk = "{\"not\": \"an archive\"";
    ASSERT_TRUE(platform::writeFileAtomically(
        archivePath(), std::string_view(junk)));

    launch();
    EXPECT_TRUE(canvas().subviews().empty());
    EXPECT_NE(shownPixel(canvas(), 150, 100), kWhite);
    // The damaged file was moved, not lost.
    int keptAside = 0;
    for (const auto& entry : fs::directory_iterator(home_ / "Documents"))
        if (entry.path().filename().string().starts_with("Layers.archive") &&
            entry.path() != archivePath())
            ++keptAside;
    EXPECT_EQ(keptAside, 1);
    EXPECT_FALSE(fs::exists(archivePath()));

    // The new run's layers are kept as usual.
    addRedShape();
    terminate();
    EXPECT_TRUE(fs::is_regular_file(archivePath()));
    EXPECT_EQ(*platform::readFile(home_ / "Documents" / "zorbel.png"), *painting);
}

TEST_F(LayersInAppTest, FlattenDrawsTheLayersIntoThePainting) {
    launch();
    // Without layers nothing happens, not even the dirty flag.
    app().setDirtyFlag(false);
    app().flattenImage();
    EXPECT_FALSE(app().dirtyFlag());

    addRedShape();
    app().setDirtyFlag(false);
    // The painting alone never has the layers; the flattened picture has.
    auto alone = main().getImageToSave();
    auto flattened = main().getFlattenedImageToSave();
    ASSERT_TRUE(alone && flattened);
    EXPECT_EQ(pixelOf(*alone, 160, 230), kWhite);
    EXPECT_EQ(pixelOf(*flattened, 160, 230), kRed);

    app().flattenImage();
    EXPECT_TRUE(canvas().subviews().empty());
    EXPECT_FALSE(app().lastMovedTouchImageView());
    EXPECT_TRUE(app().dirtyFlag());
    EXPECT_EQ(shownPixel(canvas(), 160, 230), kRed);
    EXPECT_EQ(shownPixel(canvas(), 5, 230), kWhite);
    // The original is untouched: erasing brings back the picture without them.
    app().eraseToOriginal();
    EXPECT_EQ(shownPixel(canvas(), 160, 230), kWhite);
}

TEST_F(LayersInAppTest, FlattenedPictureIsWrittenAsAFile) {
    launch();
    addRedShape();
    ASSERT_TRUE(main().writeFlattenedImageOut("flat.png"));
    auto written = platform::Image::load(home_ / "Documents" / "flat.png");
    ASSERT_TRUE(written);
    EXPECT_EQ((*written)->width(), 320);
    EXPECT_EQ(pixelOf(**written, 160, 230), kRed);
}

TEST_F(LayersInAppTest, EraseRefreshAndNewDocumentClearTheLayers) {
    launch();
    using Clear = void (*)(CanvoAppDelegate&);
    const Clear clears[] = {[](CanvoAppDelegate& a) { a.eraseToOriginal(); },
                            [](CanvoAppDelegate& a) { a.refreshDrawing(); },
                            [](CanvoAppDelegate& a) { a.removeAllSubviews(); }};
    for (Clear clear : clears) {
        addRedShape();
        addCaption("x", {50, 50});
        ASSERT_TRUE(app().lastMovedTouchImageView() && app().lastMovedTextLayer());
        clear(app());
        EXPECT_TRUE(canvas().subviews().empty());
        EXPECT_FALSE(app().lastMovedTouchImageView());
        EXPECT_FALSE(app().lastMovedTextLayer());
    }
}

TEST_F(LayersInAppTest, ColourChangesRecolourTheLastCaptionOnlyUnderTheTextTool) {
    launch();
    auto caption = addCaption("Colour", {160, 200});
    caption->setFontColor(platform::Color::blueColor());
    chooseTool(Tool::PaintBrushTool);
    app().setColor(platform::Color::rgb(0, 1, 0));
    EXPECT_EQ(caption->fontColor(), platform::Color::blueColor());
    chooseTool(Tool::TextTool);
    app().setColor(platform::Color::rgb(1, 0, 0));
    EXPECT_EQ(caption->fontColor(), platform::Color::rgb(1, 0, 0));
    EXPECT_EQ(app().getSelectedColor(), platform::Color::rgb(1, 0, 0));
}

TEST_F(LayersInAppTest, OverlayTextMakesOneCaptionInThePaintColour) {
    launch();
    app().setColor(platform::Color::rgb(1, 0, 0));
    app().setDirtyFlag(false);
    app().setOverlayText("First");
    auto caption = app().textLayerView();
    ASSERT_TRUE(caption);
    EXPECT_EQ(caption->superview(), &canvas());
    EXPECT_EQ(caption->textString(), "First");
    EXPECT_EQ(caption->fontColor(), platform::Color::rgb(1, 0, 0));
    EXPECT_EQ(caption->center(), (Point{160, 230}));
    EXPECT_TRUE(app().dirtyFlag());
    auto shown = canvas().viewToImage();
    int red = 0;
    for (int y = 180; y < 280; ++y)
        for (int x = 0; x < 320; ++x)
            red += pixelOf(*shown, x, y).red > 200 && pixelOf(*shown, x, y).green < 80;
    EXPECT_GT(red, 50) << "the caption is not drawn";

    app().setColor(platform::Color::rgb(0, 0, 1));
    app().setOverlayText("Second");
    EXPECT_EQ(app().textLayerView(), caption);
    EXPECT_EQ(caption->textString(), "Second");
    EXPECT_EQ(caption->fontColor(), platform::Color::rgb(0, 0, 1));
    EXPECT_EQ(canvas().subviews().size(), 1u);
}

TEST_F(LayersInAppTest, TheToolbarOpensTheTextScreens) {
    launch();
    chrome().textInputAction(nullptr);
    auto input = dynamic_cast<TextInputViewController*>(chrome().modalViewController());
    ASSERT_TRUE(input);
    EXPECT_EQ(input->textValue(), "Some Text");
    chrome().dismissModalViewControllerAnimated(false);
    wait(1);

    auto caption = addCaption("Edit me", {160, 200});
    chrome().presentTextSettings();
    auto settings =
        dynamic_cast<TextSettingsViewController*>(chrome().modalViewController());
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->textLayerView(), caption);
    EXPECT_EQ(settings->textValue(), "Edit me");
}

TEST_F(LayersInAppTest, PickerHostFlipsAndRemovesTheLastMovedLayers) {
    launch();
    AppPickerHost host(app());
    EXPECT_FALSE(host.hasLastMovedTouchImageView());
    host.flipLastMovedTouchImageView(); // nothing to flip: nothing happens
    auto shape = addRedShape();
    ASSERT_TRUE(host.hasLastMovedTouchImageView());
    host.flipLastMovedTouchImageView();
    EXPECT_FLOAT_EQ(shape->transform().a, -1);
    host.flipLastMovedTouchImageView();
    EXPECT_FLOAT_EQ(shape->transform().a, 1);
    host.removeLastMovedTouchImageView();
    EXPECT_FALSE(shape->superview());
    EXPECT_FALSE(host.hasLastMovedTouchImageView());

    auto caption = addCaption("Gone", {100, 100});
    ASSERT_TRUE(host.hasLastMovedTextLayer());
    host.removeLastMovedTextLayer();
    EXPECT_FALSE(caption->superview());
    EXPECT_FALSE(host.hasLastMovedTextLayer());
    EXPECT_TRUE(canvas().subviews().empty());
}

} // namespace
} // namespace zorbel::testing
