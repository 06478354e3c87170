#include <cstring>
#include <fstream>

#include "CanvasTestSupport.h"
#include "platform/foundation/FileIO.h"

namespace zorbel::testing {
namespace {

using platform::Color;
using platform::Rect;

constexpr std::size_t kBufferBytes = 320 * 480 * 4;

void paintRect(PaintingView& view, const Rect& screenRect, const Color& color) {
    view.reloadOffscreenBufferIfNecessary();
    view.offscreenPaintContext()->setFillColor(color);
    view.offscreenPaintContext()->fillRect(screenRect);
}

std::vector<std::uint8_t> offscreenBytes(const PaintingView& view) {
    return bytesOf(view.offscreenBitmapData(), kBufferBytes);
}

std::vector<std::uint8_t> undoBytes(const PaintingView& view) {
    return bytesOf(view.undoBitmapData(), kBufferBytes);
}

void writeGarbage(const std::filesystem::path& path) {
    std::ofstream(path, std::ios::binary) << "\x89PNG\r\n\x1a\n but then nothing sensible";
}

// A canvas whose memory runs out on request.
class StarvedPaintingView : public PaintingView {
public:
    bool starved = false;

protected:
    std::uint8_t* allocateBlock(std::size_t bytes) override {
        return starved ? nullptr : PaintingView::allocateBlock(bytes);
    }
};

using BuffersTest = CanvasTest;

TEST_F(BuffersTest, FirstLaunchWithNoFilesStartsFromTheWhiteSheet) {
    auto view = makeCanvas();
    EXPECT_TRUE(logHas("tmpOrgImage not found.  Use BGimage"));
    const int notFound = logIndexOf("Raw Named Image not found!");
    ASSERT_GE(notFound, 0);
    EXPECT_EQ(platform::logLines()[std::size_t(notFound) + 1], "tempundo.png");
    ASSERT_TRUE(view->orgUIImage());
    EXPECT_EQ(view->orgUIImage()->width(), view->bgUIImage()->width());
    EXPECT_TRUE(std::equal(view->orgUIImage()->bytes().begin(), view->orgUIImage()->bytes().end(),
                           view->bgUIImage()->bytes().begin(), view->bgUIImage()->bytes().end()));
    EXPECT_EQ(screenPixel(*view, 0, 0), (ARGBColorBytes{255, 255, 255, 255}));
    EXPECT_EQ(screenPixel(*view, 319, 479), (ARGBColorBytes{255, 255, 255, 255}));
    EXPECT_EQ(bytesOf(view->orgImageBitmapData(), kBufferBytes), offscreenBytes(*view));
    EXPECT_FALSE(view->undoImageHasBeenSaved());
    EXPECT_EQ(view->bufferRect(), Rect(0, 0, 320, 480));
    EXPECT_EQ(view->frame(), Rect(0, 0, 320, 480));
    EXPECT_EQ(view->bitmapByteCount(), 614400);
    EXPECT_FLOAT_EQ(view->strokeRenderer().brushAlpha(), 0.5f);
    EXPECT_TRUE(view->touchState().showCursor);
    EXPECT_EQ(view->touchState().fingerOffset, (platform::Point{0, -32}));
    EXPECT_EQ(view->brush().size(), 32); // the start brush's width
    EXPECT_EQ(delegate_.documentOrientation(), 1);
}

TEST_F(BuffersTest, UndoTwiceRestoresThePicture) {
    auto view = makeCanvas();
    view->rawcopyToUndoBuffer();
    const auto before = offscreenBytes(*view);
    paintRect(*view, Rect(10, 20, 30, 40), Color::rgb(1, 0, 0));
    const auto painted = offscreenBytes(*view);
    ASSERT_NE(before, painted);

    view->switchUndoBuffer();
    EXPECT_EQ(offscreenBytes(*view), before);
    EXPECT_EQ(undoBytes(*view), painted);
    view->switchUndoBuffer();
    EXPECT_EQ(offscreenBytes(*view), painted);
    EXPECT_EQ(undoBytes(*view), before);
}

TEST_F(BuffersTest, UndoOfAPictureWithHolesDrawsEachOverTheOther) {
    // Each picture is drawn over the other: a transparent undo picture leaves
    // the painting as it is, and the undo buffer receives the painting.
    auto view = makeCanvas();
    std::memset(view->undoBitmapData(), 0, kBufferBytes);
    const auto painting = offscreenBytes(*view);
    view->switchUndoBuffer();
    EXPECT_EQ(offscreenBytes(*view), painting);
    EXPECT_EQ(undoBytes(*view), painting);
}

TEST_F(BuffersTest, CopiesMoveTheWholeBuffer) {
    auto view = makeCanvas();
    paintRect(*view, Rect(0, 0, 5, 5), Color::rgb(0, 1, 0));
    view->copyToUndoBuffer();
    EXPECT_EQ(undoBytes(*view), offscreenBytes(*view));
    const auto green = offscreenBytes(*view);

    paintRect(*view, Rect(0, 0, 5, 5), Color::rgb(0, 0, 1));
    view->copyFromUndoBuffer();
    EXPECT_EQ(offscreenBytes(*view), green);

    view->eraseImageToOriginal();
    EXPECT_EQ(offscreenBytes(*view), bytesOf(view->orgImageBitmapData(), kBufferBytes));
    EXPECT_EQ(undoBytes(*view), green); // undo brings the painting back
    view->switchUndoBuffer();
    EXPECT_EQ(offscreenBytes(*view), green);
}

TEST_F(BuffersTest, LowMemoryFlushAndReloadGiveBackTheSameBytes) {
    auto view = makeCanvas();
    paintRect(*view, Rect(10, 10, 100, 50), Color::rgb(0.2f, 0.4f, 0.6f));
    view->rawcopyToUndoBuffer();
    paintRect(*view, Rect(200, 300, 50, 50), Color::rgb(1, 1, 0));
    const auto painting = offscreenBytes(*view);
    const auto undo = undoBytes(*view);
    const auto original = bytesOf(view->orgImageBitmapData(), kBufferBytes);
    platform::clearLogCapture();

    view->lowMemoryWarning();
    EXPECT_EQ(platform::logLines(), std::vector<std::string>{"Paint view lowMemoryWarning"});
    EXPECT_EQ(view->offscreenPaintContext(), nullptr);
    EXPECT_EQ(view->offscreenBitmapData(), nullptr);
    EXPECT_EQ(view->undoLayerContext(), nullptr);
    EXPECT_EQ(view->orgImageOffscreenContext(), nullptr);
    EXPECT_EQ(view->strokeRenderer().layer(), nullptr);
    EXPECT_TRUE(view->undoImageHasBeenSaved());
    for (auto name : {"tempimage.png", "tempundo.png", "zorbelorgimage.png"})
        EXPECT_TRUE(platform::fileExists(documents() / name)) << name;

    view->reloadPaintOffscreensIfNecessary();
    EXPECT_TRUE(logHas("Needed to reloadOffscreenBuffer"));
    EXPECT_EQ(offscreenBytes(*view), painting);
    EXPECT_EQ(undoBytes(*view), undo);
    ASSERT_NE(view->strokeRenderer().layer(), nullptr);

    view->reloadOrgImageBufferIfNecessary();
    EXPECT_TRUE(logHas("Needed to reloadOrgImageBuffer"));
    EXPECT_EQ(bytesOf(view->orgImageBitmapData(), kBufferBytes), original);
}

TEST_F(BuffersTest, GroupFlushesLogTheirLineAndKeepWhatTheyDoNotFlush) {
    auto view = makeCanvas();
    view->flushAuxillaryBuffers();
    EXPECT_TRUE(logHas("flushAuxillaryBuffers"));
    EXPECT_NE(view->offscreenPaintContext(), nullptr);
    EXPECT_EQ(view->undoLayerContext(), nullptr);
    EXPECT_EQ(view->orgImageOffscreenContext(), nullptr);
    EXPECT_EQ(view->strokeRenderer().layer(), nullptr);

    view->flushAllBuffers();
    EXPECT_TRUE(logHas("flushAllBuffers"));
    EXPECT_EQ(view->offscreenPaintContext(), nullptr);
    // A second flush of flushed buffers has nothing to write and says nothing.
    platform::clearLogCapture();
    view->flushAllBuffers();
    EXPECT_EQ(platform::logLines(), std::vector<std::string>{"flushAllBuffers"});
}

TEST_F(BuffersTest, FailedFlushWriteKeepsEveryBufferResident) {
    // A folder where the file should go makes every write fail.
    auto view = makeCanvas();
    paintRect(*view, Rect(0, 0, 10, 10), Color::rgb(1, 0, 0));
    const auto painting = offscreenBytes(*view);
    for (auto name : {"tempimage.png", "tempundo.png", "zorbelorgimage.png"})
        std::filesystem::create_directories(documents() / name);

    view->lowMemoryWarning();
    EXPECT_TRUE(logHas("Problem saving temp image"));
    EXPECT_TRUE(logHas("problem saving undo file"));
    EXPECT_TRUE(logHas("Problem in flushOrgImageBuffer with writeOrgImageOut"));
    EXPECT_NE(view->offscreenPaintContext(), nullptr);
    EXPECT_NE(view->undoLayerContext(), nullptr);
    EXPECT_NE(view->orgImageOffscreenContext(), nullptr);
    EXPECT_FALSE(view->undoImageHasBeenSaved());
    EXPECT_EQ(offscreenBytes(*view), painting);
}

TEST_F(BuffersTest, ARecreatedBufferWithoutFileIsTransparent) {
    auto view = makeCanvas();
    view->flushUndoBufferNoSave();
    EXPECT_FALSE(view->undoImageHasBeenSaved());
    view->reloadUndoBufferIfNecessary();
    EXPECT_EQ(undoBytes(*view), std::vector<std::uint8_t>(kBufferBytes, 0));

    // The offscreen buffer's file is missing: it comes back empty, logged.
    view->flushOffscreenBuffer();
    std::filesystem::remove(documents() / "tempimage.png");
    platform::clearLogCapture();
    view->reloadOffscreenBufferIfNecessary();
    EXPECT_EQ(platform::logLines(),
              (std::vector<std::string>{"Needed to reloadOffscreenBuffer", "Raw Image not found!",
                                        "tempimage.png"}));
    EXPECT_EQ(offscreenBytes(*view), std::vector<std::uint8_t>(kBufferBytes, 0));
}

TEST_F(BuffersTest, DamagedDocumentFilesAreTreatedAsMissing) {
    std::filesystem::create_directories(documents());
    for (auto name : {"zorbel.png", "zorbelorgimage.png", "tempundo.png"})
        writeGarbage(documents() / name);
    auto view = makeCanvas();
    // The white sheet stands in for the damaged painting.
    EXPECT_EQ(screenPixel(*view, 100, 100), (ARGBColorBytes{255, 255, 255, 255}));
    const auto lines = platform::logLines();
    const int org = logIndexOf("tmpOrgImage not found.  Use BGimage");
    ASSERT_GE(org, 0);
    EXPECT_NE(lines[std::size_t(org) + 1].find("zorbelorgimage.png is damaged"), std::string::npos);
    const int undo = logIndexOf("Raw Named Image not found!");
    ASSERT_GE(undo, 0);
    EXPECT_EQ(lines[std::size_t(undo) + 1], "tempundo.png");
    EXPECT_NE(lines[std::size_t(undo) + 2].find("tempundo.png is damaged"), std::string::npos);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("zorbel.png is damaged") != std::string::npos;
    }));
}

TEST_F(BuffersTest, TerminationFilesBringTheDocumentBack) {
    std::vector<std::uint8_t> painting, original, undo;
    {
        auto view = makeCanvas();
        view->rawcopyToUndoBuffer();
        paintRect(*view, Rect(50, 60, 70, 80), Color::rgb(0, 0.5f, 1));
        painting = offscreenBytes(*view);
        original = bytesOf(view->orgImageBitmapData(), kBufferBytes);
        undo = undoBytes(*view);
        EXPECT_TRUE(view->writeImageOut("zorbel.png"));
        EXPECT_TRUE(view->writeOrgImageOut("zorbelorgimage.png"));
        EXPECT_TRUE(view->writeUndoImageOut("tempundo.png"));
        EXPECT_TRUE(view->undoImageHasBeenSaved());
    }
    platform::clearLogCapture();
    auto view = makeCanvas();
    EXPECT_FALSE(logHas("tmpOrgImage not found.  Use BGimage"));
    EXPECT_FALSE(logHas("Raw Named Image not found!"));
    EXPECT_EQ(offscreenBytes(*view), painting);
    // The original and the undo picture come into their buffers when first
    // needed; a termination before that leaves their files as they were.
    EXPECT_EQ(view->orgImageOffscreenContext(), nullptr);
    EXPECT_EQ(view->undoLayerContext(), nullptr);
    EXPECT_TRUE(view->undoImageHasBeenSaved());
    const auto fileBytes = [&](const char* name) {
        auto bytes = platform::readFile(documents() / name);
        return bytes ? bytes.value() : std::vector<std::uint8_t>{};
    };
    const auto originalFile = fileBytes("zorbelorgimage.png");
    const auto undoFile = fileBytes("tempundo.png");
    ASSERT_FALSE(originalFile.empty());
    view->flushAuxillaryBuffers();
    EXPECT_EQ(fileBytes("zorbelorgimage.png"), originalFile);
    EXPECT_EQ(fileBytes("tempundo.png"), undoFile);

    view->reloadOrgImageBufferIfNecessary();
    view->reloadUndoBufferIfNecessary();
    EXPECT_EQ(bytesOf(view->orgImageBitmapData(), kBufferBytes), original);
    EXPECT_EQ(undoBytes(*view), undo);
}

TEST_F(BuffersTest, ReturningPaintingFetchesItsUndoAndOriginalForEachUse) {
    std::vector<std::uint8_t> painting, original;
    {
        auto view = makeCanvas();
        paintRect(*view, Rect(10, 10, 40, 40), Color::rgb(1, 0, 0));
        view->rawcopyToUndoBuffer(); // the undo picture holds the red square
        paintRect(*view, Rect(200, 300, 40, 40), Color::rgb(0, 0, 1));
        painting = offscreenBytes(*view);
        original = bytesOf(view->orgImageBitmapData(), kBufferBytes);
        EXPECT_TRUE(view->writeImageOut("zorbel.png"));
        EXPECT_TRUE(view->writeOrgImageOut("zorbelorgimage.png"));
        EXPECT_TRUE(view->writeUndoImageOut("tempundo.png"));
    }
    {
        // Undo straight after the launch shows the picture before the blue square.
        auto view = makeCanvas();
        view->switchUndoBuffer();
        EXPECT_EQ(screenPixel(*view, 20, 20), (ARGBColorBytes{255, 255, 0, 0}));
        EXPECT_EQ(screenPixel(*view, 210, 310), (ARGBColorBytes{255, 255, 255, 255}));
        view->switchUndoBuffer();
        EXPECT_EQ(offscreenBytes(*view), painting);
    }
    {
        // Erasing to the original straight after the launch.
        auto view = makeCanvas();
        view->eraseImageToOriginal();
        EXPECT_EQ(offscreenBytes(*view), original);
        EXPECT_EQ(undoBytes(*view), painting);
    }
}

TEST_F(BuffersTest, WritingFromAFlushedBufferFails) {
    auto view = makeCanvas();
    EXPECT_FALSE(view->writeOnlyRawImageNamed("x.png", nullptr));
    EXPECT_TRUE(logHas("writeOnlyRawImageNamed image is nil"));
    EXPECT_FALSE(platform::fileExists(documents() / "x.png"));
}

TEST_F(BuffersTest, OutOfMemoryLeavesTheBufferFlushedAndNamesTheOperation) {
    auto view = std::make_shared<StarvedPaintingView>();
    view->setDelegate(&delegate_);
    view->awakeFromNib();
    view->starved = true;
    view->recreateOrgImageBuffer();
    EXPECT_TRUE(logHas(" ++++++++++++++++ Out of Memory! recreateOrgImageBuffer 1"));
    EXPECT_EQ(view->orgImageOffscreenContext(), nullptr);
    EXPECT_EQ(view->orgImageBitmapData(), nullptr);
    view->recreateUndoBuffer();
    EXPECT_TRUE(logHas(" ++++++++++++++++ Out of Memory! recreateUndoBuffer 2"));
    EXPECT_EQ(view->undoLayerContext(), nullptr);
    view->recreateOffscreenBuffer();
    EXPECT_TRUE(logHas(" ++++++++++++++++ Out of Memory! recreateOffscreenBuffer 1"));
    EXPECT_EQ(view->offscreenPaintContext(), nullptr);
    // Without memory every operation draws into nothing and nothing breaks.
    view->copyToUndoBuffer();
    view->switchUndoBuffer();
    view->drawBrushAt(10, 10);
    EXPECT_EQ(view->getPixelValueAt(0, 0), (ARGBColorBytes{255, 0, 0, 0}));
}

TEST_F(BuffersTest, StartUpWithoutMemoryStopsAtTheFirstBuffer) {
    auto view = std::make_shared<StarvedPaintingView>();
    view->setDelegate(&delegate_);
    view->starved = true;
    view->awakeFromNib();
    EXPECT_TRUE(logHas(" ++++++++++++++++ Out of Memory! awakeFromNib 1"));
    EXPECT_EQ(view->offscreenPaintContext(), nullptr);
}

TEST_F(BuffersTest, PixelReadsStayInsideTheBuffer) {
    auto view = makeCanvas();
    paintRect(*view, Rect(0, 470, 1, 10), Color::rgb(1, 0, 0)); // bottom-left on screen
    EXPECT_EQ(view->getPixelValueAt(0, 0), (ARGBColorBytes{255, 255, 0, 0})); // memory row 0
    EXPECT_EQ(view->getPixelValueAt(1, 0), (ARGBColorBytes{255, 255, 255, 255}));
    const ARGBColorBytes outside{255, 0, 0, 0};
    EXPECT_EQ(view->getPixelValueAt(-1, 0), outside);
    EXPECT_EQ(view->getPixelValueAt(320, 0), outside);
    EXPECT_EQ(view->getPixelValueAt(0, 480), outside);
    EXPECT_EQ(view->getPixelValueAt(0, -1), outside);
    const Color c = PaintingView::ARGBtoUIColor(0x336699ffu); // bytes ff 99 66 33
    EXPECT_FLOAT_EQ(c.red(), 0x99 / 255.0f);
    EXPECT_FLOAT_EQ(c.green(), 0x66 / 255.0f);
    EXPECT_FLOAT_EQ(c.blue(), 0x33 / 255.0f);
    EXPECT_FLOAT_EQ(c.alpha(), 1);
}

} // namespace
} // namespace zorbel::testing
