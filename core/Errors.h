#pragma once
// The program's errors: exceptions that carry the message text the user sees
// and the name of their kind, which the "Application Error" box shows.
#include <stdexcept>
#include <string>

class EError : public std::runtime_error {
 public:
  EError(const std::string& Message, const char* KindName);
  const char* KindName() const { return Kind; }
  // Code address where the error was raised (the caller of the constructor).
  const void* Address() const { return Where; }

 private:
  const char* Kind;
  const void* Where;
};

// A registry value of the wrong type, or a value that could not be written.
struct ERegistryError : EError {
  explicit ERegistryError(const std::string& Message) : EError(Message, "ERegistryException") {}
};
// A file that could not be created, opened, read or written.
struct EInOutError : EError {
  explicit EInOutError(const std::string& Message) : EError(Message, "EInOutError") {}
};
// A text that is not a valid number.
struct EConvertError : EError {
  explicit EConvertError(const std::string& Message) : EError(Message, "EConvertError") {}
};
// An index outside a list.
struct EListError : EError {
  explicit EListError(const std::string& Message) : EError(Message, "EListError") {}
};

// The platform could not provide a bitmap, device context or other resource.
struct EOutOfResources : EError {
  explicit EOutOfResources(const std::string& Message) : EError(Message, "EOutOfResources") {}
};

// printf-style formatting into a std::string.
std::string Format(const char* Pattern, ...) __attribute__((format(printf, 1, 2)));

// Appends a full stop when the last character sorts after "." (so a message
// ending in ")" or "." is left alone), as every error box shows its message.
std::string WithFullStop(const std::string& Message);
