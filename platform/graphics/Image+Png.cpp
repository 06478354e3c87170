// PNG reading and writing through libspng.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include <spng.h>

#include "platform/foundation/Log.h"
#include "platform/foundation/Prefault.h"
#include "platform/graphics/Image.h"

namespace platform {

namespace {

// Ancillary chunks (text, ICC profiles, EXIF) larger than this are not
// something a picture for the canvas needs; libspng's limits are off by default.
constexpr std::size_t kMaxChunkBytes = 8u << 20;
constexpr std::size_t kMaxChunkCache = 32u << 20;

struct SpngDeleter {
    void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};
using SpngContext = std::unique_ptr<spng_ctx, SpngDeleter>;

Result<ImageRef> refusePng(const std::string& what, int err) {
    std::string reason = "PNG refused: " + what + " (" + spng_strerror(err) + ")";
    log(reason);
    return Result<ImageRef>::failure(std::move(reason));
}

// round(c * a / 255), exact for all bytes.
inline std::uint8_t mulDiv255(unsigned c, unsigned a) {
    unsigned t = c * a + 128;
    return std::uint8_t((t + (t >> 8)) >> 8);
}

// Walks the chunk list to IEND: true when IEND is there whole, with its fixed
// CRC. libspng does not notice a file cut inside IEND's CRC.
bool hasCompleteEnd(std::span<const std::uint8_t> bytes) {
    static constexpr std::uint8_t kIend[12] = {0,   0,   0,    0,    'I',  'E',
                                               'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    std::size_t pos = 8;
    while (pos + 12 <= bytes.size()) {
        const std::uint64_t length = std::uint64_t(bytes[pos]) << 24 |
                                     std::uint64_t(bytes[pos + 1]) << 16 |
                                     std::uint64_t(bytes[pos + 2]) << 8 | bytes[pos + 3];
        if (std::memcmp(&bytes[pos + 4], "IEND", 4) == 0)
            return std::memcmp(&bytes[pos], kIend, 12) == 0;
        pos += 12 + length;
    }
    return false;
}

} // namespace

Result<ImageRef> Image::decodePng(std::span<const std::uint8_t> bytes) {
    SpngContext ctx(spng_ctx_new(0));
    if (!ctx)
        return refusePng("no memory for the decoder", SPNG_EMEM);
    spng_set_image_limits(ctx.get(), kMaxDimension, kMaxDimension);
    spng_set_chunk_limits(ctx.get(), kMaxChunkBytes, kMaxChunkCache);
    // A damaged ancillary chunk is skipped; damaged image data is an error.
    spng_set_crc_action(ctx.get(), SPNG_CRC_ERROR, SPNG_CRC_DISCARD);
    if (int err = spng_set_png_buffer(ctx.get(), bytes.data(), bytes.size()))
        return refusePng("unreadable data", err);

    spng_ihdr ihdr{};
    if (int err = spng_get_ihdr(ctx.get(), &ihdr))
        return refusePng("bad header", err);
    if (std::int64_t(ihdr.width) * ihdr.height > kMaxPixels)
        return refusePng("picture of " + std::to_string(ihdr.width) + " x " +
                             std::to_string(ihdr.height) + " pixels is too large",
                         SPNG_EWIDTH);
    std::size_t rgbaSize = 0;
    if (int err = spng_decoded_image_size(ctx.get(), SPNG_FMT_RGBA8, &rgbaSize))
        return refusePng("bad header", err);
    const int w = int(ihdr.width), h = int(ihdr.height);
    if (rgbaSize != std::size_t(w) * 4 * std::size_t(h))
        return refusePng("unexpected decoded size", SPNG_EOVERFLOW);

    // Every byte is written: its pages are made resident in one call.
    std::vector<std::uint8_t> pixels = prefaultedBytes(rgbaSize);
    if (int err = spng_decode_image(ctx.get(), pixels.data(), pixels.size(), SPNG_FMT_RGBA8,
                                    SPNG_DECODE_TRNS))
        return refusePng("corrupt or truncated image data", err);
    // The chunks after the image up to IEND: a file cut short there is refused
    // too, since whatever cut it may have damaged more than we can see.
    if (int err = spng_decode_chunks(ctx.get()))
        return refusePng("truncated or corrupt file end", err);
    if (!hasCompleteEnd(bytes))
        return refusePng("truncated file end", SPNG_EOF);

    // RGBA straight alpha to A, R, G, B premultiplied, in place.
    std::uint8_t* p = pixels.data();
    for (std::size_t i = 0; i < rgbaSize; i += 4) {
        const std::uint8_t r = p[i], g = p[i + 1], b = p[i + 2], a = p[i + 3];
        p[i] = a;
        if (a == 255) {
            p[i + 1] = r;
            p[i + 2] = g;
            p[i + 3] = b;
        } else {
            p[i + 1] = mulDiv255(r, a);
            p[i + 2] = mulDiv255(g, a);
            p[i + 3] = mulDiv255(b, a);
        }
    }
    return ImageRef(std::make_shared<const Image>(w, h, std::move(pixels), 0));
}

namespace {

// The rows of a premultiplied ARGB picture, top row first.
struct SourceRows {
    const std::uint8_t* argb;
    int height;
    std::size_t bytesPerRow;
    bool bottomUp;
    const std::uint8_t* operator()(int y) const {
        return argb + std::size_t(bottomUp ? height - 1 - y : y) * bytesPerRow;
    }
};

bool allOpaque(const SourceRows& row, int width) {
    for (int y = 0; y < row.height; ++y) {
        const std::uint8_t* s = row(y);
        for (int x = 0; x < width; ++x)
            if (s[x * 4] != 255)
                return false;
    }
    return true;
}

// Un-premultiplied RGB (opaque) or RGBA, top row first.
std::vector<std::uint8_t> straightRows(const SourceRows& row, int width, bool opaque) {
    const int height = row.height;
    const int channels = opaque ? 3 : 4;
    std::vector<std::uint8_t> raw(std::size_t(width) * channels * std::size_t(height));
    std::uint8_t* d = raw.data();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* s = row(y);
        if (opaque) {
            for (int x = 0; x < width; ++x, s += 4, d += 3) {
                d[0] = s[1];
                d[1] = s[2];
                d[2] = s[3];
            }
            continue;
        }
        for (int x = 0; x < width; ++x, s += 4, d += 4) {
            const unsigned a = s[0];
            if (a == 255) {
                d[0] = s[1];
                d[1] = s[2];
                d[2] = s[3];
            } else if (a == 0) {
                d[0] = d[1] = d[2] = 0;
            } else {
                for (int c = 0; c < 3; ++c) {
                    const unsigned v = (s[c + 1] * 255u + a / 2) / a;
                    d[c] = std::uint8_t(v > 255 ? 255 : v);
                }
            }
            d[3] = std::uint8_t(a);
        }
    }
    return raw;
}

} // namespace

Result<std::vector<std::uint8_t>> Image::encodePng(const std::uint8_t* argb, int width, int height,
                                                   std::size_t bytesPerRow, bool bottomUp,
                                                   int compressionLevel) {
    using R = Result<std::vector<std::uint8_t>>;
    if (!argb || width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension ||
        bytesPerRow < std::size_t(width) * 4)
        return R::failure("PNG encoding: bad picture size");

    const SourceRows rows{argb, height, bytesPerRow, bottomUp};
    const bool opaque = allOpaque(rows, width);
    const std::vector<std::uint8_t> raw = straightRows(rows, width, opaque);

    SpngContext ctx(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!ctx)
        return R::failure("PNG encoding: no memory for the encoder");
    spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1);
    if (compressionLevel >= 0) {
        spng_set_option(ctx.get(), SPNG_IMG_COMPRESSION_LEVEL,
                        compressionLevel > 9 ? 9 : compressionLevel);
        if (compressionLevel <= 3)
            spng_set_option(ctx.get(), SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_UP);
    }
    spng_ihdr ihdr{};
    ihdr.width = std::uint32_t(width);
    ihdr.height = std::uint32_t(height);
    ihdr.bit_depth = 8;
    ihdr.color_type = opaque ? SPNG_COLOR_TYPE_TRUECOLOR : SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
    if (int err = spng_set_ihdr(ctx.get(), &ihdr))
        return R::failure(std::string("PNG encoding failed: ") + spng_strerror(err));
    if (int err = spng_encode_image(ctx.get(), raw.data(), raw.size(), SPNG_FMT_PNG,
                                    SPNG_ENCODE_FINALIZE))
        return R::failure(std::string("PNG encoding failed: ") + spng_strerror(err));
    std::size_t length = 0;
    int err = 0;
    void* png = spng_get_png_buffer(ctx.get(), &length, &err);
    if (!png)
        return R::failure(std::string("PNG encoding failed: ") + spng_strerror(err));
    std::vector<std::uint8_t> out(static_cast<std::uint8_t*>(png),
                                  static_cast<std::uint8_t*>(png) + length);
    std::free(png);
    return out;
}

} // namespace platform
