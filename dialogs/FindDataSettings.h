#pragma once
// The find criteria kept between runs in the settings group "FindData".

#include "model/FindData.h"

class QSettings;

// Missing values keep the defaults of FIND_DATA; stored values are brought into the ranges
// the find dialog offers (ClampedFindData), so a damaged settings file cannot select a key
// outside 0..95.
FIND_DATA LoadFindData(QSettings& settings);
void SaveFindData(QSettings& settings, const FIND_DATA& data);
// Switches 0 or 1, ticks and key-offs 0 or more, lengths 1 or more, keys 0..95, volumes
// 0..255.
FIND_DATA ClampedFindData(const FIND_DATA& data);
// Clamped, and each range in order: for position, length, key-off and volume the start is
// the smaller value; for the key it is the larger key number (the lower pitch).
FIND_DATA OrderedFindData(const FIND_DATA& data);
