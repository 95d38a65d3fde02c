// The one base of every failure the programs report in words: a program's top level catches
// it and shows what() as it stands.
#pragma once

#include <stdexcept>

namespace quarbel {

class Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace quarbel
