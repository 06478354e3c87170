#include "platform/ui/Keyboard.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "platform/ui/Button+Style.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Touch.h"
#include "platform/ui/Window.h"

namespace platform {

namespace {

bool gEnabled = false;
std::shared_ptr<Keyboard>& shared() {
    static std::shared_ptr<Keyboard> keyboard;
    return keyboard;
}

const char* const kLetterRows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
const char* const kSymbolRows[] = {"1234567890", "-/:;()&@\"", ".,?!'#%*"};

std::string upper(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

void Keyboard::setOnScreenEnabled(bool enabled) {
    gEnabled = enabled;
}

bool Keyboard::isOnScreenEnabled() {
    return gEnabled;
}

Keyboard* Keyboard::current() {
    auto& k = shared();
    return k && k->window() ? k.get() : nullptr;
}

Keyboard::Keyboard() : View(Rect(0, 0, 320, kPortraitHeight)) {
    setOpaque(true);
    setBackgroundColor(style::kKeyboardBackground);
    setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleTopMargin);
    setContentMode(ContentMode::Redraw);
}

void Keyboard::show(TextField& field) {
    if (!gEnabled)
        return;
    Window* window = field.window();
    if (!window)
        return;
    auto& k = shared();
    if (!k)
        k = std::make_shared<Keyboard>();
    k->attach(field);
    const Size size = window->size();
    const float h =
        isLandscape(window->interfaceOrientation()) ? kLandscapeHeight : kPortraitHeight;
    const Rect shown(0, size.height - h, size.width, h);
    if (k->window() != window) {
        window->addSubview(k);
        k->setFrame(Rect(0, size.height, size.width, h));
        View::animate(kSlideDuration, [&] { k->setFrame(shown); });
    } else {
        window->bringSubviewToFront(k.get());
        k->setFrame(shown);
    }
}

void Keyboard::hide(TextField& field) {
    auto& k = shared();
    if (!k || k->field_ != &field)
        return;
    k->field_ = nullptr;
    Window* window = k->window();
    if (!window)
        return;
    std::shared_ptr<Keyboard> keep = k;
    const Rect gone(0, window->size().height, keep->bounds().width(), keep->bounds().height());
    View::animate(
        kSlideDuration, [&] { keep->setFrame(gone); },
        [keep](bool) {
            // A field that started editing meanwhile keeps the keyboard up.
            if (!keep->field_)
                keep->removeFromSuperview();
        });
}

void Keyboard::fieldChanged(TextField& field) {
    auto& k = shared();
    if (k && k->field_ == &field) {
        k->updateShiftForField();
        k->setNeedsDisplay();
    }
}

void Keyboard::attach(TextField& field) {
    field_ = &field;
    page_ = Page::Letters;
    updateShiftForField();
    build();
    setNeedsDisplay();
}

void Keyboard::updateShiftForField() {
    if (!field_)
        return;
    const std::string& t = field_->text();
    const int caps = field_->autocapitalizationType();
    bool start = t.empty();
    if (!start && caps == 2) {
        // A new sentence after ". ", "! " or "? ".
        std::size_t i = t.size();
        while (i > 0 && t[i - 1] == ' ')
            --i;
        start = i < t.size() && i > 0 && (t[i - 1] == '.' || t[i - 1] == '!' || t[i - 1] == '?');
    }
    if (!start && caps == 1)
        start = t.back() == ' ';
    shifted_ = caps == 3 || (caps > 0 && start);
}

std::string Keyboard::returnLabel() const {
    switch (field_ ? field_->returnKeyType() : 0) {
    case ReturnKeyGo:
        return "Go";
    case ReturnKeyGoogle:
    case ReturnKeySearch:
    case ReturnKeyYahoo:
        return "Search";
    case ReturnKeyJoin:
        return "Join";
    case ReturnKeyNext:
        return "Next";
    case ReturnKeyRoute:
        return "Route";
    case ReturnKeySend:
        return "Send";
    case ReturnKeyDone:
        return "Done";
    case ReturnKeyEmergencyCall:
        return "Call";
    default:
        return "return";
    }
}

bool Keyboard::returnEnabled() const {
    return field_ && field_->isReturnKeyEnabled();
}

void Keyboard::build() {
    keys_.clear();
    const Rect b = bounds();
    builtFor_ = b.size;
    const float gap = 6;
    const float rowGap = b.height() > 180 ? 12 : 6;
    const float keyH = std::floor((b.height() - 8 - 3 * rowGap - 4) / 4);
    const float keyW = std::floor((b.width() - 3 - 10 * gap + gap) / 10);
    const char* const* rows = page_ == Page::Letters ? kLetterRows : kSymbolRows;
    float y = 8;
    for (int r = 0; r < 3; ++r) {
        const std::string row = rows[r];
        const float rowWidth = float(row.size()) * keyW + float(row.size() - 1) * gap;
        float x = std::floor((b.width() - rowWidth) / 2);
        for (char c : row) {
            keys_.push_back({KeyKind::Character, std::string(1, c), Rect(x, y, keyW, keyH)});
            x += keyW + gap;
        }
        if (r == 2) {
            const float side = std::floor((b.width() - rowWidth) / 2) - gap - 3;
            keys_.push_back({page_ == Page::Letters ? KeyKind::Shift : KeyKind::PageSwitch,
                             page_ == Page::Letters ? "shift" : "ABC",
                             Rect(3, y, std::max(keyW, side), keyH)});
            keys_.push_back(
                {KeyKind::Backspace, "delete",
                 Rect(b.width() - 3 - std::max(keyW, side), y, std::max(keyW, side), keyH)});
        }
        y += keyH + rowGap;
    }
    const float small = std::floor(b.width() * 0.25f);
    keys_.push_back(
        {KeyKind::PageSwitch, page_ == Page::Letters ? "123" : "ABC", Rect(3, y, small - 6, keyH)});
    keys_.push_back({KeyKind::Space, "space", Rect(small + 3, y, b.width() - 2 * small - 6, keyH)});
    keys_.push_back({KeyKind::Return, "return", Rect(b.width() - small + 3, y, small - 6, keyH)});
}

void Keyboard::layoutSubviews() {
    if (bounds().size != builtFor_)
        build();
}

const Keyboard::Key* Keyboard::keyAtPoint(Point p) const {
    // The nearest key, so the gaps between keys type too.
    const Key* best = nullptr;
    float bestDistance = 1e9f;
    for (const Key& k : keys_) {
        const float dx = std::max({k.frame.minX() - p.x, 0.0f, p.x - k.frame.maxX()});
        const float dy = std::max({k.frame.minY() - p.y, 0.0f, p.y - k.frame.maxY()});
        const float d = dx * dx + dy * dy;
        if (d < bestDistance) {
            bestDistance = d;
            best = &k;
        }
    }
    return bestDistance <= 64 ? best : nullptr;
}

void Keyboard::press(const Key& key) {
    Window* w = window();
    switch (key.kind) {
    case KeyKind::Character:
        if (w)
            w->insertText(shifted_ ? upper(key.text) : key.text);
        if (page_ == Page::Letters && field_)
            updateShiftForField();
        break;
    case KeyKind::Space:
        if (w)
            w->insertText(" ");
        break;
    case KeyKind::Backspace:
        if (w)
            w->key(platform::Key::Backspace);
        break;
    case KeyKind::Return:
        if (w && returnEnabled())
            w->key(platform::Key::Return);
        break;
    case KeyKind::Shift:
        shifted_ = !shifted_;
        break;
    case KeyKind::PageSwitch:
        page_ = page_ == Page::Letters ? Page::Symbols : Page::Letters;
        build();
        break;
    }
    setNeedsDisplay();
}

void Keyboard::touchesBegan(const TouchSet& touches, Event&) {
    Touch* t = touches.anyObject();
    if (!t)
        return;
    const Key* k = keyAtPoint(t->locationInView(this));
    pressed_ = k ? int(k - keys_.data()) : -1;
    setNeedsDisplay();
}

void Keyboard::touchesMoved(const TouchSet& touches, Event&) {
    Touch* t = touches.anyObject();
    if (!t)
        return;
    const Key* k = keyAtPoint(t->locationInView(this));
    const int now = k ? int(k - keys_.data()) : -1;
    if (now != pressed_) {
        pressed_ = now;
        setNeedsDisplay();
    }
}

void Keyboard::touchesEnded(const TouchSet& touches, Event&) {
    Touch* t = touches.anyObject();
    if (!t)
        return;
    const Key* k = keyAtPoint(t->locationInView(this));
    pressed_ = -1;
    if (k)
        press(*k);
    setNeedsDisplay();
}

void Keyboard::touchesCancelled(const TouchSet&, Event&) {
    pressed_ = -1;
    setNeedsDisplay();
}

void Keyboard::drawRect(Context& context, const Rect&) {
    if (bounds().size != builtFor_)
        build();
    static const FontRef letters = Font::systemFontOfSize(22);
    static const FontRef labels = Font::systemFontOfSize(15);
    // The interface face has no arrows; DejaVu Sans draws shift and delete.
    static const FontRef symbols = [] {
        FontRef f = Font::fontWithName("DejaVuSans", 20);
        return f ? f : Font::systemFontOfSize(20);
    }();
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        const Key& k = keys_[i];
        const bool down = int(i) == pressed_;
        const bool special = k.kind != KeyKind::Character && k.kind != KeyKind::Space;
        Color face = special ? style::kKeyFaceDark : style::kKeyFace;
        if (k.kind == KeyKind::Return && returnEnabled() && field_ &&
            field_->returnKeyType() != ReturnKeyDefault)
            face = style::kTint;
        if (k.kind == KeyKind::Shift && shifted_)
            face = style::kKeyFace;
        if (down)
            face = special ? style::kKeyFace : style::kKeyFaceDark;
        style::fillRoundedRect(context, k.frame.offset(0, 1), 5, Color::rgb(0.53f, 0.54f, 0.56f));
        style::fillRoundedRect(context, k.frame, 5, face);
        std::string label = k.text;
        const Font* font = labels.get();
        if (k.kind == KeyKind::Character) {
            label = shifted_ ? upper(k.text) : k.text;
            font = letters.get();
        } else if (k.kind == KeyKind::Return) {
            label = returnLabel();
        } else if (k.kind == KeyKind::Shift) {
            label = "\u21E7";
            font = symbols.get();
        } else if (k.kind == KeyKind::Backspace) {
            label = "\u232B";
            font = symbols.get();
        }
        if (!font)
            continue;
        Color ink = Color::black();
        if (k.kind == KeyKind::Return && !returnEnabled())
            ink = Color::rgb(0.45f, 0.45f, 0.47f);
        else if (k.kind == KeyKind::Return && field_ && field_->returnKeyType() != ReturnKeyDefault)
            ink = Color::white();
        context.setFillColor(ink);
        font->drawInRectCentered(context, k.frame, label);
    }
}

} // namespace platform
