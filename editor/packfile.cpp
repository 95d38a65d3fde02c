#include "editor/packfile.h"

#include <cerrno>

#include "core/counted.h"
#include "core/filefinder.h"
#include "core/gameerror.h"
#include "core/levelpack.h"
#include "tools/levelconvert.h"

namespace quarbel::editor {

namespace {

// A text of a foreign pack that the editor could not store as it is, fitted as an import
// fits it, with a note; a text that fits stays exactly as it was.
std::string fitted(const std::string& text, bool (*fits)(std::string_view), std::size_t limit,
                   const std::string& what, std::vector<std::string>& notes) {
    if (fits(text)) return text;
    std::string stored = fitPackText(text, limit).text;
    notes.push_back(what + " \"" + text + "\" is kept as \"" + stored + "\" (at most " +
                    std::to_string(limit) + " characters that Windows-1252 can store)");
    return stored;
}

OpenedPack openPack(const std::string& fileName) {
    // Read whole first: that refuses what is no file, or too large to be a pack, unopened.
    const auto size = static_cast<std::int64_t>(readFile(fileName, MaxPackFileBytes).size());
    if (const std::string problem = packTooShort(static_cast<std::uintmax_t>(size));
        !problem.empty()) {
        throw FileError("read", fileName, EINVAL, problem);
    }
    OpenedPack opened;
    try {
        const PackHeader header = readPackHeader(fileName);
        int complete = 0;
        while (complete < header.levelCount &&
               levelRecordOffset(complete + 1) + LevelRecordSize <= size) {
            ++complete;
        }
        for (int k = 1; k <= complete; ++k) {
            Level level = readLevelRecord(fileName, k).level;
            level.author = fitted(level.author, fitsAuthor, AuthorFieldSize,
                                  "the author of level " + std::to_string(k), opened.notes);
            opened.pack.levels.push_back(std::move(level));
        }
        if (complete < header.levelCount) {
            opened.notes.push_back("the file ends before level " + std::to_string(complete + 1) +
                                   ": levels " + std::to_string(complete + 1) + " to " +
                                   std::to_string(header.levelCount) + " are left out");
        }
        opened.pack.title =
            fitted(header.title, fitsPackTitle, MaxTitleBytes, "the title", opened.notes);
    } catch (const IoError& error) {
        throw FileError("read", fileName, error.errorNumber());
    } catch (const GameError& error) {
        throw FileError("read", fileName, EIO, error.what());
    }
    return opened;
}

// The comments, solutions and other key: value lines of a collection, which the editor has
// no place for; nothing when there are none.
std::optional<std::string> leftOutLines(const LevelCollection& collection) {
    std::size_t comments = collection.comments.size();
    std::size_t properties = collection.properties.size();
    std::size_t solutions = 0;
    for (const TextLevel& level : collection.levels) {
        comments += level.comments.size();
        properties += level.properties.size();
        solutions += !level.solution.empty();
    }
    std::vector<std::string> parts;
    if (comments > 0) parts.push_back(counted(comments, "comment line", "comment lines"));
    if (solutions > 0) parts.push_back(counted(solutions, "solution", "solutions"));
    if (properties > 0) {
        parts.push_back(counted(properties, "other key: value line", "other key: value lines"));
    }
    if (parts.empty()) return std::nullopt;
    std::string text = "left out, as the editor has no place for them: " + parts[0];
    for (std::size_t k = 1; k < parts.size(); ++k)
        text += (k + 1 == parts.size() ? " and " : ", ") + parts[k];
    return text;
}

OpenedPack openText(const std::string& fileName) {
    OpenedPack opened;
    const std::string bytes = readFile(fileName, MaxCollectionBytes);
    const ReadCollection read = readLevelText(bytes);
    if (read.collection.levels.empty()) {
        if (const std::string problem = notTextProblem(bytes); !problem.empty())
            throw FileError("read", fileName, EINVAL, problem);
    }
    const ConvertedCollection converted = convertCollection(read.collection, false);
    for (const TextReport& report : read.reports)
        opened.notes.push_back(report.message);
    // The editor keeps the level titles that a pack has no place for, but nothing else.
    for (const TextReport& report : converted.reports) {
        if (report.kind != TextReport::Kind::LeftOut) opened.notes.push_back(report.message);
    }
    if (const auto leftOut = leftOutLines(read.collection)) opened.notes.push_back(*leftOut);
    for (const ConvertedLevel& level : converted.levels) {
        if (opened.pack.levels.size() == MaxPackLevels) {
            opened.notes.push_back("levels " + std::to_string(level.number) + " to " +
                                   std::to_string(converted.levels.back().number) +
                                   " are left out: a pack holds 255 levels");
            break;
        }
        opened.pack.levels.push_back(level.level);
    }
    opened.pack.title = converted.title;
    return opened;
}

}  // namespace

OpenedPack openFile(const std::string& fileName) {
    removeStaleParts(fileName);
    OpenedPack opened = isPackFileName(fileName) ? openPack(fileName) : openText(fileName);
    if (opened.pack.levels.empty()) opened.notes.push_back("the file holds no level");
    return opened;
}

std::vector<std::uint8_t> packBytesOf(const Pack& pack) {
    try {
        return encodePack(pack.title, pack.levels);
    } catch (const GameError& error) {
        throw StoreError(error.what());
    }
}

std::string textOf(const Pack& pack) {
    LevelCollection collection;
    collection.title = pack.title;
    for (std::size_t k = 0; k < pack.levels.size(); ++k) {
        try {
            collection.levels.push_back(textLevelOf(pack.levels[k], static_cast<int>(k) + 1));
        } catch (const LevelTextError& error) {
            throw StoreError(error.what());
        }
    }
    return formatLevelText(collection);
}

void saveFile(const std::string& fileName, const Pack& pack) {
    removeStaleParts(fileName);
    if (!isPackFileName(fileName)) return exportText(fileName, pack);
    try {
        const std::vector<std::uint8_t> bytes = packBytesOf(pack);
        replaceFile(fileName, std::string(bytes.begin(), bytes.end()));
    } catch (const StoreError& error) {
        throw FileError("save", fileName, EINVAL, error.what());
    }
}

void exportText(const std::string& fileName, const Pack& pack) {
    try {
        replaceFile(fileName, textOf(pack));
    } catch (const StoreError& error) {
        throw FileError("save", fileName, EINVAL, error.what());
    }
}

}  // namespace quarbel::editor
