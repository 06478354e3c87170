#include "platform/ui/ControlClasses.h"

#include <algorithm>

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/InterfaceLoader.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Toolbar.h"

namespace platform {

namespace {

FontRef readFont(InterfaceNode& node, FontRef fallback) {
    const auto name = node.string("fontName");
    const auto size = node.number("fontSize");
    if (const auto bold = node.number("boldFontSize"))
        return Font::boldSystemFontOfSize(float(*bold));
    if (name) {
        FontRef f = Font::fontWithName(*name, float(size.value_or(17)));
        if (!f)
            node.error("unknown font \"" + *name + "\"");
        return f ? f : fallback;
    }
    if (size)
        return Font::systemFontOfSize(float(*size));
    return fallback;
}

std::optional<TextAlignment> readAlignment(InterfaceNode& node) {
    const auto a = node.string("textAlignment");
    if (!a)
        return std::nullopt;
    if (*a == "left")
        return TextAlignment::Left;
    if (*a == "center")
        return TextAlignment::Center;
    if (*a == "right")
        return TextAlignment::Right;
    node.error("textAlignment must be left, center or right");
    return std::nullopt;
}

std::optional<BarStyle> readBarStyle(InterfaceNode& node) {
    const auto s = node.string("barStyle");
    if (!s)
        return std::nullopt;
    if (*s == "default")
        return BarStyle::Default;
    if (*s == "black")
        return BarStyle::Black;
    if (*s == "blackTranslucent")
        return BarStyle::BlackTranslucent;
    node.error("barStyle must be default, black or blackTranslucent");
    return std::nullopt;
}

BarButtonItemRef readItem(InterfaceNode& node) {
    if (const auto system = node.string("system")) {
        if (*system == "flexibleSpace")
            return BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace);
        if (*system == "fixedSpace") {
            auto item = BarButtonItem::withSystemItem(BarButtonSystemItem::FixedSpace);
            item->setWidth(float(node.number("width").value_or(0)));
            return item;
        }
        node.error("system must be flexibleSpace or fixedSpace");
        return nullptr;
    }
    auto item = std::make_shared<BarButtonItem>();
    if (node.has("image"))
        item->setImage(node.image("image"));
    if (const auto t = node.string("title"))
        item->setTitle(*t);
    if (const auto s = node.string("style"))
        item->setStyle(*s == "done"       ? BarButtonItemStyle::Done
                       : *s == "bordered" ? BarButtonItemStyle::Bordered
                                          : BarButtonItemStyle::Plain);
    if (const auto tag = node.integer("tag"))
        item->setTag(*tag);
    if (const auto w = node.number("width"))
        item->setWidth(float(*w));
    if (const auto enabled = node.boolean("enabled"))
        item->setEnabled(*enabled);
    if (auto a = node.action("action")) {
        item->setTarget(node.owner());
        item->setAction(a->second, a->first);
    }
    return item;
}

std::vector<BarButtonItemRef> readItems(InterfaceNode& node) {
    std::vector<BarButtonItemRef> items;
    for (auto& child : node.children("items"))
        if (auto item = readItem(*child))
            items.push_back(item);
    return items;
}

// --- Text ---------------------------------------------------------------------

std::shared_ptr<View> makeLabel(InterfaceNode& n) {
    auto v = std::make_shared<Label>();
    if (auto t = n.string("text"))
        v->setText(*t);
    if (auto c = n.color("textColor"))
        v->setTextColor(*c);
    if (auto a = readAlignment(n))
        v->setTextAlignment(*a);
    if (auto lines = n.integer("numberOfLines"))
        v->setNumberOfLines(*lines);
    v->setFont(readFont(n, v->font()));
    return v;
}

std::shared_ptr<View> makeTextField(InterfaceNode& n) {
    auto f = std::make_shared<TextField>();
    if (auto t = n.string("text"))
        f->setText(*t);
    if (auto t = n.string("placeholder"))
        f->setPlaceholder(*t);
    if (auto c = n.color("textColor"))
        f->setTextColor(*c);
    if (auto a = readAlignment(n))
        f->setTextAlignment(*a);
    if (auto b = n.string("borderStyle"))
        f->setBorderStyle(*b == "roundedRect" ? TextBorderStyle::RoundedRect
                          : *b == "bezel"     ? TextBorderStyle::Bezel
                          : *b == "line"      ? TextBorderStyle::Line
                                              : TextBorderStyle::None);
    if (auto m = n.integer("clearButtonMode"))
        f->setClearButtonMode(TextFieldViewMode(std::clamp(*m, 0, 3)));
    if (auto v = n.boolean("clearsOnBeginEditing"))
        f->setClearsOnBeginEditing(*v);
    if (auto v = n.integer("returnKeyType"))
        f->setReturnKeyType(*v);
    if (auto v = n.boolean("enablesReturnKeyAutomatically"))
        f->setEnablesReturnKeyAutomatically(*v);
    f->setFont(readFont(n, f->font()));
    return f;
}

// --- Pictures and buttons -------------------------------------------------------

std::shared_ptr<View> makeImageView(InterfaceNode& n) {
    auto v = std::make_shared<ImageView>();
    if (n.has("image"))
        v->setImage(n.image("image"));
    return v;
}

std::shared_ptr<View> makeButton(InterfaceNode& n) {
    ButtonType type = ButtonType::Custom;
    if (auto t = n.string("buttonType")) {
        if (*t == "roundedRect")
            type = ButtonType::RoundedRect;
        else if (*t != "custom")
            n.error("buttonType must be custom or roundedRect");
    }
    auto b = std::make_shared<Button>(type);
    if (auto t = n.string("title"))
        b->setTitle(*t);
    if (auto t = n.string("highlightedTitle"))
        b->setTitle(*t, ControlStateHighlighted);
    if (auto c = n.color("titleColor"))
        b->setTitleColor(*c);
    if (auto c = n.color("highlightedTitleColor"))
        b->setTitleColor(*c, ControlStateHighlighted);
    const int left = n.integer("leftCapWidth").value_or(0);
    const int top = n.integer("topCapHeight").value_or(0);
    if (n.has("backgroundImage"))
        b->setBackgroundImage(StretchableImage::make(n.image("backgroundImage"), left, top));
    if (n.has("highlightedBackgroundImage"))
        b->setBackgroundImage(
            StretchableImage::make(n.image("highlightedBackgroundImage"), left, top),
            ControlStateHighlighted);
    if (n.has("image"))
        b->setImage(n.image("image"));
    if (n.has("highlightedImage"))
        b->setImage(n.image("highlightedImage"), ControlStateHighlighted);
    if (n.has("selectedImage"))
        b->setImage(n.image("selectedImage"), ControlStateSelected);
    b->setFont(readFont(n, b->font()));
    return b;
}

// --- Value controls -------------------------------------------------------------

std::shared_ptr<View> makeSlider(InterfaceNode& n) {
    auto s = std::make_shared<Slider>();
    if (auto v = n.number("minimumValue"))
        s->setMinimumValue(float(*v));
    if (auto v = n.number("maximumValue"))
        s->setMaximumValue(float(*v));
    if (auto v = n.number("value"))
        s->setValue(float(*v));
    if (auto v = n.boolean("continuous"))
        s->setContinuous(*v);
    if (n.has("minimumValueImage"))
        s->setMinimumValueImage(n.image("minimumValueImage"));
    if (n.has("maximumValueImage"))
        s->setMaximumValueImage(n.image("maximumValueImage"));
    return s;
}

std::shared_ptr<View> makeSwitch(InterfaceNode& n) {
    auto s = std::make_shared<Switch>();
    if (auto on = n.boolean("on"))
        s->setOn(*on);
    return s;
}

std::shared_ptr<View> makeSegmentedControl(InterfaceNode& n) {
    auto s = std::make_shared<SegmentedControl>();
    if (auto titles = n.strings("segments"))
        for (const auto& t : *titles)
            s->insertSegmentWithTitle(t, s->numberOfSegments());
    if (auto images = n.strings("segmentImages"))
        for (const auto& name : *images) {
            ImageRef img = Image::named(name);
            if (!img)
                n.error("no picture \"" + name + "\"");
            s->insertSegmentWithImage(img, s->numberOfSegments());
        }
    if (auto i = n.integer("selectedSegmentIndex"))
        s->setSelectedSegmentIndex(*i);
    if (auto m = n.boolean("momentary"))
        s->setMomentary(*m);
    if (auto c = n.color("tintColor"))
        s->setTintColor(*c);
    s->setFont(readFont(n, s->font()));
    return s;
}

// --- Containers and chrome -------------------------------------------------------

std::shared_ptr<View> makeScrollView(InterfaceNode& n) {
    auto v = std::make_shared<ScrollView>();
    if (auto s = n.size("contentSize"))
        v->setContentSize(*s);
    if (auto b = n.boolean("scrollEnabled"))
        v->setScrollEnabled(*b);
    if (auto b = n.boolean("bounces"))
        v->setBounces(*b);
    if (auto b = n.boolean("alwaysBounceVertical"))
        v->setAlwaysBounceVertical(*b);
    if (auto b = n.boolean("alwaysBounceHorizontal"))
        v->setAlwaysBounceHorizontal(*b);
    if (auto b = n.boolean("directionalLockEnabled"))
        v->setDirectionalLockEnabled(*b);
    if (auto b = n.boolean("delaysContentTouches"))
        v->setDelaysContentTouches(*b);
    if (auto b = n.boolean("canCancelContentTouches"))
        v->setCanCancelContentTouches(*b);
    if (auto b = n.boolean("showsScrollIndicators")) {
        v->setShowsHorizontalScrollIndicator(*b);
        v->setShowsVerticalScrollIndicator(*b);
    }
    if (auto b = n.boolean("showsHorizontalScrollIndicator"))
        v->setShowsHorizontalScrollIndicator(*b);
    if (auto b = n.boolean("showsVerticalScrollIndicator"))
        v->setShowsVerticalScrollIndicator(*b);
    if (auto b = n.boolean("scrollsToTop"))
        v->setScrollsToTop(*b);
    if (auto d = n.string("delegate")) {
        auto* delegate = dynamic_cast<ScrollViewDelegate*>(n.owner());
        if (*d != "owner")
            n.error("delegate must be \"owner\"");
        else if (!delegate)
            n.error("the owner is not a scroll view delegate");
        else
            v->setDelegate(delegate);
    }
    // The offset last: it is taken as given, after the size it lies in.
    if (auto o = n.point("contentOffset"))
        v->setContentOffset(*o);
    return v;
}

std::shared_ptr<View> makeToolbar(InterfaceNode& n) {
    auto t = std::make_shared<Toolbar>();
    if (auto s = readBarStyle(n))
        t->setBarStyle(*s);
    if (n.has("items"))
        t->setItems(readItems(n));
    return t;
}

std::shared_ptr<View> makeNavigationBar(InterfaceNode& n) {
    auto b = std::make_shared<NavigationBar>();
    if (auto s = readBarStyle(n))
        b->setBarStyle(*s);
    if (auto t = n.string("title"))
        b->setTitle(*t);
    if (auto left = n.child("leftItem"))
        b->setLeftItem(readItem(*left));
    if (auto right = n.child("rightItem"))
        b->setRightItem(readItem(*right));
    return b;
}

std::shared_ptr<View> makeActivityIndicatorView(InterfaceNode& n) {
    const int style = std::clamp(n.integer("style").value_or(0), 0, 2);
    auto a = std::make_shared<ActivityIndicatorView>(ActivityIndicatorViewStyle(style));
    if (n.boolean("animating").value_or(false))
        a->startAnimating();
    return a;
}

} // namespace

void registerControlClasses() {
    static constexpr struct {
        const char* name;
        std::shared_ptr<View> (*make)(InterfaceNode&);
    } kClasses[] = {
        {"Label", makeLabel},
        {"TextField", makeTextField},
        {"ImageView", makeImageView},
        {"Button", makeButton},
        {"Slider", makeSlider},
        {"Switch", makeSwitch},
        {"SegmentedControl", makeSegmentedControl},
        {"ScrollView", makeScrollView},
        {"Toolbar", makeToolbar},
        {"NavigationBar", makeNavigationBar},
        {"ActivityIndicatorView", makeActivityIndicatorView},
    };
    for (const auto& c : kClasses)
        InterfaceLoader::registerClass(c.name, c.make);
}

} // namespace platform
