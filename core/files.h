// Reading and replacing the player's files, for the game and every program beside it. A file
// is read only when it is a regular file of a size fit for its format, and replaced only as a
// whole: the new content goes into a part file that nobody else can have chosen, beside the
// file, and is renamed over it when complete. Whatever fails, the old file stays as it was
// and no part file is left behind.
#pragma once

#include <sys/types.h>
#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"

namespace quarbel {

// A file that could not be read or written: "cannot write out.dat: it is read-only". The
// system's error number stays with it, for the game's own texts.
class FileError : public Error {
  public:
    FileError(const std::string& doing, const std::string& fileName, int errorNumber,
              const std::string& cause);
    FileError(const std::string& doing, const std::string& fileName, int errorNumber);
    const std::string& fileName() const { return fileName_; }
    int errorNumber() const { return errorNumber_; }
    const std::string& cause() const { return cause_; }

  private:
    std::string fileName_;
    int errorNumber_;
    std::string cause_;
};

// The cause in plain words for a system error number: "no such file", "the disk is full".
std::string causeOf(int errorNumber);

// The whole content of a regular file. A folder, FIFO, device or socket is refused without
// waiting on it, and so is a file larger than maxBytes. Throws FileError.
std::string readFile(const std::string& fileName, std::size_t maxBytes);

// The same for a file the game can do without (a picture, the help): nothing when it cannot
// be read, whatever the reason.
std::optional<std::string> readFileIfAny(const std::string& fileName, std::size_t maxBytes);

// Which file a name stands for and how it was when looked at (links followed): a save
// compares it with what it was when the file was opened, to see whether anyone changed it.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    bool operator==(const FileStamp& other) const;
};
// Nothing when no file stands at the name.
std::optional<FileStamp> stampOf(const std::string& fileName);

// Whether both names stand for one file (the same device and inode), links followed.
bool isSameFile(const std::string& a, const std::string& b);

// Replaces the file, or creates it. A symbolic link at the name is written through to its
// file; an existing file keeps its permissions; one that cannot be opened for writing (read
// only, a folder, a FIFO) is refused. The part file is flushed to the disk before it takes
// the file's place. Throws FileError.
void replaceFile(const std::string& fileName, std::string_view bytes);

struct FileContent {
    std::string fileName;
    std::string bytes;
};

// Replaces every file or none: each is written in full first, and one that cannot be put
// in place puts back what the others replaced. Throws FileError naming the first failure.
void replaceAllOrNone(const std::vector<FileContent>& files);

// Replaces each file on its own, with one flush of the disk for all of them: a file that
// fails leaves the others going. The failures, in the order of the files.
std::vector<FileError> replaceEach(const std::vector<FileContent>& files);

// Writes all of the bytes to an open descriptor, such as the standard output; a stream
// that takes less (a full disk, a closed pipe) throws FileError naming the stream.
void writeStream(int fd, std::string_view bytes, const std::string& streamName);

// Removes what saves of this file left behind when they were killed halfway: part files of
// this file, made by this user, whose process is gone. Nobody else's files are touched.
void removeStaleParts(const std::string& fileName);

}  // namespace quarbel
