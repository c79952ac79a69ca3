#pragma once
// Long work off the window's thread, in the shapes the windows need:
//  - BackgroundItems: these items (pages) in parallel, with progress and a
//    stop; the results reach the window's thread in the items' order.
//  - BackgroundCall and RunThenCall: this, then call back on the window's
//    thread.
//  - MadeAhead: a result made ahead, or here when wanted before a thread
//    took it up.
// The work holds copies and shared state only, never the window: the object
// that runs it stops it and waits for it when it goes, so a closed window
// gets no callback and no thread outlives what it reads.
#include <QFutureWatcher>
#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>
#include <cstddef>
#include <functional>
#include <future>
#include <limits>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "site/parallel_pages.h"

namespace veskaron::ui {

class BackgroundItems final : public QObject {
    Q_OBJECT

public:
    struct Options {
        std::size_t threads = 0;     // 0: site::DiskThreads()
        bool lowerPriority = false;  // the workers yield to the window's thread
        // Results given at one turn of the event loop: more wait for the next
        // turn, after the window has painted and answered.
        std::size_t batch = std::numeric_limits<std::size_t>::max();
        int tickMs = 100;  // how often progressed() comes while the work runs
        // The destructor lets the items run to their end instead of stopping
        // them: for writes that must all happen once begun.
        bool finishWhenDestroyed = false;
    };

    explicit BackgroundItems(QObject* parent = nullptr);
    // A run still working is stopped (unless its options say otherwise) and
    // waited for: the workers look at the stop before each item, so that is short.
    ~BackgroundItems() override;

    // On a pool thread `count()` says how many items there are (it may walk a
    // folder first); then `item(i)` runs for each on several threads. `take`
    // gets the results on this object's thread in the items' order, a batch
    // at a time as their front is ready; ended() follows the last batch.
    // Ignored while a run is on.
    template <typename Count, typename Item, typename Take>
    void start(Count count, Item item, Take take, const Options& options = {});
    // No item is begun after it; the results before the first unfinished
    // one are still given, the rest dropped.
    void stop();

    bool running() const { return running_; }
    bool stopped() const { return stopped_; }
    std::size_t done() const { return job_ ? job_->control.done.load() : 0; }
    std::size_t total() const { return job_ ? job_->total.load() : 0; }  // 0 until counted

Q_SIGNALS:
    void progressed();
    void ended();

private:
    struct Job {
        virtual ~Job() = default;
        virtual void work() = 0;  // on the pool
        // On this object's thread: gives the ready front; whether more is ready.
        virtual bool deliver(std::size_t most) = 0;
        virtual void drop() = 0;  // frees what a stop left untaken
        site::ParallelControl control;
        site::ParallelOptions how;
        std::atomic<std::size_t> total{0};
        std::atomic<bool> counted{false};
    };
    template <typename T, typename Count, typename Item, typename Take>
    struct TypedJob;

    void launch(std::shared_ptr<Job> job, const Options& options);
    void deliver();
    void finish();

    QFutureWatcher<void> watcher_;
    QTimer timer_;
    std::shared_ptr<Job> job_;
    std::size_t batch_ = 0;
    bool running_ = false;
    bool stopped_ = false;
    bool workDone_ = false;  // the workers ended; results may still wait
    bool finishWhenDestroyed_ = false;
};

template <typename T, typename Count, typename Item, typename Take>
struct BackgroundItems::TypedJob final : Job {
    TypedJob(Count c, Item i, Take t) : count(std::move(c)), item(std::move(i)), take(std::move(t)) {}
    void work() override {
        const std::size_t n = count();
        results.emplace(n);
        total = n;
        counted.store(true, std::memory_order_release);
        site::RunEach(n, [this](std::size_t i) { results->Put(i, item(i)); }, control, how);
    }
    bool deliver(std::size_t most) override {
        if (!counted.load(std::memory_order_acquire)) return false;
        std::vector<T> batch = results->TakeFront(most);
        if (!batch.empty()) take(std::move(batch));
        return results->FrontReady();
    }
    void drop() override { results.reset(); }

    Count count;
    Item item;
    Take take;
    std::optional<site::OrderedResults<T>> results;
};

template <typename Count, typename Item, typename Take>
void BackgroundItems::start(Count count, Item item, Take take, const Options& options) {
    using T = std::decay_t<std::invoke_result_t<Item&, std::size_t>>;
    if (running_) return;
    launch(std::make_shared<TypedJob<T, Count, Item, Take>>(std::move(count), std::move(item), std::move(take)),
           options);
}

// One piece of work at a time; its result comes back on this object's thread.
class BackgroundCall final : public QObject {
    Q_OBJECT

public:
    // What the work may look at and tell while it runs: safe from any thread
    // as long as the work runs, which the destructor makes sure of.
    class Context {
    public:
        const std::atomic<bool>& stopFlag() const { return *stop_; }
        bool stopping() const { return stop_->load(); }
        void report(int value) const;  // reaches progressed(value), in order

    private:
        friend class BackgroundCall;
        BackgroundCall* call_ = nullptr;
        std::shared_ptr<std::atomic<bool>> stop_;
    };

    explicit BackgroundCall(QObject* parent = nullptr);
    // Work still running is told to stop and waited for.
    ~BackgroundCall() override;

    // `work(const Context&)` runs on a pool thread; `done(result)` gets its
    // result here, a stop or not. Ignored while work runs.
    template <typename Work, typename Done>
    void start(Work work, Done done);
    void stop();
    bool running() const { return running_; }
    bool stopped() const { return stop_ && stop_->load(); }

Q_SIGNALS:
    // A value the work reported; none come after a stop.
    void progressed(int value);

private:
    Context context();
    QFutureWatcherBase* watcher_ = nullptr;
    std::shared_ptr<std::atomic<bool>> stop_;
    bool running_ = false;
};

template <typename Work, typename Done>
void BackgroundCall::start(Work work, Done done) {
    using Result = std::invoke_result_t<Work&, const Context&>;
    if (running_) return;
    running_ = true;
    stop_ = std::make_shared<std::atomic<bool>>(false);
    // `done` of the last run may be what calls this: its watcher goes later.
    if (watcher_) watcher_->deleteLater();
    auto* watcher = new QFutureWatcher<Result>(this);
    watcher_ = watcher;
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, done = std::move(done)]() mutable {
        running_ = false;
        if constexpr (std::is_void_v<Result>) done();
        else done(watcher->future().takeResult());
    });
    watcher->setFuture(QtConcurrent::run([work = std::move(work), ctx = context()]() mutable { return work(ctx); }));
}

// "This, then that on `owner`'s thread", for work that needs no stop or
// progress: it belongs to `owner`, which waits for it when it goes.
template <typename Work, typename Done>
void RunThenCall(QObject* owner, Work work, Done done) {
    auto* call = new BackgroundCall(owner);
    call->start([work = std::move(work)](const BackgroundCall::Context&) mutable { return work(); },
                [call, done = std::move(done)](auto&&... result) mutable {
                    call->deleteLater();
                    done(std::forward<decltype(result)>(result)...);
                });
}

// A result made by whoever comes first: a pool thread, or the thread that
// wants it before any pool thread took it up (the pool may be busy with work
// nobody waits for any more).
template <typename T>
class MadeAhead {
public:
    static std::shared_ptr<MadeAhead> Start(std::function<T()> make) {
        auto ahead = std::shared_ptr<MadeAhead>(new MadeAhead(std::move(make)));
        QThreadPool::globalInstance()->start([ahead] {
            if (ahead->take()) ahead->makeIt();
        });
        return ahead;
    }
    // Nobody will want it: a pool thread that has not begun it never will.
    void drop() { take(); }
    // Made here if no thread began it, else waited for.
    const T& get() {
        if (take()) makeIt();
        return result_.get();
    }

private:
    explicit MadeAhead(std::function<T()> make) : make_(std::move(make)) {}
    bool take() { return !taken_.exchange(true); }
    void makeIt() {
        try {
            promise_.set_value(make_());
        } catch (...) {
            promise_.set_exception(std::current_exception());  // get() throws it, nobody hangs
        }
        make_ = nullptr;  // what it held goes with it
    }

    std::function<T()> make_;
    std::atomic<bool> taken_{false};
    std::promise<T> promise_;
    std::shared_future<T> result_ = promise_.get_future().share();
};

}  // namespace veskaron::ui
