#pragma once

// Small coded classes for the archive tests: a sticker holding one value of
// every kind, a note holding only text, and a box holding further objects.

#include <climits>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/foundation/CodableRegistry.h"
#include "platform/foundation/KeyedArchiver.h"
#include "platform/foundation/KeyedUnarchiver.h"

namespace archive_test {

using platform::Codable;
using platform::KeyedArchiver;
using platform::KeyedUnarchiver;
using platform::Result;

struct Sticker : Codable {
    std::string name = "hat";
    float size = 1.5f;
    double ratio = 0.25;
    int count = 3;
    std::int64_t serial = 1;
    bool visible = true;
    std::vector<float> corners{0, 0, 1, 1};

    std::string className() const override { return "Sticker"; }
    void encodeWithCoder(KeyedArchiver& coder) const override {
        coder.encodeString(name, "Name");
        coder.encodeFloat(size, "Size");
        coder.encodeDouble(ratio, "Ratio");
        coder.encodeInt(count, "Count");
        coder.encodeInt64(serial, "Serial");
        coder.encodeBool(visible, "Visible");
        coder.encodeFloats(corners, "Corners");
    }
    static Result<std::shared_ptr<Codable>> initWithCoder(KeyedUnarchiver& coder) {
        auto s = std::make_shared<Sticker>();
        s->name = coder.decodeString("Name");
        s->size = coder.decodeFloat("Size");
        s->ratio = coder.decodeDouble("Ratio");
        s->count = coder.decodeInt("Count");
        s->serial = coder.decodeInt64("Serial");
        s->visible = coder.decodeBool("Visible");
        s->corners = coder.decodeFloats("Corners");
        return std::shared_ptr<Codable>(s);
    }
};

struct Note : Codable {
    std::string text = "note";
    std::string className() const override { return "Note"; }
    void encodeWithCoder(KeyedArchiver& coder) const override { coder.encodeString(text, "Text"); }
    static Result<std::shared_ptr<Codable>> initWithCoder(KeyedUnarchiver& coder) {
        auto n = std::make_shared<Note>();
        n->text = coder.decodeString("Text");
        if (n->text == "refuse me")
            return Result<std::shared_ptr<Codable>>::failure("the note refuses");
        if (n->text == "throw")
            throw std::runtime_error("a note that throws");
        return std::shared_ptr<Codable>(n);
    }
};

struct Box : Codable {
    std::shared_ptr<Codable> inner;                // "Inner", when set
    std::vector<std::shared_ptr<Codable>> content; // "Content"
    std::string className() const override { return "Box"; }
    void encodeWithCoder(KeyedArchiver& coder) const override {
        if (inner)
            coder.encodeObject(*inner, "Inner");
        std::vector<const Codable*> list;
        for (const auto& c : content)
            list.push_back(c.get());
        coder.encodeObjects(list, "Content");
    }
    static Result<std::shared_ptr<Codable>> initWithCoder(KeyedUnarchiver& coder) {
        auto b = std::make_shared<Box>();
        if (coder.containsValueForKey("Inner"))
            b->inner = coder.decodeObject("Inner");
        b->content = coder.decodeObjects("Content");
        return std::shared_ptr<Codable>(b);
    }
};

inline const platform::CodableRegistry& registry() {
    static const platform::CodableRegistry classes = [] {
        platform::CodableRegistry r;
        (void)r.registerClass("Sticker", &Sticker::initWithCoder);
        (void)r.registerClass("Note", &Note::initWithCoder);
        (void)r.registerClass("Box", &Box::initWithCoder);
        return r;
    }();
    return classes;
}

inline std::vector<const Codable*> pointers(const std::vector<std::shared_ptr<Codable>>& objects) {
    std::vector<const Codable*> out;
    for (const auto& o : objects)
        out.push_back(o.get());
    return out;
}

} // namespace archive_test
