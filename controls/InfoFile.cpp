#include "controls/InfoFile.h"

#include "platform/version_info.h"

#include <pwd.h>
#include <unistd.h>

#include <QtGlobal>
#include <vector>

namespace veskaron {

namespace {

TLabelInfoFile::VersionLookup& Lookup() {
    static TLabelInfoFile::VersionLookup lookup;
    return lookup;
}

}  // namespace

const char* VerInfoFieldName(TVerInfoTup info) {
    switch (info) {
        case caCompanyName: return "CompanyName";
        case caFileDescription: return "FileDescription";
        case caFileVersion: return "FileVersion";
        case caInternalName: return "InternalName";
        case caLegalCopyright: return "LegalCopyright";
        case caLegalTradeMarks: return "LegalTradeMarks";
        case caOriginalFilename: return "OriginalFilename";
        case caProductName: return "ProductName";
        case caProductVersion: return "ProductVersion";
        case caComments: return "Comments";
    }
    return "";
}

TLabelInfoFile::TLabelInfoFile(QWidget* parent) : QLabel(parent), FUser(LoggedOnUser()) {
    // No organisation is registered for a user here; the owner may set one.
    Refresh();
}

void TLabelInfoFile::SetInfo(TVerInfoTup info) {
    FInfo = info;
    Refresh();
}

void TLabelInfoFile::Refresh() {
    const std::string language = FIDLanguage.toStdString();
    const std::string field = VerInfoFieldName(FInfo);
    const std::string text =
        Lookup() ? Lookup()(language, field) : QueryVersionValue(language, field);
    setText(QString::fromStdString(text));
}

void TLabelInfoFile::SetVersionLookup(VersionLookup lookup) { Lookup() = std::move(lookup); }

QString TLabelInfoFile::LoggedOnUser() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_name)
        return QString::fromLocal8Bit(found->pw_name);
    return qEnvironmentVariable("USER");
}

}  // namespace veskaron
