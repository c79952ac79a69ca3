#pragma once
// What the window tests share: the store and the program folder in temporary
// folders, a folder of pages, and short ways to reach controls by name.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "platform/key_store.h"

namespace veskaron::ui::test {

struct TempFolders {
    QTemporaryDir config, data, pages;
    TempFolders() {
        qputenv("VESKARON_CONFIG_DIR", config.path().toUtf8());
        qputenv("VESKARON_DATA_DIR", data.path().toUtf8());
        ResetStoreStateForTests();
    }
    QString Page(const QString& name) const { return pages.filePath(name); }
    QString Data(const QString& name) const { return data.filePath(name); }
};

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

template <typename T>
T* Find(QWidget& window, const char* name) {
    T* child = window.findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no control %s", name);
    return child;
}

}  // namespace veskaron::ui::test
