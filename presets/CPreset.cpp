#include "presets/CPreset.h"

#include "model/FileIO.h"
#include "model/SoundRanges.h"
#include "presets/JsonText.h"
#include "presets/TrackJson.h"

namespace fs = std::filesystem;

namespace {

// The deepest a sound nests: top level, "fm", "operators", an operator, its envelope.
constexpr int kMaxContainerDepth = 4;
// The largest wave table and the few hundred other values of a sound.
constexpr uint64_t kMaxValues = uint64_t(soundranges::kWaveSamples.hi) + 1024;
constexpr size_t kMaxSampleName = 1024;

// Bounds what a hostile text can make the parser build: depth, and values in all.
class CSoundLimits {
public:
    bool Event(int depth, Json::parse_event_t event) {
        using Event_t = Json::parse_event_t;
        const bool opens = event == Event_t::object_start || event == Event_t::array_start;
        if (opens && depth > kMaxContainerDepth)
            jsonread::Refuse("top level", "nested deeper than a sound can be");
        if (event != Event_t::key && event != Event_t::object_end && event != Event_t::array_end &&
            ++values > kMaxValues)
            jsonread::Refuse("top level", "holds more values than a sound can have");
        return true;
    }

private:
    uint64_t values = 0;
};

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// A name that stays inside the folder as written: relative, without "..", printable.
bool IsInsideName(const std::string& name) {
    if (name.size() > kMaxSampleName || IsSeparator(name[0]) || (name.size() > 1 && name[1] == ':'))
        return false;
    size_t start = 0;
    for (size_t i = 0; i <= name.size(); ++i) {
        if (i < name.size() && (static_cast<unsigned char>(name[i]) < 0x20 || name[i] == 0x7F))
            return false;
        if (i == name.size() || IsSeparator(name[i])) {
            if (name.compare(start, i - start, "..") == 0)
                return false;
            start = i + 1;
        }
    }
    return true;
}

// The full path of a preset's sample. A link may still lead outside the folder, so the
// path is checked once more with links followed.
std::string SamplePath(const std::string& name, const fs::path& folder) {
    if (!IsInsideName(name))
        jsonread::Refuse("pcm.fileName", "must name a file inside the preset's folder");
    std::string portable = name;
    for (char& c : portable)
        if (c == '\\')
            c = '/';
    const fs::path base = fs::absolute(folder).lexically_normal();
    const fs::path path = (base / portable).lexically_normal();
    std::error_code error;
    const fs::path real = fs::weakly_canonical(path, error);
    const fs::path realBase = fs::weakly_canonical(base, error);
    const fs::path inside = real.lexically_relative(realBase);
    if (error || inside.empty() || inside == "." || *inside.begin() == "..")
        jsonread::Refuse("pcm.fileName", "must name a file inside the preset's folder");
    return path.string();
}

} // namespace

CTrackData CPreset::SoundOf(const CTrackData& settings) {
    CTrackData sound = settings;
    sound.name.clear();
    sound.mute = 0;
    return sound;
}

CTrackData CPreset::AppliedTo(const CTrackData& settings) const {
    CTrackData result = sound;
    result.name = settings.name;
    result.mute = settings.mute;
    return result;
}

Result CPreset::FromJson(std::string_view text, const fs::path& folder, CTrackData& sound) {
    if (text.size() > kMaxFileBytes)
        return Result::Fail("larger than a preset can be");
    try {
        CSoundLimits limits;
        const Json root = Json::parse(
            text,
            [&limits](int depth, Json::parse_event_t event, Json&) {
                return limits.Event(depth, event);
            },
            false);
        if (root.is_discarded())
            return Result::Fail("not valid JSON");
        CTrackData read;
        CJsonFields f(root, "");
        ReadTrackFields(f, read, TrackKeys::SoundOnly);
        f.Finish();
        if (!read.pcm.fileName.empty())
            read.pcm.fileName = SamplePath(read.pcm.fileName, folder);
        sound = std::move(read);
    } catch (const JSON_ERROR& e) {
        return Result::Fail(e.message);
    }
    return Result::Ok();
}

Result CPreset::Read(const fs::path& file, CPreset& preset) {
    std::vector<uint8_t> bytes;
    Result r = ReadWholeFile(file.string(), bytes, kMaxFileBytes);
    CTrackData sound;
    if (r)
        r = FromJson(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                     file.parent_path(), sound);
    if (!r)
        return Result::Fail(file.string() + ": " + r.message);
    preset.category = file.parent_path().filename().string();
    preset.name = file.stem().string();
    preset.sound = std::move(sound);
    preset.factory = false;
    return Result::Ok();
}

std::string CPreset::ToJson(const CTrackData& sound) {
    return JsonText(TrackFieldsJson(sound, TrackKeys::SoundOnly));
}
