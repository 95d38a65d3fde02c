#include "editor/solverunner.h"

#include <QMetaObject>
#include <algorithm>

namespace quarbel::editor {

SolveRunner::SolveRunner(unsigned searchesAtOnce, QObject* parent) : QObject(parent) {
    if (searchesAtOnce == 0) searchesAtOnce = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned k = 0; k < searchesAtOnce; ++k)
        workers_.push_back(std::make_unique<Worker>());
}

SolveRunner::~SolveRunner() {
    for (auto& worker : workers_) {
        worker->cancelled = true;
        if (worker->thread.joinable()) worker->thread.join();
    }
}

bool SolveRunner::canStart() const {
    return std::any_of(workers_.begin(), workers_.end(),
                       [](const auto& worker) { return !worker->busy; });
}

bool SolveRunner::running() const {
    return std::any_of(workers_.begin(), workers_.end(),
                       [](const auto& worker) { return worker->busy; });
}

void SolveRunner::cancelAll() {
    for (auto& worker : workers_)
        worker->cancelled = true;
}

bool SolveRunner::start(const SolveQueue::Job& job, const SolveLimits& limits) {
    const auto idle = std::find_if(workers_.begin(), workers_.end(),
                                   [](const auto& worker) { return !worker->busy; });
    if (idle == workers_.end()) return false;
    Worker* worker = idle->get();
    if (worker->thread.joinable()) worker->thread.join();  // its last search has reported
    worker->busy = true;
    worker->cancelled = false;
    worker->thread = std::thread([this, worker, job, limits] {
        const SearchWatch watch = [this, worker, index = job.index](std::size_t positions) {
            if (!worker->progressQueued.exchange(true)) {
                QMetaObject::invokeMethod(
                    this,
                    [this, worker, index, positions] {
                        worker->progressQueued = false;
                        if (worker->busy) emit progress(index, positions);
                    },
                    Qt::QueuedConnection);
            }
            return !worker->cancelled;
        };
        SolveOutcome outcome = solveEditorLevel(job.level, watch, limits);
        QMetaObject::invokeMethod(
            this,
            [this, worker, job, outcome = std::move(outcome)] {
                worker->busy = false;
                emit finished(job, outcome);
            },
            Qt::QueuedConnection);
    });
    return true;
}

}  // namespace quarbel::editor
