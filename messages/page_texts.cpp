#include "messages/page_texts.h"

#include <cstdio>

namespace veskaron {

std::string SizeText(long long bytes) { return std::to_string(bytes) + " байт"; }

std::string DownloadTimeText(unsigned long long hundredths) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%llu.%02llu", hundredths / 100, hundredths % 100);
    return std::string(buf) + " c\xD0\xB5\xD0\xBA.";
}

std::string_view LoadWarningText(LoadWarning warning) {
    switch (warning) {
        case LoadWarning::DatesNotConverted: return kDateConversionError;
    }
    return {};
}

}  // namespace veskaron
