#pragma once
// A project as JSON, in the shape `tsq --dump` prints and `tsq --convert` reads. Keys are
// the model's field names; keys missing from the input take their defaults.

#include "model/CProject.h"
#include "model/Result.h"

#include <string>
#include <string_view>

std::string ProjectToJson(const CProject& project);
// Fills `project` from JSON text. Values out of range, and songs beyond what a project file
// may hold (SongLimits.h), are refused with a message naming the key; on failure the
// project is left unchanged. Memory stays a small multiple of the text's size.
Result ProjectFromJson(std::string_view text, CProject& project);
