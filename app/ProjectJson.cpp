#include "app/ProjectJson.h"

#include "model/SongLimits.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>
#include <set>

using Json = nlohmann::ordered_json;

namespace {

constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();

// ---- writing ----

Json EnvelopeJson(const CEnvelope& e) {
    return {{"curve", e.curve},
            {"delay", e.delay},
            {"attack", e.attack},
            {"decay", e.decay},
            {"sustain", e.sustain},
            {"release", e.release},
            {"attackLevel", e.attackLevel},
            {"sustainLevel", e.sustainLevel},
            {"level", e.level},
            {"keyScaling", e.keyScaling}};
}

Json LfoJson(const CLFO& l) {
    return {{"waveform", l.waveform}, {"invert", l.invert}, {"delay", l.delay},
            {"fade", l.fade},         {"period", l.period}, {"depth", l.depth}};
}

Json FmJson(const CFM& fm) {
    Json operators = Json::array();
    for (const CFMOperator& o : fm.operators)
        operators.push_back({{"envelope", EnvelopeJson(o.envelope)},
                             {"pitchLFO", LfoJson(o.pitchLFO)},
                             {"ampLFO", LfoJson(o.ampLFO)},
                             {"feedback", o.feedback},
                             {"multiple", o.multiple},
                             {"detune", o.detune}});
    return {{"algorithm", fm.algorithm}, {"operators", operators}};
}

Json TrackJson(const CTrack& t) {
    const CTrackData& s = t.settings;
    Json notes = Json::array();
    t.ForEachNote([&notes](const CNote* n) {
        notes.push_back({n->position, n->length, n->keyoff, n->key, n->volume, n->portamentoStart,
                         n->portamentoLength, n->portamentoLevel});
    });
    return {{"name", s.name},
            {"useNoteColor", s.useNoteColor},
            {"noteColor", s.noteColor},
            {"waveform", s.waveform},
            {"invert", s.invert},
            {"pseudoWave", s.pseudoWave},
            {"duty", s.duty},
            {"volume", s.volume},
            {"pan", s.pan},
            {"detune", s.detune},
            {"mute", s.mute},
            {"envelope", EnvelopeJson(s.envelope)},
            {"pitchLFO", LfoJson(s.pitchLFO)},
            {"ampLFO", LfoJson(s.ampLFO)},
            {"pcm",
             {{"fileName", s.pcm.fileName},
              {"baseKey", s.pcm.baseKey},
              {"loopStart", s.pcm.loopStart},
              {"loopEnd", s.pcm.loopEnd},
              {"loopCount", s.pcm.loopCount},
              {"loopUnit", s.pcm.loopUnit}}},
            {"waveMemory", {{"height", s.waveMemory.height}, {"samples", s.waveMemory.samples}}},
            {"fm", FmJson(s.fm)},
            {"notes", notes}};
}

Json ProjectDataJson(const CProjectData& d) {
    Json volumes = Json::array(), tempos = Json::array(), beats = Json::array();
    for (const VOLUME& v : d.volumes)
        volumes.push_back({v.position, v.volume});
    for (const TEMPO& t : d.tempos)
        tempos.push_back({t.position, t.tempo});
    for (const BEAT& b : d.beats)
        beats.push_back({b.measure, b.beat, b.baseBeat});
    return {{"name", d.name},
            {"transpose", d.transpose},
            {"loopEnabled", d.loopEnabled},
            {"loopStart", d.loopStart},
            {"loopEnd", d.loopEnd},
            {"channels", d.channels},
            {"samplesPerSec", d.samplesPerSec},
            {"bitsPerSample", d.bitsPerSample},
            {"startDummy", d.startDummy},
            {"endDummy", d.endDummy},
            {"fadeOut", d.fadeOut},
            {"fadeOutType", d.fadeOutType},
            {"reductionPuchiNoise", d.reductionPuchiNoise},
            {"volumes", volumes},
            {"tempos", tempos},
            {"beats", beats}};
}

bool IsScalarArray(const Json& v) {
    for (const Json& e : v)
        if (e.is_structured())
            return false;
    return true;
}

// Objects one key per line, arrays of numbers on one line, so that a song reads and diffs
// well as text: one note, tempo or operator setting per line.
void Print(std::string& out, const Json& v, int indent) {
    const std::string pad(static_cast<size_t>(indent) + 2, ' ');
    if (v.is_object() && !v.empty()) {
        out += "{\n";
        size_t i = 0;
        for (auto it = v.begin(); it != v.end(); ++it, ++i) {
            out += pad + Json(it.key()).dump() + ": ";
            Print(out, it.value(), indent + 2);
            out += i + 1 < v.size() ? ",\n" : "\n";
        }
        out += std::string(static_cast<size_t>(indent), ' ') + "}";
    } else if (v.is_array() && !v.empty() && !IsScalarArray(v)) {
        out += "[\n";
        for (size_t i = 0; i < v.size(); ++i) {
            out += pad;
            Print(out, v[i], indent + 2);
            out += i + 1 < v.size() ? ",\n" : "\n";
        }
        out += std::string(static_cast<size_t>(indent), ' ') + "]";
    } else {
        std::string line = v.dump(-1, ' ', false, Json::error_handler_t::replace);
        for (size_t pos = 0; (pos = line.find(',', pos)) != std::string::npos; pos += 2)
            if (v.is_array())
                line.insert(pos + 1, " ");
        out += line;
    }
}

} // namespace

std::string ProjectToJson(const CProject& project) {
    Json root = ProjectDataJson(project.data);
    Json tracks = Json::array();
    for (const CTrack& t : project.tracks)
        tracks.push_back(TrackJson(t));
    root["tracks"] = tracks;
    std::string out;
    Print(out, root, 0);
    return out + "\n";
}

// ---- reading ----

namespace {

struct JsonError {
    std::string message;
};

[[noreturn]] void Refuse(const std::string& path, const std::string& what) {
    throw JsonError{path + ": " + what};
}

std::string Range(int64_t lo, int64_t hi) {
    return "(" + std::to_string(lo) + ".." + std::to_string(hi) + ")";
}

int32_t IntValue(const Json& v, const std::string& path, int64_t lo, int64_t hi) {
    if (!v.is_number_integer())
        Refuse(path, "must be an integer");
    const int64_t n = v.is_number_unsigned() && v.get<uint64_t>() > uint64_t(kIntMax)
                          ? int64_t{kIntMax} + 1
                          : v.get<int64_t>();
    if (n < lo || n > hi)
        Refuse(path, std::to_string(n) + " is out of range " + Range(lo, hi));
    return static_cast<int32_t>(n);
}

double DoubleValue(const Json& v, const std::string& path, double lo, double hi) {
    if (!v.is_number())
        Refuse(path, "must be a number");
    const double d = v.get<double>();
    if (!std::isfinite(d) || d < lo || d > hi)
        Refuse(path, "out of range (" + std::to_string(lo) + ".." + std::to_string(hi) + ")");
    return d;
}

// The keys of one JSON object. Each key read is remembered, so that keys nobody asked
// for — usually typing mistakes — are refused instead of silently ignored.
class Fields {
public:
    Fields(const Json& object, std::string path) : object(object), path(std::move(path)) {
        if (!object.is_object())
            Refuse(this->path.empty() ? "top level" : this->path, "must be an object");
    }

    const Json* Get(const char* key) {
        used.insert(key);
        auto it = object.find(key);
        return it == object.end() ? nullptr : &*it;
    }
    std::string PathOf(const std::string& key) const {
        return path.empty() ? key : path + "." + key;
    }

    void Int(const char* key, int32_t& target, int64_t lo, int64_t hi) {
        if (const Json* v = Get(key))
            target = IntValue(*v, PathOf(key), lo, hi);
    }
    void Color(const char* key, uint32_t& target) {
        if (const Json* v = Get(key))
            target = static_cast<uint32_t>(IntValue(*v, PathOf(key), 0, 0xFFFFFF));
    }
    void Text(const char* key, std::string& target) {
        if (const Json* v = Get(key)) {
            if (!v->is_string())
                Refuse(PathOf(key), "must be a string");
            target = v->get<std::string>();
        }
    }
    // Refuses keys that were never asked for.
    void Finish() const {
        for (auto it = object.begin(); it != object.end(); ++it)
            if (!used.count(it.key()))
                Refuse(PathOf(it.key()), "unknown key");
    }

private:
    const Json& object;
    std::string path;
    std::set<std::string> used;
};

const Json& ArrayAt(const Json* v, const std::string& path) {
    if (!v->is_array())
        Refuse(path, "must be an array");
    return *v;
}

std::string Index(const std::string& path, size_t i) {
    return path + "[" + std::to_string(i) + "]";
}

void ReadEnvelope(const Json& v, const std::string& path, CEnvelope& e) {
    Fields f(v, path);
    f.Int("curve", e.curve, 0, 2);
    f.Int("delay", e.delay, -10000, 10000);
    f.Int("attack", e.attack, 0, 10000);
    f.Int("decay", e.decay, 0, 10000);
    f.Int("sustain", e.sustain, -1, 100000);
    f.Int("release", e.release, -1, 10000);
    f.Int("attackLevel", e.attackLevel, 0, 255);
    f.Int("sustainLevel", e.sustainLevel, 0, 255);
    f.Int("level", e.level, 0, 255);
    f.Int("keyScaling", e.keyScaling, 0, 16);
    f.Finish();
}

void ReadLfo(const Json& v, const std::string& path, CLFO& l, int32_t maxDepth) {
    Fields f(v, path);
    f.Int("waveform", l.waveform, 0, 3);
    f.Int("invert", l.invert, 0, 1);
    f.Int("delay", l.delay, -10000, 10000);
    f.Int("fade", l.fade, 0, 10000);
    f.Int("period", l.period, 0, 10000);
    f.Int("depth", l.depth, 0, maxDepth);
    f.Finish();
}

constexpr int32_t kPitchDepthMax = 3072;
constexpr int32_t kAmpDepthMax = 255;

void ReadOperator(const Json& v, const std::string& path, CFMOperator& o) {
    Fields f(v, path);
    if (const Json* e = f.Get("envelope"))
        ReadEnvelope(*e, f.PathOf("envelope"), o.envelope);
    if (const Json* l = f.Get("pitchLFO"))
        ReadLfo(*l, f.PathOf("pitchLFO"), o.pitchLFO, kPitchDepthMax);
    if (const Json* l = f.Get("ampLFO"))
        ReadLfo(*l, f.PathOf("ampLFO"), o.ampLFO, kAmpDepthMax);
    f.Int("feedback", o.feedback, 0, 7);
    if (const Json* m = f.Get("multiple"))
        o.multiple = DoubleValue(*m, f.PathOf("multiple"), 0, 16);
    f.Int("detune", o.detune, -256, 256);
    f.Finish();
}

void ReadFm(const Json& v, const std::string& path, CFM& fm) {
    Fields f(v, path);
    f.Int("algorithm", fm.algorithm, 0, 7);
    if (const Json* ops = f.Get("operators")) {
        const std::string opsPath = f.PathOf("operators");
        const Json& list = ArrayAt(ops, opsPath);
        if (list.size() > fm.operators.size())
            Refuse(opsPath, "has more than four operators");
        for (size_t i = 0; i < list.size(); ++i)
            ReadOperator(list[i], Index(opsPath, i), fm.operators[i]);
    }
    f.Finish();
}

void ReadPcm(const Json& v, const std::string& path, CPCM& p) {
    Fields f(v, path);
    f.Text("fileName", p.fileName);
    f.Int("baseKey", p.baseKey, 0, 95);
    f.Int("loopStart", p.loopStart, 0, kIntMax);
    f.Int("loopEnd", p.loopEnd, 0, kIntMax);
    f.Int("loopCount", p.loopCount, 0, kIntMax);
    f.Int("loopUnit", p.loopUnit, 0, 1);
    f.Finish();
}

void ReadWaveMemory(const Json& v, const std::string& path, CWaveMemory& w) {
    Fields f(v, path);
    int32_t height = w.height;
    f.Int("height", height, 2, 0x10000);
    std::vector<int32_t> samples = w.samples;
    if (const Json* s = f.Get("samples")) {
        const std::string samplesPath = f.PathOf("samples");
        const Json& list = ArrayAt(s, samplesPath);
        if (list.empty() || list.size() > 0x10000)
            Refuse(samplesPath, "must hold 1 to 65536 samples");
        samples.clear();
        for (size_t i = 0; i < list.size(); ++i)
            samples.push_back(IntValue(list[i], Index(samplesPath, i), -height / 2, height / 2));
    }
    f.Finish();
    w.samples = std::move(samples);
    w.height = height;
}

CNote ReadNote(const Json& v, const std::string& path) {
    if (!v.is_array() || v.size() < 4 || v.size() > 8)
        Refuse(path, "must be [position, length, keyoff, key, volume, portamentoStart, "
                     "portamentoLength, portamentoLevel] (the last four may be left out)");
    CNote n;
    n.position = IntValue(v[0], Index(path, 0), 0, kIntMax - 1);
    n.length = IntValue(v[1], Index(path, 1), 1, kIntMax - int64_t{n.position});
    n.keyoff = IntValue(v[2], Index(path, 2), 0, kIntMax);
    n.key = IntValue(v[3], Index(path, 3), 0, 95);
    if (v.size() > 4)
        n.volume = IntValue(v[4], Index(path, 4), 0, 255);
    if (v.size() > 5)
        n.portamentoStart = IntValue(v[5], Index(path, 5), -kIntMax, kIntMax);
    if (v.size() > 6)
        n.portamentoLength = IntValue(v[6], Index(path, 6), 0, kIntMax);
    if (v.size() > 7)
        n.portamentoLevel = IntValue(v[7], Index(path, 7), -32768, 32767);
    return n;
}

// Bounds what a song can make the editor allocate: a long note is stored as one segment
// per 1920 ticks, so lengths rather than note counts decide the memory a song takes.
constexpr int64_t kSegmentBudget = static_cast<int64_t>(songlimits::kSegmentBudget);

int64_t SegmentsOf(const CNote& n) {
    return CTrack::BucketOf(n.position + n.length - 1) - CTrack::BucketOf(n.position) + 1;
}

void ReadTrack(const Json& v, const std::string& path, CTrack& t, int64_t& budget) {
    Fields f(v, path);
    CTrackData& s = t.settings;
    f.Text("name", s.name);
    f.Int("useNoteColor", s.useNoteColor, 0, 1);
    f.Color("noteColor", s.noteColor);
    f.Int("waveform", s.waveform, 0, 7);
    f.Int("invert", s.invert, 0, 1);
    f.Int("pseudoWave", s.pseudoWave, 0, 256);
    f.Int("duty", s.duty, -256, 256);
    f.Int("volume", s.volume, 0, 1023);
    f.Int("pan", s.pan, -255, 255);
    f.Int("detune", s.detune, -256, 256);
    f.Int("mute", s.mute, 0, 1);
    if (const Json* e = f.Get("envelope"))
        ReadEnvelope(*e, f.PathOf("envelope"), s.envelope);
    if (const Json* l = f.Get("pitchLFO"))
        ReadLfo(*l, f.PathOf("pitchLFO"), s.pitchLFO, kPitchDepthMax);
    if (const Json* l = f.Get("ampLFO"))
        ReadLfo(*l, f.PathOf("ampLFO"), s.ampLFO, kAmpDepthMax);
    if (const Json* p = f.Get("pcm"))
        ReadPcm(*p, f.PathOf("pcm"), s.pcm);
    if (const Json* w = f.Get("waveMemory"))
        ReadWaveMemory(*w, f.PathOf("waveMemory"), s.waveMemory);
    if (const Json* fm = f.Get("fm"))
        ReadFm(*fm, f.PathOf("fm"), s.fm);
    if (const Json* notes = f.Get("notes")) {
        const std::string notesPath = f.PathOf("notes");
        const Json& list = ArrayAt(notes, notesPath);
        std::vector<CNote> read;
        for (size_t i = 0; i < list.size(); ++i) {
            read.push_back(ReadNote(list[i], Index(notesPath, i)));
            budget -= SegmentsOf(read.back());
            if (budget < 0)
                Refuse(Index(notesPath, i), "the song's notes are longer than a song can be");
        }
        // Each note goes in front of its bucket: adding them last to first keeps the
        // order in which they are listed, so a dump reads back unchanged.
        for (auto it = read.rbegin(); it != read.rend(); ++it)
            t.AddNote(*it);
    }
    f.Finish();
}

// Reads a list of [place, value...] pairs that must start at 0 and strictly ascend.
template <class T, class Make>
std::vector<T> ReadTimeList(const Json* v, const std::string& path, size_t width, Make make) {
    const Json& list = ArrayAt(v, path);
    if (list.empty())
        Refuse(path, "must not be empty");
    std::vector<T> items;
    int64_t previous = -1;
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string itemPath = Index(path, i);
        if (!list[i].is_array() || list[i].size() != width)
            Refuse(itemPath, "must have " + std::to_string(width) + " elements");
        const int32_t place = IntValue(list[i][0], Index(itemPath, 0), 0, kIntMax);
        if ((i == 0 && place != 0) || place <= previous)
            Refuse(itemPath, "the first element must be at 0 and the others must ascend");
        previous = place;
        items.push_back(make(list[i], itemPath, place));
    }
    return items;
}

int32_t BaseBeatValue(const Json& v, const std::string& path) {
    const int32_t b = IntValue(v, path, 1, 64);
    if ((b & (b - 1)) != 0)
        Refuse(path, std::to_string(b) + " is not a power of two");
    return b;
}

void ReadLists(Fields& f, CProjectData& d) {
    if (const Json* v = f.Get("volumes"))
        d.volumes.Assign(ReadTimeList<VOLUME>(
            v, f.PathOf("volumes"), 2, [](const Json& e, const std::string& p, int32_t at) {
                return VOLUME{at, IntValue(e[1], Index(p, 1), 0, 255)};
            }));
    if (const Json* v = f.Get("tempos"))
        d.tempos.Assign(ReadTimeList<TEMPO>(
            v, f.PathOf("tempos"), 2, [](const Json& e, const std::string& p, int32_t at) {
                return TEMPO{at, DoubleValue(e[1], Index(p, 1), 10, 1000)};
            }));
    if (const Json* v = f.Get("beats"))
        d.beats.Assign(ReadTimeList<BEAT>(v, f.PathOf("beats"), 3,
                                          [](const Json& e, const std::string& p, int32_t at) {
                                              return BEAT{at, IntValue(e[1], Index(p, 1), 1, 64),
                                                          BaseBeatValue(e[2], Index(p, 2))};
                                          }));
}

void ReadProjectData(Fields& f, CProjectData& d) {
    f.Text("name", d.name);
    f.Int("transpose", d.transpose, -100, 100);
    f.Int("loopEnabled", d.loopEnabled, 0, 1);
    f.Int("loopStart", d.loopStart, 0, kIntMax);
    f.Int("loopEnd", d.loopEnd, 0, kIntMax);
    f.Int("channels", d.channels, 1, 2);
    f.Int("samplesPerSec", d.samplesPerSec, 1000, 384000);
    f.Int("bitsPerSample", d.bitsPerSample, 8, 64);
    if (d.bitsPerSample != 8 && d.bitsPerSample != 16 && d.bitsPerSample != 24 &&
        d.bitsPerSample != 32 && d.bitsPerSample != 64)
        Refuse(f.PathOf("bitsPerSample"), "must be 8, 16, 24, 32 or 64");
    f.Int("startDummy", d.startDummy, 0, 10000);
    f.Int("endDummy", d.endDummy, 0, 10000);
    f.Int("fadeOut", d.fadeOut, 0, 100000);
    f.Int("fadeOutType", d.fadeOutType, 0, 2);
    f.Int("reductionPuchiNoise", d.reductionPuchiNoise, 0, 1);
    ReadLists(f, d);
}

} // namespace

Result ProjectFromJson(const std::string& text, CProject& project) {
    Json root = Json::parse(text, nullptr, false);
    if (root.is_discarded())
        return Result::Fail("not valid JSON");
    try {
        CProject loaded;
        loaded.Reset();
        Fields f(root, "");
        ReadProjectData(f, loaded.data);
        if (const Json* tracks = f.Get("tracks")) {
            const Json& list = ArrayAt(tracks, "tracks");
            loaded.tracks.clear();
            int64_t budget = kSegmentBudget;
            for (size_t i = 0; i < list.size(); ++i) {
                loaded.tracks.emplace_back();
                ReadTrack(list[i], Index("tracks", i), loaded.tracks.back(), budget);
            }
        }
        f.Finish();
        loaded.lastBuildLength = loaded.GetLength();
        loaded.lastBuildFadeOut = loaded.data.fadeOut;
        project = std::move(loaded);
    } catch (const JsonError& e) {
        return Result::Fail(e.message);
    }
    return Result::Ok();
}
