// KVSweep: the outside cleaner. No argument cleans what the stored cleanup
// settings select; "-r" makes it clean at every log-on, "-u" stops that.
// Exit status: 0 done, 1 another cleaner of this user is cleaning (nothing
// was cleaned), 2 an unknown command line, 3 the Run key could not be changed.

#include <string_view>

#include "cleanup/sweep/CSweepJob.h"
#include "platform/Root.h"

int main(int argc, char** argv) {
    if (argc == 1) return CSweepJob::Clean() ? 0 : 1;
    if (argc != 2) return 2;
    const std::string_view command = argv[1];
    if (command == "-r")
        return CSweepJob::RegisterAtStart((platform::ProgramImageFolder() / "KVSweep").string()) ? 0 : 3;
    if (command == "-u") return CSweepJob::UnregisterAtStart() ? 0 : 3;
    return 2;
}
