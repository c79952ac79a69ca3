#include "ui/main/PreviewFile.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

namespace veskaron::ui {
namespace {

// A browser may open the page more than once while it shows it.
constexpr int kAfterReadMs = 1500;
// An opener that took this long kept the browser it started: what was read
// meanwhile was the browser's reading.
constexpr qint64 kLongOpenerMs = 3000;

}  // namespace

PreviewFile::PreviewFile(QObject* parent) : QObject(parent) {
    removal_ = new QTimer(this);
    removal_->setSingleShot(true);
    connect(removal_, &QTimer::timeout, this, &PreviewFile::Remove);
    if (watch_.Descriptor() >= 0) {
        notifier_ = new QSocketNotifier(watch_.Descriptor(), QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &PreviewFile::fileRead);
    }
}

PreviewFile::~PreviewFile() { Remove(); }

int PreviewFile::Written(const QString& path) {
    removal_->stop();
    if (!path_.isEmpty() && path_ != path) QFile::remove(path_);
    path_ = path;
    // Readers before the browser (the opener looking at the file's type)
    // are told apart by the time the opener reports back.
    watch_.Watch(path.toStdString());
    opened_ = false;
    readBeforeOpened_ = false;
    since_.start();
    return ++number_;
}

void PreviewFile::Opened(int number, bool ok) {
    if (number != number_ || path_.isEmpty()) return;
    if (!ok) {
        Remove();
        return;
    }
    opened_ = true;
    if (watch_.TakeReads()) readBeforeOpened_ = true;
    if (readBeforeOpened_ && since_.elapsed() >= kLongOpenerMs) removal_->start(0);
}

void PreviewFile::fileRead() {
    if (!watch_.TakeReads() || path_.isEmpty()) return;
    if (opened_) {
        removal_->start(kAfterReadMs);
    } else {
        readBeforeOpened_ = true;
    }
}

void PreviewFile::Remove() {
    removal_->stop();
    watch_.Stop();
    if (!path_.isEmpty()) QFile::remove(path_);
    path_.clear();
}

}  // namespace veskaron::ui
