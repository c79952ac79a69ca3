#pragma once
// The left pane: folder history, drive list, folder tree, file list and the
// group "О файле" with the size and download-time labels. The drive list
// drives the tree, the tree drives the file list; choosing a file is
// reported, loading it is the main window's business.
#include <QStringList>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QTreeView;

namespace veskaron {
class TComBox;
}

namespace veskaron::ui {

class FileBrowserPane final : public QWidget {
    Q_OBJECT

public:
    explicit FileBrowserPane(QWidget* parent = nullptr);

    // "*.htm; *.html": split at ";" with blanks trimmed.
    void SetMask(const QString& fileFiltr);
    void SetIcons(bool on);

    // Shows a folder in the tree and the file list, no file selected.
    void GoToFolder(const QString& folder);
    QString Folder() const { return folder_; }

    // The file list's selection goes back to the loaded page (or nowhere).
    void SelectLoaded();
    // The selected file becomes the loaded one.
    void MarkLoaded(const QString& path);
    void SetFileListEnabled(bool on);

    // The folder history: the page's folder is added unless present, then selected.
    TComBox* History() const { return folderHistory_; }
    void AddFolderToHistory(const QString& folder);
    void SetHistory(const QStringList& items, int selected);

    void SetLoadedStats(const QString& size, const QString& time);
    void SetCurrentStats(const QString& size, const QString& time);

    // The file list's own entry for a file, for tests and for the command line.
    bool SelectFile(const QString& path);

Q_SIGNALS:
    void FileChosen(const QString& path);
    // The history's context menu "Редактировать".
    void EditHistory();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void folderHistoryChosen(int index);
    void driveChosen(int index);
    void folderChosen();
    void fileChosen();
    void openListItem(QListWidgetItem* item);
    void FillFileList();
    void FillDrives();
    void ShowTreeFolder();
    void ShowFolderInHistory();

    TComBox* folderHistory_;
    QComboBox* driveBox_;
    QTreeView* folderTree_;
    QFileSystemModel* folders_;
    QListWidget* fileList_;
    QGroupBox* fileGroup_;
    QLabel* loadedSize_;
    QLabel* loadedTime_;
    QLabel* currentSize_;
    QLabel* currentTime_;
    QMenu* historyMenu_;

    QString folder_;
    QString loaded_;
    QStringList mask_;
    bool icons_ = false;
    bool moving_ = false;
    bool revealing_ = false;  // keep the chosen folder in view while the tree fills
};

}  // namespace veskaron::ui
