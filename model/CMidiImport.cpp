// MIDI import: the reader turns a Standard MIDI File into notes per channel and time-list
// changes; here they become one track per channel, added to the song only once the whole
// file has been read, so a damaged file changes nothing.

#include "model/CProject.h"
#include "model/FileIO.h"
#include "model/SongLimits.h"
#include "model/internal/CMidiReader.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <numeric>

namespace {

// Far above any MIDI file a song comes from.
constexpr size_t kMaxMidiFile = size_t{64} << 20;
constexpr int kRhythmChannel = 9; // MIDI channel 10
constexpr int32_t kLastTick = std::numeric_limits<int32_t>::max();

std::string TrackName(int channel) {
    return "インポート MIDI チャンネル " + std::to_string(channel + 1);
}

// Drum hits carry no meaningful note-off: each gets the given length, cut short where the
// next hit of the same key begins.
void FitRhythmLengths(std::vector<MIDI_NOTE>& notes, int32_t length) {
    length = std::max(length, 1);
    std::vector<size_t> order(notes.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&notes](size_t a, size_t b) {
        return notes[a].key != notes[b].key ? notes[a].key < notes[b].key
                                            : notes[a].position < notes[b].position;
    });
    constexpr int64_t kNone = std::numeric_limits<int64_t>::max();
    int32_t key = -1;
    int64_t runStart = 0;   // position of the hits at the current place
    int64_t laterStart = 0; // the next greater position of the same key
    for (size_t i = order.size(); i-- > 0;) {
        MIDI_NOTE& n = notes[order[i]];
        if (n.key != key) {
            key = n.key;
            runStart = n.position;
            laterStart = kNone;
        } else if (n.position != runStart) {
            laterStart = runStart;
            runStart = n.position;
        }
        n.length = static_cast<int32_t>(std::min<int64_t>(length, laterStart - n.position));
    }
}

// Brings a note into the range a stored note has, so the cost counted is what AddNote
// allocates.
void Normalize(MIDI_NOTE& n) {
    n.position = std::clamp(n.position, 0, kLastTick - 1);
    n.length = std::clamp(n.length, 1, kLastTick - n.position);
}

CTrack MakeTrack(int channel, const std::vector<MIDI_NOTE>& notes, int firstVolume) {
    CTrack track;
    track.settings.name = TrackName(channel);
    if (firstVolume >= 0)
        track.settings.volume = firstVolume * 255 / 127;
    for (const MIDI_NOTE& n : notes) {
        CNote values;
        values.position = n.position;
        values.length = n.length;
        values.keyoff = 0;
        values.key = n.key;
        values.volume = n.volume;
        track.AddNote(values);
    }
    return track;
}

} // namespace

Result CProject::ImportMidi(const std::string& path, const MIDI_IMPORT_OPTIONS& options) {
    std::vector<uint8_t> bytes;
    Result r = ReadWholeFile(path, bytes, kMaxMidiFile);
    if (r)
        r = ImportMidiFromBytes(bytes, options);
    if (!r)
        r.message = path + ": " + r.message;
    return r;
}

// One track per channel that received notes, in channel order after the existing tracks;
// channels without notes leave no track. The song with the new tracks must stay within
// the limits a project file has; that is known before any note is stored, so a few bytes
// claiming notes days long cannot make the import allocate without end.
Result CProject::ImportMidiFromBytes(std::span<const uint8_t> bytes,
                                     const MIDI_IMPORT_OPTIONS& options) {
    CMidiReader reader(data.tempos, data.beats);
    if (Result r = reader.Read(bytes); !r)
        return r;
    if (options.rhythmAutoLength)
        FitRhythmLengths(reader.Notes(kRhythmChannel), options.rhythmAutoLengthLength);
    uint64_t cost = 0;
    size_t trackCount = tracks.size();
    for (const CTrack& t : tracks)
        cost += t.StorageCost();
    for (int c = 0; c < CMidiReader::kChannels; ++c) {
        for (MIDI_NOTE& n : reader.Notes(c))
            Normalize(n);
        cost += songlimits::StorageCost(reader.Notes(c));
        trackCount += reader.Notes(c).empty() ? 0 : 1;
    }
    if (trackCount > songlimits::kMaxTracks)
        return Result::Fail("too many tracks with those of the MIDI file (" +
                            std::to_string(trackCount) + ")");
    if (cost > songlimits::kSegmentBudget)
        return Result::Fail("MIDI notes exceed the size a song can have");

    std::vector<CTrack> imported;
    for (int c = 0; c < CMidiReader::kChannels; ++c)
        if (!reader.Notes(c).empty())
            imported.push_back(MakeTrack(c, reader.Notes(c), reader.FirstVolume(c)));
    data.tempos.Assign(reader.Tempos());
    data.beats.Assign(reader.Beats());
    tracks.insert(tracks.end(), std::make_move_iterator(imported.begin()),
                  std::make_move_iterator(imported.end()));
    modified = 1;
    return Result::Ok();
}
