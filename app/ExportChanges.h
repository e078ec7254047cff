#pragma once
// Which seconds of a cached rendering of `before` are stale for `after`: the seconds of
// every note one has and the other lacks. Anything beyond notes (the song's settings, a
// track's sound or mute, the track count) makes every second stale: nothing is returned.

#include "model/CProject.h"

#include <optional>

std::optional<CProjectModified> ChangedSeconds(const CProject& before, const CProject& after);
