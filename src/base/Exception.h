// Exception: the root of every exception class the project defines, in every layer. It carries a
// message for the user; the classes built on it pass what went wrong, or override what() with a
// fixed text.
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
