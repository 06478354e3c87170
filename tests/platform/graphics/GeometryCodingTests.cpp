#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/foundation/CodableRegistry.h"
#include "platform/graphics/GeometryCoding.h"

using namespace platform;
using Json = nlohmann::json;

namespace {

// A layer-like object: every geometry kind under the keys the layers use.
struct Placed : Codable {
    std::string file = "tophat.overlay.png";
    Rect orgFrame{0, 0, 700, 300};
    Point center{160, 230};
    Color color = Color::blueColor();
    AffineTransform transform;

    std::string className() const override { return "Placed"; }
    void encodeWithCoder(KeyedArchiver& coder) const override {
        coder.encodeString(file, "ImageFileName");
        encodeRect(coder, orgFrame, "OrgFrame");
        encodePoint(coder, center, "Center");
        encodeColor(coder, color, "FontColor");
        encodeTransform(coder, transform, "OriginalTransform");
    }
    static Result<std::shared_ptr<Codable>> initWithCoder(KeyedUnarchiver& coder) {
        auto p = std::make_shared<Placed>();
        p->file = coder.decodeString("ImageFileName");
        p->orgFrame = decodeRect(coder, "OrgFrame");
        p->center = decodePoint(coder, "Center");
        p->color = decodeColor(coder, "FontColor");
        p->transform = decodeTransform(coder, "OriginalTransform");
        return std::shared_ptr<Codable>(p);
    }
};

const CodableRegistry& classes() {
    static const CodableRegistry r = [] {
        CodableRegistry r;
        (void)r.registerClass("Placed", &Placed::initWithCoder);
        return r;
    }();
    return r;
}

std::string encode(const std::vector<const Codable*>& objects,
                   std::vector<std::string>* problems = nullptr) {
    auto text = KeyedArchiver::archivedDataWithRootObjects(objects, problems);
    EXPECT_TRUE(text) << text.error();
    return text ? *text : std::string();
}

struct Decoded {
    std::vector<std::shared_ptr<Codable>> objects;
    std::vector<std::string> problems;
};

Decoded decode(const std::string& text) {
    auto u = KeyedUnarchiver::unarchiverForReadingData(text, classes());
    EXPECT_TRUE(u) << u.error();
    if (!u)
        return {};
    Decoded d;
    d.objects = u->decodeObjects(KeyedArchiver::rootKey);
    d.problems = u->problems();
    return d;
}

} // namespace

// The transform is kept as its text, in exactly this form.
TEST(GeometryCoding, TransformIsStoredAsItsText) {
    struct Row {
        AffineTransform t;
        const char* text;
    };
    const Row rows[] = {
        {AffineTransform::identity(), "[1, 0, 0, 1, 0, 0]"},
        {AffineTransform::makeTranslation(12.5f, -3), "[1, 0, 0, 1, 12.5, -3]"},
        {AffineTransform::makeScale(0.1f, 3), "[0.1, 0, 0, 3, 0, 0]"},
        {AffineTransform::makeRotation(1.5707964f), "[-4.371139e-08, 1, -1, -4.371139e-08, 0, 0]"},
        {AffineTransform::makeScale(-1, 1), "[-1, 0, 0, 1, 0, 0]"},
    };
    for (const Row& row : rows) {
        Placed p;
        p.transform = row.t;
        const Json j = Json::parse(encode({&p}));
        EXPECT_EQ(j["top"]["root"][0]["OriginalTransform"], row.text);
    }
}

// Rectangles, points, both colour forms and transforms come back exactly, in order.
TEST(GeometryCoding, LayerGeometryRoundTripsExactlyInOrder) {
    std::vector<Placed> placed(4);
    placed[0].orgFrame = Rect(-10.25f, 0.1f, 700, 300);
    placed[0].transform = AffineTransform::makeRotation(0.3f).scaled(1.7f, 1.7f).translated(3, 4);
    placed[1].color = Color::grey(0.5f, 0.25f);
    placed[1].center = {-999999, 1e-7f};
    placed[2].color = Color::rgb(0.1f, 0.2f, 0.3f, 1);
    placed[2].transform = AffineTransform::makeRotation(1.5707964f);
    placed[3].file = "beard.overlay.png";
    placed[3].orgFrame = Rect(0, 0, -5, -6); // negative sizes are kept as they are
    std::vector<const Codable*> list;
    for (const Placed& p : placed)
        list.push_back(&p);

    const Decoded d = decode(encode(list));
    EXPECT_TRUE(d.problems.empty());
    ASSERT_EQ(d.objects.size(), placed.size());
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const auto* p = dynamic_cast<const Placed*>(d.objects[i].get());
        ASSERT_TRUE(p);
        EXPECT_EQ(p->file, placed[i].file) << i;
        EXPECT_EQ(p->orgFrame, placed[i].orgFrame) << i;
        EXPECT_EQ(p->center, placed[i].center) << i;
        EXPECT_EQ(p->color, placed[i].color) << i;
        EXPECT_EQ(p->transform, placed[i].transform) << i;
    }
    EXPECT_EQ(dynamic_cast<const Placed*>(d.objects[1].get())->color.numberOfComponents(), 2u);
}

// Geometry that is not finite or absurdly large is neither written nor read.
TEST(GeometryCoding, UnusableGeometryIsRefusedBothWays) {
    Placed nan, inf, big, colour;
    nan.transform.tx = std::nanf("");
    inf.orgFrame.size.width = INFINITY;
    big.center.x = 2 * maxArchivedCoordinate;
    colour.color = Color::rgb(1.5f, 0, 0);
    std::vector<std::string> problems;
    const Placed good;
    const Decoded d = decode(encode({&nan, &inf, &good, &big, &colour}, &problems));
    EXPECT_EQ(d.objects.size(), 1u);
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_NE(problems[0].find("\"OriginalTransform\" is not a usable transform"),
              std::string::npos);
    EXPECT_NE(problems[1].find("\"OrgFrame\" is not a usable rectangle"), std::string::npos);
    EXPECT_NE(problems[2].find("\"Center\" is not a usable point"), std::string::npos);
    EXPECT_NE(problems[3].find("\"FontColor\" is not a usable colour"), std::string::npos);

    struct Case {
        const char* key;
        Json value;
        const char* why;
    };
    const Case cases[] = {
        {"OriginalTransform", "garbage", "is not a usable transform"},
        {"OriginalTransform", "[1, 0, 0, 1, 0]", "is not a usable transform"},
        {"OriginalTransform", "[1, 0, 0, 1, 0, 0] and more", "is not a usable transform"},
        {"OriginalTransform", "[1, 0, 0, 1, nan, 0]", "is not a usable transform"},
        {"OriginalTransform", "[1, 0, 0, 1, inf, 0]", "is not a usable transform"},
        {"OriginalTransform", "[1, 0, 0, 1, 1e39, 0]", "is not a usable transform"},
        {"OriginalTransform", "[1e7, 0, 0, 1, 0, 0]", "is not a usable transform"},
        {"OriginalTransform", Json::array({1, 0, 0, 1, 0, 0}), "is not a string"},
        {"OrgFrame", Json::array({0, 0, 700}), "is not a rectangle"},
        {"OrgFrame", Json::array({0, 0, 700, 1e30}), "is not a usable rectangle"},
        {"OrgFrame", "{{0, 0}, {700, 300}}", "is not a short list of numbers"},
        {"Center", Json::array({"160", "230"}), "holds something that is not a finite number"},
        {"Center", Json::array({160, 230, 0}), "is not a point"},
        {"FontColor", Json::array({0, 0, 1}), "is not a colour"},
        {"FontColor", Json::array({0, 0, 1, -0.5}), "is not a usable colour"},
    };
    const Json goodArchive = Json::parse(encode({&good}));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " = " + c.value.dump());
        Json j = goodArchive;
        j["top"]["root"][0][c.key] = c.value;
        const Decoded bad = decode(j.dump());
        EXPECT_TRUE(bad.objects.empty());
        ASSERT_EQ(bad.problems.size(), 1u);
        EXPECT_NE(bad.problems[0].find(c.why), std::string::npos) << bad.problems[0];
    }
}
