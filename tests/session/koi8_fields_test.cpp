// Field texts of a KOI8 page: what the box shows of the page's references,
// and the bytes an edit of it gives back.
#include <gtest/gtest.h>

#include "engine/text_codec.h"
#include "session/document/Koi8Fields.h"

using veskaron::session::Koi8FieldTexts;

namespace {

std::string Held(const char* utf8) { return veskaron::Windows1251Codec()->FromUtf8(utf8).bytes; }

}  // namespace

TEST(Koi8FieldTexts, ReferencesShownAndWrittenBackAsThePageHadThem) {
    const auto koi8 = Koi8FieldTexts::For("koi8-r");
    ASSERT_TRUE(koi8);
    const std::string page = Held("Окна") + " &#8212; &#x2014; &#1046; " + Held("двери") + " &#8212";
    // Only the form a save writes, for a character KOI8 lacks, is shown as it.
    const std::string shown = Held("Окна — &#x2014; &#1046; двери &#8212");
    EXPECT_EQ(koi8->Shown(page), shown);

    struct Case {
        const char* name;
        std::string edited, written;
    } cases[] = {
        {"unchanged", shown, page},
        {"typed at the end", shown + Held("—"), page + "&#8212;"},
        {"typed before the dash", Held("Окна! — &#x2014; &#1046; двери &#8212"),
         Held("Окна!") + " &#8212; &#x2014; &#1046; " + Held("двери") + " &#8212"},
        {"the dash deleted", Held("Окна  &#x2014; &#1046; двери &#8212"),
         Held("Окна") + "  &#x2014; &#1046; " + Held("двери") + " &#8212"},
        {"the dash replaced", Held("Окна - &#x2014; &#1046; двери &#8212"),
         Held("Окна") + " - &#x2014; &#1046; " + Held("двери") + " &#8212"},
    };
    for (const Case& c : cases) {
        std::size_t references = 0;
        EXPECT_EQ(koi8->MergeShown(page, c.edited, &references), c.written) << c.name;
    }
}
