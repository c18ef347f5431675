#include "wizard/CWizFinishModel.h"

namespace wizard {

std::string CWizFinishModel::CleanerArgument(const CSettings& s) {
    return s.getCleanupSettings()->mCleanupAdvanced.mWindowsStart != 0 ? "-r" : "-u";
}

platform::Process CWizFinishModel::Finish(CSettings& s, const std::filesystem::path& starterFolder) {
    s.SetRegistry();
    return platform::StartProcess(kCleanerProgram, {CleanerArgument(s)}, starterFolder);
}

}  // namespace wizard
