#include "ui/site/SitemapDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>
#include <set>

#include "engine/file_io.h"
#include "messages/qt_text.h"
#include "messages/window_texts.h"
#include "site/robots_txt.h"
#include "site/sitemap.h"
#include "ui/common/Widgets.h"

namespace veskaron::ui {
namespace {


}  // namespace

SitemapDialog::SitemapDialog(std::string root, std::vector<site::SiteRow> rows, bool backup, QWidget* parent)
    : QDialog(parent), root_(std::move(root)), rows_(std::move(rows)), backup_(backup) {
    setObjectName(QStringLiteral("TFmSitemap"));
    setWindowTitle(msg::site::kSitemapTitle);
    EditSitemapUrl = Named(new QLineEdit, "EditSitemapUrl", msg::site::kSitemapUrlHint);
    EditSitemapUrl->setPlaceholderText(QStringLiteral("https://example.com"));
    LabelSitemapCount = Named(new QLabel, "LabelSitemapCount");
    LabelSitemapCount->setTextFormat(Qt::PlainText);
    LabelSitemapCount->setWordWrap(true);
    ListSitemapLeftOut = Named(new QListWidget, "ListSitemapLeftOut", msg::site::kSitemapLeftOutHint);
    BtnSitemapWrite = Named(new QPushButton(msg::site::kSitemapWrite), "BtnSitemapWrite");
    BtnSitemapCancel = Named(new QPushButton(msg::site::kSitemapCancel), "BtnSitemapCancel");
    BtnSitemapWrite->setDefault(true);

    auto* url = new QHBoxLayout;
    url->addWidget(Caption(msg::site::kSitemapUrlLabel, QStringLiteral("LabelSitemapUrl"), EditSitemapUrl));
    url->addWidget(EditSitemapUrl, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnSitemapWrite);
    buttons->addWidget(BtnSitemapCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(url);
    layout->addWidget(LabelSitemapCount);
    layout->addWidget(Caption(msg::site::kSitemapLeftOutLabel, QStringLiteral("LabelSitemapLeftOut"), ListSitemapLeftOut));
    layout->addWidget(ListSitemapLeftOut, 1);
    layout->addLayout(buttons);
    resize(640, 420);

    connect(EditSitemapUrl, &QLineEdit::textChanged, this, &SitemapDialog::refresh);
    connect(BtnSitemapWrite, &QPushButton::clicked, this, &SitemapDialog::write);
    connect(BtnSitemapCancel, &QPushButton::clicked, this, &QDialog::reject);
    refresh();
}

QString SitemapDialog::baseUrl() const { return EditSitemapUrl->text().trimmed(); }
void SitemapDialog::setBaseUrl(const QString& url) { EditSitemapUrl->setText(url); }

void SitemapDialog::refresh() {
    ListSitemapLeftOut->clear();
    int listed = 0;
    for (const site::SiteRow& row : rows_) {
        if (!row.read) continue;
        if (row.indexable) {
            ++listed;
            continue;
        }
        auto* item = new QListWidgetItem(FromUtf8(row.relative) + QStringLiteral(" — ") +
                                         msg::site::IndexingText(false, row.indexReason));
        item->setToolTip(FromUtf8(row.indexDetail));
        ListSitemapLeftOut->addItem(item);
    }
    const bool urlOk = baseUrl().startsWith(QStringLiteral("http://")) || baseUrl().startsWith(QStringLiteral("https://"));
    LabelSitemapCount->setText(msg::site::kSitemapCount.arg(listed).arg(ListSitemapLeftOut->count()) +
                               (urlOk ? QString() : QStringLiteral("\n") + msg::site::kSitemapNeedsUrl));
    BtnSitemapWrite->setEnabled(urlOk && listed > 0);
}

void SitemapDialog::write() {
    const std::string base = baseUrl().toStdString();
    std::vector<site::SitemapUrl> urls;
    std::set<std::string> seen;
    for (const site::SiteRow& row : rows_) {
        if (!row.read || !row.indexable) continue;
        const std::string path = site::PagePathUnder(root_, row.path);
        if (path.empty()) continue;
        std::string loc = site::JoinAddress(base, path);
        if (!seen.insert(loc).second) continue;
        urls.push_back({std::move(loc), site::W3cDateTime(row.stamp.modifiedNs)});
    }
    written_.clear();
    error_.clear();
    for (const site::SitemapFile& f : site::BuildSitemaps(urls, base)) {
        const std::string path = (std::filesystem::path(root_) / f.name).string();
        std::string warning;
        const FileStatus status = ReplaceFileBytes(path, f.bytes, backup_, &warning);
        if (!status.ok) {
            error_ = FromUtf8(status.error);
            break;
        }
        written_ << QDir::toNativeSeparators(FromUtf8(path));
    }
    accept();
}

}  // namespace veskaron::ui
