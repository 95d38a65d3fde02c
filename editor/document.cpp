#include "editor/document.h"

#include <utility>

#include "core/levelpack.h"

namespace quarbel::editor {

namespace {

// The stroke number that marks typing into the title or an author: it joins every edit of
// the same field that follows directly.
constexpr int Typing = -1;

}  // namespace

Document::Document() {
    pack_.levels.push_back(newLevel());
}

Level Document::newLevel() const {
    Level level;
    level.author = defaultAuthor_;
    return level;
}

bool Document::setTitle(const std::string& title) {
    if (title == pack_.title || !fitsPackTitle(title)) return false;
    if (Edit* last = joinable(Edit::Kind::Title, 0, Typing)) {
        last->titleAfter = title;
        pack_.title = title;
        notify({Change::Kind::Title});
        return true;
    }
    Edit edit{Edit::Kind::Title};
    edit.titleBefore = pack_.title;
    edit.titleAfter = title;
    edit.stroke = Typing;
    record(std::move(edit));
    return true;
}

bool Document::setAuthor(int index, const std::string& author) {
    if (!fitsAuthor(author)) return false;
    return changeLevel(index, Typing, [&](Level& level) {
        if (level.author == author) return false;
        level.author = author;
        return true;
    });
}

bool Document::paintLine(int index, Cell from, Cell to, Tool tool, int stroke) {
    return changeLevel(index, stroke, [&](Level& level) {
        bool changed = false;
        for (Cell cell : lineCells(from, to))
            changed = paintCell(level, cell.x, cell.y, tool) || changed;
        return changed;
    });
}

bool Document::shift(int index, int dx, int dy) {
    return changeLevel(index, 0, [&](Level& level) { return shiftLevel(level, dx, dy); });
}

bool Document::centre(int index) {
    return changeLevel(index, 0, [](Level& level) { return centreLevel(level); });
}

bool Document::changeLevel(int index, int stroke, const std::function<bool(Level&)>& change) {
    if (!validIndex(index)) return false;
    Level changed = level(index);
    if (!change(changed)) return false;
    if (Edit* last = joinable(Edit::Kind::Level, index, stroke)) {
        last->after = changed;
        pack_.levels[static_cast<std::size_t>(index)] = std::move(changed);
        notify({Change::Kind::Level, index});
        return true;
    }
    Edit edit{Edit::Kind::Level, index};
    edit.before = level(index);
    edit.after = std::move(changed);
    edit.stroke = stroke;
    record(std::move(edit));
    return true;
}

bool Document::addLevel(int at) {
    if (at < 0 || at > levelCount() || levelCount() >= MaxPackLevels) return false;
    Edit edit{Edit::Kind::Insert, at};
    edit.after = newLevel();
    record(std::move(edit));
    return true;
}

bool Document::duplicateLevel(int index) {
    if (!validIndex(index) || levelCount() >= MaxPackLevels) return false;
    Edit edit{Edit::Kind::Insert, index + 1};
    edit.after = level(index);
    record(std::move(edit));
    return true;
}

bool Document::removeLevel(int index) {
    if (!validIndex(index) || levelCount() == 1) return false;
    Edit edit{Edit::Kind::Remove, index};
    edit.before = level(index);
    record(std::move(edit));
    return true;
}

bool Document::moveLevel(int from, int to) {
    if (!validIndex(from) || !validIndex(to) || from == to) return false;
    Edit edit{Edit::Kind::Move, from, to};
    record(std::move(edit));
    return true;
}

Document::Edit* Document::joinable(Edit::Kind kind, int index, int stroke) {
    if (stroke == 0 || done_ == 0 || done_ != history_.size() || savedAt_ == done_) {
        return nullptr;
    }
    Edit& last = history_.back();
    if (last.kind != kind || last.index != index || last.stroke != stroke) return nullptr;
    return &last;
}

void Document::record(Edit edit) {
    const Announced before = announced();
    history_.erase(history_.begin() + static_cast<std::ptrdiff_t>(done_), history_.end());
    if (savedAt_ != NotSaved && savedAt_ > done_) savedAt_ = NotSaved;
    history_.push_back(std::move(edit));
    ++done_;
    apply(history_.back(), true);
    notifyAfter(before);
}

bool Document::undo() {
    if (done_ == 0) return false;
    const Announced before = announced();
    --done_;
    apply(history_[done_], false);
    notifyAfter(before);
    return true;
}

bool Document::redo() {
    if (done_ == history_.size()) return false;
    const Announced before = announced();
    ++done_;
    apply(history_[done_ - 1], true);
    notifyAfter(before);
    return true;
}

void Document::apply(const Edit& edit, bool forward) {
    auto& levels = pack_.levels;
    const auto at = levels.begin() + edit.index;
    switch (edit.kind) {
        case Edit::Kind::Title:
            pack_.title = forward ? edit.titleAfter : edit.titleBefore;
            notify({Change::Kind::Title});
            return;
        case Edit::Kind::Level:
            *at = forward ? edit.after : edit.before;
            notify({Change::Kind::Level, edit.index});
            return;
        case Edit::Kind::Insert:
        case Edit::Kind::Remove:
            if (forward == (edit.kind == Edit::Kind::Insert)) {
                levels.insert(at, forward ? edit.after : edit.before);
                notify({Change::Kind::Inserted, edit.index});
            } else {
                levels.erase(at);
                notify({Change::Kind::Removed, edit.index});
            }
            return;
        case Edit::Kind::Move: {
            const int from = forward ? edit.index : edit.to;
            const int to = forward ? edit.to : edit.index;
            Level moved = std::move(levels[static_cast<std::size_t>(from)]);
            levels.erase(levels.begin() + from);
            levels.insert(levels.begin() + to, std::move(moved));
            notify({Change::Kind::Moved, from, to});
            return;
        }
    }
}

void Document::reset(Pack pack) {
    const Announced before = announced();
    pack_ = std::move(pack);
    if (pack_.levels.empty()) pack_.levels.push_back(newLevel());
    history_.clear();
    done_ = 0;
    savedAt_ = 0;
    notify({Change::Kind::Reset});
    notifyAfter(before);
}

void Document::markSaved() {
    const Announced before = announced();
    savedAt_ = done_;
    notifyAfter(before);
}

bool Document::setDefaultAuthor(const std::string& author) {
    if (!fitsAuthor(author)) return false;
    defaultAuthor_ = author;
    return true;
}

void Document::notify(const Change& change) {
    for (const Listener& listener : listeners_)
        listener(change);
}

Abilities Document::abilities() const {
    return {done_ > 0, done_<history_.size(), levelCount() < MaxPackLevels, levelCount()> 1};
}

void Document::notifyAfter(const Announced& before) {
    if (modified() != before.modified) notify({Change::Kind::Modified});
    if (abilities() != before.abilities) notify({Change::Kind::Abilities});
}

std::string Document::saveWarning() const {
    std::string lines;
    int failing = 0;
    for (int k = 0; k < levelCount(); ++k) {
        const std::vector<std::string> problems = levelProblems(level(k));
        if (problems.empty()) continue;
        ++failing;
        lines += "\nLevel " + std::to_string(k + 1) + ": ";
        for (std::size_t p = 0; p < problems.size(); ++p)
            lines += (p > 0 ? "; " : "") + problems[p];
    }
    if (failing == 0) return {};
    return (failing == 1 ? "This level fails a check and cannot be played:\n"
                         : "These levels fail a check and cannot be played:\n") +
           lines;
}

}  // namespace quarbel::editor
