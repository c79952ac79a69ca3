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
    RadioSerpDesktop = Named(new QRadioButton(msg::kSerpDesktop), "RadioSerpDesktop", msg::kSerpDesktopHint);
    RadioSerpMobile = Named(new QRadioButton(msg::kSerpMobile), "RadioSerpMobile", msg::kSerpMobileHint);
    RadioSerpDesktop->setChecked(true);
    LabelSerpAddress = ResultLine("LabelSerpAddress", QColor(0x20, 0x6a, 0x2c));
    LabelSerpTitle = ResultLine("LabelSerpTitle", QColor(0x1a, 0x0d, 0xab));
    LabelSerpDescription = ResultLine("LabelSerpDescription", QColor(0x54, 0x5a, 0x60));
    LabelSerpDescription->setWordWrap(true);
    LabelSerpAddress->setFont(ResultFont(13));
    LabelSerpDescription->setFont(ResultFont(14));

    auto* switches = new QHBoxLayout;
    switches->addWidget(RadioSerpDesktop);
    switches->addWidget(RadioSerpMobile);
    switches->addStretch();
    auto* result = new QVBoxLayout;
    result->setSpacing(2);
    result->addWidget(LabelSerpAddress);
    result->addWidget(LabelSerpTitle);
    result->addWidget(LabelSerpDescription);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(switches);
    layout->addLayout(result);
    ApplyProfileLook();

    connect(RadioSerpMobile, &QRadioButton::toggled, this, [this] {
        ApplyProfileLook();
        Refresh();
    });
}

bool SerpPreview::Mobile() const { return RadioSerpMobile->isChecked(); }

const SerpProfile& SerpPreview::Profile() const { return Mobile() ? kMobileSerp : kDesktopSerp; }

void SerpPreview::SetTexts(std::string title, std::string description) {
    title_ = std::move(title);
    description_ = std::move(description);
    if (isVisible()) Refresh();
    else stale_ = true;
}

void SerpPreview::SetAddress(const QString& address) { LabelSerpAddress->setText(address); }

void SerpPreview::showEvent(QShowEvent* event) {
    QGroupBox::showEvent(event);
    if (stale_) Refresh();
}

void SerpPreview::ApplyProfileLook() {
    const SerpProfile& p = Profile();
    LabelSerpTitle->setFont(ResultFont(static_cast<int>(p.titleSizePx)));
    LabelSerpDescription->setMaximumWidth(static_cast<int>(p.descriptionPx));
}

void SerpPreview::Refresh() {
    stale_ = false;
    const SerpSnippet snippet = MakeSnippet(title_, description_, Profile());
    // The title breaks where the measure breaks it (the mobile result's two
    // lines), not where the label's own font would.
    QStringList lines;
    for (const std::string& line : snippet.title.lines) lines << QString::fromStdString(line);
    LabelSerpTitle->setText(lines.join(u'\n'));
    LabelSerpDescription->setText(QString::fromStdString(snippet.description.shown));
    LabelSerpDescription->setVisible(!snippet.description.shown.empty());
}

}  // namespace veskaron::ui
