// Exception: the base of the framework's own failures. It carries a message for the user; the
// families built on it (streams, image I/O) fill it with what went wrong.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace loom {

class Exception : public std::exception {
public:
    Exception() = default;
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override {
        return message_.empty() ? "loom exception" : message_.c_str();
    }

private:
    std::string message_;
};

}  // namespace loom
