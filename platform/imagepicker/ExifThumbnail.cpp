#include "platform/imagepicker/ExifThumbnail.h"

#include <cstring>

#include <libexif/exif-data.h>

namespace platform {

namespace {

// The first APP1 "Exif" segment's payload before the image data, or empty.
std::span<const std::uint8_t> exifSegment(std::span<const std::uint8_t> jpeg) {
    if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8)
        return {};
    std::size_t pos = 2;
    while (pos + 4 <= jpeg.size() && jpeg[pos] == 0xFF) {
        const std::uint8_t marker = jpeg[pos + 1];
        if (marker == 0xFF) {
            ++pos;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            break;
        const std::size_t length = std::size_t(jpeg[pos + 2]) << 8 | jpeg[pos + 3];
        if (length < 2 || pos + 2 + length > jpeg.size())
            break;
        static constexpr std::uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
        if (marker == 0xE1 && length >= 8 && std::memcmp(&jpeg[pos + 4], kExif, 6) == 0)
            return jpeg.subspan(pos + 4, length - 2);
        pos += 2 + length;
    }
    return {};
}

// EXIF orientation 1, 3, 8, 6, 2, 4, 5, 7 as Image's 0 to 7.
int imageOrientation(int exif) {
    switch (exif) {
    case 3: return 1;
    case 8: return 2;
    case 6: return 3;
    case 2: return 4;
    case 4: return 5;
    case 5: return 6;
    case 7: return 7;
    default: return 0;
    }
}

} // namespace

std::optional<ExifThumbnail> ExifThumbnail::find(std::span<const std::uint8_t> jpegFile) {
    const auto segment = exifSegment(jpegFile);
    if (segment.empty())
        return std::nullopt;
    ExifData* data = exif_data_new();
    if (!data)
        return std::nullopt;
    exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data, segment.data(), unsigned(segment.size()));
    std::optional<ExifThumbnail> found;
    if (data->data && data->size > 4 && data->data[0] == 0xFF && data->data[1] == 0xD8) {
        ExifThumbnail t;
        t.jpeg.assign(data->data, data->data + data->size);
        if (ExifEntry* e = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
            e && e->format == EXIF_FORMAT_SHORT && e->components >= 1 && e->size >= 2)
            t.orientation = imageOrientation(exif_get_short(e->data, exif_data_get_byte_order(data)));
        found = std::move(t);
    }
    exif_data_unref(data);
    return found;
}

} // namespace platform
