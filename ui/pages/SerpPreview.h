#pragma once
// The page as a search result shows it: the address line, the title and the
// description, cut to the widths of a desktop or a mobile result by the same
// measure the command line uses. The texts are labels, so screen readers and
// tests read what is shown.
#include <QGroupBox>
#include <string>

#include "engine/serp.h"

class QLabel;
class QRadioButton;

namespace veskaron::ui {

class SerpPreview final : public QGroupBox {
    Q_OBJECT

public:
    explicit SerpPreview(QWidget* parent = nullptr);

    // UTF-8 texts as the page carries them (through its codec).
    void SetTexts(std::string title, std::string description);
    void SetAddress(const QString& address);
    bool Mobile() const;
    const SerpProfile& Profile() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Refresh();
    void ApplyProfileLook();

    QRadioButton* desktopButton_;
    QRadioButton* mobileButton_;
    QLabel* addressLabel_;
    QLabel* titleLabel_;
    QLabel* descriptionLabel_;
    std::string title_, description_;
    // The texts are measured only while the preview is seen: typing on
    // another tab never waits on it.
    bool stale_ = true;
};

}  // namespace veskaron::ui
