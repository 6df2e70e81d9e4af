// Process-wide limits on concurrent transfers to one host and port, so that
// many worker threads never flood one server: further callers wait their turn.
#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <string>

namespace vexa {

class HostLimit {
 public:
  // Holds one place at a host until destroyed; empty when none was given.
  class Slot {
   public:
    Slot() = default;
    Slot(HostLimit* owner, std::string host);
    Slot(Slot&& other) noexcept;
    Slot& operator=(Slot&& other) noexcept;
    Slot(const Slot&) = delete;
    Slot& operator=(const Slot&) = delete;
    ~Slot();

    explicit operator bool() const { return owner_ != nullptr; }

   private:
    HostLimit* owner_ = nullptr;
    std::string host_;
  };

  explicit HostLimit(int perHost);

  // Waits until fewer than the limit's number of transfers to `host` (a
  // "host:port" text) are running; an empty slot when the client stops.
  Slot Acquire(std::string host);

  // Wakes every waiting caller with an empty slot, now and from now on.
  void StopWaiting();

 private:
  void Release(const std::string& host);

  // Transfers running to one host and the callers waiting for it.
  struct Host {
    int running = 0;
    int waiting = 0;
    std::condition_variable freed;
  };

  const int perHost_;
  std::mutex mutex_;
  std::map<std::string, Host> hosts_;
  bool stopping_ = false;
};

// What a server speaking HTTP/1.1 is granted: two connections at a time.
HostLimit& RequestHostLimit();

// Whole-file downloads speak HTTP/1.0, whose servers are granted four.
HostLimit& DownloadHostLimit();

}  // namespace vexa
