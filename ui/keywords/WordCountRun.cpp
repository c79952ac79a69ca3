#include "ui/keywords/WordCountRun.h"

#include <QtConcurrent/QtConcurrentRun>
#include <exception>
#include <utility>

namespace veskaron::ui {

WordCountRun::WordCountRun(QObject* parent) : QObject(parent) {
    connect(&watcher_, &QFutureWatcher<Outcome>::finished, this, &WordCountRun::finish);
}

WordCountRun::~WordCountRun() {
    if (!running_) return;  // the last result was taken: that future is spent
    cancel_->store(true);
    watcher_.waitForFinished();
}

void WordCountRun::start(Input input) {
    if (running_) return;
    running_ = true;
    stopped_ = false;
    cancel_ = std::make_shared<generator::CancelFlag>(false);
    // Every progress step reaches the bar: the worker posts each one to this
    // object, which outlives the worker (see the destructor).
    auto report = [this](int percent) {
        QMetaObject::invokeMethod(
            this, [this, percent] { if (!stopped_) Q_EMIT progressed(percent); },
            Qt::QueuedConnection);
    };
    watcher_.setFuture(QtConcurrent::run(
        [input = std::move(input), cancel = cancel_, report]() {
            Outcome outcome;
            try {
                const bool complete =
                    generator::RunGenerator(input.source, input.description, input.excluded,
                                            input.options, outcome.table, report, cancel.get());
                outcome.end = complete ? End::Counted : End::Stopped;
            } catch (const std::exception& e) {
                outcome.end = End::Failed;
                outcome.failure = e.what();
            }
            return outcome;
        }));
}

void WordCountRun::stop() {
    if (!running_ || stopped_) return;
    stopped_ = true;
    cancel_->store(true);
}

void WordCountRun::finish() {
    last_ = watcher_.future().takeResult();  // moved out, not copied
    running_ = false;
    if (stopped_) {
        // A stop wins even over a count that was complete when it came.
        last_.end = End::Stopped;
        last_.table.Clear();
    }
    Q_EMIT ended(last_.end);
}

}  // namespace veskaron::ui
