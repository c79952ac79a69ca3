#include "ui/common/BackgroundWork.h"

namespace veskaron::ui {

BackgroundItems::BackgroundItems(QObject* parent) : QObject(parent) {
    connect(&timer_, &QTimer::timeout, this, &BackgroundItems::deliver);
    connect(&watcher_, &QFutureWatcher<void>::finished, this, &BackgroundItems::finish);
}

BackgroundItems::~BackgroundItems() {
    if (!running_) return;
    if (!finishWhenDestroyed_) job_->control.stop = true;
    watcher_.waitForFinished();
}

void BackgroundItems::launch(std::shared_ptr<Job> job, const Options& options) {
    running_ = true;
    stopped_ = false;
    workDone_ = false;
    batch_ = options.batch;
    finishWhenDestroyed_ = options.finishWhenDestroyed;
    job->how.threads = options.threads;
    job->how.lowerPriority = options.lowerPriority;
    job_ = job;
    watcher_.setFuture(QtConcurrent::run([job] { job->work(); }));
    timer_.setInterval(options.tickMs);
    timer_.start();
}

void BackgroundItems::stop() {
    if (!running_) return;
    stopped_ = true;
    job_->control.stop = true;
}

void BackgroundItems::deliver() {
    if (!running_) return;
    const bool more = job_->deliver(batch_);
    Q_EMIT progressed();
    if (more) {
        QTimer::singleShot(0, this, &BackgroundItems::deliver);
    } else if (workDone_) {
        timer_.stop();
        running_ = false;
        job_->drop();
        Q_EMIT ended();
    }
}

void BackgroundItems::finish() {
    workDone_ = true;
    deliver();
}

void BackgroundCall::Context::report(int value) const {
    BackgroundCall* call = call_;
    QMetaObject::invokeMethod(
        call, [call, stop = stop_, value] { if (!*stop) Q_EMIT call->progressed(value); }, Qt::QueuedConnection);
}

BackgroundCall::BackgroundCall(QObject* parent) : QObject(parent) {}

BackgroundCall::~BackgroundCall() {
    if (!running_) return;
    stop_->store(true);
    watcher_->waitForFinished();
}

void BackgroundCall::stop() {
    if (running_) stop_->store(true);
}

BackgroundCall::Context BackgroundCall::context() {
    Context context;
    context.call_ = this;
    context.stop_ = stop_;
    return context;
}

}  // namespace veskaron::ui
