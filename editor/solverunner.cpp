#include "solverunner.h"

#include <QMetaObject>

namespace quarbel::editor {

SolveRunner::SolveRunner(QObject* parent) : QObject(parent) {}

SolveRunner::~SolveRunner() {
    cancelled_ = true;
    if (worker_.joinable()) worker_.join();
}

bool SolveRunner::start(const Level& level, std::size_t positionLimit) {
    if (running_) return false;
    if (worker_.joinable()) worker_.join();  // the last search has ended: it reported so
    running_ = true;
    cancelled_ = false;
    worker_ = std::thread([this, level, positionLimit] {
        const SearchWatch watch = [this](std::size_t positions) {
            if (!progressQueued_.exchange(true)) {
                QMetaObject::invokeMethod(
                    this,
                    [this, positions] {
                        progressQueued_ = false;
                        if (running_) emit progress(positions);
                    },
                    Qt::QueuedConnection);
            }
            return !cancelled_;
        };
        SolveOutcome outcome = solveEditorLevel(level, watch, positionLimit);
        QMetaObject::invokeMethod(
            this,
            [this, level, outcome = std::move(outcome)] {
                running_ = false;
                emit finished(level, outcome);
            },
            Qt::QueuedConnection);
    });
    return true;
}

}  // namespace quarbel::editor
