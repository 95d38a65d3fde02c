// Runs the solver on worker threads, one search per core side by side, so that the window
// keeps answering. Progress and the results come back as signals on the window's thread.
#pragma once

#include <QObject>
#include <atomic>
#include <cstddef>
#include <memory>
#include <thread>
#include <vector>

#include "editor/solvequeue.h"

namespace quarbel::editor {

class SolveRunner : public QObject {
    Q_OBJECT

  public:
    // As many searches at a time as the machine has cores, unless told otherwise.
    explicit SolveRunner(unsigned searchesAtOnce = 0, QObject* parent = nullptr);
    ~SolveRunner() override;

    // Starts searching a copy of the job's level; refused while every worker is busy.
    bool start(const SolveQueue::Job& job, const SolveLimits& limits = {});
    bool canStart() const;
    bool running() const;
    void cancelAll();

  signals:
    void progress(int index, qulonglong positions);
    // The job as it was when the search started, and what the search found.
    void finished(const quarbel::editor::SolveQueue::Job& job,
                  const quarbel::editor::SolveOutcome& outcome);

  private:
    struct Worker {
        std::thread thread;
        std::atomic<bool> cancelled = false;
        // True while a progress report waits to be delivered, so that reports never pile up.
        std::atomic<bool> progressQueued = false;
        bool busy = false;
    };
    std::vector<std::unique_ptr<Worker>> workers_;
};

}  // namespace quarbel::editor
