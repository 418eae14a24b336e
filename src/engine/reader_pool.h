// The extra reader connections of one database copy: a small fixed number, opened side by
// side in the background as soon as the main connection is open, and kept for every later
// statement. A connection the server refuses is left out; statements then run on the
// connections there are.
#pragma once

#include <cstddef>
#include <functional>
#include <future>
#include <memory>
#include <thread>
#include <vector>

namespace engine {

// How many extra reader connections one copy of a program keeps.
inline constexpr std::size_t kReaderConnections = 3;

template <class Connection>
class ReaderPool {
public:
    using Opener = std::function<std::unique_ptr<Connection>()>;

    // Starts opening `count` connections with `open`, each on a thread of its own.
    ReaderPool(std::size_t count, Opener open)
        : pending_(std::async(std::launch::async, [count, open = std::move(open)] {
              std::vector<std::unique_ptr<Connection>> opened(count);
              std::vector<std::thread> threads;
              for (std::size_t i = 0; i < count; ++i) {
                  threads.emplace_back([&, i] {
                      try {
                          opened[i] = open();
                      } catch (...) {
                          // Refused (a full server, say): the statements manage without it.
                      }
                  });
              }
              for (auto& t : threads) t.join();
              std::vector<std::unique_ptr<Connection>> ready;
              for (auto& c : opened)
                  if (c) ready.push_back(std::move(c));
              return ready;
          })) {}

    ~ReaderPool() {
        if (pending_.valid()) pending_.wait();
    }
    ReaderPool(const ReaderPool&) = delete;
    ReaderPool& operator=(const ReaderPool&) = delete;

    // The connections that opened; waits for the opening to finish the first time.
    std::vector<std::unique_ptr<Connection>>& readers() {
        if (pending_.valid()) readers_ = pending_.get();
        return readers_;
    }

    // Forgets a reader that stopped working.
    void drop(std::size_t index) { readers_.erase(readers_.begin() + static_cast<std::ptrdiff_t>(index)); }

private:
    std::future<std::vector<std::unique_ptr<Connection>>> pending_;
    std::vector<std::unique_ptr<Connection>> readers_;
};

}  // namespace engine
