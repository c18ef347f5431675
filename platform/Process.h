#pragma once
// Starting other programs (the WinExec subset the system uses), a snapshot
// of the running programs, and waiting until a started program is idle.
//
// A program is started detached, without a shell: its path is never split
// at spaces and each argument reaches it as given. A bare program name is
// looked up in the starter's folder, then in the absolute folders of PATH,
// never in the current folder.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Types.h"

namespace platform {

// A started program, by process id; an empty one names none.
class Process {
public:
    Process() = default;
    explicit Process(DWORD id) : id_(id) {}

    bool IsValid() const { return id_ != 0; }
    DWORD id() const { return id_; }
    // True while the process exists and has not ended.
    bool IsRunning() const;

private:
    DWORD id_ = 0;
};

// The program file that a start would run; empty when none is found or it
// is not an executable file. A path with a separator is taken as it is
// when absolute and below starterFolder when relative.
std::filesystem::path FindProgram(std::string_view program, const std::filesystem::path& starterFolder);

// Starts the program detached; starterFolder empty means the folder of the
// running program. An empty Process when the program is not found or
// cannot run. The new program inherits no descriptor but 0, 1 and 2.
Process StartProcess(std::string_view program, const std::vector<std::string>& arguments = {},
                     const std::filesystem::path& starterFolder = {});

// Waits at most ms until the process sleeps waiting for something to do,
// the nearest this system has to a program waiting for input.
// WAIT_OBJECT_0 when it does, WAIT_TIMEOUT, or WAIT_FAILED when the process
// has ended or never existed.
DWORD WaitForInputIdle(const Process& process, DWORD ms);

struct ProcessEntry {
    DWORD id = 0;
    std::string exeFile;  // the file name of its program, without folders
};

// The running processes whose program can be told.
std::vector<ProcessEntry> ProcessSnapshot();

}  // namespace platform
