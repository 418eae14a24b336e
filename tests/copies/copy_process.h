// A copy of the program (the test driver morvel_copy) run as a child process with its
// own alias file, its output read line by line; as the test's own user or as another
// clerk. Killed with SIGKILL when the test lets go of it while it still runs.
#pragma once

#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace copies {

// Another user the copy runs as: its user id, its own group and the groups it belongs to.
struct Clerk {
    uid_t uid = 0;
    gid_t group = 0;
    std::vector<gid_t> groups;
};

class CopyProcess {
public:
    CopyProcess(const std::vector<std::string>& arguments, const std::string& aliasFile,
                const Clerk* clerk = nullptr, const std::string& program = MORVEL_COPY_PROGRAM) {
        std::vector<std::string> texts{program};
        texts.insert(texts.end(), arguments.begin(), arguments.end());
        std::vector<std::string> environment{"MORVEL_ALIAS_CONFIG=" + aliasFile};
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "MORVEL_ALIAS_CONFIG=", 20) != 0) environment.emplace_back(*e);
        // Everything the child needs is made before the fork: it only execs.
        std::vector<char*> argv, envp;
        for (auto& t : texts) argv.push_back(t.data());
        argv.push_back(nullptr);
        for (auto& e : environment) envp.push_back(e.data());
        envp.push_back(nullptr);
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(fds[1], STDOUT_FILENO);
            ::close(fds[0]);
            ::close(fds[1]);
            if (clerk && (::chdir("/") != 0 || ::setgroups(clerk->groups.size(), clerk->groups.data()) != 0 ||
                          ::setgid(clerk->group) != 0 || ::setuid(clerk->uid) != 0))
                ::_exit(126);
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        out_ = fds[0];
    }
    ~CopyProcess() {
        kill();
        if (out_ >= 0) ::close(out_);
    }
    CopyProcess(const CopyProcess&) = delete;
    CopyProcess& operator=(const CopyProcess&) = delete;

    // The next line of output; nullopt at its end or when none comes within `timeout`.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (true) {
            if (const auto end = buffer_.find('\n'); end != std::string::npos) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (out_ < 0 || left.count() <= 0) return std::nullopt;
            pollfd ready{out_, POLLIN, 0};
            if (::poll(&ready, 1, static_cast<int>(left.count())) <= 0) continue;
            char chunk[4096];
            const ssize_t n = ::read(out_, chunk, sizeof chunk);
            if (n <= 0) return std::nullopt;
            buffer_.append(chunk, static_cast<size_t>(n));
        }
    }

    // Every line until the output ends (or `timeout` passes).
    std::vector<std::string> readAll(std::chrono::milliseconds timeout) {
        std::vector<std::string> lines;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (auto line = readLine(std::chrono::duration_cast<std::chrono::milliseconds>(
                   deadline - std::chrono::steady_clock::now())))
            lines.push_back(*line);
        return lines;
    }

    // The wait status once the process has ended, within `timeout`; nullopt while it runs.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (pid_ > 0) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return status;
            }
            if (std::chrono::steady_clock::now() >= deadline) break;
            ::usleep(10000);
        }
        return std::nullopt;
    }

    // Tells a copy that waits for it to go on (SIGUSR1).
    void proceed() {
        if (pid_ > 0) ::kill(pid_, SIGUSR1);
    }

    void kill() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string buffer_;
};

}  // namespace copies
