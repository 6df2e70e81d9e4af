#include "http/host_limits.h"

#include <utility>

namespace vexa {

HostLimit::Slot::Slot(HostLimit* owner, std::string host) : owner_(owner), host_(std::move(host)) {}

HostLimit::Slot::Slot(Slot&& other) noexcept
    : owner_(std::exchange(other.owner_, nullptr)), host_(std::move(other.host_)) {}

HostLimit::Slot& HostLimit::Slot::operator=(Slot&& other) noexcept {
  if (this != &other) {
    if (owner_ != nullptr) {
      owner_->Release(host_);
    }
    owner_ = std::exchange(other.owner_, nullptr);
    host_ = std::move(other.host_);
  }
  return *this;
}

HostLimit::Slot::~Slot() {
  if (owner_ != nullptr) {
    owner_->Release(host_);
  }
}

HostLimit::HostLimit(int perHost) : perHost_(perHost) {}

HostLimit::Slot HostLimit::Acquire(std::string host) {
  std::unique_lock lock(mutex_);
  Host& entry = hosts_[host];
  ++entry.waiting;
  entry.freed.wait(lock, [&] { return stopping_ || entry.running < perHost_; });
  --entry.waiting;
  if (stopping_) {
    if (entry.running == 0 && entry.waiting == 0) {
      hosts_.erase(host);
    }
    return {};
  }
  ++entry.running;
  return {this, std::move(host)};
}

void HostLimit::StopWaiting() {
  std::lock_guard lock(mutex_);
  stopping_ = true;
  for (auto& [name, entry] : hosts_) {
    entry.freed.notify_all();
  }
}

void HostLimit::Release(const std::string& host) {
  std::lock_guard lock(mutex_);
  const auto found = hosts_.find(host);
  Host& entry = found->second;
  --entry.running;
  if (entry.waiting > 0) {
    entry.freed.notify_one();
  } else if (entry.running == 0) {
    hosts_.erase(found);
  }
}

HostLimit& RequestHostLimit() {
  static HostLimit limit(2);
  return limit;
}

HostLimit& DownloadHostLimit() {
  static HostLimit limit(4);
  return limit;
}

}  // namespace vexa
