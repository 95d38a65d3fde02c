// Level collections in the plain-text form that crate-pushing players trade (*.txt, *.sok,
// *.xsb), written by many programs: reading them liberally and writing them in one canonical
// form. tools/levelconvert.h turns them into packs and back.
//
// What the reader takes:
// - Board rows: "#" wall; " ", "-" and "_" floor; "$" or "b" crate; "." target; "*" or "B"
//   crate on a target; "@" or "p" keeper; "+" or "P" keeper on a target. A count repeats the
//   next character ("4#" is "####") and "|" separates rows written on one line. A line is a
//   board row when it holds only these and at least one wall; consecutive board rows are
//   one level, any other line ends it.
// - ";" comment lines; "Comment: text" one-line comments; "Comment:" blocks up to
//   "Comment-End:". Nothing inside a comment is read as a board.
// - "Key: value" lines. Before the first level they describe the collection ("Title:" or
//   "Collection:" is its title, "Author:" the author of every level that names none);
//   after a level's board they describe that level. "Solution:" (or a line of only u d l r
//   U D L R letters, counts allowed) after a level is its solution.
// - A single free text line next to a board, with no other free text line beside it, is
//   that level's title (before the board wins when it could be either); one pair of
//   quotes round it is dropped. Other free text counts as comment lines.
// - UTF-8 with or without a byte-order mark, or else Windows-1252; LF, CRLF or CR.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"

namespace quarbel {

// The largest collection file read: 100,000 levels take a few MB, and no text a player
// trades comes near this.
constexpr std::size_t MaxCollectionBytes = std::size_t{64} << 20;

// A pack level that text cannot show, or a pack that cannot be read as text.
class LevelTextError : public Error {
  public:
    using Error::Error;
};

// Something that had to be changed or left out on the way, in words for the player.
struct TextReport {
    enum class Kind {
        Reading,          // how the file was read: Windows-1252, an unended Comment block
        SkippedLevel,     // a level a pack cannot hold; it is not imported
        CutText,          // an author or pack title cut to fit its field
        ReplacedText,     // characters Windows-1252 cannot hold, stored as "?"
        LeftOut,          // the one line counting titles, comments and key: value lines
        RefusedSolution,  // a solution that does not solve its level, or is too long
    };
    Kind kind = Kind::Reading;
    int level = 0;        // 1-based number in the file; 0 for the collection as a whole
    std::string message;  // "level 12 'The Long Hall': 21 x 9 is larger than 15 x 15"
};

struct TextProperty {
    std::string key;  // as written: "Date created"
    std::string value;
};

struct TextLevel {
    // Only "# $.*@+": counts expanded, the other spellings turned into these, trailing
    // spaces trimmed; empty rows above and below and the indentation all rows share removed.
    std::vector<std::string> rows;
    std::string title;                  // UTF-8; empty for none
    std::string author;                 // UTF-8; the collection's author when the level names none
    std::string solution;               // only "udlrUDLR", counts expanded; empty for none
    std::vector<std::string> comments;  // comment and free text lines, one per entry
    std::vector<TextProperty> properties;  // other key: value lines after its board
    int line = 0;  // the file line of its first row, 1-based; 0 when not read from a file
    // Why the level cannot be taken as read: a line among its rows that was meant as one but
    // is none, "line 7: 'x' is no board character". Empty when its rows are whole.
    std::string damage;

    std::size_t width() const;  // the longest row's length
    int crates() const;         // on targets or not
};

struct LevelCollection {
    std::string title;   // UTF-8; empty for none
    std::string author;  // the default author, already given to the levels that name none
    std::vector<std::string> comments;     // before the first level
    std::vector<TextProperty> properties;  // other key: value lines before the first level
    std::vector<TextLevel> levels;         // every level found, in file order
};

struct ReadCollection {
    LevelCollection collection;
    std::vector<TextReport> reports;  // Reading reports only
};

// Reads a collection file's bytes. Never throws: a line that is no board row is read as
// text, and what text it is ends up in the collection or a report.
ReadCollection readLevelText(std::string_view bytes);

// The canonical text, UTF-8: "Title:" and "Author:" of the collection and its other lines,
// then per level its rows (one "|" line when a row holds no wall), "Title:", "Author:",
// the other key: value lines, "Solution:" and ";" comments, one blank line between levels.
// readLevelText gives back the same collection, lines aside.
std::string formatLevelText(const LevelCollection& collection);

// Why bytes in which the reader found no level are no level text at all: UTF-16, NUL bytes.
// Empty when they are text.
std::string notTextProblem(std::string_view bytes);

}  // namespace quarbel
