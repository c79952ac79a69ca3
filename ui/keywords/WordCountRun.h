#pragma once
// The word count of the generator window, run on a worker thread: the window
// keeps painting and answering while a large page is counted, and "Стоп"
// ends a long count.
#include <QObject>
#include <string>
#include <vector>

#include "generator/word_engine.h"
#include "ui/common/BackgroundWork.h"

namespace veskaron::ui {

class WordCountRun final : public QObject {
    Q_OBJECT

public:
    // Everything a run reads, copied when it starts: the page and the lists
    // may change while it works.
    struct Input {
        std::string source;
        std::vector<std::string> description;
        std::vector<std::string> excluded;
        generator::GeneratorOptions options;
    };
    enum class End { Counted, Stopped, Failed };

    // A run still working when this goes is told to stop and waited for: the
    // engine looks at its flag often, so that is short.
    explicit WordCountRun(QObject* parent = nullptr);

    bool running() const { return run_.running(); }
    void start(Input input);
    // Drops the result of the current run and tells the engine to stop;
    // ended() follows with End::Stopped.
    void stop();

    // The words of the run that ended last (empty after a stop), moved out.
    generator::WordTable takeTable() { return std::move(last_.table); }
    // What broke it, for End::Failed.
    const std::string& failure() const { return last_.failure; }

Q_SIGNALS:
    void progressed(int percent);
    void ended(veskaron::ui::WordCountRun::End end);

private:
    struct Outcome {
        End end = End::Stopped;
        generator::WordTable table;
        std::string failure;
    };
    void finish(Outcome outcome);

    BackgroundCall run_;
    bool stopped_ = false;
    Outcome last_;
};

}  // namespace veskaron::ui
