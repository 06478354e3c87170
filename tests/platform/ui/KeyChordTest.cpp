// Key chords: their names, and who gets a key press (a focused field keeps
// the plain keys; everything else is offered to the application first).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Application.h"
#include "platform/ui/KeyChord.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Window.h"

using namespace platform;

namespace {

TEST(KeyChordTest, NamesParseToOneCanonicalForm) {
    struct Case {
        const char* text;
        const char* name;
    };
    for (const Case& c : {Case{"ctrl+z", "ctrl+z"}, Case{"Ctrl+Shift+Z", "ctrl+shift+z"},
                          Case{"shift+ctrl+z", "ctrl+shift+z"}, Case{"F1", "f1"}, Case{"?", "?"},
                          Case{"+", "+"}, Case{"ctrl++", "ctrl++"},
                          Case{"alt+shift+ctrl+Backspace", "ctrl+shift+alt+backspace"}}) {
        auto chord = KeyChord::parse(c.text);
        ASSERT_TRUE(chord) << c.text;
        EXPECT_EQ(chord->name(), c.name) << c.text;
        EXPECT_EQ(KeyChord::parse(chord->name()), chord) << c.text;
    }
    for (const char* bad : {"", "ctrl+", "hyper+z", "ctrl+shift+"})
        EXPECT_FALSE(KeyChord::parse(bad)) << bad;
    EXPECT_TRUE(KeyChord::parse("f12")->isFunctionKey());
    EXPECT_FALSE(KeyChord::parse("f13")->isFunctionKey());
    EXPECT_FALSE(KeyChord::parse("f")->isFunctionKey());
}

struct RecordingDelegate : ApplicationDelegate {
    std::vector<std::string> chords;
    bool takes = true;
    bool performKeyCommand(const KeyChord& chord) override {
        chords.push_back(chord.name());
        return takes;
    }
};

struct KeyDeliveryTest : ::testing::Test {
    RecordingDelegate delegate;
    std::shared_ptr<Window> window;
    std::shared_ptr<TextField> field;
    void SetUp() override {
        Application::shared().resetForTesting();
        Application::shared().setDelegate(&delegate);
        window = std::make_shared<Window>();
        field = std::make_shared<TextField>(Rect(10, 10, 200, 30));
        window->addSubview(field);
        window->makeKeyAndVisible();
    }
    void TearDown() override {
        window.reset();
        Application::shared().resetForTesting();
    }
};

// While a field is being typed in, "b" and Escape are the field's, not
// shortcuts; Ctrl chords and function keys still are the application's.
TEST_F(KeyDeliveryTest, FocusedFieldKeepsThePlainKeys) {
    ASSERT_TRUE(field->becomeFirstResponder());
    field->setText("ab");
    EXPECT_FALSE(deliverKeyChord(window.get(), *KeyChord::parse("b")));
    EXPECT_TRUE(deliverKeyChord(window.get(), *KeyChord::parse("backspace")));
    EXPECT_EQ(field->text(), "a");
    EXPECT_TRUE(deliverKeyChord(window.get(), *KeyChord::parse("ctrl+z")));
    EXPECT_TRUE(deliverKeyChord(window.get(), *KeyChord::parse("f1")));
    EXPECT_EQ(delegate.chords, (std::vector<std::string>{"ctrl+z", "f1"}));
}

// Without a focused view every chord is offered to the application; one it
// does not take is not taken.
TEST_F(KeyDeliveryTest, WithoutFocusTheApplicationDecides) {
    EXPECT_TRUE(deliverKeyChord(window.get(), *KeyChord::parse("escape")));
    delegate.takes = false;
    EXPECT_FALSE(deliverKeyChord(window.get(), *KeyChord::parse("x")));
    EXPECT_EQ(delegate.chords, (std::vector<std::string>{"escape", "x"}));
}

} // namespace
