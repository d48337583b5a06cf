// The exception every skin-loading failure raises; the manager shows its message.
#pragma once
#include <stdexcept>
#include <string>

namespace sk {

class ESkinError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace sk
