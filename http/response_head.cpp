#include "http/response_head.h"

namespace vexa {

void ResponseHead::Add(std::string_view line) {
  if (line.ends_with('\n')) {
    line.remove_suffix(1);
  }
  if (line.ends_with('\r')) {
    line.remove_suffix(1);
  }
  if (!inHead_) {
    if (line.starts_with("HTTP/")) {
      block_ = line;
      received_ = true;
      inHead_ = true;
      tooLong_ = block_.size() + 1 > kResponseHeadBuffer;
    }
    return;
  }
  if (line.empty()) {
    inHead_ = false;
    return;
  }
  if (tooLong_) {
    return;
  }
  block_ += "\r\n";
  block_ += line;
  tooLong_ = block_.size() + 1 > kResponseHeadBuffer;
}

Text ResponseHead::Block() const {
  if (!received_ || tooLong_) {
    return Text(kResponseHeadBuffer, ' ');
  }
  return block_;
}

}  // namespace vexa
