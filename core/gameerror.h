// Errors that end the handler in which they happen and reach the window's one error report.
#pragma once

#include <string>
#include <string_view>

#include "core/error.h"

namespace quarbel {

class GameError : public Error {
  public:
    using Error::Error;
};

// A failed file operation, carrying the runtime's text for the error number.
class IoError : public GameError {
  public:
    explicit IoError(int errorNumber);
    int errorNumber() const { return errorNumber_; }

  private:
    int errorNumber_;
};

// The runtime's German text for a file error, "Datei nicht gefunden" for a missing file.
std::string ioErrorText(int errorNumber);

// "Kann Datei NAME nicht öffnen.": a picture or the help document the game needs is missing
// or unreadable.
std::string cannotOpenText(std::string_view fileName);

}  // namespace quarbel
