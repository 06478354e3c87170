#pragma once

// Picture files for the image picker's tests, written in a folder of their own.

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <libexif/exif-data.h>
#include <turbojpeg.h>
#include <unistd.h>

#include "platform/foundation/FileIO.h"
#include "platform/graphics/Image.h"

namespace picker_testing {

namespace fs = std::filesystem;

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

// A fresh folder under the build's test folder, removed at the end.
class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> counter{0};
        const char* base = std::getenv("ZORBEL_TEST_TMP");
        path_ = fs::path(base ? base : "/tmp") /
                ("picker-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// A baseline JPEG of w x h whose pixel (x, y) is colour(x, y).
inline std::vector<std::uint8_t> jpegBytes(int w, int h, const std::function<Rgb(int, int)>& colour,
                                           int quality = 95) {
    std::vector<std::uint8_t> rgb(std::size_t(w) * std::size_t(h) * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb c = colour(x, y);
            std::uint8_t* p = &rgb[(std::size_t(y) * std::size_t(w) + std::size_t(x)) * 3];
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
        }
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const int status = tjCompress2(tj, rgb.data(), w, w * 3, h, TJPF_RGB, &out, &size, TJSAMP_444,
                                   quality, 0);
    std::vector<std::uint8_t> bytes;
    if (status == 0)
        bytes.assign(out, out + size);
    tjFree(out);
    tjDestroy(tj);
    return bytes;
}

// `main` with an EXIF block after its start marker holding `thumbnail` as
// the camera's small picture and the EXIF orientation given.
inline std::vector<std::uint8_t> withExifThumbnail(const std::vector<std::uint8_t>& main,
                                                   const std::vector<std::uint8_t>& thumbnail,
                                                   int exifOrientation = 1) {
    ExifData* ed = exif_data_new();
    exif_data_set_byte_order(ed, EXIF_BYTE_ORDER_INTEL);
    ExifEntry* e = exif_entry_new();
    exif_content_add_entry(ed->ifd[EXIF_IFD_0], e);
    exif_entry_initialize(e, EXIF_TAG_ORIENTATION);
    exif_set_short(e->data, EXIF_BYTE_ORDER_INTEL, ExifShort(exifOrientation));
    exif_entry_unref(e);
    ed->data = static_cast<unsigned char*>(std::malloc(thumbnail.size()));
    std::memcpy(ed->data, thumbnail.data(), thumbnail.size());
    ed->size = unsigned(thumbnail.size());
    unsigned char* block = nullptr;
    unsigned int length = 0;
    exif_data_save_data(ed, &block, &length);
    exif_data_unref(ed);
    std::vector<std::uint8_t> out = {0xFF, 0xD8, 0xFF, 0xE1, std::uint8_t((length + 2) >> 8),
                                     std::uint8_t((length + 2) & 0xFF)};
    out.insert(out.end(), block, block + length);
    std::free(block);
    out.insert(out.end(), main.begin() + 2, main.end());
    return out;
}

inline void writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline void writeJpeg(const fs::path& path, int w, int h, Rgb colour) {
    writeBytes(path, jpegBytes(w, h, [colour](int, int) { return colour; }));
}

// Sets a file's modification time, seconds after an arbitrary start.
inline void setAge(const fs::path& path, int seconds) {
    fs::last_write_time(path, fs::file_time_type(std::chrono::seconds(1'700'000'000 + seconds)));
}

// The (unpremultiplied, opaque) colour of an image pixel.
inline Rgb pixel(const platform::Image& image, int x, int y) {
    const std::uint8_t* p = image.data() + (std::size_t(y) * std::size_t(image.width()) + std::size_t(x)) * 4;
    return {p[1], p[2], p[3]};
}

inline bool near(Rgb a, Rgb b, int slack) {
    return std::abs(a.r - b.r) <= slack && std::abs(a.g - b.g) <= slack &&
           std::abs(a.b - b.b) <= slack;
}

} // namespace picker_testing
