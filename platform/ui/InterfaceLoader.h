#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "platform/foundation/Result.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/Rect.h"
#include "platform/ui/Action.h"
#include "platform/ui/Control.h"
#include "platform/ui/View.h"

namespace platform {

// Interface files: resources/interfaces/<Name>.json, one view tree each.
//
// A node is a JSON object:
//   "class"     registered class name ("View", "Button", "Slider", an app view ...)
//   "frame"     [x, y, width, height] in the superview (default 0, 0, 0, 0)
//   "tag"       integer
//   "outlet"    name of the owner's outlet that receives this view
//   "subviews"  [ nodes ], back to front
// Every view also reads: "alpha", "hidden", "opaque", "clipsToBounds",
//   "userInteractionEnabled", "multipleTouchEnabled", "exclusiveTouch",
//   "backgroundColor" (a colour), "autoresizingMask" (a number, or a list of
//   "flexibleLeftMargin", "flexibleWidth", "flexibleRightMargin",
//   "flexibleTopMargin", "flexibleHeight", "flexibleBottomMargin"),
//   "contentMode" ("scaleToFill", "scaleAspectFit", "scaleAspectFill",
//   "redraw", "center", "top", "bottom", "left", "right", "topLeft",
//   "topRight", "bottomLeft", "bottomRight").
// Every control also reads: "enabled", "selected", "highlighted",
//   "accessibilityLabel", and "action": an action name of the owner ("save:"),
//   sent for "events" (an event name or list of them: "touchDown",
//   "touchUpInside", "valueChanged", "editingDidEnd", "editingDidEndOnExit",
//   ...; default: the class's own default, touchUpInside for most).
// Colours: "white", "black", "clear", "#RRGGBB", "#RRGGBBAA", [r, g, b, a]
//   (0..1) or [grey, alpha]. Pictures: a resource name ("brush1.png").
// Everything else a class reads itself through InterfaceNode (title, image,
// its settings). A key no one reads, an unknown class, action, outlet or
// picture, and a value of the wrong type are load errors: the load fails
// with "<file>: <node path>: <reason>" and nothing is returned.
//
// Class registry: the platform's view classes register on the loader's first
// use (View and Control here; the controls through registerControlClasses(),
// declared in platform/ui/ControlClasses.h by the controls' author). The app
// registers its own view classes before loading its files.
class InterfaceNode {
public:
    InterfaceNode(const nlohmann::json& json, std::string path, InterfaceOwner* owner,
                  std::vector<std::string>& errors);
    ~InterfaceNode();
    InterfaceNode(const InterfaceNode&) = delete;
    InterfaceNode& operator=(const InterfaceNode&) = delete;

    // Each read marks the key as used; a wrong type records an error and
    // answers nullopt / null.
    bool has(std::string_view key) const;
    std::optional<std::string> string(std::string_view key);
    std::optional<double> number(std::string_view key);
    std::optional<int> integer(std::string_view key);
    std::optional<bool> boolean(std::string_view key);
    std::optional<Color> color(std::string_view key);
    std::optional<Rect> rect(std::string_view key);
    std::optional<Point> point(std::string_view key);
    std::optional<Size> size(std::string_view key);
    std::optional<std::vector<std::string>> strings(std::string_view key);
    std::optional<std::vector<double>> numbers(std::string_view key);
    // A picture of the resources; a missing one is an error.
    ImageRef image(std::string_view key);
    // The owner's action named by the key's value; an unknown one is an error.
    // The pair is (name, action).
    std::optional<std::pair<std::string, Action>> action(std::string_view key);
    // Nested nodes (e.g. a toolbar's "items"): each must be an object.
    std::vector<std::unique_ptr<InterfaceNode>> children(std::string_view key);
    std::unique_ptr<InterfaceNode> child(std::string_view key);
    // Marks a key used without reading it.
    void markUsed(std::string_view key);

    void error(const std::string& message);
    InterfaceOwner* owner() const { return owner_; }
    // Where this node is, for messages ("subviews[2] (Button)").
    const std::string& path() const { return path_; }
    // Keys present but never read.
    std::vector<std::string> unusedKeys() const;
    const nlohmann::json& json() const { return json_; }

private:
    const nlohmann::json* get(std::string_view key);
    const nlohmann::json& json_;
    std::string path_;
    InterfaceOwner* owner_;
    std::vector<std::string>& errors_;
    std::vector<std::string> used_;
};

class InterfaceLoader {
public:
    // Makes the view of a node's class. The loader then applies the common
    // view (and control) keys and adds the subviews.
    using Factory = std::function<std::shared_ptr<View>(InterfaceNode& node)>;

    static void registerClass(const std::string& name, Factory factory);
    // For a class with a default constructor and nothing of its own to read.
    template <class T>
    static void registerPlainClass(const std::string& name) {
        registerClass(name, [](InterfaceNode&) { return std::make_shared<T>(); });
    }
    static bool isRegistered(std::string_view name);
    static std::vector<std::string> registeredClasses();

    // Loads resources/interfaces/<name>.json (name without ".json").
    static Result<std::shared_ptr<View>> load(std::string_view name, InterfaceOwner* owner);
    static Result<std::shared_ptr<View>> loadFile(const std::filesystem::path& path,
                                                  InterfaceOwner* owner);
    static Result<std::shared_ptr<View>>
    loadString(std::string_view text, std::string_view sourceName, InterfaceOwner* owner);
    // Where interface files are looked for.
    static std::filesystem::path pathForInterface(std::string_view name);

    // Parses an event name ("touchUpInside") or returns 0.
    static ControlEvents controlEventNamed(std::string_view name);

    // How pictures are found (default: the resources). Tests may replace it.
    using ImageProvider = std::function<ImageRef(const std::string& name)>;
    static void setImageProvider(ImageProvider provider);
};

} // namespace platform
