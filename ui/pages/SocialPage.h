#pragma once
// The "Поиск и соцсети" page: how the page shows in search results, and the
// head tags beside the catalogue (canonical address, viewport, Open Graph,
// Twitter card) with the read-only alternates and structured data.
#include <QWidget>
#include <array>
#include <cstddef>
#include <functional>

#include "engine/modern_head.h"
#include "engine/text_codec.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace veskaron::ui {

class SerpPreview;

class SocialPage final : public QWidget {
    Q_OBJECT

public:
    explicit SocialPage(QWidget* parent = nullptr);

    SerpPreview* Serp() const { return serp_; }

    // Shows the values and lists without reporting them as edits.
    void Show(const ModernFields& fields, const ModernHead& head, const TextCodec& codec);
    // `shown` with the values the user edited since they were shown: a value
    // only shown is never read back (a box may not hold its line breaks).
    ModernFields Read(const ModernFields& shown, const TextCodec& codec, std::size_t* references) const;
    // The page's title and description for "Из заголовка" and the link card.
    void SetPageTexts(std::function<std::pair<QString, QString>()> texts);
    QString Canonical() const;
    // The page's title or description changed: the link card may show them.
    void UpdateCard();

Q_SIGNALS:
    void Edited();

private:
    void changed(int field);
    void fillFromTitle(int titleField, int descriptionField);
    void UpdateCounters();

    SerpPreview* serp_;
    // The control of each field: a line, a multi-line box or an editable list.
    std::array<QWidget*, kModernFieldCount> controls_{};
    std::array<QLabel*, kModernFieldCount> counters_{};
    std::array<bool, kModernFieldCount> edited_{};
    QLabel* htmlLangLabel_;
    QListWidget* headDataList_;
    QPushButton* ogFromTitleButton_;
    QPushButton* twitterFromTitleButton_;
    QLabel* cardImageLabel_;
    QLabel* cardSiteLabel_;
    QLabel* cardTitleLabel_;
    QLabel* cardDescriptionLabel_;
    std::function<std::pair<QString, QString>()> pageTexts_;
    bool showing_ = false;
};

}  // namespace veskaron::ui
