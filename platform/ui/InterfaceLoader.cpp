#include "platform/ui/InterfaceLoader.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>

#include <nlohmann/json.hpp>

#include "platform/foundation/FileIO.h"
#include "platform/foundation/ResourceBundle.h"

#if __has_include("platform/ui/ControlClasses.h")
#include "platform/ui/ControlClasses.h"
#define ZORBEL_HAS_CONTROL_CLASSES 1
#endif

namespace platform {

using json = nlohmann::json;

namespace {

std::map<std::string, InterfaceLoader::Factory, std::less<>>& registry() {
    static std::map<std::string, InterfaceLoader::Factory, std::less<>> r;
    return r;
}

InterfaceLoader::ImageProvider& imageProvider() {
    static InterfaceLoader::ImageProvider p = [](const std::string& name) {
        return Image::named(name);
    };
    return p;
}

void registerBuiltins() {
    static bool done = false;
    if (done)
        return;
    done = true;
    auto& r = registry();
    r.try_emplace("View", [](InterfaceNode&) { return std::make_shared<View>(); });
    r.try_emplace("Control", [](InterfaceNode&) { return std::make_shared<Control>(); });
#ifdef ZORBEL_HAS_CONTROL_CLASSES
    registerControlClasses();
#endif
}

std::string typeName(const json& j) {
    return j.type_name();
}

const std::map<std::string, unsigned, std::less<>>& autoresizingNames() {
    static const std::map<std::string, unsigned, std::less<>> m{
        {"flexibleLeftMargin", AutoresizingFlexibleLeftMargin},
        {"flexibleWidth", AutoresizingFlexibleWidth},
        {"flexibleRightMargin", AutoresizingFlexibleRightMargin},
        {"flexibleTopMargin", AutoresizingFlexibleTopMargin},
        {"flexibleHeight", AutoresizingFlexibleHeight},
        {"flexibleBottomMargin", AutoresizingFlexibleBottomMargin},
    };
    return m;
}

const std::map<std::string, ContentMode, std::less<>>& contentModeNames() {
    static const std::map<std::string, ContentMode, std::less<>> m{
        {"scaleToFill", ContentMode::ScaleToFill},
        {"scaleAspectFit", ContentMode::ScaleAspectFit},
        {"scaleAspectFill", ContentMode::ScaleAspectFill},
        {"redraw", ContentMode::Redraw},
        {"center", ContentMode::Center},
        {"top", ContentMode::Top},
        {"bottom", ContentMode::Bottom},
        {"left", ContentMode::Left},
        {"right", ContentMode::Right},
        {"topLeft", ContentMode::TopLeft},
        {"topRight", ContentMode::TopRight},
        {"bottomLeft", ContentMode::BottomLeft},
        {"bottomRight", ContentMode::BottomRight},
    };
    return m;
}

const std::map<std::string, ControlEvents, std::less<>>& eventNames() {
    static const std::map<std::string, ControlEvents, std::less<>> m{
        {"touchDown", ControlEventTouchDown},
        {"touchDownRepeat", ControlEventTouchDownRepeat},
        {"touchDragInside", ControlEventTouchDragInside},
        {"touchDragOutside", ControlEventTouchDragOutside},
        {"touchDragEnter", ControlEventTouchDragEnter},
        {"touchDragExit", ControlEventTouchDragExit},
        {"touchUpInside", ControlEventTouchUpInside},
        {"touchUpOutside", ControlEventTouchUpOutside},
        {"touchCancel", ControlEventTouchCancel},
        {"valueChanged", ControlEventValueChanged},
        {"editingDidBegin", ControlEventEditingDidBegin},
        {"editingChanged", ControlEventEditingChanged},
        {"editingDidEnd", ControlEventEditingDidEnd},
        {"editingDidEndOnExit", ControlEventEditingDidEndOnExit},
        {"allTouchEvents", ControlEventAllTouchEvents},
        {"allEditingEvents", ControlEventAllEditingEvents},
        {"allEvents", ControlEventAllEvents},
    };
    return m;
}

std::optional<float> component(const json& j) {
    if (!j.is_number())
        return std::nullopt;
    const double v = j.get<double>();
    if (v < 0 || v > 1)
        return std::nullopt;
    return float(v);
}

std::optional<Color> parseColor(const json& j) {
    if (j.is_string()) {
        const std::string s = j.get<std::string>();
        if (s == "white")
            return Color::white();
        if (s == "black")
            return Color::black();
        if (s == "clear")
            return Color::clear();
        if (s.size() != 7 && s.size() != 9)
            return std::nullopt;
        if (s[0] != '#')
            return std::nullopt;
        float c[4] = {0, 0, 0, 1};
        for (std::size_t i = 0; i * 2 + 1 < s.size(); ++i) {
            unsigned v = 0;
            for (char ch : s.substr(1 + 2 * i, 2)) {
                v <<= 4;
                if (ch >= '0' && ch <= '9')
                    v |= unsigned(ch - '0');
                else if (ch >= 'a' && ch <= 'f')
                    v |= unsigned(ch - 'a' + 10);
                else if (ch >= 'A' && ch <= 'F')
                    v |= unsigned(ch - 'A' + 10);
                else
                    return std::nullopt;
            }
            c[i] = float(v) / 255.0f;
        }
        return Color::rgb(c[0], c[1], c[2], c[3]);
    }
    if (j.is_array() && (j.size() == 2 || j.size() == 4 || j.size() == 3)) {
        std::vector<float> v;
        for (const auto& e : j) {
            auto f = component(e);
            if (!f)
                return std::nullopt;
            v.push_back(*f);
        }
        if (v.size() == 2)
            return Color::grey(v[0], v[1]);
        return Color::rgb(v[0], v[1], v[2], v.size() == 4 ? v[3] : 1.0f);
    }
    return std::nullopt;
}

// Coordinates and sizes in points; beyond this a value is a damaged file, not a layout.
constexpr double kMaxGeometry = 1e6;

std::optional<std::vector<float>> floats(const json& j, std::size_t count) {
    if (!j.is_array() || j.size() != count)
        return std::nullopt;
    std::vector<float> v;
    for (const auto& e : j) {
        if (!e.is_number() || !(std::fabs(e.get<double>()) <= kMaxGeometry))
            return std::nullopt;
        v.push_back(e.get<float>());
    }
    return v;
}

} // namespace

// --- InterfaceNode ---

InterfaceNode::InterfaceNode(const nlohmann::json& j, std::string path, InterfaceOwner* owner,
                             std::vector<std::string>& errors)
    : json_(j), path_(std::move(path)), owner_(owner), errors_(errors) {}

InterfaceNode::~InterfaceNode() = default;

bool InterfaceNode::has(std::string_view key) const {
    return json_.is_object() && json_.contains(key);
}

void InterfaceNode::markUsed(std::string_view key) {
    if (std::find(used_.begin(), used_.end(), key) == used_.end())
        used_.emplace_back(key);
}

const nlohmann::json* InterfaceNode::get(std::string_view key) {
    markUsed(key);
    if (!json_.is_object())
        return nullptr;
    auto it = json_.find(key);
    return it == json_.end() ? nullptr : &*it;
}

void InterfaceNode::error(const std::string& message) {
    errors_.push_back(path_ + ": " + message);
}

std::optional<std::string> InterfaceNode::string(std::string_view key) {
    const nlohmann::json* j = get(key);
    if (!j)
        return std::nullopt;
    if (!j->is_string()) {
        error("\"" + std::string(key) + "\" must be a string, not " + typeName(*j));
        return std::nullopt;
    }
    return j->get<std::string>();
}

std::optional<double> InterfaceNode::number(std::string_view key) {
    const nlohmann::json* j = get(key);
    if (!j)
        return std::nullopt;
    if (!j->is_number()) {
        error("\"" + std::string(key) + "\" must be a number, not " + typeName(*j));
        return std::nullopt;
    }
    return j->get<double>();
}

std::optional<int> InterfaceNode::integer(std::string_view key) {
    const nlohmann::json* j = get(key);
    if (!j)
        return std::nullopt;
    if (!j->is_number_integer()) {
        error("\"" + std::string(key) + "\" must be an integer, not " + typeName(*j));
        return std::nullopt;
    }
    return j->get<int>();
}

std::optional<bool> InterfaceNode::boolean(std::string_view key) {
    const nlohmann::json* j = get(key);
    if (!j)
        return std::nullopt;
    if (!j->is_boolean()) {
        error("\"" + std::string(key) + "\" must be true or false, not " + typeName(*j));
        return std::nullopt;
    }
    return j->get<bool>();
}

std::optional<Color> InterfaceNode::color(std::string_view key) {
    const nlohmann::json* j = get(key);
    if (!j)
        return std::nullopt;
    auto c = parseColor(*j);
    if (!c)
        error("\"" + std::string(key) + "\" is not a colour: " + j->dump());
    return c;
}

std::optional<Rect> InterfaceNode::rect(std::string_view key) {
    const nlohmann::json* j = get(key);
    if (!j)
        return std::nullopt;
    auto v = floats(*j, 4);
    if (!v) {
        error("\"" + std::string(key) + "\" must be [x, y, width, height]: " + j->dump());
        return std::nullopt;
    }
    return Rect((*v)[0], (*v)[1], (*v)[2], (*v)[3]);
}

std::optional<Point> InterfaceNode::point(std::string_view key) {
    const nlohmann::json* j = get(key);
    if (!j)
        return std::nullopt;
    auto v = floats(*j, 2);
    if (!v) {
        error("\"" + std::string(key) + "\" must be [x, y]: " + j->dump());
        return std::nullopt;
    }
    return Point{(*v)[0], (*v)[1]};
}

std::optional<Size> InterfaceNode::size(std::string_view key) {
    const nlohmann::json* j = get(key);
    if (!j)
        return std::nullopt;
    auto v = floats(*j, 2);
    if (!v) {
        error("\"" + std::string(key) + "\" must be [width, height]: " + j->dump());
        return std::nullopt;
    }
    return Size{(*v)[0], (*v)[1]};
}

std::optional<std::vector<std::string>> InterfaceNode::strings(std::string_view key) {
    const nlohmann::json* j = get(key);
    if (!j)
        return std::nullopt;
    if (j->is_string())
        return std::vector<std::string>{j->get<std::string>()};
    std::vector<std::string> out;
    if (j->is_array()) {
        for (const auto& e : *j) {
            if (!e.is_string())
                break;
            out.push_back(e.get<std::string>());
        }
        if (out.size() == j->size())
            return out;
    }
    error("\"" + std::string(key) + "\" must be a list of strings: " + j->dump());
    return std::nullopt;
}

std::optional<std::vector<double>> InterfaceNode::numbers(std::string_view key) {
    const nlohmann::json* j = get(key);
    if (!j)
        return std::nullopt;
    std::vector<double> out;
    if (j->is_array()) {
        for (const auto& e : *j) {
            if (!e.is_number())
                break;
            out.push_back(e.get<double>());
        }
        if (out.size() == j->size())
            return out;
    }
    error("\"" + std::string(key) + "\" must be a list of numbers: " + j->dump());
    return std::nullopt;
}

ImageRef InterfaceNode::image(std::string_view key) {
    auto name = string(key);
    if (!name)
        return nullptr;
    ImageRef img = imageProvider()(*name);
    if (!img)
        error("unknown picture \"" + *name + "\"");
    return img;
}

std::optional<std::pair<std::string, Action>> InterfaceNode::action(std::string_view key) {
    auto name = string(key);
    if (!name)
        return std::nullopt;
    const Action* a = owner_ ? owner_->actionNamed(*name) : nullptr;
    if (!a) {
        error("unknown action \"" + *name + "\"" + (owner_ ? "" : " (no owner)"));
        return std::nullopt;
    }
    return std::make_pair(*name, *a);
}

std::vector<std::unique_ptr<InterfaceNode>> InterfaceNode::children(std::string_view key) {
    std::vector<std::unique_ptr<InterfaceNode>> out;
    const nlohmann::json* j = get(key);
    if (!j)
        return out;
    if (!j->is_array()) {
        error("\"" + std::string(key) + "\" must be a list");
        return out;
    }
    for (std::size_t i = 0; i < j->size(); ++i) {
        const nlohmann::json& e = (*j)[i];
        std::string childPath = path_ + "." + std::string(key) + "[" + std::to_string(i) + "]";
        if (e.is_object() && e.contains("class") && e["class"].is_string())
            childPath += " (" + e["class"].get<std::string>() + ")";
        if (!e.is_object()) {
            errors_.push_back(childPath + ": must be an object");
            continue;
        }
        out.push_back(std::make_unique<InterfaceNode>(e, childPath, owner_, errors_));
    }
    return out;
}

std::unique_ptr<InterfaceNode> InterfaceNode::child(std::string_view key) {
    const nlohmann::json* j = get(key);
    if (!j)
        return nullptr;
    if (!j->is_object()) {
        error("\"" + std::string(key) + "\" must be an object");
        return nullptr;
    }
    return std::make_unique<InterfaceNode>(*j, path_ + "." + std::string(key), owner_, errors_);
}

std::vector<std::string> InterfaceNode::unusedKeys() const {
    std::vector<std::string> out;
    if (!json_.is_object())
        return out;
    for (auto it = json_.begin(); it != json_.end(); ++it)
        if (std::find(used_.begin(), used_.end(), it.key()) == used_.end())
            out.push_back(it.key());
    return out;
}

// --- InterfaceLoader ---

void InterfaceLoader::registerClass(const std::string& name, Factory factory) {
    registerBuiltins();
    registry()[name] = std::move(factory);
}

bool InterfaceLoader::isRegistered(std::string_view name) {
    registerBuiltins();
    return registry().find(name) != registry().end();
}

std::vector<std::string> InterfaceLoader::registeredClasses() {
    registerBuiltins();
    std::vector<std::string> out;
    for (const auto& [name, f] : registry())
        out.push_back(name);
    return out;
}

void InterfaceLoader::setImageProvider(ImageProvider provider) {
    imageProvider() =
        provider ? std::move(provider) : [](const std::string& name) { return Image::named(name); };
}

ControlEvents InterfaceLoader::controlEventNamed(std::string_view name) {
    auto it = eventNames().find(name);
    return it == eventNames().end() ? 0 : it->second;
}

std::filesystem::path InterfaceLoader::pathForInterface(std::string_view name) {
    return ResourceBundle::pathForInterface(name);
}

namespace {

void applyCommon(InterfaceNode& node, View& view) {
    if (auto f = node.rect("frame"))
        view.setFrame(*f);
    if (auto t = node.integer("tag"))
        view.setTag(*t);
    if (auto a = node.number("alpha"))
        view.setAlpha(float(*a));
    if (auto h = node.boolean("hidden"))
        view.setHidden(*h);
    if (auto o = node.boolean("opaque"))
        view.setOpaque(*o);
    if (auto c = node.boolean("clipsToBounds"))
        view.setClipsToBounds(*c);
    if (auto u = node.boolean("userInteractionEnabled"))
        view.setUserInteractionEnabled(*u);
    if (auto m = node.boolean("multipleTouchEnabled"))
        view.setMultipleTouchEnabled(*m);
    if (auto e = node.boolean("exclusiveTouch"))
        view.setExclusiveTouch(*e);
    if (auto c = node.color("backgroundColor"))
        view.setBackgroundColor(*c);
    if (node.has("autoresizingMask")) {
        const json& j = node.json()["autoresizingMask"];
        if (j.is_number_unsigned() && j.get<unsigned>() < 64) {
            node.markUsed("autoresizingMask");
            view.setAutoresizingMask(j.get<unsigned>());
        } else if (auto names = node.strings("autoresizingMask")) {
            unsigned mask = 0;
            for (const auto& n : *names) {
                auto it = autoresizingNames().find(n);
                if (it == autoresizingNames().end())
                    node.error("unknown autoresizing flag \"" + n + "\"");
                else
                    mask |= it->second;
            }
            view.setAutoresizingMask(mask);
        }
    }
    if (auto mode = node.string("contentMode")) {
        auto it = contentModeNames().find(*mode);
        if (it == contentModeNames().end())
            node.error("unknown content mode \"" + *mode + "\"");
        else
            view.setContentMode(it->second);
    }
}

void applyControl(InterfaceNode& node, Control& control) {
    if (auto e = node.boolean("enabled"))
        control.setEnabled(*e);
    if (auto s = node.boolean("selected"))
        control.setSelected(*s);
    if (auto h = node.boolean("highlighted"))
        control.setHighlighted(*h);
    if (auto l = node.string("accessibilityLabel"))
        control.setAccessibilityLabel(*l);
    ControlEvents events = control.defaultActionEvents();
    if (auto names = node.strings("events")) {
        events = 0;
        for (const auto& n : *names) {
            const ControlEvents e = InterfaceLoader::controlEventNamed(n);
            if (e == 0)
                node.error("unknown control event \"" + n + "\"");
            events |= e;
        }
    }
    if (auto a = node.action("action"))
        control.addTarget(node.owner(), a->second, events, a->first);
}

std::shared_ptr<View> build(InterfaceNode& node) {
    auto cls = node.string("class");
    if (!cls) {
        if (!node.has("class"))
            node.error("\"class\" is missing");
        return nullptr;
    }
    auto it = registry().find(*cls);
    if (it == registry().end()) {
        node.error("unknown class \"" + *cls + "\"");
        return nullptr;
    }
    std::shared_ptr<View> view = it->second(node);
    if (!view) {
        node.error("class \"" + *cls + "\" could not be made");
        return nullptr;
    }
    applyCommon(node, *view);
    if (auto* control = dynamic_cast<Control*>(view.get()))
        applyControl(node, *control);
    for (auto& child : node.children("subviews"))
        if (auto sub = build(*child))
            view->addSubview(sub);
    if (auto outlet = node.string("outlet")) {
        const InterfaceOwner::Outlet* o =
            node.owner() ? node.owner()->outletNamed(*outlet) : nullptr;
        if (!o)
            node.error("unknown outlet \"" + *outlet + "\"");
        else if (!(*o)(view))
            node.error("outlet \"" + *outlet + "\" does not take a " + *cls);
    }
    for (const auto& key : node.unusedKeys())
        node.error("unknown key \"" + key + "\" for " + *cls);
    return view;
}

} // namespace

Result<std::shared_ptr<View>> InterfaceLoader::loadString(std::string_view text,
                                                          std::string_view sourceName,
                                                          InterfaceOwner* owner) {
    registerBuiltins();
    const std::string source(sourceName);
    json doc = json::parse(text, nullptr, false, true);
    if (doc.is_discarded())
        return Result<std::shared_ptr<View>>::failure(source + ": not valid JSON");
    if (!doc.is_object())
        return Result<std::shared_ptr<View>>::failure(source + ": the top level must be an object");
    std::vector<std::string> errors;
    std::string path = "root";
    if (doc.contains("class") && doc["class"].is_string())
        path += " (" + doc["class"].get<std::string>() + ")";
    InterfaceNode node(doc, path, owner, errors);
    std::shared_ptr<View> view = build(node);
    if (!errors.empty() || !view) {
        std::string message = source + ": " + (errors.empty() ? "no view" : errors.front());
        if (errors.size() > 1)
            message += " (and " + std::to_string(errors.size() - 1) + " more)";
        return Result<std::shared_ptr<View>>::failure(message);
    }
    return view;
}

Result<std::shared_ptr<View>> InterfaceLoader::loadFile(const std::filesystem::path& path,
                                                        InterfaceOwner* owner) {
    auto bytes = readFile(path);
    if (!bytes)
        return Result<std::shared_ptr<View>>::failure(path.filename().string() + ": " +
                                                      bytes.error());
    const auto& b = bytes.value();
    return loadString(std::string_view(reinterpret_cast<const char*>(b.data()), b.size()),
                      path.filename().string(), owner);
}

Result<std::shared_ptr<View>> InterfaceLoader::load(std::string_view name, InterfaceOwner* owner) {
    const auto path = pathForInterface(name);
    if (path.empty())
        return Result<std::shared_ptr<View>>::failure("no interface file \"" + std::string(name) +
                                                      ".json\"");
    return loadFile(path, owner);
}

} // namespace platform
