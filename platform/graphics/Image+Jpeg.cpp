// JPEG reading through the TurboJPEG API, with the EXIF orientation from libexif.
#include <cstring>
#include <memory>
#include <string>

#include <libexif/exif-data.h>
#include <turbojpeg.h>

#include "platform/foundation/Log.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/ImagePixels.h"

namespace platform {

namespace {

struct TjDeleter {
    void operator()(void* h) const { tjDestroy(h); }
};
using TjHandle = std::unique_ptr<void, TjDeleter>;

Result<ImageRef> refuseJpeg(const std::string& what) {
    std::string reason = "JPEG refused: " + what;
    log(reason);
    return Result<ImageRef>::failure(std::move(reason));
}

// Whether the file ends before its header does: before the start-of-scan
// segment is whole. The decoder reads past such an end as if a marker came
// there and reports whatever that looks like (a bogus table, a picture of no
// pixels), so the cut is found here first. Bytes that are not a marker where
// one belongs are left for the decoder to judge.
bool endsInsideHeader(std::span<const std::uint8_t> jpeg) {
    std::size_t pos = 2; // after SOI
    for (;;) {
        if (pos >= jpeg.size())
            return true;
        if (jpeg[pos] != 0xFF)
            return false;
        while (pos < jpeg.size() && jpeg[pos] == 0xFF) // fill bytes
            ++pos;
        if (pos >= jpeg.size())
            return true;
        const std::uint8_t marker = jpeg[pos++];
        if (marker == 0xD9) // end of image: no picture, but not cut off
            return false;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) // no length
            continue;
        if (pos + 2 > jpeg.size())
            return true;
        const std::size_t length = std::size_t(jpeg[pos]) << 8 | jpeg[pos + 1];
        if (pos + length > jpeg.size())
            return true;
        if (marker == 0xDA)
            return false;
        pos += length;
    }
}

// The payload of the first APP1 "Exif" segment before the image data, or empty.
std::span<const std::uint8_t> findExif(std::span<const std::uint8_t> jpeg) {
    std::size_t pos = 2; // after SOI
    while (pos + 4 <= jpeg.size()) {
        if (jpeg[pos] != 0xFF)
            break;
        const std::uint8_t marker = jpeg[pos + 1];
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            break; // image data: no metadata after this point matters
        const std::size_t length = std::size_t(jpeg[pos + 2]) << 8 | jpeg[pos + 3];
        if (length < 2 || pos + 2 + length > jpeg.size())
            break;
        static constexpr std::uint8_t kExifHeader[6] = {'E', 'x', 'i', 'f', 0, 0};
        if (marker == 0xE1 && length >= 2 + 6 && std::memcmp(&jpeg[pos + 4], kExifHeader, 6) == 0)
            return jpeg.subspan(pos + 4, length - 2);
        pos += 2 + length;
    }
    return {};
}

// The EXIF orientation as the picture's orientation; anything else is up.
int orientationFromExif(std::span<const std::uint8_t> jpeg) {
    const auto exif = findExif(jpeg);
    if (exif.empty())
        return 0;
    ExifData* data = exif_data_new();
    if (!data)
        return 0;
    // Read the tags as written; do not let libexif invent missing ones.
    exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data, exif.data(), unsigned(exif.size()));
    int orientation = 0;
    if (ExifEntry* e = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
        e && e->format == EXIF_FORMAT_SHORT && e->components >= 1 && e->size >= 2)
        orientation = int(
            pictureOrientationFromExif(exif_get_short(e->data, exif_data_get_byte_order(data))));
    exif_data_unref(data);
    return orientation;
}

// The smallest of the decoder's scales that keeps the long side at least
// maxDimension pixels (full size when none is smaller).
tjscalingfactor chooseScale(int width, int height, int maxDimension) {
    tjscalingfactor best{1, 1};
    if (maxDimension <= 0)
        return best;
    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    const int longSide = width > height ? width : height;
    int bestSide = longSide;
    for (int i = 0; factors && i < count; ++i) {
        const tjscalingfactor f = factors[i];
        if (f.num >= f.denom)
            continue;
        const int side = TJSCALED(longSide, f);
        if (side >= maxDimension && side < bestSide) {
            best = f;
            bestSide = side;
        }
    }
    return best;
}

} // namespace

Result<ImageRef> Image::decodeJpeg(std::span<const std::uint8_t> bytes, int maxDimension) {
    TjHandle tj(tjInitDecompress());
    if (!tj)
        return refuseJpeg("no memory for the decoder");
    // TurboJPEG takes a non-const pointer but does not write through it.
    auto* src = const_cast<unsigned char*>(bytes.data());
    const unsigned long srcSize = static_cast<unsigned long>(bytes.size());
    if (endsInsideHeader(bytes))
        return refuseJpeg("truncated: the file ends inside its header");
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(tj.get(), src, srcSize, &width, &height, &subsampling, &colorspace) !=
        0)
        return refuseJpeg(std::string("bad header (") + tjGetErrorStr2(tj.get()) + ")");
    if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension ||
        std::int64_t(width) * height > kMaxPixels)
        return refuseJpeg("picture of " + std::to_string(width) + " x " + std::to_string(height) +
                          " pixels is too large");

    const tjscalingfactor scale = chooseScale(width, height, maxDimension);
    const int w = TJSCALED(width, scale), h = TJSCALED(height, scale);
    const bool cmyk = colorspace == TJCS_CMYK || colorspace == TJCS_YCCK;
    ImagePixels pixels = ImagePixels::allocate(std::size_t(w) * 4 * std::size_t(h));
    if (!pixels)
        return refuseJpeg("no memory for a picture of " + std::to_string(w) + " x " +
                          std::to_string(h) + " pixels");
    const int status = tjDecompress2(tj.get(), src, srcSize, pixels.data(), w, w * 4, h,
                                     cmyk ? TJPF_CMYK : TJPF_ARGB,
                                     // A crafted progressive file with thousands
                                     // of scans would take minutes to decode.
                                     TJFLAG_LIMITSCANS);
    if (status != 0) {
        const std::string message = tjGetErrorStr2(tj.get());
        if (tjGetErrorCode(tj.get()) != TJERR_WARNING)
            return refuseJpeg("corrupt data (" + message + ")");
        // libjpeg fills a cut-off picture with grey and only warns: refuse
        // that, but keep pictures with harmless warnings (stray bytes).
        if (message.find("remature end") != std::string::npos ||
            message.find("bad Huffman") != std::string::npos)
            return refuseJpeg("truncated or corrupt data (" + message + ")");
    }
    if (cmyk) {
        // Adobe-style CMYK (stored inverted): R = C * K / 255 and so on.
        std::uint8_t* p = pixels.data();
        for (std::size_t i = 0; i < pixels.size(); i += 4) {
            const unsigned c = p[i], m = p[i + 1], y = p[i + 2], k = p[i + 3];
            p[i] = 255;
            p[i + 1] = std::uint8_t((c * k + 127) / 255);
            p[i + 2] = std::uint8_t((m * k + 127) / 255);
            p[i + 3] = std::uint8_t((y * k + 127) / 255);
        }
    }
    return ImageRef(
        std::make_shared<const Image>(w, h, std::move(pixels), orientationFromExif(bytes)));
}

} // namespace platform
