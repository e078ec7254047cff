#pragma once
// The JSON form of a track's settings, shared by the JSON form of a song (`tsq --dump`,
// `tsq --convert`) and by sound presets, so both write and read a track's fields alike.
// Keys are the model's field names; keys missing from the input keep the record's values.
// Values outside the ranges of SoundRanges.h are refused, naming the key.

#include "model/CTrackData.h"
#include "presets/CJsonFields.h"

// What of a track the form holds: a song's track carries its name and mute state, a sound
// neither (they belong to the track a sound is used on).
enum class TrackKeys { Track, SoundOnly };

Json TrackFieldsJson(const CTrackData& settings, TrackKeys keys);
// Reads the fields of `keys` from `f` into `settings`; the caller finishes `f`.
void ReadTrackFields(CJsonFields& f, CTrackData& settings, TrackKeys keys);
