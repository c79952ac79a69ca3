// The file dialog as a person reads it: dates in the program's short form,
// whole in their column.
#include <QAbstractItemModel>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <QTranslator>

#include "ui/common/AppSetup.h"
#include "ui/common/Dialogs.h"

using namespace veskaron::ui;

class tst_Dialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fileDialogDatesAreShortAndWhole();
};

void tst_Dialogs::fileDialogDatesAreShortAndWhole() {
    QTranslator qtTexts;
    SetUpRussianApplication(qtTexts);
    QTemporaryDir dir;
    QFile page(dir.filePath(QStringLiteral("index.html")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<html></html>");
    page.close();

    QString shown;
    bool fits = false;
    QTimer poll;
    poll.setInterval(20);
    int tries = 0;
    connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        auto* view = dialog->findChild<QTreeView*>();
        QAbstractItemModel* model = view ? view->model() : nullptr;
        const QModelIndex root = view ? view->rootIndex() : QModelIndex();
        if (model && model->rowCount(root) > 0) {
            dialog->setViewMode(QFileDialog::Detail);
            const QModelIndex date = model->index(0, 3, root);
            shown = date.data().toString();
            fits = true;
            for (int column = 1; column <= 3; ++column)
                fits = fits && view->header()->sectionSize(column) >=
                                   view->fontMetrics().horizontalAdvance(model->index(0, column, root).data().toString());
        }
        if (!shown.isEmpty() || ++tries > 200) {
            if (!qEnvironmentVariableIsEmpty("VESKARON_SHOTS"))
                dialog->grab().save(qEnvironmentVariable("VESKARON_SHOTS") + QStringLiteral("/file-dialog.png"));
            dialog->reject();
        }
    });
    poll.start();
    QtDialogs dialogs;
    QVERIFY(!dialogs.OpenFileName(nullptr, QStringLiteral("Открыть"), dir.path(), QStringLiteral("Страницы (*.html)")));
    const QDateTime written = QFileInfo(page.fileName()).lastModified();
    QCOMPARE(shown, written.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
    QVERIFY(fits);
}

QTEST_MAIN(tst_Dialogs)
#include "tst_Dialogs.moc"
