#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "platform/foundation/Log.h"
#include "platform/ui/Control.h"
#include "platform/ui/InterfaceLoader.h"
#include "platform/ui/ViewController.h"

using namespace platform;

namespace {

class PanelOwner : public InterfaceOwner {
public:
    PanelOwner() {
        registerAction("done:", [this](ActionSender*) { calls.push_back("done"); });
        registerAction("changed:", [this](ActionSender*) { calls.push_back("changed"); });
        registerOutlet("panel", panel);
    }
    std::vector<std::string> calls;
    std::shared_ptr<View> panel;
};

Result<std::shared_ptr<View>> loadText(const std::string& text, InterfaceOwner* owner) {
    return InterfaceLoader::loadString(text, "Test.json", owner);
}

std::string errorOf(const std::string& text) {
    PanelOwner owner;
    auto r = loadText(text, &owner);
    return r ? std::string("loaded") : r.error();
}

} // namespace

TEST(InterfaceLoader, BuildsTheTreeWithItsSettingsOutletsAndActions) {
    PanelOwner owner;
    auto loaded =
        InterfaceLoader::loadFile(ZORBEL_SOURCE_DIR "/tests/platform/ui/TestPanel.json", &owner);
    ASSERT_TRUE(loaded) << loaded.error();
    std::shared_ptr<View> root = loaded.value();
    EXPECT_EQ(root->frame(), Rect(0, 0, 320, 460));
    EXPECT_EQ(root->autoresizingMask(), 18u);
    ASSERT_TRUE(root->backgroundColor());
    EXPECT_NEAR(root->backgroundColor()->green(), 0x30 / 255.0f, 1e-6f);
    View* panel = root->viewWithTag(5);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(owner.panel.get(), panel);
    EXPECT_TRUE(panel->clipsToBounds());
    EXPECT_EQ(panel->backgroundColor()->alpha(), 0.5f);
    auto* done = dynamic_cast<Control*>(root->viewWithTag(6));
    auto* changed = dynamic_cast<Control*>(root->viewWithTag(7));
    ASSERT_TRUE(done && changed);
    EXPECT_TRUE(done->answersToPressName("Done"));
    EXPECT_FALSE(changed->isEnabled());
    // The default event of a plain control is touch-up-inside.
    done->sendActionsForControlEvents(ControlEventTouchUpInside);
    changed->sendActionsForControlEvents(ControlEventTouchUpInside);
    changed->sendActionsForControlEvents(ControlEventValueChanged);
    changed->sendActionsForControlEvents(ControlEventTouchDown);
    EXPECT_EQ(owner.calls, (std::vector<std::string>{"done", "changed", "changed"}));
    View* footer = root->viewWithTag(8);
    EXPECT_TRUE(footer->isHidden());
    EXPECT_EQ(footer->alpha(), 0.5f);
    EXPECT_EQ(footer->autoresizingMask(), 10u);
    EXPECT_EQ(footer->contentMode(), ContentMode::ScaleAspectFit);
}

TEST(InterfaceLoader, NamesTheFileTheNodeAndTheReasonOfEachError) {
    EXPECT_EQ(errorOf(R"({"class": "Gizmo"})"), "Test.json: root (Gizmo): unknown class \"Gizmo\"");
    EXPECT_EQ(errorOf(R"({"class": "View", "subviews": [{"class": "View"},
                         {"class": "Control", "action": "fly:"}]})"),
              "Test.json: root (View).subviews[1] (Control): unknown action \"fly:\"");
    EXPECT_EQ(errorOf(R"({"class": "View", "outlet": "nothing"})"),
              "Test.json: root (View): unknown outlet \"nothing\"");
    EXPECT_EQ(errorOf(R"({"class": "View", "frmae": [0, 0, 1, 1]})"),
              "Test.json: root (View): unknown key \"frmae\" for View");
    EXPECT_EQ(errorOf(R"({"class": "View", "frame": [0, 0, 1]})"),
              "Test.json: root (View): \"frame\" must be [x, y, width, height]: [0,0,1]");
    // A damaged file's geometry is refused, not laid out (it cannot be drawn).
    EXPECT_EQ(errorOf(R"({"class": "View", "frame": [0, 0, 320, 446666666666666666]})"),
              "Test.json: root (View): \"frame\" must be [x, y, width, height]: "
              "[0,0,320,446666666666666666]");
    EXPECT_EQ(errorOf(R"({"class": "View", "tag": "7"})"),
              "Test.json: root (View): \"tag\" must be an integer, not string");
    EXPECT_EQ(errorOf(R"({"class": "View", "backgroundColor": "#12"})"),
              "Test.json: root (View): \"backgroundColor\" is not a colour: \"#12\"");
    EXPECT_EQ(errorOf(R"({"class": "Control", "events": "touchSideways"})"),
              "Test.json: root (Control): unknown control event \"touchSideways\"");
    EXPECT_EQ(errorOf(R"({"frame": [0, 0, 1, 1]})"), "Test.json: root: \"class\" is missing");
    EXPECT_EQ(errorOf("{ not json"), "Test.json: not valid JSON");
    EXPECT_EQ(errorOf("[1, 2]"), "Test.json: the top level must be an object");
    // Several errors: the first, and how many more.
    EXPECT_EQ(errorOf(R"({"class": "View", "tag": 1.5, "alpha": "x"})"),
              "Test.json: root (View): \"tag\" must be an integer, not number (and 1 more)");
}

TEST(InterfaceLoader, AnUnknownPictureIsAnError) {
    InterfaceLoader::registerClass("PictureProbe", [](InterfaceNode& node) {
        auto v = std::make_shared<View>();
        node.image("image");
        return v;
    });
    InterfaceLoader::setImageProvider([](const std::string& name) -> ImageRef {
        if (name != "known.png")
            return nullptr;
        return Image::create(1, 1, {255, 0, 0, 0}).value();
    });
    EXPECT_EQ(errorOf(R"({"class": "PictureProbe", "image": "known.png"})"), "loaded");
    EXPECT_EQ(errorOf(R"({"class": "PictureProbe", "image": "missing.png"})"),
              "Test.json: root (PictureProbe): unknown picture \"missing.png\"");
    InterfaceLoader::setImageProvider(nullptr);
}

TEST(InterfaceLoader, AppClassesReadTheirOwnSettings) {
    struct Gauge : View {
        float level = 0;
        std::vector<std::string> marks;
    };
    InterfaceLoader::registerClass("Gauge", [](InterfaceNode& node) {
        auto g = std::make_shared<Gauge>();
        g->level = float(node.number("level").value_or(0));
        g->marks = node.strings("marks").value_or(std::vector<std::string>{});
        return g;
    });
    PanelOwner owner;
    auto r =
        loadText(R"({"class": "Gauge", "level": 0.25, "marks": ["a", "b"], "tag": 3})", &owner);
    ASSERT_TRUE(r) << r.error();
    auto* g = dynamic_cast<Gauge*>(r.value().get());
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->level, 0.25f);
    EXPECT_EQ(g->marks.size(), 2u);
    EXPECT_EQ(g->tag(), 3);
}

TEST(InterfaceLoader, AControllerWithAMissingFileKeepsAnEmptyViewAndSaysWhy) {
    setLogQuiet(true);
    auto c = std::make_shared<ViewController>("NoSuchScreen");
    ASSERT_NE(c->view(), nullptr);
    EXPECT_FALSE(c->loadStatus());
    EXPECT_NE(c->loadStatus().error().find("NoSuchScreen"), std::string::npos);
    setLogQuiet(false);
}

// The app's screens are checked against their controllers by the app's own
// tests; here every shipped file must at least be a well-formed view tree.
TEST(InterfaceLoader, EveryShippedInterfaceFileIsAWellFormedViewTree) {
    const std::filesystem::path dir =
        std::filesystem::path(ZORBEL_RESOURCE_BUILD_DIR) / "interfaces";
    if (!std::filesystem::exists(dir))
        GTEST_SKIP() << "no interface files built yet";
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".json")
            continue;
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        auto doc = nlohmann::json::parse(text.str(), nullptr, false, true);
        ASSERT_FALSE(doc.is_discarded()) << entry.path();
        std::vector<const nlohmann::json*> nodes{&doc};
        while (!nodes.empty()) {
            const nlohmann::json* n = nodes.back();
            nodes.pop_back();
            ASSERT_TRUE(n->is_object()) << entry.path();
            ASSERT_TRUE(n->contains("class") && (*n)["class"].is_string()) << entry.path();
            if (n->contains("subviews"))
                for (const auto& s : (*n)["subviews"])
                    nodes.push_back(&s);
        }
    }
}
