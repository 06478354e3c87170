#include "layers/TextSettingsUIView.h"

#include "layers/TextFontTable.h"
#include "platform/ui/GraphicsContext.h"
#include "platform/ui/InterfaceLoader.h"

namespace zorbel {

void TextSettingsUIView::registerInterfaceClass() {
    if (!platform::InterfaceLoader::isRegistered(kClassName))
        platform::InterfaceLoader::registerPlainClass<TextSettingsUIView>(kClassName);
}

void TextSettingsUIView::setFontName(const std::string& name) {
    fontName_ = name;
    setNeedsDisplay();
}

void TextSettingsUIView::showSelectedFont(const std::string& name) {
    platform::Context* context = platform::currentContext();
    if (!context)
        return;
    const TextFontChoice* choice = textFontChoiceNamed(name);
    if (!choice)
        return;
    const View* button = nullptr;
    for (const auto& sub : subviews())
        if (sub->tag() == choice->tag)
            button = sub.get();
    if (!button)
        return;
    platform::GStateGuard guard(*context);
    context->setFillColor(platform::Color::white());
    platform::rectFrame(button->frame());
}

void TextSettingsUIView::drawRect(platform::Context&, const platform::Rect&) {
    showSelectedFont(fontName_);
}

} // namespace zorbel
