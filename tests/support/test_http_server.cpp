#include "tests/support/test_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

namespace vexa::testing_support {
namespace {

// Sends every byte; false when the connection broke.
bool SendAll(int socket, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) {
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

// Appends what the socket has; false at the end of the stream or an error.
bool ReadMore(int socket, std::string& pending) {
  char buffer[16384];
  const ssize_t got = recv(socket, buffer, sizeof buffer, 0);
  if (got <= 0) {
    return false;
  }
  pending.append(buffer, static_cast<std::size_t>(got));
  return true;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The Content-Length a request head announces; 0 without one.
std::size_t AnnouncedLength(const std::string& head) {
  const std::string lower = Lower(head);
  const std::size_t at = lower.find("\r\ncontent-length:");
  if (at == std::string::npos) {
    return 0;
  }
  return std::strtoul(head.c_str() + at + 17, nullptr, 10);
}

// The reply on the wire: the whole of it, or the head and the first
// `sentBytes` of the body when the body ends early.
std::string ReplyBytes(const ScriptedReply& reply) {
  std::string bytes = reply.statusLine + "\r\n";
  for (const std::string& line : reply.headerLines) {
    bytes += line + "\r\n";
  }
  if (reply.chunked) {
    bytes += "Transfer-Encoding: chunked\r\n\r\n";
    constexpr std::size_t chunk = 1000;
    for (std::size_t at = 0; at < reply.body.size(); at += chunk) {
      const std::string piece = reply.body.substr(at, chunk);
      char size[32];
      snprintf(size, sizeof size, "%zx\r\n", piece.size());
      bytes += size + piece + "\r\n";
    }
    return bytes + "0\r\n\r\n";
  }
  if (reply.announceLength) {
    bytes += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
  }
  bytes += "\r\n";
  return bytes + (reply.end == BodyEnd::Whole ? reply.body : reply.body.substr(0, reply.sentBytes));
}

// Second word (index 1) or first word (index 0) of the request line.
std::string RequestLineWord(const std::string& head, std::size_t index) {
  const std::string line = head.substr(0, head.find("\r\n"));
  std::size_t start = 0;
  for (std::size_t i = 0; i < index; ++i) {
    start = line.find(' ', start) + 1;
  }
  return line.substr(start, line.find(' ', start) - start);
}

}  // namespace

std::string RecordedRequest::Method() const { return RequestLineWord(head, 0); }

std::string RecordedRequest::Target() const { return RequestLineWord(head, 1); }

ScriptedReply Reply(std::string statusLine, std::string body) {
  ScriptedReply reply;
  reply.statusLine = std::move(statusLine);
  reply.body = std::move(body);
  return reply;
}

TestHttpServer::TestHttpServer(Script script) : script_(std::move(script)) {
  listener_ = socket(AF_INET, SOCK_STREAM, 0);
  const int yes = 1;
  setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener_, 128) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    std::abort();
  }
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread(&TestHttpServer::AcceptLoop, this);
}

TestHttpServer::~TestHttpServer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  stopped_.notify_all();
  shutdown(listener_, SHUT_RDWR);
  acceptor_.join();
  close(listener_);
  {
    std::lock_guard lock(mutex_);
    for (const int client : clients_) {
      shutdown(client, SHUT_RDWR);
    }
  }
  for (std::thread& connection : connections_) {
    connection.join();
  }
}

std::string TestHttpServer::Origin() const { return "127.0.0.1:" + std::to_string(port_); }

std::string TestHttpServer::Url(std::string_view path) const {
  return "http://" + Origin() + std::string(path);
}

std::vector<RecordedRequest> TestHttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void TestHttpServer::AcceptLoop() {
  for (;;) {
    const int client = accept(listener_, nullptr, nullptr);
    if (client < 0) {
      if (stopping_) {
        return;
      }
      continue;
    }
    std::lock_guard lock(mutex_);
    if (stopping_) {
      close(client);
      return;
    }
    clients_.insert(client);
    connections_.emplace_back(&TestHttpServer::Serve, this, client);
  }
}

void TestHttpServer::Serve(int client) {
  std::string pending;
  for (bool open = true; open && !stopping_;) {
    std::size_t headEnd = pending.find("\r\n\r\n");
    while (headEnd == std::string::npos && (open = ReadMore(client, pending))) {
      headEnd = pending.find("\r\n\r\n");
    }
    if (!open) {
      break;
    }
    RecordedRequest request;
    request.head = pending.substr(0, headEnd + 4);
    pending.erase(0, headEnd + 4);
    const std::size_t length = AnnouncedLength(request.head);
    while (pending.size() < length && (open = ReadMore(client, pending))) {
    }
    request.body = pending.substr(0, length);
    pending.erase(0, std::min(length, pending.size()));
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
    }
    const int active = ++active_;
    for (int seen = maxActive_; active > seen && !maxActive_.compare_exchange_weak(seen, active);) {
    }
    const ScriptedReply reply = script_(request);
    const bool http10 = request.head.substr(0, request.head.find("\r\n")).ends_with("HTTP/1.0");
    open = Answer(client, reply) && !reply.close && !http10;
  }
  std::lock_guard lock(mutex_);
  clients_.erase(client);
  close(client);
}

bool TestHttpServer::Answer(int client, const ScriptedReply& reply) {
  if (!Wait(reply.delay)) {
    --active_;
    return false;
  }
  const std::string bytes = ReplyBytes(reply);
  if (reply.end == BodyEnd::Whole) {
    // The request stops counting before its last byte leaves, so a client
    // that has the whole answer can never be counted together with it.
    bool sent = SendAll(client, std::string_view(bytes).substr(0, bytes.size() - 1));
    --active_;
    return SendAll(client, std::string_view(bytes).substr(bytes.size() - 1)) && sent;
  }
  SendAll(client, bytes);
  if (reply.end == BodyEnd::Stall) {
    WaitForClientToLeave(client);
  } else if (reply.end == BodyEnd::Reset) {
    const linger abort{1, 0};
    setsockopt(client, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
  }
  --active_;
  return false;
}

bool TestHttpServer::Wait(std::chrono::milliseconds duration) {
  std::unique_lock lock(mutex_);
  return !stopped_.wait_for(lock, duration, [this] { return stopping_.load(); });
}

void TestHttpServer::WaitForClientToLeave(int client) {
  while (!stopping_) {
    pollfd watch{client, POLLIN, 0};
    if (poll(&watch, 1, 50) > 0) {
      char byte;
      if (recv(client, &byte, 1, 0) <= 0) {
        return;
      }
    }
  }
}

}  // namespace vexa::testing_support
