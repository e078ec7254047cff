#include "app/ProjectJson.h"

#include "model/SongLimits.h"
#include "presets/JsonText.h"
#include "presets/TrackJson.h"

#include <deque>
#include <limits>

using jsonread::ArrayAt;
using jsonread::DoubleValue;
using jsonread::Index;
using jsonread::IntValue;
using jsonread::Refuse;

namespace {

constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();

// ---- writing ----

Json TrackJson(const CTrack& t) {
    Json notes = Json::array();
    t.ForEachNote([&notes](const CNote* n) {
        notes.push_back({n->position, n->length, n->keyoff, n->key, n->volume, n->portamentoStart,
                         n->portamentoLength, n->portamentoLevel});
    });
    Json track = TrackFieldsJson(t.settings, TrackKeys::Track);
    track["notes"] = notes;
    return track;
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

} // namespace

std::string ProjectToJson(const CProject& project) {
    Json root = ProjectDataJson(project.data);
    Json tracks = Json::array();
    for (const CTrack& t : project.tracks)
        tracks.push_back(TrackJson(t));
    root["tracks"] = tracks;
    return JsonText(root);
}

// ---- reading ----

namespace {

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

// The settings of a track, whose notes the reader took while parsing.
void ReadTrack(const Json& v, const std::string& path, CTrack& t, const std::deque<CNote>& notes) {
    CJsonFields f(v, path);
    ReadTrackFields(f, t.settings, TrackKeys::Track);
    if (const Json* list = f.Get("notes"))
        ArrayAt(list, f.PathOf("notes"));
    f.Finish();
    // Each note goes in front of its bucket: adding them last to first keeps the order in
    // which they are listed, so a dump reads back unchanged.
    for (auto it = notes.rbegin(); it != notes.rend(); ++it)
        t.AddNote(*it);
}

// One element of a time list, [place, value...]: the first at 0, the others ascending.
template <class T, class Make>
void TakeTimeItem(std::vector<T>& items, int64_t& previous, const Json& e, const std::string& path,
                  size_t width, Make make) {
    if (!e.is_array() || e.size() != width)
        Refuse(path, "must have " + std::to_string(width) + " elements");
    const int32_t place = IntValue(e[0], Index(path, 0), 0, kIntMax);
    if ((items.empty() && place != 0) || place <= previous)
        Refuse(path, "the first element must be at 0 and the others must ascend");
    previous = place;
    items.push_back(make(e, path, place));
}

int32_t BaseBeatValue(const Json& v, const std::string& path) {
    const int32_t b = IntValue(v, path, 1, 64);
    if ((b & (b - 1)) != 0)
        Refuse(path, std::to_string(b) + " is not a power of two");
    return b;
}

// The time lists, read element by element as the text is parsed.
struct TIME_LISTS {
    std::vector<VOLUME> volumes;
    std::vector<TEMPO> tempos;
    std::vector<BEAT> beats;
    int64_t previous = -1; // place of the last element of the list being read

    static bool IsList(const std::string& key) {
        return key == "volumes" || key == "tempos" || key == "beats";
    }
    void Begin(const std::string& key) {
        previous = -1;
        if (key == "volumes")
            volumes.clear();
        else if (key == "tempos")
            tempos.clear();
        else
            beats.clear();
    }
    void Take(const std::string& key, const Json& e) {
        if (key == "volumes")
            TakeTimeItem(volumes, previous, e, Index(key, volumes.size()), 2,
                         [](const Json& v, const std::string& p, int32_t at) {
                             return VOLUME{at, IntValue(v[1], Index(p, 1), 0, 255)};
                         });
        else if (key == "tempos")
            TakeTimeItem(tempos, previous, e, Index(key, tempos.size()), 2,
                         [](const Json& v, const std::string& p, int32_t at) {
                             return TEMPO{at, DoubleValue(v[1], Index(p, 1), 10, 1000)};
                         });
        else
            TakeTimeItem(beats, previous, e, Index(key, beats.size()), 3,
                         [](const Json& v, const std::string& p, int32_t at) {
                             return BEAT{at, IntValue(v[1], Index(p, 1), 1, 64),
                                         BaseBeatValue(v[2], Index(p, 2))};
                         });
    }
};

// A list given in the text replaces the default one; its elements were read while parsing.
template <class T, class List>
void AssignList(CJsonFields& f, const char* key, std::vector<T>& items, List& list) {
    if (const Json* v = f.Get(key)) {
        ArrayAt(v, f.PathOf(key));
        if (items.empty())
            Refuse(f.PathOf(key), "must not be empty");
        list.Assign(std::move(items));
    }
}

void ReadLists(CJsonFields& f, CProjectData& d, TIME_LISTS& lists) {
    AssignList(f, "volumes", lists.volumes, d.volumes);
    AssignList(f, "tempos", lists.tempos, d.tempos);
    AssignList(f, "beats", lists.beats, d.beats);
}

// Reads the JSON text with bounded memory. Tracks and time lists are taken out of the
// document while it is parsed: each note and each time-list element as soon as its array
// closes, each track as soon as its object closes, all then dropped from the document, and
// the song limits are checked before anything beyond them is built. Whatever else the text
// holds stays in the document, which may hold a fixed number of values — far more than the
// song settings and one track need — however large or oddly shaped the input is.
class SongStream {
public:
    SongStream(std::vector<CTrack>& tracks, TIME_LISTS& lists) : tracks(tracks), lists(lists) {}

    // The parser's callback; false drops the value just parsed from the document.
    bool Event(int depth, Json::parse_event_t event, Json& parsed);

private:
    using Event_t = Json::parse_event_t;

    static bool Opens(Event_t e) { return e == Event_t::object_start || e == Event_t::array_start; }

    bool Route(int depth, Event_t event, Json& parsed);
    bool TrackEvent(int depth, Event_t event, Json& parsed);
    void CountHeld(Event_t event, bool kept);
    void BeginTrack();
    void TakeNote(const Json& note);
    void TakeTrack(const Json& track);
    std::string TrackPath() const { return Index("tracks", tracks.size()); }

    std::vector<CTrack>& tracks;
    TIME_LISTS& lists;
    std::deque<CNote> notes; // of the track being read (no copies as it grows)
    uint64_t spent = 0;      // storage of the tracks read (SongLimits.h)
    uint64_t noteSegments = 0;
    std::string rootKey;  // the last key of the top-level object
    std::string trackKey; // the last key of the track being read
    bool inTracks = false;
    bool inNotes = false;
    bool inList = false;
    uint64_t held = 0;            // values in the document
    std::vector<uint64_t> opened; // `held` before each open container
};

// The deepest the format nests: top level, "tracks", a track, "fm", "operators", an
// operator, its envelope.
constexpr int kMaxContainerDepth = 6;
// Twice a track of the largest wave table; some 12 MB of document at most.
constexpr uint64_t kMaxHeldValues = uint64_t{1} << 17;

bool SongStream::Event(int depth, Event_t event, Json& parsed) {
    if (Opens(event) && depth > kMaxContainerDepth)
        Refuse("top level", "nested deeper than a song can be");
    const bool kept = Route(depth, event, parsed);
    CountHeld(event, kept);
    return kept;
}

bool SongStream::Route(int depth, Event_t event, Json& parsed) {
    if (depth == 1 && event == Event_t::key) {
        rootKey = parsed.get<std::string>();
    } else if (depth == 1 && event == Event_t::array_start && rootKey == "tracks") {
        inTracks = true;
        tracks.clear();
        spent = 0;
    } else if (depth == 1 && event == Event_t::array_start && TIME_LISTS::IsList(rootKey)) {
        inList = true;
        lists.Begin(rootKey);
    } else if (depth == 1 && event == Event_t::array_end) {
        inTracks = inList = false;
    } else if (inTracks) {
        return TrackEvent(depth, event, parsed);
    } else if (inList && depth == 2 && !Opens(event)) {
        lists.Take(rootKey, parsed);
        return false;
    }
    return true;
}

// A container that is dropped takes the values it held with it.
void SongStream::CountHeld(Event_t event, bool kept) {
    if (Opens(event)) {
        opened.push_back(held);
        ++held;
    } else if (event == Event_t::object_end || event == Event_t::array_end) {
        if (!kept)
            held = opened.back();
        opened.pop_back();
    } else if (kept) {
        ++held;
    }
    if (held > kMaxHeldValues)
        Refuse("top level", "holds more values than a song can have");
}

bool SongStream::TrackEvent(int depth, Event_t event, Json& parsed) {
    if (depth == 2) {
        if (event == Event_t::object_start)
            BeginTrack();
        else if (event == Event_t::object_end)
            TakeTrack(parsed);
        else
            Refuse(TrackPath(), "must be an object");
        return event == Event_t::object_start;
    }
    if (depth == 3 && event == Event_t::key) {
        trackKey = parsed.get<std::string>();
    } else if (depth == 3 && event == Event_t::array_start && trackKey == "notes") {
        inNotes = true;
        notes.clear();
        noteSegments = 0;
    } else if (depth == 3 && event == Event_t::array_end) {
        inNotes = false;
    } else if (inNotes && depth == 4 && !Opens(event)) {
        TakeNote(parsed);
        return false;
    }
    return true;
}

void SongStream::BeginTrack() {
    if (tracks.size() >= songlimits::kMaxTracks)
        Refuse("tracks", "more than " + std::to_string(songlimits::kMaxTracks) +
                             " tracks, the most a song can have");
    notes.clear();
    noteSegments = 0;
    trackKey.clear();
}

// Counting the segments of each note bounds what the notes waiting for their track hold;
// the bucket slots are known once the track is complete.
void SongStream::TakeNote(const Json& note) {
    const std::string path = TrackPath() + ".notes[" + std::to_string(notes.size()) + "]";
    const CNote n = ReadNote(note, path);
    noteSegments += songlimits::SegmentCount(n.position, n.length);
    if (spent + noteSegments > songlimits::kSegmentBudget)
        Refuse(path, "the song's notes are longer than a song can be");
    notes.push_back(n);
}

void SongStream::TakeTrack(const Json& track) {
    const uint64_t cost = songlimits::StorageCost(notes);
    if (spent + cost > songlimits::kSegmentBudget)
        Refuse(TrackPath() + ".notes", "the song's notes reach further than a song can");
    spent += cost;
    CTrack& t = tracks.emplace_back();
    ReadTrack(track, Index("tracks", tracks.size() - 1), t, notes);
    notes.clear();
}

void ReadProjectData(CJsonFields& f, CProjectData& d, TIME_LISTS& lists) {
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
    ReadLists(f, d, lists);
}

} // namespace

Result ProjectFromJson(std::string_view text, CProject& project) {
    try {
        CProject loaded;
        loaded.Reset();
        TIME_LISTS lists;
        SongStream stream(loaded.tracks, lists);
        Json root = Json::parse(
            text,
            [&stream](int depth, Json::parse_event_t event, Json& parsed) {
                return stream.Event(depth, event, parsed);
            },
            false);
        if (root.is_discarded())
            return Result::Fail("not valid JSON");
        CJsonFields f(root, "");
        ReadProjectData(f, loaded.data, lists);
        if (const Json* tracks = f.Get("tracks"))
            ArrayAt(tracks, "tracks");
        f.Finish();
        loaded.lastBuildLength = loaded.GetLength();
        loaded.lastBuildFadeOut = loaded.data.fadeOut;
        project = std::move(loaded);
    } catch (const JSON_ERROR& e) {
        return Result::Fail(e.message);
    }
    return Result::Ok();
}
