#include "ui/common/AboutBox.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/ClicLabel.h"
#include "controls/InfoFile.h"
#include "messages/window_texts.h"

namespace veskaron::ui {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(msg::about::kTitle);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    auto* product = new QLabel(QStringLiteral("Ridorivo VERO - vavev"));
    product->setObjectName(QStringLiteral("ProductName"));
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    product->setFont(big);
    auto* comment = new QLabel(msg::about::kComment);
    comment->setObjectName(QStringLiteral("Comments"));

    auto* versionCaption = new QLabel(msg::about::kVersion);
    versionCaption->setObjectName(QStringLiteral("Version"));
    auto* version = new TLabelInfoFile;
    version->setObjectName(QStringLiteral("LabelInfoFile1"));
    version->SetInfo(caFileVersion);

    auto* site = new TClickLabel;
    site->setObjectName(QStringLiteral("ClickLabel1"));
    site->setText(TClickLabel::kDefaultLink);
    site->SetLink(TClickLabel::kDefaultLink);
    site->setToolTip(msg::about::kSiteTip);
    auto* mail = new TClickLabel;
    mail->setObjectName(QStringLiteral("ClickLabel2"));
    mail->setText(QStringLiteral("varnok@varnok-soft.ru"));
    mail->SetLink(QStringLiteral("mailto:varnok@varnok-soft.ru"));
    mail->setToolTip(msg::about::kMailTip);

    auto* grid = new QGridLayout;
    grid->addWidget(versionCaption, 0, 0);
    grid->addWidget(version, 0, 1);
    grid->addWidget(new QLabel(msg::about::kSite), 1, 0);
    grid->addWidget(site, 1, 1);
    grid->addWidget(new QLabel(msg::about::kMail), 2, 0);
    grid->addWidget(mail, 2, 1);
    grid->setColumnStretch(1, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(product);
    layout->addWidget(comment);
    layout->addSpacing(8);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
}

}  // namespace veskaron::ui
