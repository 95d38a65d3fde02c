// The pack being edited, changed only through edits that can be undone and redone. The
// window listens to what changed and redraws; the document never touches a widget.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "editor/level.h"

namespace quarbel::editor {

struct Pack {
    std::string title;  // UTF-8
    std::vector<Level> levels;
    bool operator==(const Pack&) const = default;
};

// What an edit, an undo or a redo changed, in the pack's terms.
struct Change {
    enum class Kind {
        Title,      // the pack title
        Level,      // level `index` (its board, keeper or author)
        Inserted,   // a level now stands at `index`
        Removed,    // the level at `index` is gone
        Moved,      // the level at `index` now stands at `to`
        Reset,      // a whole new pack
        Modified,   // whether there are unsaved changes
        Abilities,  // what can be undone, redone, added or removed
    };
    Kind kind;
    int index = 0;
    int to = 0;
};

// What the author can do to the pack as it stands.
struct Abilities {
    bool undo = false;
    bool redo = false;
    bool addLevel = false;  // also duplicating one
    bool removeLevel = false;
    bool operator==(const Abilities&) const = default;
};

class Document {
  public:
    using Listener = std::function<void(const Change&)>;

    // A new pack: no title and one empty level.
    Document();

    const Pack& pack() const { return pack_; }
    int levelCount() const { return static_cast<int>(pack_.levels.size()); }
    const Level& level(int index) const { return pack_.levels.at(static_cast<std::size_t>(index)); }

    void listen(Listener listener) { listeners_.push_back(std::move(listener)); }

    // Each edit returns false and changes nothing when it is refused or would change nothing.
    // Typing into the same text field one character after the other is one edit.
    bool setTitle(const std::string& title);
    bool setAuthor(int index, const std::string& author);

    // A number shared by the paints of one drag, which then undo as one edit.
    int beginStroke() { return ++lastStroke_; }
    bool paintLine(int index, Cell from, Cell to, Tool tool, int stroke);
    bool shift(int index, int dx, int dy);
    bool centre(int index);

    // A pack holds 1 to 255 levels. New levels are empty and carry the default author.
    bool addLevel(int at);
    bool duplicateLevel(int index);
    bool removeLevel(int index);
    bool moveLevel(int from, int to);

    Abilities abilities() const;
    bool undo();
    bool redo();

    // Replaces the whole pack and forgets the history; the new pack counts as saved.
    void reset(Pack pack);
    void markSaved();
    bool modified() const { return savedAt_ != done_; }

    // What saving asks first: the levels that fail a check and why, one line each; empty
    // when every level can be played.
    std::string saveWarning() const;

    // The author given to new levels; not part of the pack, so not an edit.
    const std::string& defaultAuthor() const { return defaultAuthor_; }
    bool setDefaultAuthor(const std::string& author);

  private:
    struct Edit {
        enum class Kind { Title, Level, Insert, Remove, Move };
        explicit Edit(Kind k, int at = 0, int movedTo = 0) : kind(k), index(at), to(movedTo) {}
        Kind kind;
        int index = 0;
        int to = 0;
        Level before;  // Level and Remove
        Level after;   // Level and Insert
        std::string titleBefore;
        std::string titleAfter;
        int stroke = 0;  // paints of one drag; authors typed into one level
    };

    bool changeLevel(int index, int stroke, const std::function<bool(Level&)>& change);
    void record(Edit edit);
    // The last edit, when the next one of the same kind may join it.
    Edit* joinable(Edit::Kind kind, int index, int stroke);
    void apply(const Edit& edit, bool forward);
    void notify(const Change& change);
    // Announces whether the pack is modified and what the author can do, where either
    // differs from before the edit.
    struct Announced {
        bool modified;
        Abilities abilities;
    };
    Announced announced() const { return {modified(), abilities()}; }
    void notifyAfter(const Announced& before);
    bool validIndex(int index) const { return index >= 0 && index < levelCount(); }
    Level newLevel() const;

    Pack pack_;
    std::vector<Edit> history_;
    std::size_t done_ = 0;  // edits applied; history_ beyond this can be redone
    // done_ at the last save; NotSaved when that state can no longer be reached.
    static constexpr std::size_t NotSaved = static_cast<std::size_t>(-1);
    std::size_t savedAt_ = 0;
    int lastStroke_ = 0;
    std::string defaultAuthor_;
    std::vector<Listener> listeners_;
};

}  // namespace quarbel::editor
