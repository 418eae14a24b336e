// The extra reader connections of one database copy: a small fixed number, opened side by
// side in the background as soon as the main connection is open, and kept for every later
// statement. A connection the server refuses is left out; statements then run on the
// connections there are. A pool that goes while its connections are still opening asks
// them to stop and waits for them, so that nothing opens behind the program's back after
// it ended.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <stop_token>
#include <thread>
#include <type_traits>
#include <vector>

namespace engine {

// How many extra reader connections one copy of a program keeps.
inline constexpr std::size_t kReaderConnections = 3;

template <class Connection>
class ReaderPool {
public:
    // Opens one connection; gives up soon after the stop token asks it to.
    using Opener = std::function<std::unique_ptr<Connection>(std::stop_token)>;

    // Starts opening `count` connections with `open`, each on a thread of its own.
    ReaderPool(std::size_t count, Opener open) : opened_(count) {
        for (std::size_t i = 0; i < count; ++i) {
            opening_.emplace_back([this, i, open](std::stop_token stop) {
                try {
                    opened_[i] = open(stop);
                } catch (...) {
                    // Refused (a full server, say) or stopped: the statements manage without it.
                }
            });
        }
    }
    // An opener that is quick enough never to need stopping.
    template <class QuickOpener>
        requires std::is_invocable_r_v<std::unique_ptr<Connection>, QuickOpener>
    ReaderPool(std::size_t count, QuickOpener open)
        : ReaderPool(count, Opener([open = std::move(open)](std::stop_token) { return open(); })) {}

    ~ReaderPool() {
        // All are asked first, so that they stop side by side; the threads then join.
        for (auto& thread : opening_) thread.request_stop();
    }
    ReaderPool(const ReaderPool&) = delete;
    ReaderPool& operator=(const ReaderPool&) = delete;

    // The connections that opened; waits for the opening to finish the first time.
    std::vector<std::unique_ptr<Connection>>& readers() {
        if (!opening_.empty()) {
            opening_.clear();  // joins every thread
            for (auto& c : opened_)
                if (c) readers_.push_back(std::move(c));
        }
        return readers_;
    }

    // Forgets a reader that stopped working.
    void drop(std::size_t index) { readers_.erase(readers_.begin() + static_cast<std::ptrdiff_t>(index)); }

private:
    std::vector<std::unique_ptr<Connection>> opened_;  // slot i: what thread i opened
    std::vector<std::unique_ptr<Connection>> readers_;
    std::vector<std::jthread> opening_;  // last, so that it goes (and joins) first
};

}  // namespace engine
