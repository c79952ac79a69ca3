#include "ui/site/SiteLinksPanel.h"
#include "messages/qt_text.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "messages/window_texts.h"
#include "ui/common/Widgets.h"

namespace veskaron::ui {
namespace {

// Lines shown of a list; a page linked from every page would fill the panel with thousands.
constexpr int kShownLines = 500;
constexpr int kFileRole = Qt::UserRole + 1;

std::string_view KindOf(const indexing::PageLink& l) {
    if (l.role == indexing::LinkRole::Canonical) return "canonical";
    if (l.role == indexing::LinkRole::Hreflang) return "hreflang";
    return LinkSourceName(l.source);
}

QTreeWidget* List(const char* name, const QStringList& columns) {
    auto* tree = Named(new QTreeWidget, name, msg::site::kLinksHint);
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    tree->setHeaderLabels(columns);
    tree->header()->setStretchLastSection(true);
    return tree;
}

QWidget* Captioned(const QString& caption, QTreeWidget* tree) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(caption);
    label->setBuddy(tree);
    layout->addWidget(label);
    layout->addWidget(tree, 1);
    return box;
}

void AddMore(QTreeWidget* tree, int more) {
    if (more > 0) new QTreeWidgetItem(tree, {msg::site::kLinksMore.arg(more)});
}

}  // namespace

SiteLinksPanel::SiteLinksPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelSiteLinks"));
    TreeSiteLinksOut = List("TreeSiteLinksOut", msg::site::kLinksOutColumns);
    TreeSiteLinksIn = List("TreeSiteLinksIn", msg::site::kLinksInColumns);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Captioned(msg::site::kLinksOut, TreeSiteLinksOut), 3);
    layout->addWidget(Captioned(msg::site::kLinksIn, TreeSiteLinksIn), 2);
    for (QTreeWidget* tree : {TreeSiteLinksOut, TreeSiteLinksIn})
        connect(tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
            const QString file = item->data(0, kFileRole).toString();
            if (!file.isEmpty()) Q_EMIT pageChosen(file);
        });
}

void SiteLinksPanel::setGraph(std::shared_ptr<const indexing::LinkGraph> graph) {
    graph_ = std::move(graph);
    byFile_.clear();
    if (graph_)
        for (std::uint32_t i = 0; i < graph_->pages.size(); ++i) byFile_.emplace(graph_->pages[i].file, i);
    const QString shown = shown_;
    shown_.clear();
    showPage(shown);
}

void SiteLinksPanel::showPage(const QString& path) {
    if (path == shown_) return;
    shown_ = path;
    TreeSiteLinksOut->clear();
    TreeSiteLinksIn->clear();
    const auto it = graph_ ? byFile_.find(path.toStdString()) : byFile_.end();
    if (it == byFile_.end()) return;
    const std::uint32_t page = it->second;
    const indexing::LinkPage& p = graph_->pages[page];
    QList<QTreeWidgetItem*> out;
    for (const indexing::PageLink& l : p.links) {
        if (out.size() == kShownLines) break;
        auto* item = new QTreeWidgetItem({QString::number(l.line), FromUtf8(p.Shown(l)), FromUtf8(KindOf(l)),
                                          msg::site::LinkStatusText(indexing::LinkStatusName(l.status))});
        if (l.target != indexing::kNoPage) item->setData(0, kFileRole, FromUtf8(graph_->pages[l.target].file));
        out.push_back(item);
    }
    TreeSiteLinksOut->addTopLevelItems(out);
    AddMore(TreeSiteLinksOut, static_cast<int>(p.links.size()) - static_cast<int>(out.size()));
    // Every link of the site is looked at once: no index is kept for a list seldom opened.
    QList<QTreeWidgetItem*> in;
    int more = 0;
    for (std::uint32_t i = 0; i < graph_->pages.size(); ++i) {
        if (i == page) continue;
        const indexing::LinkPage& from = graph_->pages[i];
        for (const indexing::PageLink& l : from.links) {
            if (l.target != page) continue;
            if (in.size() == kShownLines) {
                ++more;
                continue;
            }
            auto* item = new QTreeWidgetItem({FromUtf8(from.path), QString::number(l.line), FromUtf8(KindOf(l))});
            item->setData(0, kFileRole, FromUtf8(from.file));
            in.push_back(item);
        }
    }
    TreeSiteLinksIn->addTopLevelItems(in);
    AddMore(TreeSiteLinksIn, more);
}

}  // namespace veskaron::ui
