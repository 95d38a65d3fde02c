// Running installed programs from a test: in a folder of their choosing, with a scratch
// home, their output kept in a file.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace quarbel::testing {

struct Started {
    pid_t pid = -1;
    std::filesystem::path output;  // standard output and error
    bool collected = false;        // ended and waited for
    int status = 0;                // as waitpid gave it, once collected
};

// Starts the program in workingFolder with this test's environment less XDG_DATA_HOME,
// plus the given NAME=VALUE settings.
Started startProgram(const std::filesystem::path& program,
                     const std::filesystem::path& workingFolder,
                     const std::vector<std::string>& settings);

// Waits for the process to end; its exit status, or -1 when it ended by a signal or is
// still running after the timeout.
int exitStatusOf(Started& started, std::chrono::seconds timeout);

// Whether the process came to run `program` in `folder` (through exec) within the timeout
// and was still running a second later.
bool runsThere(Started& started, const std::filesystem::path& program,
               const std::filesystem::path& folder, std::chrono::seconds timeout);

// Ends a process that is still running and collects it.
void stop(Started& started);

// The output of a shell command, and its exit status.
struct CommandResult {
    int status;
    std::string output;
};
CommandResult run(const std::string& command);

std::string fileText(const std::filesystem::path& path);

}  // namespace quarbel::testing
