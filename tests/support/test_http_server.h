// A small HTTP server on 127.0.0.1 for the network tests: it records every
// byte of each request and answers from a script.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace vexa::testing_support {

// One request as it arrived.
struct RecordedRequest {
  std::string head;  // request line and header lines, each with its CR LF, and the empty line
  std::string body;

  std::string Method() const;  // first word of the request line
  std::string Target() const;  // second word of the request line
};

// How the server ends a reply's body.
enum class BodyEnd {
  Whole,  // every byte
  Close,  // close the connection after `sentBytes` bytes
  Reset,  // reset the connection after `sentBytes` bytes
  Stall,  // send `sentBytes` bytes, then nothing until the client leaves
};

// The answer to one request.
struct ScriptedReply {
  std::string statusLine = "HTTP/1.1 200 OK";
  std::vector<std::string> headerLines;  // sent as they are, each followed by CR LF
  std::string body;
  bool announceLength = true;          // add a Content-Length line (not with `chunked`)
  bool chunked = false;                // send the body in chunks under Transfer-Encoding: chunked
  std::chrono::milliseconds delay{0};  // wait before answering
  BodyEnd end = BodyEnd::Whole;
  std::size_t sentBytes = 0;
  bool close = false;  // close the connection after the reply
};

class TestHttpServer {
 public:
  using Script = std::function<ScriptedReply(const RecordedRequest&)>;

  // Starts listening on an ephemeral port; the script runs on the server's
  // connection threads, possibly several at once.
  explicit TestHttpServer(Script script);
  ~TestHttpServer();
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  int Port() const { return port_; }
  std::string Origin() const;                    // "127.0.0.1:port"
  std::string Url(std::string_view path) const;  // "http://127.0.0.1:port" + path
  std::vector<RecordedRequest> Requests() const;
  // Most requests that were being answered at the same moment.
  int MaxConcurrentRequests() const { return maxActive_; }

 private:
  void AcceptLoop();
  void Serve(int client);
  bool Answer(int client, const ScriptedReply& reply);
  // Sleeps for `duration` unless the server stops first; false when it stopped.
  bool Wait(std::chrono::milliseconds duration);
  // Waits until the client closes the connection or the server stops.
  void WaitForClientToLeave(int client);

  Script script_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> active_{0};
  std::atomic<int> maxActive_{0};
  mutable std::mutex mutex_;
  std::condition_variable stopped_;
  std::vector<RecordedRequest> requests_;
  std::set<int> clients_;
  std::vector<std::thread> connections_;
  std::thread acceptor_;
};

// A reply with the status line and body given and nothing unusual.
ScriptedReply Reply(std::string statusLine, std::string body);

// Received body bytes as a string, to compare with what a reply carried.
inline std::string BodyText(const std::vector<unsigned char>& body) {
  return {body.begin(), body.end()};
}

}  // namespace vexa::testing_support
