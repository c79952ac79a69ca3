#pragma once
// Under the site table: the selected page's links with their state, and the
// pages that link to it; a double click opens the page a line names.
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "indexing/link_graph.h"

class QTreeWidget;

namespace veskaron::ui {

class SiteLinksPanel final : public QWidget {
    Q_OBJECT

public:
    explicit SiteLinksPanel(QWidget* parent = nullptr);
    // The links as last read; null until they are.
    void setGraph(std::shared_ptr<const indexing::LinkGraph> graph);
    // The page by its file path; an unknown one empties the lists.
    void showPage(const QString& path);

Q_SIGNALS:
    void pageChosen(const QString& path);

private:
    std::shared_ptr<const indexing::LinkGraph> graph_;
    std::unordered_map<std::string, std::uint32_t> byFile_;
    QString shown_;
    QTreeWidget* TreeSiteLinksOut = nullptr;
    QTreeWidget* TreeSiteLinksIn = nullptr;
};

}  // namespace veskaron::ui
