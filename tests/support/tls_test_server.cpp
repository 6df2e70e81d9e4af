#include "tests/support/tls_test_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

extern char** environ;

namespace vexa::testing_support {
namespace {

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  return address;
}

// A loopback port that was free a moment ago.
int FreePort() {
  const int probe = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  close(probe);
  return ntohs(address.sin_port);
}

bool Accepts(int port) {
  const int probe = socket(AF_INET, SOCK_STREAM, 0);
  const sockaddr_in address = Loopback(port);
  const bool connected =
      connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(probe);
  return connected;
}

// Starts `arguments` with its output discarded; -1 when it cannot start.
pid_t Spawn(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t child = -1;
  if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    child = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  return child;
}

bool RunToEnd(std::vector<std::string> arguments) {
  const pid_t child = Spawn(std::move(arguments));
  int status = 0;
  return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

}  // namespace

TlsTestServer::TlsTestServer() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vexa-tls-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    return;
  }
  directory_ = pattern;
  const std::string key = directory_ + "/key.pem";
  const std::string certificate = directory_ + "/cert.pem";
  if (!RunToEnd({"openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt",
                 "ec_paramgen_curve:prime256v1", "-nodes", "-keyout", key, "-out", certificate,
                 "-days", "1", "-subj", "/CN=vexa.test"})) {
    return;
  }
  port_ = FreePort();
  server_ = Spawn({"openssl", "s_server", "-quiet", "-www", "-accept",
                   "127.0.0.1:" + std::to_string(port_), "-cert", certificate, "-key", key});
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (server_ > 0 && !running_ && std::chrono::steady_clock::now() < deadline) {
    running_ = Accepts(port_);
    if (!running_) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
}

TlsTestServer::~TlsTestServer() {
  if (server_ > 0) {
    kill(server_, SIGTERM);
    waitpid(server_, nullptr, 0);
  }
  if (!directory_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
  }
}

}  // namespace vexa::testing_support
