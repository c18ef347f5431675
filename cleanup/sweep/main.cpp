// KVSweep: the outside cleaner. No argument cleans what the stored cleanup
// settings select; "-r" makes it clean at every log-on, "-u" stops that.
// Exit status: 0 done, 1 another cleaner of this user is cleaning (nothing
// was cleaned), 2 an unknown command line, 3 the Run key or the autostart
// entry could not be changed, 4 the per-user root is no folder (nothing was
// done). Nobody waits for the program; the one-line messages on stderr are
// for the people who run it by hand.

#include <iostream>
#include <string_view>

#include "cleanup/sweep/CSweepJob.h"
#include "platform/Root.h"

namespace {

int Usage() {
    std::cerr << "usage: KVSweep [-r | -u]  (clean now; -r clean at every log-on; -u stop that)\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) return Usage();
    const std::string_view command = argc == 2 ? argv[1] : "";
    if (argc == 2 && command != "-r" && command != "-u") return Usage();
    if (!CSweepJob::RootIsUsable()) {
        std::cerr << "KVSweep: the per-user root " << platform::UserRoot()
                  << " is no folder; nothing was done\n";
        return 4;
    }
    if (command == "-r")
        return CSweepJob::RegisterAtStart((platform::ProgramImageFolder() / "KVSweep").string()) ? 0 : 3;
    if (command == "-u") return CSweepJob::UnregisterAtStart() ? 0 : 3;
    return CSweepJob::Clean() ? 0 : 1;
}
