#pragma once
// The "Поиск и соцсети" page: how the page shows in search results.
#include <QWidget>

namespace veskaron::ui {

class SerpPreview;

class SocialPage final : public QWidget {
    Q_OBJECT

public:
    explicit SocialPage(QWidget* parent = nullptr);

    SerpPreview* Serp() const { return GroupSerp; }

private:
    SerpPreview* GroupSerp;
};

}  // namespace veskaron::ui
