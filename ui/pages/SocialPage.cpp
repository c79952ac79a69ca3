#include "ui/pages/SocialPage.h"

#include <QVBoxLayout>

#include "ui/pages/SerpPreview.h"

namespace veskaron::ui {

SocialPage::SocialPage(QWidget* parent) : QWidget(parent) {
    GroupSerp = new SerpPreview;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(GroupSerp);
    layout->addStretch();
}

}  // namespace veskaron::ui
