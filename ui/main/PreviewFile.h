#pragma once
// The preview page written beside the open page. It stays out of the file
// list and the site's scans, and goes as soon as the browser has read it, at
// the next preview, when no browser could take it, or when the window closes.
#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include "platform/file_reads.h"

class QSocketNotifier;
class QTimer;

namespace veskaron::ui {

class PreviewFile final : public QObject {
    Q_OBJECT

public:
    explicit PreviewFile(QObject* parent = nullptr);
    ~PreviewFile() override;

    // A preview was written at `path`; the one before it goes. Returns the
    // number that Opened() names it by.
    int Written(const QString& path);
    // The browser took preview `number` (or could not: it goes at once).
    void Opened(int number, bool ok);
    void Remove();
    const QString& Path() const { return path_; }

private:
    void fileRead();

    FileReadWatch watch_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* removal_ = nullptr;
    QString path_;
    int number_ = 0;
    bool opened_ = false;
    bool readBeforeOpened_ = false;
    QElapsedTimer since_;
};

}  // namespace veskaron::ui
