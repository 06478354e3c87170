#pragma once

// Camera-sized JPEGs for the image picker's benchmarks: 4000 x 3000 pictures
// with smooth colour fields and grain, so that they are as large (about
// 1.5 MB) and as slow to decode as photographs.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <cstdlib>
#include <cstring>

#include <libexif/exif-data.h>
#include <turbojpeg.h>
#include <unistd.h>

namespace zorbel::bench {

inline std::vector<std::uint8_t> cameraJpeg(int w, int h, std::uint32_t seed) {
    std::vector<std::uint8_t> rgb(std::size_t(w) * std::size_t(h) * 3);
    std::uint32_t state = seed * 2654435761u + 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            state = state * 1664525u + 1013904223u;
            const int grain = int(state >> 27) - 16;
            auto clamp = [](int v) { return std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); };
            std::uint8_t* p = &rgb[(std::size_t(y) * std::size_t(w) + std::size_t(x)) * 3];
            p[0] = clamp(int((x + seed * 131) % w) * 255 / w + grain);
            p[1] = clamp(y * 255 / h + grain);
            p[2] = clamp(((x / 8 + y / 8 + int(seed) * 17) % 64) * 4 + grain);
        }
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    tjCompress2(tj, rgb.data(), w, w * 3, h, TJPF_RGB, &out, &size, TJSAMP_420, 90, 0);
    std::vector<std::uint8_t> bytes(out, out + size);
    tjFree(out);
    tjDestroy(tj);
    return bytes;
}

// `jpeg` with the EXIF block a camera writes: orientation 1 and a 160 x 120
// small picture of the photograph.
inline std::vector<std::uint8_t> withCameraThumbnail(const std::vector<std::uint8_t>& jpeg,
                                                     std::uint32_t seed) {
    const auto small = cameraJpeg(160, 120, seed);
    ExifData* ed = exif_data_new();
    exif_data_set_byte_order(ed, EXIF_BYTE_ORDER_INTEL);
    ExifEntry* e = exif_entry_new();
    exif_content_add_entry(ed->ifd[EXIF_IFD_0], e);
    exif_entry_initialize(e, EXIF_TAG_ORIENTATION);
    exif_set_short(e->data, EXIF_BYTE_ORDER_INTEL, 1);
    exif_entry_unref(e);
    ed->data = static_cast<unsigned char*>(std::malloc(small.size()));
    std::memcpy(ed->data, small.data(), small.size());
    ed->size = unsigned(small.size());
    unsigned char* block = nullptr;
    unsigned int length = 0;
    exif_data_save_data(ed, &block, &length);
    exif_data_unref(ed);
    std::vector<std::uint8_t> out(6 + std::size_t(length));
    const std::uint8_t head[6] = {0xFF, 0xD8, 0xFF, 0xE1, std::uint8_t((length + 2) >> 8),
                                  std::uint8_t((length + 2) & 0xFF)};
    std::memcpy(out.data(), head, 6);
    std::memcpy(out.data() + 6, block, length);
    std::free(block);
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

// A folder of `count` camera-sized JPEGs, made once per run (a handful of
// different pictures copied, each copy its own file with its own date).
class PhotoFolder {
public:
    // `cameraThumbnails`: each file carries the small picture cameras store.
    PhotoFolder(int count, bool cameraThumbnails, int width = 4000, int height = 3000) {
        path_ = std::filesystem::temp_directory_path() /
                ("zorbel-photos-bench-" + std::to_string(::getpid()) +
                 (cameraThumbnails ? "-exif" : "-plain"));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        std::vector<std::vector<std::uint8_t>> pictures;
        for (std::uint32_t i = 0; i < 8; ++i) {
            pictures.push_back(cameraJpeg(width, height, i));
            if (cameraThumbnails)
                pictures.back() = withCameraThumbnail(pictures.back(), i);
        }
        for (int i = 0; i < count; ++i) {
            const auto file = path_ / ("IMG_" + std::to_string(1000 + i) + ".jpg");
            const auto& bytes = pictures[std::size_t(i) % pictures.size()];
            std::ofstream(file, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
            std::filesystem::last_write_time(
                file, std::filesystem::file_time_type(std::chrono::seconds(1'700'000'000 + i)));
        }
        bytes_ = pictures[0].size();
    }
    ~PhotoFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }
    std::size_t bytesPerPicture() const { return bytes_; }

private:
    std::filesystem::path path_;
    std::size_t bytes_ = 0;
};

// Resident memory now and at its highest, in MB (Linux).
inline double residentMB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stod(line.substr(std::string(field).size())) / 1024.0;
    return 0;
}

} // namespace zorbel::bench
