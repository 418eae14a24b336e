// A server on 127.0.0.1 that takes every connection and never answers it, as a frozen
// host or a dropped route looks to a client: the connection opens, then nothing comes.
// The first `relayed` connections may instead be passed on to a real server (the test
// PostgreSQL server), so that a program gets its first connection and then meets the
// silence with the ones after it. Everything is closed when it goes.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

class SilentServer {
public:
    explicit SilentServer(int relayed = 0, int targetPort = 0) : relayed_(relayed), targetPort_(targetPort) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address = loopback(0);
        if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, 64) != 0 || ::pipe(stop_) != 0)
            throw std::runtime_error("cannot listen on 127.0.0.1");
        socklen_t length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~SilentServer() {
        const char stop = 1;
        [[maybe_unused]] const auto written = ::write(stop_[1], &stop, 1);
        thread_.join();
        for (int fd : held_) ::close(fd);
        for (auto [a, b] : pairs_) {
            ::close(a);
            ::close(b);
        }
        ::close(listener_);
        ::close(stop_[0]);
        ::close(stop_[1]);
    }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    int port() const { return port_; }
    // Connections taken and never answered so far.
    int held() const { return heldCount_; }

private:
    static sockaddr_in loopback(int port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return address;
    }

    // Takes connections and passes the relayed ones' bytes both ways until told to stop.
    void serve() {
        while (true) {
            std::vector<pollfd> watched{{stop_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
            for (auto [a, b] : pairs_) {
                watched.push_back({a, POLLIN, 0});
                watched.push_back({b, POLLIN, 0});
            }
            if (::poll(watched.data(), watched.size(), -1) < 0) continue;
            if (watched[0].revents) return;
            std::vector<std::pair<int, int>> open;
            for (size_t i = 0; i < pairs_.size(); ++i) {
                auto [a, b] = pairs_[i];
                const bool ended = (watched[2 + 2 * i].revents && !pass(a, b)) ||
                                   (watched[3 + 2 * i].revents && !pass(b, a));
                if (ended) {
                    ::close(a);
                    ::close(b);
                } else {
                    open.emplace_back(a, b);
                }
            }
            pairs_ = std::move(open);
            if (watched[1].revents) take();
        }
    }

    void take() {
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) return;
        if (relayedSoFar_ >= relayed_) {
            held_.push_back(client);
            ++heldCount_;
            return;
        }
        const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in target = loopback(targetPort_);
        if (::connect(server, reinterpret_cast<sockaddr*>(&target), sizeof target) != 0) {
            ::close(server);
            ::close(client);
            return;
        }
        pairs_.emplace_back(client, server);
        ++relayedSoFar_;
    }

    // Passes what arrived on `from` to `to`; false when either side has ended.
    static bool pass(int from, int to) {
        char chunk[16384];
        const ssize_t n = ::read(from, chunk, sizeof chunk);
        if (n <= 0) return false;
        for (ssize_t sent = 0; sent < n;) {
            const ssize_t w = ::write(to, chunk + sent, static_cast<size_t>(n - sent));
            if (w <= 0) return false;
            sent += w;
        }
        return true;
    }

    int relayed_;
    int targetPort_;
    int listener_ = -1;
    int stop_[2] = {-1, -1};
    int port_ = 0;
    int relayedSoFar_ = 0;
    std::vector<int> held_;
    std::vector<std::pair<int, int>> pairs_;
    std::atomic<int> heldCount_{0};
    std::thread thread_;
};
