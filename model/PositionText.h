#pragma once
// The measure:tick form in which positions are shown and typed ("%d:%d", measures from 1).

#include "model/CBeats.h"

#include <optional>
#include <string>

std::string FormatPosition(const CBeats& beats, int32_t tick);
// Digits, optionally ":" and more digits (an empty part counts as 0). Measure 0 reaches
// back one measure before the song; a result before the song becomes 0. Anything else is
// refused with nullopt.
std::optional<int32_t> ParsePosition(const CBeats& beats, const std::string& text);
