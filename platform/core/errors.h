#pragma once
// Exceptions that carry a message text. They are caught only at the few boundaries the system names.
#include <stdexcept>
#include <string>

namespace core {

class Exception : public std::runtime_error {
  public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

class EStreamError : public Exception {
    using Exception::Exception;
};
class EFCreateError : public EStreamError {
    using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
    using EStreamError::EStreamError;
};
class EReadError : public EStreamError {
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
    using EStreamError::EStreamError;
};

// A list index outside the list (negative index into a sparse list, and the like).
class EListError : public Exception {
    using Exception::Exception;
};

}  // namespace core
