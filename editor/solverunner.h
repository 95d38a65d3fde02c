// Runs the solver on a worker thread, one level at a time, so that the window keeps
// answering. Progress and the result come back as signals on the window's thread.
#pragma once

#include <QObject>
#include <atomic>
#include <cstddef>
#include <thread>

#include "editor/level.h"
#include "editor/solving.h"

namespace quarbel::editor {

class SolveRunner : public QObject {
    Q_OBJECT

  public:
    explicit SolveRunner(QObject* parent = nullptr);
    ~SolveRunner() override;

    // Starts solving a copy of the level; refused while a search runs.
    bool start(const Level& level, std::size_t positionLimit = DefaultStateLimit);
    void cancel() { cancelled_ = true; }
    bool running() const { return running_; }

  signals:
    void progress(qulonglong positions);
    // The level as it was when the search started, and what the search found.
    void finished(const quarbel::editor::Level& level,
                  const quarbel::editor::SolveOutcome& outcome);

  private:
    std::thread worker_;
    std::atomic<bool> cancelled_ = false;
    // True while a progress report waits to be delivered, so that reports never pile up.
    std::atomic<bool> progressQueued_ = false;
    bool running_ = false;
};

}  // namespace quarbel::editor
