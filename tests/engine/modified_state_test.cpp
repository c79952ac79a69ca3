#include <gtest/gtest.h>

#include <functional>

#include "engine/modified_state.h"

using namespace veskaron;

TEST(ModifiedState, WhatCountsAsAChange) {
    MetaFields base;
    base.Author = "Ann";
    base.Distribution = 1;
    base.ContentLanguage = 5;  // en-us
    base.PageEnter = {true, 3, 12};
    const MetaFields snap = RememberFields(base);
    struct Case { const char* what; std::function<void(MetaFields&, EditMarks&)> edit; bool modified; };
    const Case cases[] = {
        {"nothing", [](MetaFields&, EditMarks&) {}, false},
        {"trailing blank", [](MetaFields& f, EditMarks&) { f.Author += "  "; }, false},
        {"case of a text", [](MetaFields& f, EditMarks&) { f.Author = "ann"; }, true},
        {"another list entry of the same text", [](MetaFields& f, EditMarks&) { f.ContentLanguage = 44; }, true},
        {"blanks around the title", [](MetaFields& f, EditMarks&) { f.Title = "  " + f.Title + " "; }, false},
        {"expiry text alone", [](MetaFields& f, EditMarks&) { f.ExpiriesText = "x"; }, false},
        {"refresh delay", [](MetaFields& f, EditMarks&) { f.RefreshSeconds += 1; }, true},
        {"page's own words", [](MetaFields& f, EditMarks&) { f.OwnText[5] = "noindex"; }, true},
        {"no selection vs empty", [](MetaFields& f, EditMarks&) { f.Distribution = 0; }, true},
        {"robots", [](MetaFields& f, EditMarks&) { f.Robots = 2; }, true},
        {"revisit", [](MetaFields& f, EditMarks&) { f.RevisitCount = 1; }, true},
        {"transition effect", [](MetaFields& f, EditMarks&) { f.PageEnter.Effect = 1; }, true},
        {"charset only", [](MetaFields& f, EditMarks&) { f.Charset = 3; }, true},
        {"content type only", [](MetaFields& f, EditMarks&) { f.ContentType = 2; }, true},
        {"own charset text", [](MetaFields& f, EditMarks&) { f.CharsetText = "iso-8859-1"; }, true},
        {"charset with toggle", [](MetaFields& f, EditMarks& m) { f.Charset = 3; m.contentTypeToggled = true; }, true},
        {"title typed", [](MetaFields&, EditMarks& m) { m.titleEdited = true; }, true},
        {"refresh touched", [](MetaFields&, EditMarks& m) { m.refreshTouched = true; }, true},
        {"expiry touched", [](MetaFields&, EditMarks& m) { m.expiryTouched = true; }, true},
        {"source typed", [](MetaFields&, EditMarks& m) { m.sourceEdited = true; }, true},
    };
    for (const auto& c : cases) {
        MetaFields f = base;
        EditMarks marks;
        c.edit(f, marks);
        EXPECT_EQ(UpdateModifiedState(false, snap, f, marks), c.modified) << c.what;
        EXPECT_TRUE(UpdateModifiedState(true, snap, base, {})) << c.what;
    }
}
