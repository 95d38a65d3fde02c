// Finding and opening the game's files. The old platform ignored letter case, so a folder
// copied from it may hold "CLASSICS.DAT" or "classics/zorp0001.mov" where the game asks for
// "CLASSICS.dat" or "CLASSICS/ZORP0001.MOV"; every file the game opens by a relative name is
// found here, and opened so that no FIFO or device can make the game wait.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace quarbel {

// The name's characters with the capitals of ASCII and Windows-1252 made small: the key by
// which names are the same, and sort, ignoring letter case.
std::u32string foldedName(std::string_view name);

// The same name ignoring the case of ASCII and Windows-1252 letters.
bool sameIgnoringCase(std::string_view a, std::string_view b);

// A level pack's file name ends in ".dat" in any letter case.
bool isPackFileName(std::string_view name);

// The entry that a relative name (parts separated by "/") stands for. Each part is taken as
// written when such an entry exists (a folder where a folder must follow), else the entry of
// that folder whose name is the same ignoring letter case, the first in byte order should
// there be several. A part that matches nothing stays as written, so the result is also the
// name under which a new file or folder is to be created.
std::string findName(std::string_view relativeName);

// Opens a regular file with the given open(2) flags without waiting on it. Anything else
// (a folder, a FIFO, a device, a socket) is not opened at all: -1 with errno EISDIR for a
// folder and EACCES for the rest, as for a file that cannot be opened.
int openRegularFile(const std::string& fileName, int flags);

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OpenFile = std::unique_ptr<std::FILE, FileCloser>;

// A regular file opened for reading as openRegularFile opens it; empty, with errno saying
// why, when it cannot be.
OpenFile openRegularForReading(const std::string& fileName);

}  // namespace quarbel
