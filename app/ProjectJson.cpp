#include "app/ProjectJson.h"

std::string ProjectToJson(const CProject&) { return "{}\n"; }

Result ProjectFromJson(const std::string&, CProject&) { return Result::Fail("not available"); }
