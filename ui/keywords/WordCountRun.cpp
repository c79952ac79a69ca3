#include "ui/keywords/WordCountRun.h"

#include <exception>
#include <utility>

namespace veskaron::ui {

WordCountRun::WordCountRun(QObject* parent) : QObject(parent) {
    // Every progress step reaches the bar, none after a stop.
    connect(&run_, &BackgroundCall::progressed, this, &WordCountRun::progressed);
}

void WordCountRun::start(Input input) {
    if (running()) return;
    stopped_ = false;
    run_.start(
        [input = std::move(input)](const BackgroundCall::Context& context) {
            Outcome outcome;
            try {
                const bool complete = generator::RunGenerator(
                    input.source, input.description, input.excluded, input.options, outcome.table,
                    [&context](int percent) { context.report(percent); }, &context.stopFlag());
                outcome.end = complete ? End::Counted : End::Stopped;
            } catch (const std::exception& e) {
                outcome.end = End::Failed;
                outcome.failure = e.what();
            }
            return outcome;
        },
        [this](Outcome outcome) { finish(std::move(outcome)); });
}

void WordCountRun::stop() {
    if (!running() || stopped_) return;
    stopped_ = true;
    run_.stop();
}

void WordCountRun::finish(Outcome outcome) {
    last_ = std::move(outcome);
    if (stopped_) {
        // A stop wins even over a count that was complete when it came.
        last_.end = End::Stopped;
        last_.table.Clear();
    }
    Q_EMIT ended(last_.end);
}

}  // namespace veskaron::ui
