#include "site/field_members.h"

#include <cstdio>

#include "engine/catalogue.h"
#include "engine/expiry.h"
#include "engine/translations.h"

namespace veskaron::site {
namespace {

using nlohmann::json;

json TransitionJson(const Transition& t) {
    return json{{"On", t.On}, {"Duration", t.Duration}, {"Effect", t.Effect}};
}

using Member = FieldMember;

std::string ParseInteger(std::string_view v, long long& out) {
    const IntResult n = ParseContentInt(v);
    if (!n.ok) return n.error;
    out = n.value;
    return {};
}

std::string ParseBool(std::string_view v, bool& out) {
    if (v == "1" || v == "true" || v == "on") { out = true; return {}; }
    if (v == "0" || v == "false" || v == "off" || v.empty()) { out = false; return {}; }
    return "'" + std::string(v) + "' is not a flag (use 1 or 0)";
}

Member Text(std::string MetaFields::*m) {
    return {nullptr, nullptr, m};
}

Member Index(int MetaFields::*m, int count) {
    return {[m](const MetaFields& f) { return json(f.*m); },
            [m, count](MetaFields& f, std::string_view v) {
                long long n = 0;
                std::string e = ParseInteger(v, n);
                if (e.empty()) f.*m = SelectIndex(n, count);
                return e;
            }};
}

Member Flag(bool MetaFields::*m) {
    return {[m](const MetaFields& f) { return json(f.*m); },
            [m](MetaFields& f, std::string_view v) { return ParseBool(v, f.*m); }};
}

void RebuildExpiryText(MetaFields& f) {
    f.ExpiriesText = FormatExpiryText(f.ExpiriesDate, f.ExpiriesTime).value_or(std::string());
}

}  // namespace

const std::map<std::string, FieldMember, std::less<>>& FieldMembers() {
    static const std::map<std::string, Member, std::less<>> members = [] {
        std::map<std::string, Member, std::less<>> m;
        m["Title"] = Text(&MetaFields::Title);
        m["Author"] = Text(&MetaFields::Author);
        m["Copyright"] = Text(&MetaFields::Copyright);
        m["Description"] = Text(&MetaFields::Description);
        m["Keywords"] = Text(&MetaFields::Keywords);
        m["Robots"] = Index(&MetaFields::Robots, 5);
        m["RevisitCount"] = {[](const MetaFields& f) { return json(f.RevisitCount); },
                             [](MetaFields& f, std::string_view v) {
                                 long long n = 0;
                                 std::string e = ParseInteger(v, n);
                                 if (e.empty()) f.SetRevisitCount(n);
                                 return e;
                             }};
        m["RevisitUnit"] = Index(&MetaFields::RevisitUnit, 4);
        m["Generator"] = Text(&MetaFields::Generator);
        m["ProgId"] = Text(&MetaFields::ProgId);
        m["Distribution"] = Index(&MetaFields::Distribution, 3);
        m["Url"] = Text(&MetaFields::Url);
        m["CacheControl"] = Index(&MetaFields::CacheControl, 5);
        m["Pragma"] = Index(&MetaFields::Pragma, 2);
        m["RefreshOn"] = Flag(&MetaFields::RefreshOn);
        m["RefreshSeconds"] = {[](const MetaFields& f) { return json(f.RefreshSeconds); },
                               [](MetaFields& f, std::string_view v) {
                                   long long n = 0;
                                   std::string e = ParseInteger(v, n);
                                   if (e.empty()) f.SetRefreshSeconds(n);
                                   return e;
                               }};
        m["RefreshUrl"] = Text(&MetaFields::RefreshUrl);
        m["ExpiriesOn"] = Flag(&MetaFields::ExpiriesOn);
        m["ExpiriesDate"] = {[](const MetaFields& f) { return json(FormatDate(f.ExpiriesDate)); },
                             [](MetaFields& f, std::string_view v) -> std::string {
                                 if (!ParseDate(v, f.ExpiriesDate))
                                     return "'" + std::string(v) + "' is not a date (YYYY-MM-DD)";
                                 RebuildExpiryText(f);
                                 return {};
                             }};
        m["ExpiriesTime"] = {[](const MetaFields& f) { return json(FormatTime(f.ExpiriesTime)); },
                             [](MetaFields& f, std::string_view v) -> std::string {
                                 if (!ParseTime(v, f.ExpiriesTime))
                                     return "'" + std::string(v) + "' is not a time (HH:MM:SS)";
                                 RebuildExpiryText(f);
                                 return {};
                             }};
        m["ExpiriesText"] = Text(&MetaFields::ExpiriesText);
        m["ContentTypeOn"] = Flag(&MetaFields::ContentTypeOn);
        m["ContentType"] = Index(&MetaFields::ContentType, 11);
        m["Charset"] = Index(&MetaFields::Charset, static_cast<int>(ItemLists::Charset.size()));
        m["CharsetText"] = Text(&MetaFields::CharsetText);
        m["ContentLanguage"] = Index(&MetaFields::ContentLanguage, 126);
        m["Location"] = Text(&MetaFields::Location);
        const char* names[] = {"PageEnter", "PageExit", "SiteEnter", "SiteExit"};
        for (int i = 0; i < 4; ++i) {
            m[names[i]] = {[i](const MetaFields& f) { return TransitionJson(f.TransitionAt(i)); },
                           [](MetaFields&, std::string_view) -> std::string {
                               return "set a transition's parts: .On, .Duration or .Effect";
                           },
                           nullptr, i};
            m[std::string(names[i]) + ".On"] = {
                nullptr, [i](MetaFields& f, std::string_view v) { return ParseBool(v, f.TransitionAt(i).On); }};
            m[std::string(names[i]) + ".Duration"] = {
                nullptr, [i](MetaFields& f, std::string_view v) {
                    long long n = 0;
                    std::string e = ParseInteger(v, n);
                    if (e.empty()) f.TransitionAt(i).SetDuration(n);
                    return e;
                }};
            m[std::string(names[i]) + ".Effect"] = {
                nullptr, [i](MetaFields& f, std::string_view v) {
                    long long n = 0;
                    std::string e = ParseInteger(v, n);
                    if (e.empty()) f.TransitionAt(i).SetEffect(n);
                    return e;
                }};
        }
        // The page's own words where the lists cannot say them.
        const std::pair<const char*, int> own[] = {
            {"RobotsText", kRobots},          {"RevisitText", kRevisitAfter},
            {"DistributionText", kDistribution}, {"CacheControlText", kCacheControl},
            {"PragmaText", kPragma},          {"RefreshText", kRefresh},
            {"ContentTypeText", kContentType}, {"ContentLanguageText", kContentLanguage},
            {"PageEnterText", kPageEnter},    {"PageExitText", kPageExit},
            {"SiteEnterText", kSiteEnter},    {"SiteExitText", kSiteExit}};
        for (const auto& [name, index] : own) {
            Member member;
            member.own = index;
            m[name] = member;
        }
        return m;
    }();
    return members;
}

namespace {

int Digits(std::string_view s, std::size_t from, std::size_t count, bool& ok) {
    int v = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (i >= s.size() || s[i] < '0' || s[i] > '9') { ok = false; return 0; }
        v = v * 10 + (s[i] - '0');
    }
    return v;
}

}  // namespace

std::string FormatDate(const Date& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

std::string FormatTime(const TimeOfDay& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return buf;
}

bool ParseDate(std::string_view s, Date& d) {
    bool ok = s.size() == 10 && s[4] == '-' && s[7] == '-';
    const Date v{Digits(s, 0, 4, ok), Digits(s, 5, 2, ok), Digits(s, 8, 2, ok)};
    if (!ok || !IsValidDate(v)) return false;
    d = v;
    return true;
}

bool ParseTime(std::string_view s, TimeOfDay& t) {
    bool ok = s.size() == 8 && s[2] == ':' && s[5] == ':';
    const TimeOfDay v{Digits(s, 0, 2, ok), Digits(s, 3, 2, ok), Digits(s, 6, 2, ok)};
    if (!ok || !IsValidTime(v)) return false;
    t = v;
    return true;
}

bool ParseDateTime(std::string_view s, DateTime& dt) {
    if (s.size() != 19 || (s[10] != 'T' && s[10] != ' ')) return false;
    DateTime v;
    if (!ParseDate(s.substr(0, 10), v.date) || !ParseTime(s.substr(11), v.time)) return false;
    dt = v;
    return true;
}

std::string ApplySetting(MetaFields& f, std::string_view assignment, const TextCodec& codec,
                         std::size_t& references) {

    const auto eq = assignment.find('=');
    if (eq == std::string_view::npos)
        return "'" + std::string(assignment) + "' is not Member=VALUE";
    const std::string_view name = assignment.substr(0, eq);
    const auto it = FieldMembers().find(name);
    if (it == FieldMembers().end()) return "unknown member '" + std::string(name) + "'";
    const Member& member = it->second;
    if (!member.text && member.own < 0) return member.set(f, assignment.substr(eq + 1));
    const std::string_view value = assignment.substr(eq + 1);
    for (std::size_t i = 0, len = 1; i < value.size(); i += len)
        if (DecodeUtf8At(value, i, len) == 0xFFFD && len == 1)
            return "the value is not valid UTF-8 (byte " + std::to_string(i) + ")";
    EncodeResult r = codec.FromUtf8(value);
    (member.text ? f.*member.text : f.OwnText[static_cast<std::size_t>(member.own)]) = std::move(r.bytes);
    references += r.references;
    return {};
}

namespace {

constexpr std::string_view kReadOnlyModern[] = {"Hreflang", "JsonLd", "HtmlLang"};

std::string_view MemberName(std::string_view assignment) {
    return assignment.substr(0, assignment.find('='));
}

std::string ValidUtf8Error(std::string_view value) {
    for (std::size_t i = 0, len = 1; i < value.size(); i += len)
        if (DecodeUtf8At(value, i, len) == 0xFFFD && len == 1)
            return "the value is not valid UTF-8 (byte " + std::to_string(i) + ")";
    return {};
}

}  // namespace

bool IsModernSetting(std::string_view assignment) {
    const std::string_view name = MemberName(assignment);
    if (ModernFieldByName(name) >= 0) return true;
    for (std::string_view r : kReadOnlyModern)
        if (r == name) return true;
    return false;
}

std::string ApplyModernSetting(ModernFields& f, std::string_view assignment, const TextCodec& codec,
                               std::size_t& references) {
    const auto eq = assignment.find('=');
    if (eq == std::string_view::npos) return "'" + std::string(assignment) + "' is not Member=VALUE";
    const std::string_view name = assignment.substr(0, eq);
    const int field = ModernFieldByName(name);
    if (field < 0) return "member '" + std::string(name) + "' is read only";
    const std::string_view value = assignment.substr(eq + 1);
    if (std::string error = ValidUtf8Error(value); !error.empty()) return error;
    EncodeResult r = codec.FromUtf8(value);
    f[field] = std::move(r.bytes);
    references += r.references;
    return {};
}

std::string ApplyAnySetting(MetaFields& fields, ModernFields& modern, std::string_view assignment,
                            const TextCodec& codec, std::size_t& references) {
    return IsModernSetting(assignment) ? ApplyModernSetting(modern, assignment, codec, references)
                                       : ApplySetting(fields, assignment, codec, references);
}

std::string SettingError(std::string_view assignment) {
    MetaFields fields;
    ModernFields modern;
    std::size_t references = 0;
    return ApplyAnySetting(fields, modern, assignment, *Utf8Codec(), references);
}

}  // namespace veskaron::site
