#pragma once
// The keyword generator window: counts the words of the open page, works the
// four word lists and hands the composed keywords back to the main window.
// The word engine and the list operations live in generator/; this window only
// wires its controls to them.
#include <QDialog>
#include <QListView>
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/encoding.h"
#include "generator/word_engine.h"
#include "generator/word_lists.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTabWidget;
class QToolButton;

namespace veskaron::ui {

class KeywordHost;
class WordListModel;

// A word list whose drags and drops are decided by the generator window.
class TWordListView final : public QListView {
    Q_OBJECT

public:
    explicit TWordListView(QWidget* parent = nullptr);
    // Whether a drag that came from `source` may be dropped here.
    std::function<bool(QObject* source)> CanDrop;

Q_SIGNALS:
    void StartDrag(TWordListView* source);
    void DragDrop(QObject* source, TWordListView* target);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

class TFmKeyWord final : public QDialog {
    Q_OBJECT

public:
    explicit TFmKeyWord(KeywordHost& host, QWidget* parent = nullptr);
    ~TFmKeyWord() override;

    const generator::WordList& List(generator::ListKind kind) const;
    const std::string& InsertListFile() const { return insertListFile_; }
    const std::string& DeleteListFile() const { return deleteListFile_; }

public Q_SLOTS:
    void FormShow();
    void BtStrClick();
    void BtOkClick();
    void BtCnlClick();
    void RG1Click();
    void SpinEdit1Change();
    void RG2Click();
    void CheckBox1Click();
    void ListBox2Click();

    // The list buttons, by list.
    void ListAdd(generator::ListKind kind);
    void ListDelete(generator::ListKind kind);
    void ListEdit(generator::ListKind kind);
    void ListOpen(generator::ListKind kind);
    void ListSave(generator::ListKind kind);
    void KeywordMove(bool up);
    void TransferCurrentClick();
    void TransferSelectedClick();
    void SelectAllClick();

    // Drag and drop between the lists.
    void ListBoxStartDrag(TWordListView* source);
    bool ListBoxDragOver(QObject* source) const;
    void ListBoxDragDrop(QObject* source, TWordListView* target);

public:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void WhilePainting(const std::function<void()>& work);
    struct ListPart {
        generator::WordList list;
        TWordListView* view = nullptr;
        WordListModel* model = nullptr;
        QLabel* count = nullptr;  // the entry count beside the list, if any
    };

    void CreateControls();
    QWidget* CreateListGroup(generator::ListKind kind, QGroupBox* box, const char* listName,
                             std::vector<QToolButton*> buttons, std::vector<QLabel*> numbers);
    QWidget* CreateOutputPage();
    QWidget* CreateStatisticsPage();
    QWidget* CreateSavingGroup();

    // The only places the generator converts text. Lists, words and the
    // engine hold the document's text (Windows-1251 bytes or UTF-8) and reach
    // the widgets through the document's codec; the list files stay
    // Windows-1251 whatever the page.
    TextKind Kind() const;
    QString Shown(std::string_view text) const;
    std::string Stored(const QString& text) const;
    // Reads a list file into document text; false with `error` when it cannot.
    bool ReadListFile(const std::string& path, std::vector<std::string>& entries,
                      bool& missing, std::string& error) const;
    // Writes the entries to a list file; the error text, empty on success.
    std::string WriteListFile(const std::string& path,
                              const std::vector<std::string>& entries) const;

    ListPart& Part(generator::ListKind kind);
    const ListPart& Part(generator::ListKind kind) const;
    int KindOf(const QObject* view) const;  // -1 when not one of the four lists
    // The view's focus and selection into the list, and the list back into the view.
    void Pull(generator::ListKind kind);
    void Push(generator::ListKind kind);
    void RefreshCounters();
    void Refill();
    void FormClose();
    void LoadListsAtShow();
    std::vector<std::string> DescriptionLines() const;
    void SetRadioChecks(bool all, bool repeated);

    KeywordHost& host_;
    generator::WordTable table_;
    std::array<ListPart, 4> parts_;
    std::string insertListFile_;
    std::string deleteListFile_;
    std::string dragged_;
    bool selectAllOn_ = false;
    int minWordLen_ = 4;
    bool running_ = false;
    bool pushing_ = false;

    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QGroupBox* GroupBox5 = nullptr;
    QToolButton* SpeedButton9 = nullptr;
    QToolButton* SpeedButton10 = nullptr;
    QToolButton* SpeedButton11 = nullptr;
    QToolButton* SpeedButton12 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label7 = nullptr;
    std::array<QLabel*, 6> statistics_{};
    QTabWidget* TabbedNotebook1 = nullptr;
    QGroupBox* RG1 = nullptr;
    QButtonGroup* rg1Buttons_ = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QButtonGroup* selectionButtons_ = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    QStackedWidget* selectionStack_ = nullptr;
    QWidget* selectionControls_ = nullptr;
    QWidget* Panel2 = nullptr;
    QProgressBar* ProgrBar = nullptr;
    QGroupBox* RG2 = nullptr;
    QButtonGroup* rg2Buttons_ = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* BtStr = nullptr;
    QPushButton* BtOk = nullptr;
    QPushButton* BtCnl = nullptr;
};

}  // namespace veskaron::ui
