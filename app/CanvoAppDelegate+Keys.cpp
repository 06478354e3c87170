// The desktop's ways in: key chords from the window driver and picture files
// from the command line or a drop.

#include "app/CanvoAppDelegate.h"
#include "app/DocumentOpener.h"
#include "app/KeyCommands.h"

namespace zorbel {

KeyCommands& CanvoAppDelegate::keyCommands() {
    if (!keyCommands_)
        keyCommands_ = std::make_shared<KeyCommands>(*this);
    return *keyCommands_;
}

DocumentOpener& CanvoAppDelegate::documentOpener() {
    if (!documentOpener_)
        documentOpener_ = std::make_shared<DocumentOpener>(*this);
    return *documentOpener_;
}

bool CanvoAppDelegate::performKeyCommand(const platform::KeyChord& chord) {
    return keyCommands().perform(chord);
}

void CanvoAppDelegate::applicationOpenFile(const std::filesystem::path& file) {
    documentOpener().openFile(file);
}

} // namespace zorbel
