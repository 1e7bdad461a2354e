#pragma once
#include <stdexcept>
#include <string>

namespace v5 {

// An error the system reports through its error report and then goes on.
class AppError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file could not be opened, read or written.
class InOutError : public AppError {
public:
    using AppError::AppError;
};

// The silent abort: unwinds the current handler and is never reported.
class SilentAbort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

}  // namespace v5
