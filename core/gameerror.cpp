#include "core/gameerror.h"

#include <cerrno>

namespace quarbel {

std::string ioErrorText(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
            return "Datei nicht gefunden";
        case ENOTDIR:
            return "Pfad nicht gefunden";
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
            return "Dateizugriff verweigert";
        case EMFILE:
        case ENFILE:
            return "Zu viele geöffnete Dateien";
        case ENOSPC:
            return "Festplatte voll";
        case ENAMETOOLONG:
            return "Ungültiger Dateiname";
        default:
            return "E/A-Fehler " + std::to_string(errorNumber);
    }
}

IoError::IoError(int errorNumber)
    : GameError(ioErrorText(errorNumber)), errorNumber_(errorNumber) {}

std::string cannotOpenText(std::string_view fileName) {
    return "Kann Datei " + std::string(fileName) + " nicht öffnen.";
}

}  // namespace quarbel
