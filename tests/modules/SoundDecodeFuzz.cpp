// Fuzz target of the decoder module's decoding: any bytes as a sound file the user picked,
// no crash, and a WAV file only when the decoding succeeded, in a layout the strict reader
// takes.

#include "modules/vbmp3/DecodeToWav.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string TempName(const char* pattern) {
    const char* tmp = std::getenv("TMPDIR");
    std::string name = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + pattern;
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        std::abort();
    ::close(fd);
    return name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string source = TempName("/tsqfuzzXXXXXX");
    {
        std::ofstream out(source, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    std::string wav = TempName("/tsqfuzzwavXXXXXX");
    ::unlink(wav.c_str());
    const std::atomic<bool> never{false};
    const bool decoded = DecodeToWav(source, wav, never);
    std::ifstream in(wav, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    ::unlink(source.c_str());
    ::unlink(wav.c_str());
    const bool plain = bytes.size() >= 44 && std::string(bytes.data(), 4) == "RIFF" &&
                       std::string(bytes.data() + 8, 8) == "WAVEfmt " &&
                       std::string(bytes.data() + 36, 4) == "data";
    if (decoded != plain)
        std::abort();
    return 0;
}
