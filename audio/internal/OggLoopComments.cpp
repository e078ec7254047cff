#include "audio/internal/OggLoopComments.h"

#include <ogg/ogg.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

uint32_t ReadU32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

// How many header packets the stream begins with, from its first packet; 0 if unknown.
int HeaderCount(const ogg_packet& first) {
    if (first.bytes >= 7 && std::memcmp(first.packet, "\x01vorbis", 7) == 0)
        return 3;
    if (first.bytes >= 8 && std::memcmp(first.packet, "OpusHead", 8) == 0)
        return 2;
    return 0;
}

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

bool WritePage(std::FILE* out, const ogg_page& page) {
    return std::fwrite(page.header, 1, size_t(page.header_len), out) == size_t(page.header_len) &&
           std::fwrite(page.body, 1, size_t(page.body_len), out) == size_t(page.body_len);
}

// Rewrites one stream: the header packets paged anew around the new comment packet, then
// every later page renumbered. Returns false on anything it does not recognise.
class CRewriter {
public:
    CRewriter(std::FILE* in, std::FILE* out, std::vector<std::string> comments)
        : in(in), out(out), comments(std::move(comments)) {
        ogg_sync_init(&sync);
    }
    ~CRewriter() {
        ogg_sync_clear(&sync);
        if (streams)
            ogg_stream_clear(&input), ogg_stream_clear(&output);
    }
    CRewriter(const CRewriter&) = delete;
    CRewriter& operator=(const CRewriter&) = delete;

    bool Run() {
        ogg_page page;
        while (NextPage(page)) {
            if (!streams) {
                ogg_stream_init(&input, ogg_page_serialno(&page));
                ogg_stream_init(&output, ogg_page_serialno(&page));
                streams = true;
            }
            if (ogg_page_serialno(&page) != input.serialno)
                return false;
            if (!(headersDone ? CopyPage(page) : TakeHeaderPage(page)))
                return false;
        }
        return headersDone;
    }

private:
    bool NextPage(ogg_page& page) {
        for (;;) {
            const int got = ogg_sync_pageout(&sync, &page);
            if (got == 1)
                return true;
            char* buffer = ogg_sync_buffer(&sync, 65536);
            const size_t n = std::fread(buffer, 1, 65536, in);
            if (n == 0)
                return false;
            ogg_sync_wrote(&sync, long(n));
        }
    }

    bool TakeHeaderPage(ogg_page& page) {
        ++oldHeaderPages;
        ogg_stream_pagein(&input, &page);
        ogg_packet packet;
        while (ogg_stream_packetout(&input, &packet) == 1) {
            if (headers.empty() && (wanted = HeaderCount(packet)) == 0)
                return false;
            headers.emplace_back(packet.packet, packet.packet + packet.bytes);
        }
        if (wanted == 0 || int(headers.size()) < wanted)
            return true;
        if (int(headers.size()) > wanted)
            return false;
        headers[1] = WithComments(headers[1], comments);
        if (headers[1].empty())
            return false;
        headersDone = true;
        return WriteHeaders();
    }

    bool WriteHeaders() {
        for (size_t i = 0; i < headers.size(); ++i) {
            ogg_packet packet{};
            packet.packet = headers[i].data();
            packet.bytes = long(headers[i].size());
            packet.b_o_s = i == 0 ? 1 : 0;
            packet.packetno = ogg_int64_t(i);
            ogg_stream_packetin(&output, &packet);
            ogg_page page;
            // The identification header has a page of its own, and audio starts on a fresh one.
            while ((i == 0 || i + 1 == headers.size()) && ogg_stream_flush(&output, &page) != 0) {
                if (!WritePage(out, page))
                    return false;
                ++newHeaderPages;
            }
        }
        return true;
    }

    bool CopyPage(ogg_page& page) {
        const long number = ogg_page_pageno(&page) - oldHeaderPages + newHeaderPages;
        for (int i = 0; i < 4; ++i)
            page.header[18 + i] = static_cast<unsigned char>(uint32_t(number) >> (8 * i));
        ogg_page_checksum_set(&page);
        return WritePage(out, page);
    }

    std::FILE* in;
    std::FILE* out;
    std::vector<std::string> comments;
    ogg_sync_state sync{};
    ogg_stream_state input{};
    ogg_stream_state output{};
    bool streams = false;
    bool headersDone = false;
    int wanted = 0;
    long oldHeaderPages = 0;
    long newHeaderPages = 0;
    std::vector<std::vector<uint8_t>> headers;
};

} // namespace

std::vector<uint8_t> WithComments(const std::vector<uint8_t>& packet,
                                  const std::vector<std::string>& comments) {
    size_t at = 0;
    if (packet.size() >= 7 && std::memcmp(packet.data(), "\x03vorbis", 7) == 0)
        at = 7;
    else if (packet.size() >= 8 && std::memcmp(packet.data(), "OpusTags", 8) == 0)
        at = 8;
    else
        return {};
    if (packet.size() - at < 4 || packet.size() - at - 4 < ReadU32(packet, at))
        return {};
    at += 4 + ReadU32(packet, at);
    if (packet.size() - at < 4)
        return {};
    const size_t countAt = at;
    const uint32_t count = ReadU32(packet, at);
    at += 4;
    for (uint32_t i = 0; i < count; ++i) {
        if (packet.size() - at < 4 || packet.size() - at - 4 < ReadU32(packet, at))
            return {};
        at += 4 + ReadU32(packet, at);
    }
    std::vector<uint8_t> result(packet.begin(), packet.begin() + std::ptrdiff_t(at));
    PutU32(result, countAt, count + uint32_t(comments.size()));
    for (const std::string& c : comments) {
        const size_t lengthAt = result.size();
        result.resize(lengthAt + 4);
        PutU32(result, lengthAt, uint32_t(c.size()));
        result.insert(result.end(), c.begin(), c.end());
    }
    result.insert(result.end(), packet.begin() + std::ptrdiff_t(at), packet.end());
    return result;
}

bool AddOggLoopComments(const std::string& path, int64_t start, int64_t length) {
    const std::string rewritten = path + ".loop";
    bool ok = false;
    {
        File in(std::fopen(path.c_str(), "rb"), std::fclose);
        File out(std::fopen(rewritten.c_str(), "wb"), std::fclose);
        if (in && out) {
            CRewriter rewriter(
                in.get(), out.get(),
                {"LOOPSTART=" + std::to_string(start), "LOOPLENGTH=" + std::to_string(length)});
            ok = rewriter.Run() && std::fflush(out.get()) == 0;
        }
    }
    std::error_code ec;
    if (ok)
        fs::rename(rewritten, path, ec);
    const bool renamed = ok && !ec;
    if (!renamed)
        fs::remove(rewritten, ec);
    return renamed;
}
