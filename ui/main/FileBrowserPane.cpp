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
    ComBoxPath = new TComBox;
    ComBoxPath->setObjectName(QStringLiteral("ComBoxPath"));
    ComBoxPath->setMaxVisibleItems(20);
    ComBoxPath->setMinimumContentsLength(6);
    ComBoxPath->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    SetHint(ComBoxPath, msg::kFolderHistoryHint);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* n1 = PopupMenu1->addAction(msg::kEditFolderHistory);
    n1->setObjectName(QStringLiteral("N1"));
    connect(n1, &QAction::triggered, this, &FileBrowserPane::EditHistory);
    ComBoxPath->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ComBoxPath, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(ComBoxPath->mapToGlobal(pos)); });

    DriveComboBox1 = new QComboBox;
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    SetHint(DriveComboBox1, msg::kDriveHint);
    DriveComboBox1->setMinimumContentsLength(6);
    DriveComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folders_->setRootPath(QDir::rootPath());
    DirectoryListBox1 = new QTreeView;
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setModel(folders_);
    for (int c = 1; c < folders_->columnCount(); ++c) DirectoryListBox1->hideColumn(c);
    DirectoryListBox1->setHeaderHidden(true);
    DirectoryListBox1->setMinimumHeight(60);
    SetHint(DirectoryListBox1, msg::kFolderHint);
    SetHelpTopic(DirectoryListBox1, 10);

    FileListBox1 = new QListWidget;
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    FileListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    FileListBox1->setMinimumHeight(60);
    SetHint(FileListBox1, msg::kFilesHint);
    SetHelpTopic(FileListBox1, 11);

    GroupBox2 = new QGroupBox(msg::kFileGroup);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    SetHelpTopic(GroupBox2, 12);
    SetHint(GroupBox2, msg::kFileGroupHint);
    Label5 = StatLabel(QStringLiteral("Label5"), msg::kNoBytes);
    Label9 = StatLabel(QStringLiteral("Label9"), msg::kNoSeconds);
    Label13 = StatLabel(QStringLiteral("Label13"), msg::kNoBytes);
    Label10 = StatLabel(QStringLiteral("Label10"), msg::kNoSeconds);
    // Captions above their rows, so the pane can be narrow.
    auto* grid = new QGridLayout(GroupBox2);
    grid->setVerticalSpacing(2);
    grid->addWidget(StatLabel(QStringLiteral("Label2"), msg::kSizeLabel), 0, 0, 1, 2);
    grid->addWidget(StatLabel(QStringLiteral("Label3"), msg::kLoadedLabel), 1, 0);
    grid->addWidget(Label5, 1, 1);
    grid->addWidget(StatLabel(QStringLiteral("Label4"), msg::kCurrentLabel), 2, 0);
    grid->addWidget(Label13, 2, 1);
    grid->addWidget(StatLabel(QStringLiteral("Label6"), msg::kDownloadTimeLabel), 3, 0, 1, 2);
    grid->addWidget(StatLabel(QStringLiteral("Label7"), msg::kLoadedLabel), 4, 0);
    grid->addWidget(Label9, 4, 1);
    grid->addWidget(StatLabel(QStringLiteral("Label8"), msg::kCurrentLabel), 5, 0);
    grid->addWidget(Label10, 5, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 0, 4);
    layout->setSpacing(4);
    layout->addWidget(ComBoxPath);
    layout->addWidget(DriveComboBox1);
    layout->addWidget(DirectoryListBox1, 2);
    layout->addWidget(FileListBox1, 3);
    layout->addWidget(GroupBox2);

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
    DirectoryListBox1->installEventFilter(this);
    DirectoryListBox1->viewport()->installEventFilter(this);
    DirectoryListBox1->verticalScrollBar()->installEventFilter(this);
    DirectoryListBox1->horizontalScrollBar()->installEventFilter(this);
    connect(ComBoxPath, &QComboBox::activated, this, &FileBrowserPane::folderHistoryChosen);
    connect(DriveComboBox1, &QComboBox::activated, this, &FileBrowserPane::driveChosen);
    connect(DirectoryListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FileBrowserPane::folderChosen);
    connect(FileListBox1, &QListWidget::itemSelectionChanged, this,
            &FileBrowserPane::fileChosen);
    connect(FileListBox1, &QListWidget::itemActivated, this, &FileBrowserPane::openListItem);

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
    const QSignalBlocker block(DriveComboBox1);
    DriveComboBox1->clear();
    DriveComboBox1->addItems(roots);
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
    for (int i = 0; i < DriveComboBox1->count(); ++i) {
        const QString root = DriveComboBox1->itemText(i);
        if (WithSeparator(folder_).startsWith(WithSeparator(root)) && root.size() > best) {
            best = static_cast<int>(root.size());
            drive = i;
        }
    }
    {
        const QSignalBlocker block(DriveComboBox1);
        DriveComboBox1->setCurrentIndex(drive);
    }
    // Only the way to the chosen folder stays open.
    DirectoryListBox1->collapseAll();
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
    const QSignalBlocker block(ComBoxPath);
    ComBoxPath->setPlaceholderText(WithSeparator(folder_));
    if (ComBoxPath->currentIndex() >= 0 && same(ComBoxPath->currentText())) return;
    int found = -1;
    for (int i = 0; i < ComBoxPath->count() && found < 0; ++i)
        if (same(ComBoxPath->itemText(i))) found = i;
    ComBoxPath->setCurrentIndex(found);
}

void FileBrowserPane::ShowTreeFolder() {
    moving_ = true;
    const QString root = DriveComboBox1->currentText().isEmpty() ? QDir::rootPath()
                                                                 : DriveComboBox1->currentText();
    const QModelIndex rootIndex = folders_->index(root);
    if (DirectoryListBox1->rootIndex() != rootIndex) DirectoryListBox1->setRootIndex(rootIndex);
    const QModelIndex index = folders_->index(folder_);
    if (DirectoryListBox1->currentIndex() != index) DirectoryListBox1->setCurrentIndex(index);
    for (QModelIndex up = index; up.isValid() && up != rootIndex; up = up.parent())
        DirectoryListBox1->expand(up);
    DirectoryListBox1->scrollTo(index, QAbstractItemView::PositionAtCenter);
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
    const QSignalBlocker block(FileListBox1);
    FileListBox1->clear();
    const QDir dir(folder_);
    QFileIconProvider provider;
    auto add = [&](const QString& text, const QFileInfo& info, bool isDir) {
        auto* item = new QListWidgetItem(text, FileListBox1);
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
    FileListBox1->setCurrentRow(-1);
    FileListBox1->clearSelection();
}

void FileBrowserPane::folderHistoryChosen(int index) {
    if (index >= 0) GoToFolder(ComBoxPath->itemText(index));
}

void FileBrowserPane::driveChosen(int index) {
    if (index >= 0) GoToFolder(DriveComboBox1->itemText(index));
}

void FileBrowserPane::folderChosen() {
    if (moving_) return;
    const QModelIndex index = DirectoryListBox1->currentIndex();
    if (!index.isValid()) return;
    folder_ = QDir::cleanPath(folders_->filePath(index));
    FillFileList();
    ShowFolderInHistory();
}

void FileBrowserPane::fileChosen() {
    const QList<QListWidgetItem*> selected = FileListBox1->selectedItems();
    if (selected.size() != 1 || selected.front()->data(kIsDirRole).toBool()) return;
    Q_EMIT FileChosen(selected.front()->data(kPathRole).toString());
}

void FileBrowserPane::openListItem(QListWidgetItem* item) {
    if (item && item->data(kIsDirRole).toBool()) GoToFolder(item->data(kPathRole).toString());
}

void FileBrowserPane::SelectLoaded() {
    const QSignalBlocker block(FileListBox1);
    for (int i = 0; i < FileListBox1->count(); ++i) {
        QListWidgetItem* item = FileListBox1->item(i);
        if (!loaded_.isEmpty() && item->data(kPathRole).toString() == loaded_ &&
            !item->data(kIsDirRole).toBool()) {
            FileListBox1->setCurrentItem(item);
            return;
        }
    }
    FileListBox1->setCurrentRow(-1);
    FileListBox1->clearSelection();
}

void FileBrowserPane::MarkLoaded(const QString& path) { loaded_ = path; }

void FileBrowserPane::SetFileListEnabled(bool on) { FileListBox1->setEnabled(on); }

bool FileBrowserPane::SelectFile(const QString& path) {
    const QString wanted = QFileInfo(path).absoluteFilePath();
    for (int i = 0; i < FileListBox1->count(); ++i) {
        QListWidgetItem* item = FileListBox1->item(i);
        if (item->data(kPathRole).toString() == wanted) {
            FileListBox1->setCurrentItem(item);
            return true;
        }
    }
    return false;
}

void FileBrowserPane::AddFolderToHistory(const QString& folder) {
    const QString item = WithSeparator(folder);
    const QSignalBlocker block(ComBoxPath);
    int index = ComBoxPath->findText(item, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        ComBoxPath->addItem(item);
        index = ComBoxPath->count() - 1;
    }
    ComBoxPath->setCurrentIndex(index);
}

void FileBrowserPane::SetHistory(const QStringList& items, int selected) {
    const QSignalBlocker block(ComBoxPath);
    ComBoxPath->clear();
    // A blank line is no folder to go to; the chosen one keeps its place.
    for (int i = 0; i < items.size(); ++i) {
        if (!items[i].trimmed().isEmpty()) {
            ComBoxPath->addItem(items[i]);
        } else if (i < selected) {
            --selected;
        } else if (i == selected) {
            selected = -2;
        }
    }
    if (selected < -1 || selected >= ComBoxPath->count()) selected = ComBoxPath->count() > 0 ? 0 : -1;
    ComBoxPath->setCurrentIndex(selected);
}

void FileBrowserPane::SetLoadedStats(const QString& size, const QString& time) {
    Label5->setText(size);
    Label9->setText(time);
}

void FileBrowserPane::SetCurrentStats(const QString& size, const QString& time) {
    Label13->setText(size);
    Label10->setText(time);
}

}  // namespace veskaron::ui
