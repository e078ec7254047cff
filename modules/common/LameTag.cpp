#include "modules/common/LameTag.h"

#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Where the first frame starts: after an ID3v2 tag, if the file begins with one.
long FirstFrameOffset(std::FILE* f) {
    uint8_t id3[10] = {};
    if (std::fread(id3, 1, sizeof id3, f) != sizeof id3 || id3[0] != 'I' || id3[1] != 'D' ||
        id3[2] != '3')
        return 0;
    if ((id3[6] | id3[7] | id3[8] | id3[9]) & 0x80)
        return -1; // not a synch-safe size: not an ID3v2 tag after all
    const long size = (long(id3[6]) << 21) | (long(id3[7]) << 14) | (long(id3[8]) << 7) | id3[9];
    const bool footer = (id3[5] & 0x10) != 0;
    return 10 + size + (footer ? 10 : 0);
}

// The encoder reserves the first frame as a frame header followed by zeros. The header of
// the finished tag may differ from it in the mode extension bits (joint stereo), which say
// nothing about the frame's size.
bool IsReservation(const std::vector<uint8_t>& frame, const std::vector<uint8_t>& tag) {
    constexpr uint8_t kModeExtension = 0x30;
    for (size_t i = 0; i < frame.size(); ++i) {
        const uint8_t mask = i == 3 ? uint8_t(~kModeExtension) : 0xFF;
        const uint8_t expected = i < 4 ? tag[i] : 0;
        if ((frame[i] & mask) != (expected & mask))
            return false;
    }
    return true;
}

} // namespace

std::vector<uint8_t> TakeLameTagFrame(lame_t lame) {
    const size_t size = lame_get_lametag_frame(lame, nullptr, 0);
    std::vector<uint8_t> tag(size);
    if (size == 0 || lame_get_lametag_frame(lame, tag.data(), tag.size()) != size)
        tag.clear();
    return tag;
}

bool WriteLameTagFrame(const std::string& path, const std::vector<uint8_t>& tag) {
    if (tag.size() < 4)
        return false;
    FilePtr file(std::fopen(path.c_str(), "r+be"));
    if (!file)
        return false;
    const long offset = FirstFrameOffset(file.get());
    if (offset < 0 || std::fseek(file.get(), offset, SEEK_SET) != 0)
        return false;
    std::vector<uint8_t> frame(tag.size());
    if (std::fread(frame.data(), 1, frame.size(), file.get()) != frame.size() ||
        !IsReservation(frame, tag))
        return false;
    if (std::fseek(file.get(), offset, SEEK_SET) != 0)
        return false;
    const bool written = std::fwrite(tag.data(), 1, tag.size(), file.get()) == tag.size();
    return std::fclose(file.release()) == 0 && written;
}
