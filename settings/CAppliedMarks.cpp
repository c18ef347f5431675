#include "settings/CAppliedMarks.h"

#include <string>

#include "settings/ConfigKeys.h"

namespace {

std::string MarksKey() { return std::string(configkeys::kBackUp) + "\\Applied"; }

}  // namespace

bool CAppliedMarks::IsApplied(std::string_view program) { return configkeys::IsFlagSet(MarksKey(), program); }

bool CAppliedMarks::SetApplied(std::string_view program, bool applied) {
    return configkeys::SetFlag(MarksKey(), program, applied);
}
