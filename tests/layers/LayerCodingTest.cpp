// The coded forms of both layer kinds and the layer archive on a canvas:
// what comes back after a relaunch, and what a damaged archive does.

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <csignal>
#include <random>

#include <nlohmann/json.hpp>
#include <sys/wait.h>
#include <unistd.h>

#include "LayersTestSupport.h"
#include "layers/LayerStack.h"
#include "platform/foundation/ArchiveFile.h"
#include "platform/foundation/KeyedArchiver.h"
#include "platform/foundation/KeyedUnarchiver.h"

namespace zorbel::testing {
namespace {

using platform::AffineTransform;
using platform::Point;
using platform::Rect;
namespace fs = std::filesystem;

class LayerCodingTest : public LayersTest {
protected:
    void SetUp() override {
        LayersTest::SetUp();
        const char* base = std::getenv("ZORBEL_TEST_TMP");
        dir_ = fs::path(base ? base : "/tmp") /
               ("layers-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
        LayersTest::TearDown();
    }

    std::shared_ptr<TouchImageView> hat() {
        auto layer = std::make_shared<TouchImageView>(Rect(0, 0, 700, 300));
        layer->setImage(platform::Image::named("tophat.overlay.png"));
        layer->setOrgImageFilename("tophat.overlay.png");
        layer->setCenter({100, 150});
        const AffineTransform t = AffineTransform::makeRotation(0.7f).scaled(0.5f, 0.5f);
        layer->setOriginalTransform(t);
        layer->setTransform(t);
        return layer;
    }

    std::shared_ptr<TextLayerView> caption() {
        auto layer = std::make_shared<TextLayerView>(Rect(0, 0, 470, 190));
        layer->setTextString("Hello there");
        layer->setFontName("Georgia-Bold");
        layer->setFontSize(60);
        layer->setFont(platform::Font::fontWithName("Georgia-Bold", 60));
        layer->setFontColor(platform::Color::rgb(0.25f, 0.5f, 0.75f, 1));
        layer->setTextPaddingWidth(380);
        layer->setTextPaddingHeight(90);
        layer->setCenter({200, 300});
        const AffineTransform t = AffineTransform::makeRotation(-0.3f).translated(3, 4);
        layer->setOriginalTransform(t);
        layer->setTransform(t);
        return layer;
    }

    static nlohmann::json archiveOf(std::vector<const platform::Codable*> objects) {
        auto text = platform::KeyedArchiver::archivedDataWithRootObjects(objects);
        EXPECT_TRUE(text.ok()) << (text.ok() ? "" : text.error());
        return nlohmann::json::parse(*text);
    }

    static std::vector<std::shared_ptr<platform::Codable>>
    decode(const nlohmann::json& archive, std::vector<std::string>* problems = nullptr) {
        auto coder = platform::KeyedUnarchiver::unarchiverForReadingData(archive.dump(),
                                                                         LayerStack::registry());
        EXPECT_TRUE(coder.ok());
        if (!coder.ok())
            return {};
        auto objects = coder->decodeObjects(platform::KeyedArchiver::rootKey);
        if (problems)
            *problems = coder->problems();
        return objects;
    }

    static nlohmann::json& element(nlohmann::json& archive, std::size_t i) {
        return archive["top"]["root"][i];
    }

    fs::path dir_;
};

TEST_F(LayerCodingTest, BothLayerKindsComeBackInOrderWithCurrentFrameIgnored) {
    auto picture = hat();
    auto text = caption();
    nlohmann::json archive = archiveOf({picture.get(), text.get()});
    ASSERT_EQ(element(archive, 0)["$class"], "TouchImageView");
    ASSERT_EQ(element(archive, 1)["$class"], "TextLayerView");
    // What "CurrentFrame" says plays no part; without it the layer still reads.
    element(archive, 0)["CurrentFrame"] = {1, 2, 3, 4};
    element(archive, 1).erase("CurrentFrame");

    const auto objects = decode(archive);
    ASSERT_EQ(objects.size(), 2u);
    auto p = std::dynamic_pointer_cast<TouchImageView>(objects[0]);
    auto t = std::dynamic_pointer_cast<TextLayerView>(objects[1]);
    ASSERT_TRUE(p && t);

    EXPECT_EQ(p->orgImageFilename(), "tophat.overlay.png");
    EXPECT_TRUE(p->image());
    EXPECT_EQ(p->orgFrameRect(), Rect(0, 0, 700, 300));
    EXPECT_EQ(p->bounds().size, (platform::Size{700, 300}));
    EXPECT_EQ(p->center(), (Point{100, 150}));
    EXPECT_EQ(p->originalTransform(), picture->originalTransform());
    EXPECT_EQ(p->transform(), picture->originalTransform());
    EXPECT_EQ(p->frame(), picture->frame());
    EXPECT_TRUE(p->isUserInteractionEnabled() && p->isMultipleTouchEnabled());

    EXPECT_EQ(t->textString(), "Hello there");
    EXPECT_EQ(t->fontName(), "Georgia-Bold");
    EXPECT_EQ(t->fontSize(), 60);
    ASSERT_TRUE(t->font());
    EXPECT_EQ(t->font()->pointSize(), 60);
    EXPECT_EQ(t->fontColor(), platform::Color::rgb(0.25f, 0.5f, 0.75f, 1));
    EXPECT_EQ(t->textPaddingWidth(), 380);
    EXPECT_EQ(t->textPaddingHeight(), 90);
    EXPECT_EQ(t->center(), (Point{200, 300}));
    EXPECT_EQ(t->originalTransform(), text->originalTransform());
    EXPECT_EQ(t->transform(), text->originalTransform());
    // The size is the text's, plus the margin and the paddings.
    const platform::Size textSize = t->font()->sizeOfString("Hello there");
    EXPECT_EQ(t->bounds().size, (platform::Size{textSize.width + 400, textSize.height + 110}));

    // The last of each kind read is the delegate's current one.
    EXPECT_EQ(delegate.lastImage, p);
    EXPECT_EQ(delegate.lastText, t);
}

TEST_F(LayerCodingTest, APictureNameOutsideTheResourcesLoadsNothing) {
    auto picture = hat();
    nlohmann::json archive = archiveOf({picture.get(), picture.get(), picture.get()});
    element(archive, 0)["ImageFileName"] = "../../../etc/passwd";
    element(archive, 1)["ImageFileName"] = "/tmp/tophat.overlay.png";
    element(archive, 2)["ImageFileName"] = "nosuchpicture.png";
    const auto objects = decode(archive);
    ASSERT_EQ(objects.size(), 3u) << "the layers themselves are kept";
    for (const auto& o : objects)
        EXPECT_FALSE(std::dynamic_pointer_cast<TouchImageView>(o)->image());
    EXPECT_TRUE(platform::logContains("Layer picture not found"));
}

TEST_F(LayerCodingTest, AbsurdValuesRefuseTheirLayerAndKeepTheOthers) {
    auto picture = hat();
    auto text = caption();
    // Each case damages the picture layer (element 0) or the caption (element 1).
    struct Case {
        const char* what;
        std::size_t index;
        std::function<void(nlohmann::json& layer)> damage;
    };
    const std::vector<Case> cases = {
        {"missing centre", 0, [](auto& l) { l.erase("Center"); }},
        {"huge frame", 0,
         [](auto& l) {
             l["OrgFrame"] = {0, 0, 100000, 300};
         }},
        {"overflowing coordinate", 0,
         [](auto& l) {
             l["Center"] = {1e39, 0};
         }},
        {"transform text", 0, [](auto& l) { l["OriginalTransform"] = "[1, 0, 0, nan, 0, 0]"; }},
        {"font size zero", 1, [](auto& l) { l["FontSize"] = 0; }},
        {"font size huge", 1, [](auto& l) { l["FontSize"] = 1e30; }},
        {"negative padding", 1, [](auto& l) { l["TextPaddingWidth"] = -5; }},
        {"text not a string", 1, [](auto& l) { l["TextString"] = 12; }},
        {"colour out of range", 1,
         [](auto& l) {
             l["FontColor"] = {2, 0, 0, 1};
         }},
    };
    for (const Case& c : cases) {
        nlohmann::json archive = archiveOf({text.get(), picture.get(), text.get()});
        // Damage the first element of the kind; the third is the same kind, intact.
        nlohmann::json intact = archiveOf({picture.get(), text.get()});
        element(archive, 0) = element(intact, c.index);
        element(archive, 2) = element(intact, c.index);
        element(archive, 1) = element(intact, 1 - c.index);
        c.damage(element(archive, 0));
        std::vector<std::string> problems;
        const auto objects = decode(archive, &problems);
        EXPECT_EQ(objects.size(), 2u) << c.what;
        EXPECT_EQ(problems.size(), 1u) << c.what;
    }
    // A refused layer never becomes the delegate's current one.
    nlohmann::json archive = archiveOf({text.get()});
    element(archive, 0)["FontSize"] = -1;
    delegate.lastText = nullptr;
    EXPECT_TRUE(decode(archive).empty());
    EXPECT_EQ(delegate.lastText, nullptr);
}

TEST_F(LayerCodingTest, TheCanvasLayersGoToTheArchiveFileAndComeBackInOrder) {
    const platform::ArchiveFile file(dir_ / LayerStack::kArchiveFileName);
    auto first = hat();
    auto second = caption();
    auto third = hat();
    third->setCenter({250, 400});
    canvas->addSubview(first);
    canvas->addSubview(second);
    canvas->addSubview(third);
    ASSERT_TRUE(LayerStack::saveLayers(*canvas, file));
    ASSERT_TRUE(fs::is_regular_file(file.path()));

    auto relaunched = std::make_shared<RecordingCanvas>(Rect(0, 0, 320, 480));
    EXPECT_EQ(LayerStack::readLayers(*relaunched, file), 3u);
    const auto& subs = relaunched->subviews();
    ASSERT_EQ(subs.size(), 3u);
    EXPECT_EQ(subs[0]->className(), "TouchImageView");
    EXPECT_EQ(subs[1]->className(), "TextLayerView");
    EXPECT_EQ(subs[2]->className(), "TouchImageView");
    EXPECT_EQ(subs[2]->center(), (Point{250, 400}));
    EXPECT_EQ(delegate.lastImage, subs[2]);

    // With no layers left the archive goes away.
    LayerStack::removeAllSubviews(*canvas, &delegate);
    EXPECT_TRUE(canvas->subviews().empty());
    EXPECT_EQ(delegate.lastImage, nullptr);
    EXPECT_EQ(delegate.lastText, nullptr);
    ASSERT_TRUE(LayerStack::saveLayers(*canvas, file));
    EXPECT_FALSE(fs::exists(file.path()));
    EXPECT_EQ(LayerStack::readLayers(*relaunched, file), 0u);
}

TEST_F(LayerCodingTest, ADamagedArchiveIsSetAsideAndItsGoodLayersStillArrive) {
    const platform::ArchiveFile file(dir_ / LayerStack::kArchiveFileName);
    auto picture = hat();
    auto text = caption();
    nlohmann::json archive = archiveOf({picture.get(), text.get(), picture.get()});
    element(archive, 1)["$class"] = "CanvoAppDelegate";
    std::ofstream(file.path()) << archive.dump();

    EXPECT_EQ(LayerStack::readLayers(*canvas, file), 2u);
    EXPECT_FALSE(fs::exists(file.path())) << "set aside, so termination cannot write over it";
    bool asideFound = false;
    for (const auto& entry : fs::directory_iterator(dir_))
        asideFound |= entry.path().filename().string().starts_with("Layers.archive.damaged");
    EXPECT_TRUE(asideFound);

    // Not an archive at all: nothing is added, nothing is lost.
    std::ofstream(file.path()) << "{\"layers\": [1, 2, 3]";
    auto fresh = std::make_shared<RecordingCanvas>(Rect(0, 0, 320, 480));
    EXPECT_EQ(LayerStack::readLayers(*fresh, file), 0u);
    EXPECT_TRUE(fresh->subviews().empty());
}

TEST_F(LayerCodingTest, RemovingLayersLeavesOtherViewsAndSwitchesTouchesByKind) {
    auto picture = hat();
    auto text = caption();
    auto other = std::make_shared<platform::View>(Rect(0, 0, 10, 10));
    canvas->addSubview(picture);
    canvas->addSubview(text);
    canvas->addSubview(other);

    LayerStack::disableUserInteractionLayers(*canvas);
    EXPECT_FALSE(picture->isUserInteractionEnabled());
    EXPECT_FALSE(text->isUserInteractionEnabled());
    LayerStack::enableUserInteractionOverlays(*canvas);
    EXPECT_TRUE(picture->isUserInteractionEnabled());
    EXPECT_FALSE(text->isUserInteractionEnabled());
    LayerStack::enableUserInteractionTextLayers(*canvas);
    LayerStack::disableUserInteractionOverlays(*canvas);
    EXPECT_FALSE(picture->isUserInteractionEnabled());
    EXPECT_TRUE(text->isUserInteractionEnabled());
    EXPECT_TRUE(other->isUserInteractionEnabled());

    LayerStack::removeAllSubviews(*canvas, &delegate);
    ASSERT_EQ(canvas->subviews().size(), 1u);
    EXPECT_EQ(canvas->subviews()[0], other);
    EXPECT_TRUE(platform::logContains("Unknown subview"));
}

// A process killed while it writes the archive (SIGKILL, at a random moment
// of a loop that writes three layers, then forty, then none) leaves the file
// of one of the writes whole: it reads without a problem and holds 3 or 40
// layers, or is absent.
TEST_F(LayerCodingTest, AnArchiveWriteKilledAtAnyMomentLeavesOneWholeVersion) {
    const platform::ArchiveFile file(dir_ / LayerStack::kArchiveFileName);
    auto few = std::make_shared<RecordingCanvas>(Rect(0, 0, 320, 480));
    for (int i = 0; i < 3; ++i)
        few->addSubview(hat());
    auto many = std::make_shared<RecordingCanvas>(Rect(0, 0, 320, 480));
    for (int i = 0; i < 40; ++i) {
        auto layer = caption();
        layer->setTextString("Caption " + std::to_string(i));
        many->addSubview(layer);
    }
    auto none = std::make_shared<RecordingCanvas>(Rect(0, 0, 320, 480));
    std::mt19937 rng(15);
    std::map<std::size_t, int> seen;
    // Twelve kills at least; more, over a longer span, while they have all
    // found the same version (a loaded machine writes slowly).
    for (int kill = 0; kill < 12 || (seen.size() < 2 && kill < 48); ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::alarm(20); // never outlives a parent that failed
            for (;;) {
                (void)LayerStack::saveLayers(*few, file);
                (void)LayerStack::saveLayers(*many, file);
                (void)LayerStack::saveLayers(*none, file);
            }
        }
        ::usleep(useconds_t(2000 + rng() % (150000u * unsigned(1 + kill / 12))));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself";

        platform::clearLogCapture();
        const platform::ArchiveFile reader(file.path());
        const platform::ArchiveFile::Contents contents =
            reader.readRootObjects(LayerStack::registry());
        ASSERT_TRUE(contents.problems.empty())
            << "kill " << kill << ": " << contents.problems.front();
        const std::size_t count = contents.objects.size();
        EXPECT_TRUE(count == 0 || count == 3 || count == 40) << count << " layers";
        ++seen[count];
        // A temporary file a kill cut off never stands in the archive's place.
        for (const auto& item : fs::directory_iterator(dir_))
            EXPECT_TRUE(item.path() == file.path() || item.path().filename().string()[0] == '.')
                << item.path();
    }
    EXPECT_GE(seen.size(), 2u) << "the kills all fell on the same version: " << seen.begin()->first;
}

} // namespace
} // namespace zorbel::testing
