#pragma once
// The input histories: eight boxes, each keeping its items in a line list
// file in the program folder. Enter in an editable box adds its text.
#include <QObject>
#include <QString>
#include <QStringList>
#include <vector>

class QComboBox;
class QWidget;

namespace veskaron::ui {

class Histories final : public QObject {
    Q_OBJECT

public:
    explicit Histories(QObject* parent = nullptr) : QObject(parent) {}

    // In the order the files are loaded and written. `blankLines`: whether a
    // blank line of the file is an item (the folder history has none).
    void Add(QComboBox* box, const QString& fileName, bool blankLines = true);

    // Creates missing files empty and loads every box. Each file that cannot
    // be read or created is reported with its name; the others still load.
    void Load(const QString& folder, QWidget* parent);
    // Writes every box's items; each failure is reported, the others are still written.
    void Save(const QString& folder, QWidget* parent) const;

    // Enter: the box's text goes to the end of its list unless an item equal
    // to it ignoring case is already there.
    static void AddText(QComboBox* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QComboBox* box;
        QString fileName;
        bool blankLines;
    };
    std::vector<Entry> entries_;
};

// Reads a line list file, creating it empty when missing. False after
// reporting the failure (the file named).
bool ReadListFile(const QString& path, QStringList& items, QWidget* parent);

}  // namespace veskaron::ui
