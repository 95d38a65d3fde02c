#include "programs.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

extern char** environ;

namespace quarbel::testing {

namespace fs = std::filesystem;

Started startProgram(const fs::path& program, const fs::path& workingFolder,
                     const std::vector<std::string>& settings) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string setting = *entry;
        if (setting.starts_with("XDG_DATA_HOME=")) continue;
        const std::string name = setting.substr(0, setting.find('=') + 1);
        bool replaced = false;
        for (const std::string& own : settings)
            replaced = replaced || own.starts_with(name);
        if (!replaced) environment.push_back(setting);
    }
    environment.insert(environment.end(), settings.begin(), settings.end());
    std::vector<char*> envp;
    for (std::string& setting : environment)
        envp.push_back(setting.data());
    envp.push_back(nullptr);

    Started started;
    started.output = workingFolder.parent_path() / (program.filename().string() + ".out");
    const std::string programPath = program.string();
    char* argv[] = {const_cast<char*>(programPath.c_str()), nullptr};
    started.pid = fork();
    if (started.pid == 0) {
        const int output = open(started.output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (output < 0 || chdir(workingFolder.c_str()) != 0) _exit(127);
        dup2(output, 1);
        dup2(output, 2);
        execve(programPath.c_str(), argv, envp.data());
        _exit(127);
    }
    return started;
}

namespace {

// Collects the process when it has ended; true while it runs.
bool running(Started& started) {
    if (!started.collected && waitpid(started.pid, &started.status, WNOHANG) == started.pid) {
        started.collected = true;
    }
    return !started.collected;
}

bool endsWithin(Started& started, std::chrono::seconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (running(started) && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return !running(started);
}

fs::path linkOf(pid_t pid, const char* what) {
    std::error_code error;
    return fs::read_symlink("/proc/" + std::to_string(pid) + "/" + what, error);
}

}  // namespace

int exitStatusOf(Started& started, std::chrono::seconds timeout) {
    if (!endsWithin(started, timeout)) return -1;
    return WIFEXITED(started.status) ? WEXITSTATUS(started.status) : -1;
}

bool runsThere(Started& started, const fs::path& program, const fs::path& folder,
               std::chrono::seconds timeout) {
    const fs::path wantedProgram = fs::canonical(program);
    const fs::path wantedFolder = fs::weakly_canonical(folder);
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end && running(started)) {
        if (linkOf(started.pid, "exe") == wantedProgram &&
            linkOf(started.pid, "cwd") == wantedFolder) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            return running(started);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

void stop(Started& started) {
    if (!running(started)) return;
    kill(started.pid, SIGTERM);
    if (endsWithin(started, std::chrono::seconds(10))) return;
    kill(started.pid, SIGKILL);
    waitpid(started.pid, &started.status, 0);
    started.collected = true;
}

CommandResult run(const std::string& command) {
    CommandResult result{-1, {}};
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.append(buffer, read);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace quarbel::testing
