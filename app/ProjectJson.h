#pragma once
// A project as JSON, in the shape `tsq --dump` prints and `tsq --convert` reads. Keys are
// the model's field names; keys missing from the input take their defaults.

#include "model/CProject.h"
#include "model/Result.h"

#include <string>

std::string ProjectToJson(const CProject& project);
// Fills `project` from JSON text. Values out of range are refused with a message naming
// the key; on failure the project is left unchanged.
Result ProjectFromJson(const std::string& text, CProject& project);
