// HTTP client set-up shared by the network tests.
#pragma once

#include <gtest/gtest.h>

#include "http/http_client.h"

namespace vexa::testing_support {

// Initialises the HTTP client once per test program, before any test runs.
class HttpClientEnvironment : public testing::Environment {
 public:
  void SetUp() override { InitHttpClient(); }
};

inline testing::Environment* const kHttpClientEnvironment =
    testing::AddGlobalTestEnvironment(new HttpClientEnvironment);

// Shortens the process's time-outs for one test and puts them back after it.
class ScopedHttpTimeouts {
 public:
  explicit ScopedHttpTimeouts(HttpTimeouts timeouts) : saved_(CurrentHttpTimeouts()) {
    SetHttpTimeouts(timeouts);
  }
  ~ScopedHttpTimeouts() { SetHttpTimeouts(saved_); }
  ScopedHttpTimeouts(const ScopedHttpTimeouts&) = delete;
  ScopedHttpTimeouts& operator=(const ScopedHttpTimeouts&) = delete;

 private:
  HttpTimeouts saved_;
};

}  // namespace vexa::testing_support
