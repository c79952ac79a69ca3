#include "ui/main/FileBrowserPane.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

#include "engine/save.h"
#include "messages/window_texts.h"
#include "controls/ComBox.h"
#include "ui/common/Hints.h"

namespace veskaron::ui {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kIsDirRole = Qt::UserRole + 1;

QString WithSeparator(const QString& folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

QLabel* StatLabel(const QString& name, const QString& text) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    return label;
}

}  // namespace

FileBrowserPane::FileBrowserPane(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Panel2"));
    folderHistory_ = new TComBox;
    folderHistory_->setObjectName(QStringLiteral("ComBoxPath"));
    folderHistory_->setMaxVisibleItems(20);
    folderHistory_->setMinimumContentsLength(6);
    folderHistory_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    SetHint(folderHistory_, msg::kFolderHistoryHint);
    historyMenu_ = new QMenu(this);
    historyMenu_->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* n1 = historyMenu_->addAction(msg::kEditFolderHistory);
    n1->setObjectName(QStringLiteral("N1"));
    connect(n1, &QAction::triggered, this, &FileBrowserPane::EditHistory);
    folderHistory_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(folderHistory_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { historyMenu_->popup(folderHistory_->mapToGlobal(pos)); });

    driveBox_ = new QComboBox;
    driveBox_->setObjectName(QStringLiteral("DriveComboBox1"));
    SetHint(driveBox_, msg::kDriveHint);
    driveBox_->setMinimumContentsLength(6);
    driveBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folders_->setRootPath(QDir::rootPath());
    folderTree_ = new QTreeView;
    folderTree_->setObjectName(QStringLiteral("DirectoryListBox1"));
    folderTree_->setModel(folders_);
    for (int c = 1; c < folders_->columnCount(); ++c) folderTree_->hideColumn(c);
    folderTree_->setHeaderHidden(true);
    folderTree_->setMinimumHeight(60);
    SetHint(folderTree_, msg::kFolderHint);
    SetHelpTopic(folderTree_, 10);

    fileList_ = new QListWidget;
    fileList_->setObjectName(QStringLiteral("FileListBox1"));
    fileList_->setSelectionMode(QAbstractItemView::SingleSelection);
    fileList_->setMinimumHeight(60);
    SetHint(fileList_, msg::kFilesHint);
    SetHelpTopic(fileList_, 11);

    fileGroup_ = new QGroupBox(msg::kFileGroup);
    fileGroup_->setObjectName(QStringLiteral("GroupBox2"));
    SetHelpTopic(fileGroup_, 12);
    SetHint(fileGroup_, msg::kFileGroupHint);
    loadedSize_ = StatLabel(QStringLiteral("Label5"), msg::kNoBytes);
    loadedTime_ = StatLabel(QStringLiteral("Label9"), msg::kNoSeconds);
    currentSize_ = StatLabel(QStringLiteral("Label13"), msg::kNoBytes);
    currentTime_ = StatLabel(QStringLiteral("Label10"), msg::kNoSeconds);
    // Captions above their rows, so the pane can be narrow.
    auto* grid = new QGridLayout(fileGroup_);
    grid->setVerticalSpacing(2);
    grid->addWidget(StatLabel(QStringLiteral("Label2"), msg::kSizeLabel), 0, 0, 1, 2);
    grid->addWidget(StatLabel(QStringLiteral("Label3"), msg::kLoadedLabel), 1, 0);
    grid->addWidget(loadedSize_, 1, 1);
    grid->addWidget(StatLabel(QStringLiteral("Label4"), msg::kCurrentLabel), 2, 0);
    grid->addWidget(currentSize_, 2, 1);
    grid->addWidget(StatLabel(QStringLiteral("Label6"), msg::kDownloadTimeLabel), 3, 0, 1, 2);
    grid->addWidget(StatLabel(QStringLiteral("Label7"), msg::kLoadedLabel), 4, 0);
    grid->addWidget(loadedTime_, 4, 1);
    grid->addWidget(StatLabel(QStringLiteral("Label8"), msg::kCurrentLabel), 5, 0);
    grid->addWidget(currentTime_, 5, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 0, 4);
    layout->setSpacing(4);
    layout->addWidget(folderHistory_);
    layout->addWidget(driveBox_);
    layout->addWidget(folderTree_, 2);
    layout->addWidget(fileList_, 3);
    layout->addWidget(fileGroup_);

    FillDrives();
    // The tree learns a folder's children later and sorts them after that:
    // until the user takes over the tree, bring the chosen folder back into
    // view each time the rows above it move.
    connect(folders_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        if (revealing_ && WithSeparator(folder_).startsWith(WithSeparator(loaded))) ShowTreeFolder();
    });
    connect(folders_, &QAbstractItemModel::layoutChanged, this, [this] {
        if (revealing_) ShowTreeFolder();
    });
    connect(folders_, &QAbstractItemModel::rowsInserted, this, [this] {
        if (revealing_) ShowTreeFolder();
    });
    folderTree_->installEventFilter(this);
    folderTree_->viewport()->installEventFilter(this);
    folderTree_->verticalScrollBar()->installEventFilter(this);
    folderTree_->horizontalScrollBar()->installEventFilter(this);
    connect(folderHistory_, &QComboBox::activated, this, &FileBrowserPane::folderHistoryChosen);
    connect(driveBox_, &QComboBox::activated, this, &FileBrowserPane::driveChosen);
    connect(folderTree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FileBrowserPane::folderChosen);
    connect(fileList_, &QListWidget::itemSelectionChanged, this,
            &FileBrowserPane::fileChosen);
    connect(fileList_, &QListWidget::itemActivated, this, &FileBrowserPane::openListItem);

    GoToFolder(QDir::currentPath());
}

void FileBrowserPane::FillDrives() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    }
    if (!roots.contains(QDir::rootPath())) roots << QDir::rootPath();
    roots.sort();
    const QSignalBlocker block(driveBox_);
    driveBox_->clear();
    driveBox_->addItems(roots);
}

void FileBrowserPane::SetMask(const QString& fileFiltr) {
    mask_.clear();
    for (const QString& part : fileFiltr.split(u';')) {
        const QString p = part.trimmed();
        if (!p.isEmpty()) mask_ << p;
    }
    FillFileList();
    SelectLoaded();
}

void FileBrowserPane::SetIcons(bool on) {
    icons_ = on;
    FillFileList();
    SelectLoaded();
}

void FileBrowserPane::GoToFolder(const QString& wanted) {
    // A blank history line names no folder: the tree stays where it is.
    if (wanted.trimmed().isEmpty()) return;
    QString folder = QDir::cleanPath(QFileInfo(wanted).absoluteFilePath());
    // A folder that went away: show the nearest one that still exists. Each
    // step must shorten the path, or a path with no existing parent would
    // never end the walk.
    while (!QFileInfo(folder).isDir()) {
        const QString up = QDir::cleanPath(QFileInfo(folder).absolutePath());
        if (up.isEmpty() || up.size() >= folder.size()) return;
        folder = up;
    }
    folder_ = folder;

    int drive = -1, best = -1;
    for (int i = 0; i < driveBox_->count(); ++i) {
        const QString root = driveBox_->itemText(i);
        if (WithSeparator(folder_).startsWith(WithSeparator(root)) && root.size() > best) {
            best = static_cast<int>(root.size());
            drive = i;
        }
    }
    {
        const QSignalBlocker block(driveBox_);
        driveBox_->setCurrentIndex(drive);
    }
    // Only the way to the chosen folder stays open.
    folderTree_->collapseAll();
    revealing_ = true;
    ShowTreeFolder();
    FillFileList();
    ShowFolderInHistory();
}

// The folder box names the folder the list shows: its history entry, or,
// for a folder the history lacks, the folder itself in place of an entry.
void FileBrowserPane::ShowFolderInHistory() {
    const auto same = [this](const QString& item) {
        return !item.trimmed().isEmpty() && QDir::cleanPath(QFileInfo(item).absoluteFilePath()) == folder_;
    };
    const QSignalBlocker block(folderHistory_);
    folderHistory_->setPlaceholderText(WithSeparator(folder_));
    if (folderHistory_->currentIndex() >= 0 && same(folderHistory_->currentText())) return;
    int found = -1;
    for (int i = 0; i < folderHistory_->count() && found < 0; ++i)
        if (same(folderHistory_->itemText(i))) found = i;
    folderHistory_->setCurrentIndex(found);
}

void FileBrowserPane::ShowTreeFolder() {
    moving_ = true;
    const QString root = driveBox_->currentText().isEmpty() ? QDir::rootPath()
                                                                 : driveBox_->currentText();
    const QModelIndex rootIndex = folders_->index(root);
    if (folderTree_->rootIndex() != rootIndex) folderTree_->setRootIndex(rootIndex);
    const QModelIndex index = folders_->index(folder_);
    if (folderTree_->currentIndex() != index) folderTree_->setCurrentIndex(index);
    for (QModelIndex up = index; up.isValid() && up != rootIndex; up = up.parent())
        folderTree_->expand(up);
    folderTree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
    moving_ = false;
}

bool FileBrowserPane::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        revealing_ = false;  // the user moves the tree now
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void FileBrowserPane::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ShowTreeFolder();
}

void FileBrowserPane::FillFileList() {
    const QSignalBlocker block(fileList_);
    fileList_->clear();
    const QDir dir(folder_);
    QFileIconProvider provider;
    auto add = [&](const QString& text, const QFileInfo& info, bool isDir) {
        auto* item = new QListWidgetItem(text, fileList_);
        item->setData(kPathRole, info.absoluteFilePath());
        item->setData(kIsDirRole, isDir);
        if (icons_) item->setIcon(provider.icon(info));
    };
    if (!dir.isRoot()) add(QStringLiteral("[..]"), QFileInfo(QFileInfo(folder_).absolutePath()), true);
    for (const QFileInfo& info :
         dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        add(QStringLiteral("[%1]").arg(info.fileName()), info, true);
    }
    for (const QFileInfo& info :
         dir.entryInfoList(mask_, QDir::Files | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase)) {
        // The preview written beside a page is the program's, not a page to pick.
        if (!IsPreviewFileName(info.fileName().toStdString())) add(info.fileName(), info, false);
    }
    fileList_->setCurrentRow(-1);
    fileList_->clearSelection();
}

void FileBrowserPane::folderHistoryChosen(int index) {
    if (index >= 0) GoToFolder(folderHistory_->itemText(index));
}

void FileBrowserPane::driveChosen(int index) {
    if (index >= 0) GoToFolder(driveBox_->itemText(index));
}

void FileBrowserPane::folderChosen() {
    if (moving_) return;
    const QModelIndex index = folderTree_->currentIndex();
    if (!index.isValid()) return;
    folder_ = QDir::cleanPath(folders_->filePath(index));
    FillFileList();
    ShowFolderInHistory();
}

void FileBrowserPane::fileChosen() {
    const QList<QListWidgetItem*> selected = fileList_->selectedItems();
    if (selected.size() != 1 || selected.front()->data(kIsDirRole).toBool()) return;
    Q_EMIT FileChosen(selected.front()->data(kPathRole).toString());
}

void FileBrowserPane::openListItem(QListWidgetItem* item) {
    if (item && item->data(kIsDirRole).toBool()) GoToFolder(item->data(kPathRole).toString());
}

void FileBrowserPane::SelectLoaded() {
    const QSignalBlocker block(fileList_);
    for (int i = 0; i < fileList_->count(); ++i) {
        QListWidgetItem* item = fileList_->item(i);
        if (!loaded_.isEmpty() && item->data(kPathRole).toString() == loaded_ &&
            !item->data(kIsDirRole).toBool()) {
            fileList_->setCurrentItem(item);
            return;
        }
    }
    fileList_->setCurrentRow(-1);
    fileList_->clearSelection();
}

void FileBrowserPane::MarkLoaded(const QString& path) { loaded_ = path; }

void FileBrowserPane::SetFileListEnabled(bool on) { fileList_->setEnabled(on); }

bool FileBrowserPane::SelectFile(const QString& path) {
    const QString wanted = QFileInfo(path).absoluteFilePath();
    for (int i = 0; i < fileList_->count(); ++i) {
        QListWidgetItem* item = fileList_->item(i);
        if (item->data(kPathRole).toString() == wanted) {
            fileList_->setCurrentItem(item);
            return true;
        }
    }
    return false;
}

void FileBrowserPane::AddFolderToHistory(const QString& folder) {
    const QString item = WithSeparator(folder);
    const QSignalBlocker block(folderHistory_);
    int index = folderHistory_->findText(item, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        folderHistory_->addItem(item);
        index = folderHistory_->count() - 1;
    }
    folderHistory_->setCurrentIndex(index);
}

void FileBrowserPane::SetHistory(const QStringList& items, int selected) {
    const QSignalBlocker block(folderHistory_);
    folderHistory_->clear();
    // A blank line is no folder to go to; the chosen one keeps its place.
    for (int i = 0; i < items.size(); ++i) {
        if (!items[i].trimmed().isEmpty()) {
            folderHistory_->addItem(items[i]);
        } else if (i < selected) {
            --selected;
        } else if (i == selected) {
            selected = -2;
        }
    }
    if (selected < -1 || selected >= folderHistory_->count()) selected = folderHistory_->count() > 0 ? 0 : -1;
    folderHistory_->setCurrentIndex(selected);
}

void FileBrowserPane::SetLoadedStats(const QString& size, const QString& time) {
    loadedSize_->setText(size);
    loadedTime_->setText(time);
}

void FileBrowserPane::SetCurrentStats(const QString& size, const QString& time) {
    currentSize_->setText(size);
    currentTime_->setText(time);
}

}  // namespace veskaron::ui
