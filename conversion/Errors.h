// Error kinds of the system. Each error carries the class name the error handler
// matches on (kind) and a message; derived kinds keep their own name.
#pragma once

#include <stdexcept>
#include <string>

namespace vantrel {

class Error : public std::runtime_error {
 public:
  Error(std::string kind, const std::string& message)
      : std::runtime_error(message), kind_(std::move(kind)) {}
  const std::string& kind() const { return kind_; }
  std::string message() const { return what(); }

 private:
  std::string kind_;
};

#define VANTREL_ERROR_KIND(Name)                                                            \
  class Name : public Error {                                                               \
   public:                                                                                  \
    explicit Name(const std::string& message) : Error(#Name, message) {}                    \
                                                                                            \
   protected:                                                                               \
    Name(std::string kind, const std::string& message) : Error(std::move(kind), message) {} \
  };

VANTREL_ERROR_KIND(EConvertError)
VANTREL_ERROR_KIND(EListError)
VANTREL_ERROR_KIND(EOverflow)
VANTREL_ERROR_KIND(EZeroDivide)
VANTREL_ERROR_KIND(EInvalidOp)
VANTREL_ERROR_KIND(EDatabaseError)
VANTREL_ERROR_KIND(EIniFileException)
// The silent abort: dropped before the error handler, never logged or shown.
VANTREL_ERROR_KIND(EAbort)

#undef VANTREL_ERROR_KIND

}  // namespace vantrel
