// The one kind of failure the renderer reports: a one-line message, then exit status 2.
#pragma once

#include <stdexcept>
#include <string>

class RenderError : public std::runtime_error {
public:
  explicit RenderError(const std::string& message) : std::runtime_error(message) {}
};

constexpr int kExitFailure = 2;
