// "openssl s_server -www" on a loopback port, with a self-signed certificate
// made for the occasion: a real TLS peer whose certificate no authority signed.
#pragma once

#include <sys/types.h>

#include <string>

namespace vexa::testing_support {

class TlsTestServer {
 public:
  TlsTestServer();   // makes the certificate, starts the server, waits until it accepts
  ~TlsTestServer();  // stops the server and removes the certificate
  TlsTestServer(const TlsTestServer&) = delete;
  TlsTestServer& operator=(const TlsTestServer&) = delete;

  // False when the openssl command could not be run or the server never accepted.
  bool Running() const { return running_; }
  int Port() const { return port_; }

 private:
  std::string directory_;
  pid_t server_ = -1;
  int port_ = 0;
  bool running_ = false;
};

}  // namespace vexa::testing_support
