// Names parameterised test rows after their `name` member.
#pragma once

#include <string>

namespace vexa::testing_support {

struct CaseName {
  template <typename ParamInfo>
  std::string operator()(const ParamInfo& row) const {
    return std::string(row.param.name);
  }
};

}  // namespace vexa::testing_support
