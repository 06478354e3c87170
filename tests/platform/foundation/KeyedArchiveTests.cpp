#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/foundation/ArchiveLimits.h"
#include "tests/platform/foundation/TestCodables.h"

using namespace archive_test;
using platform::ArchiveLimits;
using platform::CodableRegistry;
using Json = nlohmann::json;

namespace {

struct Decoded {
    bool refused = false; // the whole archive, or its root list
    std::string reason;
    std::vector<std::shared_ptr<Codable>> objects;
    std::vector<std::string> problems;
};

Decoded decode(std::string_view text, const CodableRegistry& classes = registry()) {
    Decoded d;
    auto u = KeyedUnarchiver::unarchiverForReadingData(text, classes);
    if (!u) {
        d.refused = true;
        d.reason = u.error();
        return d;
    }
    d.objects = u->decodeObjects(KeyedArchiver::rootKey);
    d.refused = u->failed();
    d.reason = u->failureReason();
    d.problems = u->problems();
    return d;
}

std::string encode(const std::vector<std::shared_ptr<Codable>>& objects) {
    auto text = KeyedArchiver::archivedDataWithRootObjects(pointers(objects));
    EXPECT_TRUE(text) << text.error();
    return text ? *text : std::string();
}

Json goodSticker() {
    return Json::parse(R"({"$class": "Sticker", "Name": "hat", "Size": 1.5, "Ratio": 0.25,
        "Count": 3, "Serial": 1, "Visible": true, "Corners": [0, 0, 1, 1]})");
}

std::string archiveOf(const Json& root) {
    Json whole = {{"archiver", "ZorbelKeyedArchive"}, {"version", 1}, {"top", {{"root", root}}}};
    return whole.dump();
}

// The root list with one altered sticker between two good ones.
template <class Change>
std::string withBadMiddle(Change change) {
    Json bad = goodSticker();
    change(bad);
    return archiveOf(Json::array({goodSticker(), bad, goodSticker()}));
}

bool contains(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

} // namespace

// Every kind of value comes back exactly, extremes included.
TEST(KeyedArchive, EveryValueKindRoundTripsExactly) {
    auto s = std::make_shared<Sticker>();
    s->name = "Grüße \"quoted\"\n\ttab \\ and a NUL \0 inside";
    s->name += std::string(1, '\0') + "end";
    s->size = 0.1f;
    s->ratio = 1.0 / 3.0;
    s->count = INT_MIN;
    s->serial = INT64_MAX;
    s->visible = false;
    s->corners = {FLT_MAX, -FLT_MAX, FLT_MIN, 1e-45f, -0.0f, 123456.789f};
    auto t = std::make_shared<Sticker>();
    t->name = "";
    t->count = INT_MAX;
    t->serial = INT64_MIN;
    t->corners = {};

    const Decoded d = decode(encode({s, t}));
    ASSERT_FALSE(d.refused) << d.reason;
    ASSERT_TRUE(d.problems.empty());
    ASSERT_EQ(d.objects.size(), 2u);
    const auto* a = dynamic_cast<const Sticker*>(d.objects[0].get());
    const auto* b = dynamic_cast<const Sticker*>(d.objects[1].get());
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->name, s->name);
    EXPECT_EQ(a->size, 0.1f);
    EXPECT_EQ(a->ratio, 1.0 / 3.0);
    EXPECT_EQ(a->count, INT_MIN);
    EXPECT_EQ(a->serial, INT64_MAX);
    EXPECT_FALSE(a->visible);
    EXPECT_EQ(a->corners, s->corners);
    EXPECT_EQ(b->name, "");
    EXPECT_EQ(b->count, INT_MAX);
    EXPECT_EQ(b->serial, INT64_MIN);
    EXPECT_TRUE(b->visible);
    EXPECT_TRUE(b->corners.empty());
}

// Floats are stored as their shortest text, so the file reads as written.
TEST(KeyedArchive, FloatsAreWrittenAsTheirShortestText) {
    auto s = std::make_shared<Sticker>();
    s->size = 0.1f;
    s->corners = {0.3f, 700, -2.5f};
    const std::string text = encode({s});
    const Json j = Json::parse(text);
    const Json& coded = j["top"]["root"][0];
    EXPECT_EQ(coded["$class"], "Sticker");
    EXPECT_EQ(coded["Size"].dump(), "0.1");
    EXPECT_EQ(coded["Corners"].dump(), "[0.3,700.0,-2.5]");
    EXPECT_EQ(j["archiver"], "ZorbelKeyedArchive");
    EXPECT_EQ(j["version"], 1);
}

// Lists come back in order, of mixed classes, nested lists and objects included.
TEST(KeyedArchive, ListsKeepTheirOrderAndClasses) {
    std::vector<std::shared_ptr<Codable>> objects;
    for (int i = 0; i < 60; ++i) {
        if (i % 3 == 0) {
            auto n = std::make_shared<Note>();
            n->text = "note " + std::to_string(i);
            objects.push_back(n);
        } else {
            auto s = std::make_shared<Sticker>();
            s->count = i;
            objects.push_back(s);
        }
    }
    auto box = std::make_shared<Box>();
    box->inner = std::make_shared<Note>();
    box->content = {objects[1], objects[0], objects[2]};
    objects.push_back(box);

    const Decoded d = decode(encode(objects));
    ASSERT_FALSE(d.refused) << d.reason;
    ASSERT_EQ(d.objects.size(), 61u);
    for (int i = 0; i < 60; ++i) {
        if (i % 3 == 0) {
            const auto* n = dynamic_cast<const Note*>(d.objects[std::size_t(i)].get());
            ASSERT_TRUE(n) << i;
            EXPECT_EQ(n->text, "note " + std::to_string(i));
        } else {
            const auto* s = dynamic_cast<const Sticker*>(d.objects[std::size_t(i)].get());
            ASSERT_TRUE(s) << i;
            EXPECT_EQ(s->count, i);
        }
    }
    const auto* b = dynamic_cast<const Box*>(d.objects[60].get());
    ASSERT_TRUE(b);
    EXPECT_TRUE(dynamic_cast<const Note*>(b->inner.get()));
    ASSERT_EQ(b->content.size(), 3u);
    EXPECT_EQ(dynamic_cast<const Sticker*>(b->content[0].get())->count, 1);
    EXPECT_TRUE(dynamic_cast<const Note*>(b->content[1].get()));
    EXPECT_EQ(dynamic_cast<const Sticker*>(b->content[2].get())->count, 2);
}

TEST(KeyedArchive, RegistryTakesEachClassOnce) {
    CodableRegistry r;
    EXPECT_TRUE(r.registerClass("Note", &Note::initWithCoder));
    EXPECT_FALSE(r.registerClass("Note", &Note::initWithCoder));
    EXPECT_FALSE(r.registerClass("", &Note::initWithCoder));
    EXPECT_FALSE(r.registerClass("Empty", CodableRegistry::Factory()));
    EXPECT_TRUE(r.isRegistered("Note"));
    EXPECT_FALSE(r.isRegistered("Sticker"));

    // A class written by the app but not registered with this reader is not decoded.
    const Decoded d = decode(encode({std::make_shared<Sticker>(), std::make_shared<Note>()}), r);
    ASSERT_EQ(d.objects.size(), 1u);
    EXPECT_TRUE(dynamic_cast<const Note*>(d.objects[0].get()));
    ASSERT_EQ(d.problems.size(), 1u);
    EXPECT_TRUE(contains(d.problems[0], "element 1 (Sticker)")) << d.problems[0];
    EXPECT_TRUE(contains(d.problems[0], "is not registered")) << d.problems[0];
}

// The writer never writes what the reader would refuse: an object whose keys
// cannot be written is left out, with its reason; the rest is written.
TEST(KeyedArchive, WriterLeavesOutObjectsItCannotWrite) {
    auto good = std::make_shared<Note>();
    auto nan = std::make_shared<Sticker>();
    nan->size = std::nanf("");
    auto inf = std::make_shared<Sticker>();
    inf->corners = {1, INFINITY};
    auto huge = std::make_shared<Note>();
    huge->text.assign(ArchiveLimits::maxStringBytes + 1, 'x');
    std::vector<std::string> problems;
    auto text = KeyedArchiver::archivedDataWithRootObjects(pointers({nan, good, inf, huge, good}),
                                                           &problems);
    ASSERT_TRUE(text) << text.error();
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_TRUE(contains(problems[0], "element 1 (Sticker)")) << problems[0];
    EXPECT_TRUE(contains(problems[0], "\"Size\" is not a finite number")) << problems[0];
    EXPECT_TRUE(contains(problems[1], "element 3 (Sticker)")) << problems[1];
    EXPECT_TRUE(contains(problems[2], "is a string of 16385 bytes")) << problems[2];
    const Decoded d = decode(*text);
    EXPECT_TRUE(d.problems.empty());
    EXPECT_EQ(d.objects.size(), 2u);

    // At the top there is nothing to leave out: the archive is not made.
    KeyedArchiver top;
    top.encodeDouble(INFINITY, "Scale");
    EXPECT_FALSE(top.encodedData());
    KeyedArchiver reserved;
    reserved.encodeInt(1, "$class");
    EXPECT_FALSE(reserved.encodedData());

    std::vector<std::shared_ptr<Codable>> many(ArchiveLimits::maxListCount + 1,
                                               std::make_shared<Note>());
    auto tooMany = KeyedArchiver::archivedDataWithRootObjects(pointers(many));
    ASSERT_FALSE(tooMany);
    EXPECT_TRUE(contains(tooMany.error(), "holds 1001 objects")) << tooMany.error();
    many.pop_back();
    EXPECT_TRUE(KeyedArchiver::archivedDataWithRootObjects(pointers(many)));
}

TEST(KeyedArchive, ObjectsNestedTooDeeplyAreNeitherWrittenNorRead) {
    auto box = std::make_shared<Box>();
    for (int i = 1; i < ArchiveLimits::maxObjectDepth; ++i) {
        auto outer = std::make_shared<Box>();
        outer->inner = box;
        box = outer;
    }
    EXPECT_EQ(decode(encode({box})).objects.size(), 1u); // exactly at the limit

    auto deeper = std::make_shared<Box>();
    deeper->inner = box;
    std::vector<std::string> problems;
    auto text = KeyedArchiver::archivedDataWithRootObjects(pointers({deeper}), &problems);
    ASSERT_TRUE(text);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_TRUE(contains(problems[0], "nested too deeply")) << problems[0];

    // The same depth written by hand is refused when read.
    Json element = {{"$class", "Note"}, {"Text", "deep"}};
    for (int i = 0; i < ArchiveLimits::maxObjectDepth; ++i)
        element = {{"$class", "Box"}, {"Inner", element}, {"Content", Json::array()}};
    const Decoded d = decode(archiveOf(Json::array({element})));
    EXPECT_TRUE(d.objects.empty());
    ASSERT_EQ(d.problems.size(), 1u);
    EXPECT_TRUE(contains(d.problems[0], "nested too deeply")) << d.problems[0];
}

// Each hostile archive is refused with its reason; the good elements around a
// bad one are still read. Every case runs under the sanitizers.
TEST(KeyedArchive, HostileArchivesAreRefusedWithTheirReason) {
    struct Case {
        const char* name;
        std::string text;
        bool refused;     // whole archive (or root list) refused
        const char* why;  // in the reason, or in the one problem
        std::size_t read; // objects still read
    };
    const std::string good = archiveOf(Json::array({goodSticker()}));
    std::string manyCommas = "[";
    for (std::size_t i = 0; i <= ArchiveLimits::maxJsonValues; ++i)
        manyCommas += "0,";
    manyCommas += "0]";
    Json many = Json::array();
    for (std::size_t i = 0; i <= ArchiveLimits::maxListCount; ++i)
        many.push_back(goodSticker());
    std::string oversized(ArchiveLimits::maxArchiveBytes + 1, ' ');
    oversized.replace(0, good.size(), good);

    const std::vector<Case> cases = {
        {"empty", "", true, "not valid JSON", 0},
        {"garbage", "\x89PNG\r\n\x1a\n", true, "not valid JSON", 0},
        {"truncated", good.substr(0, good.size() / 2), true, "not valid JSON", 0},
        {"invalid UTF-8", archiveOf(Json::array()).insert(1, "\"\xff\xfe\": 1, "), true,
         "not valid JSON", 0},
        {"settings file", R"({"BrushSize": 12, "SelectedTool": 1})", true, "not a keyed archive",
         0},
        {"top-level list", "[1, 2, 3]", true, "not a keyed archive", 0},
        {"other archiver", R"({"archiver": "Other", "version": 1, "top": {}})", true,
         "not a keyed archive", 0},
        {"newer format", R"({"archiver": "ZorbelKeyedArchive", "version": 2, "top": {}})", true,
         "newer version (format 2)", 0},
        {"version as text", R"({"archiver": "ZorbelKeyedArchive", "version": "1", "top": {}})",
         true, "without a usable version", 0},
        {"no top", R"({"archiver": "ZorbelKeyedArchive", "version": 1})", true,
         "without its top keys", 0},
        {"no root", R"({"archiver": "ZorbelKeyedArchive", "version": 1, "top": {}})", true,
         "missing key \"root\"", 0},
        {"root not a list", archiveOf(goodSticker()), true, "\"root\" is not a list", 0},
        {"thousands of layers", archiveOf(many), true, "holds 1001 elements (at most 1000)", 0},
        {"deep brackets", std::string(100000, '[') + std::string(100000, ']'), true,
         "nested too deeply", 0},
        {"millions of values", manyCommas, true, "too many values", 0},
        {"over 16 MB", oversized, true, "larger than 16 MB", 0},
        {"unregistered class", withBadMiddle([](Json& j) { j["$class"] = "Shell"; }), false,
         "class \"Shell\" is not registered", 2},
        {"huge class name", withBadMiddle([](Json& j) { j["$class"] = std::string(1 << 16, 'C'); }),
         false, "CCC...\" is not registered", 2},
        {"no class", withBadMiddle([](Json& j) { j.erase("$class"); }), false, "no class name", 2},
        {"not an object", archiveOf(Json::array({goodSticker(), 42, goodSticker()})), false,
         "not an object", 2},
        {"missing key", withBadMiddle([](Json& j) { j.erase("Visible"); }), false,
         "missing key \"Visible\"", 2},
        {"text for a number", withBadMiddle([](Json& j) { j["Size"] = "big"; }), false,
         "\"Size\" is not a finite number", 2},
        {"float overflow", withBadMiddle([](Json& j) { j["Size"] = 1e39; }), false,
         "\"Size\" is not a finite number", 2},
        {"null for NaN", withBadMiddle([](Json& j) { j["Corners"] = Json::parse("[0, null]"); }),
         false, "\"Corners\" holds something that is not a finite number", 2},
        {"long float list",
         withBadMiddle([](Json& j) { j["Corners"] = std::vector<float>(1000, 1.0f); }), false,
         "\"Corners\" is not a short list of numbers", 2},
        {"fraction for an int", withBadMiddle([](Json& j) { j["Count"] = 2.5; }), false,
         "\"Count\" is not an integer", 2},
        {"int out of range", withBadMiddle([](Json& j) { j["Count"] = 4294967296LL; }), false,
         "\"Count\" is out of range", 2},
        {"int64 out of range",
         withBadMiddle([](Json& j) { j["Serial"] = 18446744073709551615ULL; }), false,
         "\"Serial\" is out of range", 2},
        {"number for a bool", withBadMiddle([](Json& j) { j["Visible"] = 1; }), false,
         "\"Visible\" is not a boolean", 2},
        {"megabyte string", withBadMiddle([](Json& j) { j["Name"] = std::string(1 << 20, 'x'); }),
         false, "\"Name\" is a string of 1048576 bytes", 2},
        {"factory refuses",
         archiveOf(Json::array({goodSticker(), {{"$class", "Note"}, {"Text", "refuse me"}}})),
         false, "the note refuses", 1},
        {"factory throws",
         archiveOf(Json::array({{{"$class", "Note"}, {"Text", "throw"}}, goodSticker()})), false,
         "its factory failed (a note that throws)", 1},
        {"bad element in a nested list",
         archiveOf(
             Json::array({{{"$class", "Box"},
                           {"Content", Json::array({goodSticker(), {{"$class", "Note"}}})}}})),
         false, "missing key \"Text\"", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded d = decode(c.text);
        EXPECT_EQ(d.refused, c.refused) << d.reason;
        EXPECT_EQ(d.objects.size(), c.read);
        if (c.refused) {
            EXPECT_TRUE(contains(d.reason, c.why)) << d.reason;
        } else {
            ASSERT_EQ(d.problems.size(), 1u);
            EXPECT_TRUE(contains(d.problems[0], c.why)) << d.problems[0];
            EXPECT_LT(d.problems[0].size(), 300u); // hostile names are cut short
        }
    }
}

// Seeded random damage to a good archive: whatever comes out, nothing crashes
// and every object that is returned is whole.
TEST(KeyedArchive, RandomDamageNeverCrashes) {
    std::vector<std::shared_ptr<Codable>> objects;
    for (int i = 0; i < 8; ++i) {
        objects.push_back(std::make_shared<Sticker>());
        objects.push_back(std::make_shared<Note>());
    }
    const std::string good = encode(objects);
    std::mt19937 rng(20260511);
    int readWhole = 0;
    for (int round = 0; round < 1000; ++round) {
        std::string text = good;
        const int edits = 1 + int(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = rng() % text.size();
            switch (rng() % 4) {
            case 0:
                text[at] = char(rng() % 256);
                break;
            case 1:
                text.erase(at, 1 + rng() % 20);
                break;
            case 2:
                text.insert(at, 1, "{}[],:\"0e-9"[rng() % 11]);
                break;
            default:
                text.resize(at);
                break;
            }
            if (text.empty())
                text = "{";
        }
        const Decoded d = decode(text);
        for (const auto& o : d.objects) {
            ASSERT_TRUE(o);
            if (const auto* s = dynamic_cast<const Sticker*>(o.get())) {
                ASSERT_TRUE(std::isfinite(s->size) && std::isfinite(s->ratio));
            }
        }
        readWhole += !d.refused && d.problems.empty() && d.objects.size() == objects.size();
    }
    EXPECT_LT(readWhole, 1000); // the damage did reach the decoder
}
