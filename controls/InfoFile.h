#pragma once
// A label that shows one field of the program's own version information.
#include <QLabel>
#include <QString>

#include <functional>
#include <string>

namespace veskaron {

enum TVerInfoTup {
    caCompanyName,
    caFileDescription,
    caFileVersion,
    caInternalName,
    caLegalCopyright,
    caLegalTradeMarks,
    caOriginalFilename,
    caProductName,
    caProductVersion,
    caComments,
};

// The name of the field a selector stands for, e.g. "FileVersion".
const char* VerInfoFieldName(TVerInfoTup info);

class TLabelInfoFile : public QLabel {
    Q_OBJECT

public:
    // (language such as "0409", field name) -> text, empty when missing.
    using VersionLookup = std::function<std::string(const std::string&, const std::string&)>;

    explicit TLabelInfoFile(QWidget* parent = nullptr);

    TVerInfoTup Info() const { return FInfo; }
    // Stores the selector and shows that field at once.
    void SetInfo(TVerInfoTup info);

    // The following only store their value; the caption changes on the next
    // assignment of Info.
    QString IDLanguage() const { return FIDLanguage; }
    void SetIDLanguage(const QString& language) { FIDLanguage = language; }
    QString User() const { return FUser; }
    void SetUser(const QString& user) { FUser = user; }
    QString Company() const { return FCompany; }
    void SetCompany(const QString& company) { FCompany = company; }

    void Refresh();

    // The lookup every label uses; an empty function restores the program's
    // own version information.
    static void SetVersionLookup(VersionLookup lookup);

    // The name of the user logged on, empty when the system does not say.
    static QString LoggedOnUser();

private:
    TVerInfoTup FInfo = caFileVersion;
    QString FIDLanguage = QStringLiteral("0409");
    QString FUser;
    QString FCompany;
};

}  // namespace veskaron
