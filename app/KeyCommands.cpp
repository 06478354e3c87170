#include "app/KeyCommands.h"

#include "app/CanvoAppDelegate.h"
#include "app/DocumentOpener.h"
#include "app/KeyHelpView.h"
#include "app/NewMasterViewController.h"
#include "platform/drivers/HeadlessDriver.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Control.h"
#include "platform/ui/Window.h"

namespace zorbel {

namespace {

// The frontmost visible sheet or alert in the window, front to back.
platform::View* frontmostQuestion(platform::View& view) {
    const auto& subs = view.subviews();
    for (auto it = subs.rbegin(); it != subs.rend(); ++it) {
        platform::View& v = **it;
        if (v.isHidden())
            continue;
        if (auto* sheet = dynamic_cast<platform::ActionSheet*>(&v); sheet && sheet->isVisible())
            return sheet;
        if (auto* alert = dynamic_cast<platform::AlertView*>(&v); alert && alert->isVisible())
            return alert;
        if (platform::View* found = frontmostQuestion(v))
            return found;
    }
    return nullptr;
}

// Taps the frontmost visible control answering to one of the names, as a
// finger would; false when there is none.
bool pressFirstOf(platform::Window& window, std::initializer_list<std::string_view> names) {
    for (std::string_view name : names)
        if (auto* control =
                dynamic_cast<platform::Control*>(platform::HeadlessDriver::findPressable(window, name))) {
            control->sendActionsForControlEvents(platform::ControlEventTouchUpInside);
            return true;
        }
    return false;
}

} // namespace

struct KeyCommands::Row {
    std::string_view chords; // "ctrl+y|ctrl+shift+z"
    std::string_view keys;   // as the help shows them
    std::string_view what;
    void (KeyCommands::*handler)();
    bool evenWhenModal = false;
};

// clang-format off
const KeyCommands::Row KeyCommands::kRows[] = {
    {"ctrl+z",              "Ctrl+Z",               "Undo (again: redo)",         &KeyCommands::undo},
    {"ctrl+y|ctrl+shift+z", "Ctrl+Y, Ctrl+Shift+Z", "Redo, right after an undo",  &KeyCommands::redo},
    {"ctrl+s",              "Ctrl+S",               "Save to Pictures",           &KeyCommands::save},
    {"ctrl+n",              "Ctrl+N",               "New picture",                &KeyCommands::newDocument},
    {"ctrl+o",              "Ctrl+O",               "Open a library photo", &KeyCommands::openPhotoLibrary},
    {"ctrl+t",              "Ctrl+T",               "Tools and effects",          &KeyCommands::tools},
    {"b",                   "B",                    "Brushes",                    &KeyCommands::brushes},
    {"c",                   "C",                    "Colours",                    &KeyCommands::colours},
    {"p",                   "P",                    "Present mode on and off",    &KeyCommands::present},
    {"ctrl+backspace",      "Ctrl+Backspace",       "Erase the picture (asks)",   &KeyCommands::erasePicture},
    {"escape",              "Escape",               "Cancel, Back, present off", &KeyCommands::escape, true},
    {"return",              "Return",               "The default button",         &KeyCommands::defaultButton, true},
    {"f1|?",                "F1, ?",                "These keys",                 &KeyCommands::toggleHelp, true},
};
// clang-format on

KeyCommands::KeyCommands(CanvoAppDelegate& app) : app_(app) {}

KeyCommands::~KeyCommands() {
    hideHelp();
}

std::vector<KeyCommands::HelpLine> KeyCommands::helpLines() {
    std::vector<HelpLine> lines;
    for (const Row& row : kRows)
        lines.push_back({row.keys, row.what});
    // What the window itself does with keys and the mouse.
    lines.push_back({"F11", "Full screen"});
    lines.push_back({"Right drag, Alt+drag", "Second finger: pinch, turn"});
    lines.push_back({"Wheel, Shift+wheel", "Scale, turn a layer"});
    lines.push_back({"Ctrl+Left, Ctrl+Right", "Turn the device"});
    lines.push_back({"Drop a picture", "Open it as a new picture"});
    lines.push_back({"Ctrl+Q", "Quit"});
    return lines;
}

bool KeyCommands::perform(const platform::KeyChord& chord) {
    const std::string name = chord.name();
    for (const Row& row : kRows) {
        std::string_view chords = row.chords;
        bool match = false;
        while (!chords.empty() && !match) {
            const auto bar = chords.find('|');
            match = chords.substr(0, bar) == name;
            chords = bar == std::string_view::npos ? std::string_view() : chords.substr(bar + 1);
        }
        if (!match)
            continue;
        // The help covers the picture: any key but its own closes it first.
        if (isHelpShowing() && row.handler != &KeyCommands::toggleHelp) {
            hideHelp();
            if (row.handler == &KeyCommands::escape || row.handler == &KeyCommands::defaultButton)
                return true;
        }
        if (!row.evenWhenModal && somethingModalIsOpen())
            return true;
        const bool wasUndo = row.handler == &KeyCommands::undo;
        (this->*row.handler)();
        if (!wasUndo)
            redoAllowed_ = false;
        return true;
    }
    return false;
}

bool KeyCommands::somethingModalIsOpen() const {
    if (app_.screenSlidersViewController())
        return true;
    if (auto master = app_.newMasterViewController(); master && master->isModalViewShowing())
        return true;
    auto window = app_.window();
    return window && frontmostQuestion(*window);
}

// --- The shortcuts ---

void KeyCommands::undo() {
    auto master = app_.newMasterViewController();
    if (!master || app_.tooBusyForUserInteraction())
        return;
    master->undo(nullptr);
    // Undo is also redo: after two the picture is back, and nothing is left to redo.
    redoAllowed_ = !redoAllowed_;
}

void KeyCommands::redo() {
    if (!redoAllowed_)
        return;
    if (auto master = app_.newMasterViewController())
        master->undo(nullptr);
}

void KeyCommands::save() {
    if (auto master = app_.newMasterViewController())
        master->save(nullptr);
}

void KeyCommands::newDocument() {
    if (auto master = app_.newMasterViewController())
        master->add(nullptr);
}

void KeyCommands::openPhotoLibrary() {
    app_.documentOpener().openPhotoLibrary();
}

void KeyCommands::tools() {
    if (auto master = app_.newMasterViewController())
        master->selectToolAction(nullptr);
}

void KeyCommands::brushes() {
    if (auto master = app_.newMasterViewController())
        master->brushChoice(nullptr);
}

void KeyCommands::colours() {
    if (auto master = app_.newMasterViewController())
        master->colorChoice(nullptr);
}

void KeyCommands::present() {
    if (auto master = app_.newMasterViewController())
        master->present(nullptr);
}

void KeyCommands::erasePicture() {
    // As a shake does, but always asking: a key is pressed by mistake more
    // easily than a phone is shaken.
    auto master = app_.newMasterViewController();
    if (!master || app_.tooBusyForUserInteraction() || app_.shaken())
        return;
    app_.resetPresentMode();
    app_.setShaken(true);
    master->shakeEraseRequest();
}

void KeyCommands::escape() {
    auto window = app_.window();
    if (!window)
        return;
    if (platform::View* question = frontmostQuestion(*window)) {
        question->keyEscape();
        return;
    }
    if (app_.screenSlidersViewController()) {
        app_.sliderCancelAction(nullptr);
        return;
    }
    if (pressFirstOf(*window, {"cancel", "cancelAction", "cancelButtonAction", "Cancel"}))
        return;
    // A screen with no Cancel (Settings) is left by its Back.
    if (pressFirstOf(*window, {"goBackAction", "Back"}))
        return;
    if (app_.inPresentMode())
        app_.resetPresentMode();
}

void KeyCommands::defaultButton() {
    auto window = app_.window();
    if (!window)
        return;
    if (platform::View* question = frontmostQuestion(*window)) {
        // A sheet's default is its first ordinary button ("Save"): never the
        // destructive one, which would throw the picture away on a stray key.
        if (auto* sheet = dynamic_cast<platform::ActionSheet*>(question)) {
            const int index = sheet->firstOtherButtonIndex();
            if (index >= 0 && index != sheet->cancelButtonIndex())
                sheet->dismissWithClickedButtonIndex(index, true);
        } else {
            question->keyReturn();
        }
        return;
    }
    if (app_.screenSlidersViewController()) {
        (void)pressFirstOf(*window, {"sliderOkAction", "OK"});
        return;
    }
    (void)pressFirstOf(*window, {"Done", "done", "OK"});
}

void KeyCommands::toggleHelp() {
    if (isHelpShowing())
        hideHelp();
    else
        showHelp();
}

// --- The help ---

bool KeyCommands::isHelpShowing() const {
    return help_ && help_->superview();
}

void KeyCommands::showHelp() {
    auto window = app_.window();
    if (!window)
        return;
    hideHelp();
    help_ = std::make_shared<KeyHelpView>(window->bounds(), helpLines());
    help_->setDismissHandler([this] { hideHelp(); });
    window->addSubview(help_);
}

void KeyCommands::hideHelp() {
    if (help_)
        help_->removeFromSuperview();
    help_.reset();
}

} // namespace zorbel
