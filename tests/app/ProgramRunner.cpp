#include "ProgramRunner.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

int RunProgram(const std::string& program, const std::vector<std::string>& args,
               const std::string& stderrPath, std::string& errors, const std::string& stdoutPath) {
    std::string command = program;
    for (const std::string& a : args)
        command += " '" + a + "'";
    command += " >'" + stdoutPath + "' 2>'" + stderrPath + "'";
    const int status = std::system(command.c_str());
    std::ifstream in(stderrPath);
    errors.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

pid_t SpawnProgram(std::vector<std::string> words, const std::string& stderrPath) {
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : 0;
}

int InterruptOnceWritten(pid_t pid, const std::string& file, int settleMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!std::filesystem::exists(file) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    kill(pid, SIGINT);
    int status = 0;
    return waitpid(pid, &status, 0) == pid ? status : -1;
}
