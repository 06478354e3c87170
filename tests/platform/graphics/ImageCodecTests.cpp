#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <vector>

#include <turbojpeg.h>

#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ResourceBundle.h"
#include "platform/graphics/Image.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

struct QuietLog {
    QuietLog() {
        setLogQuiet(true);
        clearLogCapture();
    }
    ~QuietLog() { setLogQuiet(false); }
};

fs::path scratch(const std::string& name) {
    const char* tmp = std::getenv("ZORBEL_TEST_TMP");
    fs::path dir =
        fs::path(tmp && *tmp ? tmp : fs::temp_directory_path().string()) / ("graphics-" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// Every premultiplied value pair (c <= a) appears, with opaque and clear pixels.
ImageRef premultipliedSampler(int w, int h) {
    std::vector<std::uint8_t> px(std::size_t(w) * h * 4);
    std::mt19937 rng(99);
    for (std::size_t i = 0; i < px.size(); i += 4) {
        const int a = (i / 4) % 5 == 0 ? 255 : (i / 4) % 7 == 0 ? 0 : int(rng() % 256);
        px[i] = std::uint8_t(a);
        for (int c = 1; c < 4; ++c)
            px[i + c] = std::uint8_t(a ? rng() % (a + 1) : 0);
    }
    return *Image::create(w, h, std::move(px));
}

std::vector<std::uint8_t> jpegOf(int w, int h, int pixelFormat,
                                 const std::vector<std::uint8_t>& px) {
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const int ok =
        tjCompress2(tj, px.data(), w, 0, h, pixelFormat, &out, &size, TJSAMP_444, 100, 0);
    EXPECT_EQ(ok, 0) << tjGetErrorStr2(tj);
    std::vector<std::uint8_t> bytes(out, out + size);
    tjFree(out);
    tjDestroy(tj);
    return bytes;
}

// A small RGB JPEG: left half red, right half blue.
std::vector<std::uint8_t> twoColourJpeg(int w, int h) {
    std::vector<std::uint8_t> rgb(std::size_t(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = &rgb[(std::size_t(y) * w + x) * 3];
            p[0] = x < w / 2 ? 255 : 0;
            p[2] = x < w / 2 ? 0 : 255;
        }
    return jpegOf(w, h, TJPF_RGB, rgb);
}

// The JPEG with an APP1 EXIF segment holding one Orientation tag, written
// in the given byte order.
std::vector<std::uint8_t> withExifOrientation(std::vector<std::uint8_t> jpeg, int value,
                                              bool bigEndian) {
    auto u16 = [&](std::vector<std::uint8_t>& v, int x) {
        if (bigEndian) {
            v.push_back(std::uint8_t(x >> 8));
            v.push_back(std::uint8_t(x));
        } else {
            v.push_back(std::uint8_t(x));
            v.push_back(std::uint8_t(x >> 8));
        }
    };
    auto u32 = [&](std::vector<std::uint8_t>& v, std::uint32_t x) {
        if (bigEndian) {
            u16(v, int(x >> 16));
            u16(v, int(x & 0xFFFF));
        } else {
            u16(v, int(x & 0xFFFF));
            u16(v, int(x >> 16));
        }
    };
    std::vector<std::uint8_t> tiff;
    tiff.insert(tiff.end(),
                {std::uint8_t(bigEndian ? 'M' : 'I'), std::uint8_t(bigEndian ? 'M' : 'I')});
    u16(tiff, 42);
    u32(tiff, 8);
    u16(tiff, 1);      // one entry
    u16(tiff, 0x0112); // Orientation
    u16(tiff, 3);      // SHORT
    u32(tiff, 1);
    u16(tiff, value);
    u16(tiff, 0);
    u32(tiff, 0); // no next IFD
    std::vector<std::uint8_t> app1 = {0xFF, 0xE1};
    const std::size_t length = 2 + 6 + tiff.size();
    app1.push_back(std::uint8_t(length >> 8));
    app1.push_back(std::uint8_t(length));
    app1.insert(app1.end(), {'E', 'x', 'i', 'f', 0, 0});
    app1.insert(app1.end(), tiff.begin(), tiff.end());
    jpeg.insert(jpeg.begin() + 2, app1.begin(), app1.end());
    return jpeg;
}

// A PNG header chunk (with a correct CRC) claiming the given size.
std::vector<std::uint8_t> pngWithHeader(std::uint32_t w, std::uint32_t h) {
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13};
    std::vector<std::uint8_t> chunk = {'I', 'H', 'D', 'R'};
    for (std::uint32_t v : {w, h})
        for (int s = 24; s >= 0; s -= 8)
            chunk.push_back(std::uint8_t(v >> s));
    chunk.insert(chunk.end(), {8, 6, 0, 0, 0});
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t b : chunk) {
        crc ^= b;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    crc ^= 0xFFFFFFFFu;
    png.insert(png.end(), chunk.begin(), chunk.end());
    for (int s = 24; s >= 0; s -= 8)
        png.push_back(std::uint8_t(crc >> s));
    // Some image data follows, as in a real file.
    png.insert(png.end(), {0, 0, 0, 2, 'I', 'D', 'A', 'T', 0x78, 0x9c, 0, 0, 0, 0});
    return png;
}

} // namespace

// Premultiplied pixels survive PNG's straight alpha exactly.
TEST(ImageCodec, PngRoundTripGivesBackThePremultipliedBytes) {
    auto image = premultipliedSampler(37, 23);
    auto png = image->pngData();
    ASSERT_TRUE(png) << png.error();
    auto back = Image::decode(*png);
    ASSERT_TRUE(back) << back.error();
    EXPECT_EQ((*back)->width(), 37);
    EXPECT_EQ((*back)->height(), 23);
    EXPECT_EQ(0, std::memcmp((*back)->data(), image->data(), image->bytes().size()));
    auto fast = image->pngData(Image::kFastPngCompression);
    ASSERT_TRUE(fast);
    auto fastBack = Image::decode(*fast);
    ASSERT_TRUE(fastBack);
    EXPECT_EQ(0, std::memcmp((*fastBack)->data(), image->data(), image->bytes().size()));
}

// An opaque picture is written as RGB (colour type 2), a translucent one as RGBA (6).
TEST(ImageCodec, OpaquePictureIsWrittenAsRgb) {
    std::vector<std::uint8_t> px(4 * 4 * 4, 255);
    auto opaque = *Image::create(4, 4, px);
    px[0] = 10;
    px[1] = px[2] = px[3] = 5;
    auto translucent = *Image::create(4, 4, px);
    EXPECT_EQ((*opaque->pngData())[25], 2);
    EXPECT_EQ((*translucent->pngData())[25], 6);
    EXPECT_TRUE(opaque->isOpaque());
    EXPECT_FALSE(translucent->isOpaque());
}

// bottomUp writes the last row first: a y-up buffer comes out as seen.
TEST(ImageCodec, EncodePngBottomUpWritesTheLastRowFirst) {
    std::vector<std::uint8_t> px = {255, 1, 2, 3, 255, 9, 8, 7};
    auto png = Image::encodePng(px.data(), 1, 2, 4, true, Image::kFastPngCompression);
    ASSERT_TRUE(png);
    auto back = *Image::decode(*png);
    EXPECT_EQ(back->data()[1], 9);
    EXPECT_EQ(back->data()[5], 1);
}

// Cut files, random bytes and damaged data are refused with a logged reason.
TEST(ImageCodec, DamagedPngIsRefused) {
    QuietLog quiet;
    auto png = *premultipliedSampler(16, 16)->pngData();
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Case> cases;
    for (std::size_t cut :
         {std::size_t(1), std::size_t(4), std::size_t(12), png.size() / 2, png.size() - 20})
        cases.push_back({"truncated", {png.begin(), png.end() - std::ptrdiff_t(cut)}});
    auto flipped = png;
    flipped[png.size() / 2] ^= 0x55;
    cases.push_back({"damaged image data", flipped});
    std::mt19937 rng(5);
    std::vector<std::uint8_t> noise(3000);
    for (auto& b : noise)
        b = std::uint8_t(rng());
    cases.push_back({"random bytes", noise});
    auto signatureThenNoise = noise;
    std::copy_n(png.begin(), 8, signatureThenNoise.begin());
    cases.push_back({"signature then random bytes", signatureThenNoise});
    cases.push_back({"empty", {}});
    for (const Case& c : cases) {
        clearLogCapture();
        auto result = Image::decode(c.bytes);
        EXPECT_FALSE(result.ok()) << c.what << " " << c.bytes.size();
        if (!result) {
            EXPECT_FALSE(result.error().empty());
            EXPECT_TRUE(logContains(result.error())) << c.what;
        }
    }
}

// A header claiming a huge picture is refused before anything is allocated.
TEST(ImageCodec, HugeHeaderIsRefused) {
    QuietLog quiet;
    for (auto [w, h] : {std::pair{100000u, 100000u}, std::pair{8193u, 1u}, std::pair{8192u, 8193u},
                        std::pair{0x7FFFFFFFu, 0x7FFFFFFFu}}) {
        auto result = Image::decode(pngWithHeader(w, h));
        EXPECT_FALSE(result) << w << " x " << h;
    }
    // A JPEG whose frame header says 60000 x 60000.
    auto jpeg = twoColourJpeg(16, 8);
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = 0xEA;
            jpeg[i + 6] = 0x60;
            jpeg[i + 7] = 0xEA;
            jpeg[i + 8] = 0x60;
            break;
        }
    auto result = Image::decode(jpeg);
    ASSERT_FALSE(result);
    EXPECT_NE(result.error().find("too large"), std::string::npos) << result.error();
}

TEST(ImageCodec, JpegDecodesToOpaquePremultipliedPixels) {
    auto result = Image::decode(twoColourJpeg(16, 8));
    ASSERT_TRUE(result) << result.error();
    const Image& im = **result;
    EXPECT_EQ(im.width(), 16);
    EXPECT_EQ(im.height(), 8);
    EXPECT_EQ(im.orientation(), 0);
    EXPECT_TRUE(im.isOpaque());
    const std::uint8_t* left = im.data() + (3 * 16 + 2) * 4;
    const std::uint8_t* right = im.data() + (3 * 16 + 13) * 4;
    EXPECT_GT(left[1], 240);
    EXPECT_LT(left[3], 15);
    EXPECT_LT(right[1], 15);
    EXPECT_GT(right[3], 240);
}

// EXIF 1, 3, 8, 6, 2, 4, 5, 7 are the orientations 0 to 7, in either byte order.
TEST(ImageCodec, JpegExifOrientationIsMapped) {
    const int exifFor[8] = {1, 3, 8, 6, 2, 4, 5, 7};
    const auto plain = twoColourJpeg(16, 8);
    for (int orientation = 0; orientation < 8; ++orientation)
        for (bool bigEndian : {false, true}) {
            auto result =
                Image::decode(withExifOrientation(plain, exifFor[orientation], bigEndian));
            ASSERT_TRUE(result) << result.error();
            EXPECT_EQ((*result)->orientation(), orientation) << "EXIF " << exifFor[orientation];
            // The pixels stay as stored; the size as seen turns for 2, 3, 6, 7.
            EXPECT_EQ((*result)->width(), 16);
            const bool quarter = orientation == 2 || orientation == 3 || orientation >= 6;
            EXPECT_EQ((*result)->size().width, quarter ? 8.0f : 16.0f);
        }
    auto odd = Image::decode(withExifOrientation(plain, 9, false));
    ASSERT_TRUE(odd);
    EXPECT_EQ((*odd)->orientation(), 0);
}

// CMYK JPEGs (stored inverted, Adobe style) are converted by hand.
TEST(ImageCodec, CmykJpegIsConvertedToRgb) {
    const int w = 16, h = 8;
    std::vector<std::uint8_t> cmyk(std::size_t(w) * h * 4);
    for (int i = 0; i < w * h; ++i) {
        // Inverted CMYK of pure red: C = 255 - 0, M = Y = 255 - 255, K = 255 - 0.
        cmyk[i * 4 + 0] = 255;
        cmyk[i * 4 + 1] = 0;
        cmyk[i * 4 + 2] = 0;
        cmyk[i * 4 + 3] = 255;
    }
    auto result = Image::decode(jpegOf(w, h, TJPF_CMYK, cmyk));
    ASSERT_TRUE(result) << result.error();
    const std::uint8_t* p = (*result)->data() + (4 * w + 4) * 4;
    EXPECT_EQ(p[0], 255);
    EXPECT_GT(p[1], 245);
    EXPECT_LT(p[2], 10);
    EXPECT_LT(p[3], 10);
}

// maxDimension picks the smallest decoder scale that keeps the long side at
// least that long.
TEST(ImageCodec, JpegDecodesAtReducedScale) {
    const auto jpeg = twoColourJpeg(64, 48);
    EXPECT_EQ((*Image::decode(jpeg, 16))->width(), 16);
    EXPECT_EQ((*Image::decode(jpeg, 16))->height(), 12);
    EXPECT_EQ((*Image::decode(jpeg, 17))->width(), 24); // 3/8
    EXPECT_EQ((*Image::decode(jpeg, 0))->width(), 64);
    EXPECT_EQ((*Image::decode(jpeg, 1000))->width(), 64);
}

TEST(ImageCodec, TruncatedJpegIsRefused) {
    QuietLog quiet;
    const auto jpeg = twoColourJpeg(64, 48);
    for (std::size_t keep :
         {jpeg.size() / 3, jpeg.size() * 2 / 3, jpeg.size() - 40, std::size_t(5)}) {
        auto result = Image::decode(std::span(jpeg.data(), keep));
        EXPECT_FALSE(result) << "kept " << keep << " of " << jpeg.size();
    }
}

// A file cut anywhere before its picture data says it is cut off (it once
// claimed to hold a picture of 0 x 0 pixels that was too large).
TEST(ImageCodec, JpegCutInsideItsHeaderSaysItIsTruncated) {
    QuietLog quiet;
    const auto jpeg = twoColourJpeg(16, 8);
    std::size_t scan = 0; // where the picture data starts: after the start-of-scan segment
    for (std::size_t i = 2; i + 3 < jpeg.size() && scan == 0; ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA)
            scan = i + 2 + (std::size_t(jpeg[i + 2]) << 8 | jpeg[i + 3]);
    ASSERT_GT(scan, 0u);
    for (std::size_t keep = 3; keep < scan; ++keep) {
        auto result = Image::decode(std::span(jpeg.data(), keep));
        ASSERT_FALSE(result) << "kept " << keep;
        EXPECT_NE(result.error().find("truncated"), std::string::npos)
            << "kept " << keep << ": " << result.error();
        EXPECT_EQ(result.error().find("0 x 0"), std::string::npos) << result.error();
    }
}

TEST(ImageCodec, CreateRefusesBadSizes) {
    EXPECT_FALSE(Image::create(0, 4, {}));
    EXPECT_FALSE(Image::create(2, 2, std::vector<std::uint8_t>(15)));
    EXPECT_FALSE(Image::create(9000, 1, std::vector<std::uint8_t>(9000 * 4)));
    EXPECT_FALSE(Image::create(1, 1, std::vector<std::uint8_t>(4), 8));
    EXPECT_TRUE(Image::create(1, 1, std::vector<std::uint8_t>(4), 7));
}

// named() finds "name" and "name.png" alike, shares one loaded picture, and
// gives null for missing or unsafe names.
TEST(ImageCodec, NamedLoadsResourcesOnceByName) {
    QuietLog quiet;
    const fs::path dir = scratch("named");
    auto png = *premultipliedSampler(3, 2)->pngData();
    ASSERT_TRUE(writeFileAtomically(dir / "zzgfxtestpicture.png", png));
    ResourceBundle::setOverrideDirectory(dir);
    auto a = Image::named("zzgfxtestpicture");
    auto b = Image::named("zzgfxtestpicture.png");
    ASSERT_TRUE(a);
    EXPECT_EQ(a.get(), b.get());
    EXPECT_EQ(a->width(), 3);
    EXPECT_FALSE(Image::named("zzgfxnosuchpicture"));
    EXPECT_FALSE(Image::named("../zzgfxtestpicture.png"));
    ResourceBundle::setOverrideDirectory({});
}

// Purging lets go of the pictures nobody else holds: they are read again (from
// the file as it is now), while a picture still in use stays the one shared.
TEST(ImageCodec, PurgeDropsOnlyPicturesNobodyHolds) {
    QuietLog quiet;
    Image::purgeNamedPictures(); // what an earlier run of this test left kept
    const fs::path dir = scratch("purge");
    ASSERT_TRUE(
        writeFileAtomically(dir / "zzgfxpurgeheld.png", *premultipliedSampler(3, 2)->pngData()));
    ASSERT_TRUE(
        writeFileAtomically(dir / "zzgfxpurgefree.png", *premultipliedSampler(3, 2)->pngData()));
    ResourceBundle::setOverrideDirectory(dir);
    auto held = Image::named("zzgfxpurgeheld");
    ASSERT_TRUE(held);
    const Image* freed = Image::named("zzgfxpurgefree").get();
    ASSERT_NE(freed, nullptr);
    // The file changes: only a picture read again shows it.
    ASSERT_TRUE(
        writeFileAtomically(dir / "zzgfxpurgefree.png", *premultipliedSampler(5, 4)->pngData()));
    EXPECT_EQ(Image::named("zzgfxpurgefree")->width(), 3);
    EXPECT_GE(Image::purgeNamedPictures(), 1u);
    EXPECT_EQ(Image::named("zzgfxpurgeheld").get(), held.get());
    auto again = Image::named("zzgfxpurgefree");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->width(), 5);
    EXPECT_EQ(Image::named("zzgfxpurgefree").get(), again.get());
    ResourceBundle::setOverrideDirectory({});
}

TEST(ImageCodec, LoadRefusesMissingFile) {
    QuietLog quiet;
    auto result = Image::load(scratch("missing") / "nothing.png");
    EXPECT_FALSE(result);
}

// Seeded random damage (flipped bytes, cuts, spliced garbage) never crashes a
// decoder; whatever is accepted is a picture within the limits.
TEST(ImageCodec, RandomlyDamagedFilesNeverCrash) {
    QuietLog quiet;
    const std::vector<std::uint8_t> originals[] = {
        *premultipliedSampler(24, 17)->pngData(),
        withExifOrientation(twoColourJpeg(24, 16), 6, false),
    };
    std::mt19937 rng(31337);
    for (const auto& original : originals)
        for (int round = 0; round < 150; ++round) {
            std::vector<std::uint8_t> bytes = original;
            const int damage = int(rng() % 3);
            if (damage == 0) {
                for (int k = 0; k < 1 + int(rng() % 4); ++k)
                    bytes[rng() % bytes.size()] ^= std::uint8_t(1 + rng() % 255);
            } else if (damage == 1) {
                bytes.resize(3 + rng() % (bytes.size() - 3));
            } else {
                const std::size_t at = rng() % bytes.size();
                for (std::size_t k = at; k < std::min(bytes.size(), at + 16); ++k)
                    bytes[k] = std::uint8_t(rng());
            }
            auto result = Image::decode(bytes, round % 2 ? 8 : 0);
            if (result) {
                EXPECT_GT((*result)->width(), 0);
                EXPECT_LE((*result)->width(), Image::kMaxDimension);
                EXPECT_EQ((*result)->bytes().size(),
                          std::size_t((*result)->width()) * (*result)->height() * 4);
            }
        }
}
