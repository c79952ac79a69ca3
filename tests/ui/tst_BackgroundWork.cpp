#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <atomic>
#include <memory>
#include <thread>

#include "ui/common/BackgroundWork.h"

using namespace veskaron::ui;

class TestBackgroundWork : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void itemsComeInOrderOnTheWindowThread();
    void stopGivesTheFinishedFrontOnly();
    void goingAwayMidRunStopsAndCallsNothing();
    void callReportsAndAnswersOnTheWindowThread();
};

namespace {
void Nap(std::size_t i) { std::this_thread::sleep_for(std::chrono::microseconds((i * 37) % 5 * 200)); }
}  // namespace

void TestBackgroundWork::itemsComeInOrderOnTheWindowThread() {
    BackgroundItems run;
    QSignalSpy ended(&run, &BackgroundItems::ended);
    std::vector<std::size_t> taken;
    bool onWindowThread = true, batchesSmall = true;
    BackgroundItems::Options how;
    how.batch = 7;
    how.tickMs = 5;
    run.start([] { return std::size_t{300}; },
              [](std::size_t i) { Nap(i); return i; },
              [&](std::vector<std::size_t> batch) {
                  onWindowThread = onWindowThread && QThread::currentThread() == thread();
                  batchesSmall = batchesSmall && batch.size() <= 7;
                  taken.insert(taken.end(), batch.begin(), batch.end());
              }, how);
    QVERIFY(run.running());
    QVERIFY(ended.wait(20000));
    QVERIFY(onWindowThread);
    QVERIFY(batchesSmall);
    QCOMPARE(taken.size(), std::size_t{300});
    for (std::size_t i = 0; i < taken.size(); ++i) QCOMPARE(taken[i], i);
    QCOMPARE(run.done(), run.total());
    QVERIFY(!run.running() && !run.stopped());
}

void TestBackgroundWork::stopGivesTheFinishedFrontOnly() {
    BackgroundItems run;
    QSignalSpy ended(&run, &BackgroundItems::ended);
    std::vector<int> taken;
    BackgroundItems::Options how;
    how.threads = 2;
    how.tickMs = 5;
    run.start([] { return std::size_t{100000}; }, [](std::size_t i) { Nap(i); return static_cast<int>(i); },
              [&](std::vector<int> batch) { taken.insert(taken.end(), batch.begin(), batch.end()); }, how);
    QVERIFY(QTest::qWaitFor([&] { return taken.size() >= 10; }));
    run.stop();
    QVERIFY(ended.wait(20000));
    QVERIFY(run.stopped());
    QVERIFY(taken.size() < 100000);
    for (std::size_t i = 0; i < taken.size(); ++i) QCOMPARE(taken[i], static_cast<int>(i));
}

void TestBackgroundWork::goingAwayMidRunStopsAndCallsNothing() {
    auto begun = std::make_shared<std::atomic<int>>(0);
    int takes = 0;
    auto run = std::make_unique<BackgroundItems>();
    run->start([] { return std::size_t{100000}; }, [begun](std::size_t) { ++*begun; Nap(1); return 0; },
               [&](std::vector<int>) { ++takes; });
    QVERIFY(QTest::qWaitFor([&] { return *begun > 0; }));
    run.reset();  // a window closed mid-run
    const int after = *begun, takesAfter = takes;
    QTest::qWait(50);
    QCOMPARE(*begun, after);  // no item begun once it went
    QVERIFY(after < 100000);
    QCOMPARE(takes, takesAfter);
}

void TestBackgroundWork::callReportsAndAnswersOnTheWindowThread() {
    BackgroundCall call;
    QSignalSpy progressed(&call, &BackgroundCall::progressed);
    std::optional<QThread*> answeredOn;
    QThread* workedOn = nullptr;
    call.start([](const BackgroundCall::Context& context) {
                   for (int p = 1; p <= 3; ++p) context.report(p);
                   return QThread::currentThread();
               },
               [&](QThread* worker) { answeredOn = QThread::currentThread(); workedOn = worker; });
    QVERIFY(QTest::qWaitFor([&] { return answeredOn.has_value(); }));
    QCOMPARE(*answeredOn, thread());
    QVERIFY(workedOn != thread());
    QVERIFY(QTest::qWaitFor([&] { return progressed.size() == 3; }));
    QCOMPARE(progressed.at(2).at(0).toInt(), 3);
    QVERIFY(!call.running());
}

QTEST_MAIN(TestBackgroundWork)
#include "tst_BackgroundWork.moc"
