#pragma once
// "Sitemap…" of the site window: the site's address, how many pages the
// sitemap lists and which it leaves out and why; "Записать" writes it into
// the site's folder.
#include <QDialog>
#include <string>
#include <vector>

#include "site/site_scan.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace veskaron::ui {

class SitemapDialog final : public QDialog {
    Q_OBJECT

public:
    // `rows` are the table's pages as read; `root` the site's folder.
    SitemapDialog(std::string root, std::vector<site::SiteRow> rows, bool backup, QWidget* parent = nullptr);

    QString baseUrl() const;
    void setBaseUrl(const QString& url);
    // The files a confirmed run wrote, or why it could not.
    const QStringList& written() const { return written_; }
    const QString& error() const { return error_; }

private:
    void refresh();
    void write();

    std::string root_;
    std::vector<site::SiteRow> rows_;
    bool backup_ = false;
    QStringList written_;
    QString error_;
    QLineEdit* EditSitemapUrl;
    QLabel* LabelSitemapCount;
    QListWidget* ListSitemapLeftOut;
    QPushButton* BtnSitemapWrite;
    QPushButton* BtnSitemapCancel;
};

}  // namespace veskaron::ui
