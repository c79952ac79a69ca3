#include "ui/pages/SerpPreview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QStringList>
#include <QVBoxLayout>
#include <utility>

#include "messages/window_texts.h"
#include "ui/common/Widgets.h"

namespace veskaron::ui {
namespace {

QLabel* ResultLine(const char* name, const QColor& color) {
    auto* label = Named(new QLabel, name);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

// The measure's font (Arial's metrics); the widget falls back to a like face.
QFont ResultFont(int pixels) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("Sans Serif")});
    font.setPixelSize(pixels);
    return font;
}

}  // namespace

SerpPreview::SerpPreview(QWidget* parent) : QGroupBox(msg::kSerpGroup, parent) {
    setObjectName(QStringLiteral("GroupSerp"));
    desktopButton_ = Named(new QRadioButton(msg::kSerpDesktop), "RadioSerpDesktop", msg::kSerpDesktopHint);
    mobileButton_ = Named(new QRadioButton(msg::kSerpMobile), "RadioSerpMobile", msg::kSerpMobileHint);
    desktopButton_->setChecked(true);
    addressLabel_ = ResultLine("LabelSerpAddress", QColor(0x20, 0x6a, 0x2c));
    titleLabel_ = ResultLine("LabelSerpTitle", QColor(0x1a, 0x0d, 0xab));
    descriptionLabel_ = ResultLine("LabelSerpDescription", QColor(0x54, 0x5a, 0x60));
    descriptionLabel_->setWordWrap(true);
    addressLabel_->setFont(ResultFont(13));
    descriptionLabel_->setFont(ResultFont(14));

    auto* switches = new QHBoxLayout;
    switches->addWidget(desktopButton_);
    switches->addWidget(mobileButton_);
    switches->addStretch();
    auto* result = new QVBoxLayout;
    result->setSpacing(2);
    result->addWidget(addressLabel_);
    result->addWidget(titleLabel_);
    result->addWidget(descriptionLabel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(switches);
    layout->addLayout(result);
    ApplyProfileLook();

    connect(mobileButton_, &QRadioButton::toggled, this, [this] {
        ApplyProfileLook();
        Refresh();
    });
}

bool SerpPreview::Mobile() const { return mobileButton_->isChecked(); }

const SerpProfile& SerpPreview::Profile() const { return Mobile() ? kMobileSerp : kDesktopSerp; }

void SerpPreview::SetTexts(std::string title, std::string description) {
    title_ = std::move(title);
    description_ = std::move(description);
    if (isVisible()) Refresh();
    else stale_ = true;
}

void SerpPreview::SetAddress(const QString& address) { addressLabel_->setText(address); }

void SerpPreview::showEvent(QShowEvent* event) {
    QGroupBox::showEvent(event);
    if (stale_) Refresh();
}

void SerpPreview::ApplyProfileLook() {
    const SerpProfile& p = Profile();
    titleLabel_->setFont(ResultFont(static_cast<int>(p.titleSizePx)));
    descriptionLabel_->setMaximumWidth(static_cast<int>(p.descriptionPx));
}

void SerpPreview::Refresh() {
    stale_ = false;
    const SerpSnippet snippet = MakeSnippet(title_, description_, Profile());
    // The title breaks where the measure breaks it (the mobile result's two
    // lines), not where the label's own font would.
    QStringList lines;
    for (const std::string& line : snippet.title.lines) lines << QString::fromStdString(line);
    titleLabel_->setText(lines.join(u'\n'));
    descriptionLabel_->setText(QString::fromStdString(snippet.description.shown));
    descriptionLabel_->setVisible(!snippet.description.shown.empty());
}

}  // namespace veskaron::ui
