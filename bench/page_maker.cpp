#include "bench/page_maker.h"

#include <array>
#include <cmath>
#include <string_view>
#include <vector>

#include "engine/cp1251.h"
#include "engine/koi8.h"

namespace veskaron::bench {
namespace {

class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ULL + 0x1234567ULL) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::size_t Below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(Next() % n); }
    int Between(int lo, int hi) { return lo + static_cast<int>(Below(static_cast<std::size_t>(hi - lo + 1))); }
    bool Chance(int percent) { return static_cast<int>(Below(100)) < percent; }
    double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
    // Few items often, most items rarely, as words are used in text.
    std::size_t Skewed(std::size_t n) {
        const double u = Unit();
        return std::min(n - 1, static_cast<std::size_t>(static_cast<double>(n) * u * u * u));
    }
    template <class T>
    const T& Pick(const std::vector<T>& v) { return v[Below(v.size())]; }

private:
    std::uint64_t state_;
};

// Word material, UTF-8 in the source and Windows-1251 once loaded.
constexpr std::string_view kRussianStems[] = {
    "сад", "дом", "книг", "стран", "город", "работ", "машин", "компьютер", "программ", "систем",
    "магазин", "товар", "цен", "доставк", "заказ", "каталог", "инструмент", "семен", "растени",
    "цвет", "лес", "рек", "мор", "солнц", "ветр", "погод", "врем", "год", "утр", "вечер",
    "человек", "друз", "семь", "школ", "учител", "студент", "наук", "истори", "культур", "музык",
    "фильм", "театр", "искусств", "природ", "животн", "птиц", "рыб", "вод", "земл", "звезд",
    "планет", "космос", "техник", "энерги", "сет", "интернет", "сайт", "страниц", "текст", "слов",
    "язык", "перевод", "словар", "поиск", "ответ", "вопрос", "решени", "задач", "проект", "план",
    "отчёт", "документ", "файл", "папк", "диск", "памят", "процесс", "скорост", "качеств",
    "размер", "цифр", "числ", "строк", "таблиц", "окн", "двер", "стол", "стул", "кухн", "комнат",
    "квартир", "улиц", "площад", "парк", "мост", "дорог", "поезд", "самолёт", "автомобил",
    "велосипед", "пут", "поездк", "отдых", "гостиниц", "билет", "экскурси", "музе", "выставк",
    "новост", "статьи", "журнал", "газет", "редакци", "автор", "читател", "издани", "обзор",
    "отзыв", "рейтинг", "скидк", "акци", "подарк", "праздник", "зим", "весн", "лет", "осен",
    "январ", "феврал", "март", "апрел", "ма", "июн", "июл", "август", "сентябр", "октябр",
    "ноябр", "декабр", "понедельник", "вторник", "сред", "четверг", "пятниц", "суббот",
    "воскресень", "телефон", "адрес", "почт", "регистраци", "пользовател", "пароль", "настройк",
    "безопасност", "защит", "ошибк", "исправлени", "верси", "обновлени", "загрузк", "установк",
    "производител", "модел", "характеристик", "гаранти", "сервис", "ремонт", "мастер", "клиент",
    "менеджер", "компани", "фирм", "предприяти", "завод", "продукци", "качеств", "материал",
    "дерев", "металл", "стекл", "пластик", "бумаг", "ткан", "одежд", "обув", "сумк", "игрушк"};
constexpr std::string_view kRussianEndings[] = {
    "", "а", "ы", "у", "ом", "е", "ов", "ам", "ами", "ах", "ой", "ый", "ая", "ое", "ие", "ого",
    "ому", "ым", "ых", "и", "ия", "ию", "ией", "ий", "ей", "ю", "я", "ость", "ение", "ский",
    "ская", "ское", "ские", "ного", "ному", "ная", "ные"};
constexpr std::string_view kEnglishWords[] = {
    "garden", "tools", "seeds", "house", "market", "price", "delivery", "order", "catalog",
    "product", "service", "quality", "design", "software", "hardware", "computer", "network",
    "server", "client", "window", "page", "site", "search", "engine", "result", "download",
    "upload", "music", "video", "player", "camera", "phone", "mobile", "screen", "keyboard",
    "mouse", "printer", "scanner", "storage", "memory", "speed", "power", "battery", "charger",
    "cable", "adapter", "travel", "hotel", "ticket", "flight", "train", "city", "country",
    "river", "mountain", "forest", "weather", "summer", "winter", "spring", "autumn", "news",
    "article", "review", "rating", "comment", "forum", "message", "email", "contact", "about",
    "company", "history", "mission", "partner", "career", "support", "help", "question",
    "answer", "account", "profile", "password", "settings", "security", "update", "version",
    "release", "feature", "bugfix", "manual", "guide", "tutorial", "lesson", "course", "school",
    "student", "teacher", "science", "culture", "theatre", "cinema", "gallery", "museum",
    "exhibition", "festival", "concert", "holiday", "gift", "discount", "sale", "shop", "store",
    "brand", "model", "warranty", "repair", "install", "configure", "development", "project",
    "report", "document", "folder", "archive", "backup", "restore", "online", "offline",
    "digital", "analog", "modern", "classic", "natural", "organic", "fresh", "healthy"};
constexpr std::string_view kEnglishSuffixes[] = {"", "", "", "s", "s", "ed", "ing", "er", "ly", "ness", "tion"};
constexpr std::string_view kOddTokens[] = {
    "2024", "2005", "mp3", "mp3-плеер", "Windows-1251", "e-mail", "don't", "&nbsp;", "&amp;",
    "«", "»", "—", "№ 5", "100%", "C++", "Wi-Fi", "USB 3.0", "д.т.н.", "т.е.", "и т.д.",
    "(495)", "10:30", "&quot;", "&laquo;", "&raquo;", "Ёлка", "ЁЖИК", "ул.", "г.", "руб.", "$99"};

constexpr std::string_view kOtherMetaNames[] = {
    "viewport", "yandex-verification", "google-site-verification", "msvalidate.01",
    "format-detection", "theme-color", "msapplication-TileColor", "apple-mobile-web-app-capable",
    "referrer", "rating", "subject", "classification", "language", "resource-type",
    "document-state", "abstract", "topic", "summary", "owner", "reply-to", "designer", "coverage",
    "target", "HandheldFriendly", "MobileOptimized", "date", "search_date", "DC.title",
    "DC.creator", "DC.subject", "DC.description", "DC.publisher", "DC.language", "geo.region",
    "geo.placename", "geo.position", "ICBM", "twitter:card", "twitter:title",
    "twitter:description", "twitter:site", "twitter:image", "home_url", "page-topic", "page-type",
    "audience", "Content-Script-Type"};
constexpr std::string_view kOtherMetaProperties[] = {
    "og:title", "og:description", "og:image", "og:url", "og:type", "og:site_name", "og:locale",
    "article:tag", "article:section", "article:published_time", "article:author", "og:image:width",
    "og:image:height", "article:tag", "article:tag", "article:tag"};
constexpr std::string_view kOtherHttpEquiv[] = {
    "X-UA-Compatible", "imagetoolbar", "Content-Style-Type", "X-DNS-Prefetch-Control",
    "Content-Script-Type", "Window-target", "Reply-to", "Set-Cookie", "Expires"};

struct Vocabulary {
    std::vector<std::string> words;  // Windows-1251, most frequent first
    std::vector<std::string> odd;
    Vocabulary() {
        // Interleave the stems so the frequent end of the list mixes both languages.
        std::vector<std::string> ru, en;
        for (std::string_view e : kRussianEndings)
            for (std::string_view s : kRussianStems) ru.push_back(Utf8ToCp1251(std::string(s) + std::string(e)).text);
        for (std::string_view x : kEnglishSuffixes)
            for (std::string_view w : kEnglishWords) en.push_back(std::string(w) + std::string(x));
        for (std::size_t i = 0, j = 0; i < ru.size() || j < en.size();) {
            if (i < ru.size()) words.push_back(ru[i++]);
            if (i < ru.size()) words.push_back(ru[i++]);
            if (j < en.size()) words.push_back(en[j++]);
        }
        for (std::string_view t : kOddTokens) odd.push_back(Utf8ToCp1251(t).text);
    }
};

const Vocabulary& Words() {
    static const Vocabulary v;
    return v;
}

std::string Capitalised(std::string w) {
    if (!w.empty()) w[0] = static_cast<char>(UpperChar(static_cast<unsigned char>(w[0])));
    return w;
}

// Writes Windows-1251 text with CR LF; the charset and line ends of the file
// are applied at the end.
class Writer {
public:
    explicit Writer(Rng& rng) : rng_(rng) {}

    std::string& out() { return out_; }
    void Line(std::string_view s) {
        out_ += s;
        out_ += "\r\n";
    }

    std::string Word() {
        const Vocabulary& v = Words();
        if (rng_.Chance(3)) return rng_.Pick(v.odd);
        std::string w = v.words[rng_.Skewed(v.words.size())];
        if (rng_.Chance(8)) return Capitalised(std::move(w));
        if (rng_.Chance(1)) return UpperText(w);
        return w;
    }
    std::string Phrase(int lo, int hi) {
        std::string s;
        const int n = rng_.Between(lo, hi);
        for (int i = 0; i < n; ++i) {
            if (i) s += rng_.Chance(10) ? ", " : " ";
            s += Word();
        }
        return s;
    }
    // Sentences with inline markup, wrapped into lines as editors wrap them.
    std::string Paragraph() {
        std::string s;
        const int sentences = rng_.Between(1, 6);
        for (int k = 0; k < sentences; ++k) {
            std::string sentence = Capitalised(Phrase(5, 18));
            switch (rng_.Below(8)) {
                case 0: sentence += " <b>" + Phrase(1, 3) + "</b>"; break;
                case 1: sentence += " <a href=\"/" + Words().words[rng_.Below(300)] + "/page" +
                                    std::to_string(rng_.Below(1000)) + ".html\" title=\"" + Phrase(2, 4) +
                                    "\">" + Phrase(1, 4) + "</a>"; break;
                case 2: sentence += " <i>" + Phrase(1, 3) + "</i>"; break;
                case 3: sentence += " <span class=\"note\">" + Phrase(2, 5) + "</span>"; break;
                default: break;
            }
            s += sentence;
            s += rng_.Chance(80) ? ". " : (rng_.Chance(50) ? "! " : "? ");
        }
        // Wrap at a blank every 70 to 120 characters.
        std::size_t last = 0;
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (s[i] == ' ' && i - last > 70 + rng_.Below(50)) {
                s.replace(i, 1, "\r\n");
                last = i + 2;
            }
        }
        return s;
    }

    void Block() {
        switch (rng_.Below(20)) {
            case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8:
                Line("<p" + std::string(rng_.Chance(30) ? " class=\"text\"" : "") + ">" + Paragraph() + "</p>");
                break;
            case 9:
                Line("<h2>" + Capitalised(Phrase(2, 6)) + "</h2>");
                break;
            case 10: case 11: {
                const char* altKey = rng_.Chance(80) ? "alt" : (rng_.Chance(50) ? "ALT" : "Alt");
                Line("<img src=\"/images/photo" + std::to_string(rng_.Below(100000)) + ".jpg\" " + altKey +
                     "=\"" + Phrase(1, 6) + "\" width=\"" + std::to_string(rng_.Between(50, 640)) +
                     "\" height=\"" + std::to_string(rng_.Between(50, 480)) + "\" border=\"0\">");
                break;
            }
            case 12:
                Line("<!-- " + Phrase(2, 8) + " <b>" + Phrase(1, 2) + "</b> -->");
                break;
            case 13:
                Line("<script type=\"text/javascript\">");
                Line("  var items = [\"" + Phrase(1, 3) + "\", \"" + Phrase(1, 3) + "\"];");
                Line("  for (var i = 0; i < items.length; i++) { if (i > 2 && items[i] != \"\") "
                     "document.write(\"<p>\" + items[i] + \"</p>\"); }");
                Line("</script>");
                break;
            case 14: case 15: {
                std::string t = "<table width=\"100%\" border=\"0\" cellpadding=\"2\">\r\n";
                const int rows = rng_.Between(2, 6);
                for (int r = 0; r < rows; ++r) {
                    t += "<tr>";
                    for (int c = 0; c < 3; ++c) t += "<td>" + Phrase(1, 4) + "</td>";
                    t += "</tr>\r\n";
                }
                Line(t + "</table>");
                break;
            }
            case 16: case 17: {
                std::string l = "<ul>\r\n";
                const int items = rng_.Between(3, 8);
                for (int i = 0; i < items; ++i) l += "  <li><a href=\"#s" + std::to_string(i) + "\">" + Phrase(1, 4) + "</a></li>\r\n";
                Line(l + "</ul>");
                break;
            }
            case 18:
                Line("<div class=\"footer\">&copy; " + Phrase(2, 4) + " &nbsp;|&nbsp; <a href=\"mailto:info@example.com\">"
                     "info@example.com</a></div>");
                break;
            default:
                Line(Phrase(3, 12) + "<br>");
                break;
        }
    }

    // One META tag written the way a random site might write it.
    void Meta(std::string_view attribute, std::string_view key, const std::string& value) {
        const int caseStyle = static_cast<int>(rng_.Below(10));  // 0..6 lower, 7..8 upper, 9 mixed
        auto cased = [&](std::string_view lower) {
            std::string s(lower);
            if (caseStyle >= 7 && caseStyle <= 8) return UpperText(s);
            if (caseStyle == 9) return Capitalised(s);
            return s;
        };
        const bool simple = value.find_first_of(" \"<>'") == std::string::npos && !value.empty();
        const int quoting = simple && rng_.Chance(15) ? 0 : 1;  // 0 none, 1 double quotes
        auto quoted = [&](std::string_view v) {
            std::string q;
            if (quoting) q += '"';
            q += v;
            if (quoting) q += '"';
            return q;
        };
        const std::string keyAttr = cased(attribute) + "=" + quoted(key);
        const std::string contentAttr = cased("content") + "=" + quoted(value);
        const bool multiLine = rng_.Chance(10);
        std::string gap = " ";
        if (multiLine) gap = "\r\n" + std::string(static_cast<std::size_t>(rng_.Between(2, 6)), ' ');
        std::string tag = "<";
        tag += cased("meta");
        tag += ' ';
        if (rng_.Chance(65)) tag += keyAttr + gap + contentAttr;
        else tag += contentAttr + gap + keyAttr;
        if (rng_.Chance(5)) tag += gap + "lang=\"ru\"";
        tag += rng_.Chance(25) ? " />" : ">";
        Line(tag);
    }

    void Head(PageCharset charset, int metaTags) {
        const char* cs = charset == PageCharset::Utf8 ? "utf-8" : charset == PageCharset::Koi8R ? "koi8-r" : "windows-1251";
        Line("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">");
        Line(rng_.Chance(80) ? "<html>" : "<HTML>");
        Line(rng_.Chance(80) ? "<head>" : "<HEAD>");
        // The catalogued entries, each once, scattered among the others.
        struct Pending { std::string_view attribute, key; std::string value; };
        std::vector<Pending> tags;
        tags.push_back({"http-equiv", "Content-Type", std::string("text/html; charset=") + cs});
        tags.push_back({"name", "author", Capitalised(Phrase(2, 3))});
        tags.push_back({"name", "copyright", "&copy; " + Phrase(2, 4) + " 2003-2024"});
        tags.push_back({"name", "description", Capitalised(Phrase(12, 30)) + "."});
        std::string keywords;
        for (int i = 0, n = rng_.Between(10, 40); i < n; ++i) keywords += (i ? ", " : "") + Word();
        tags.push_back({"name", "keywords", keywords});
        tags.push_back({"name", "robots", rng_.Chance(50) ? "index, follow" : "all"});
        tags.push_back({"name", "revisit-after", std::to_string(rng_.Between(1, 30)) + " days"});
        tags.push_back({"name", "generator", "Microsoft FrontPage 4.0"});
        if (rng_.Chance(30)) tags.push_back({"name", "progid", "FrontPage.Editor.Document"});
        tags.push_back({"name", "distribution", rng_.Chance(70) ? "global" : "local"});
        tags.push_back({"name", "url", "http://www.example.ru/" + Words().words[rng_.Below(100)] + "/"});
        if (rng_.Chance(50)) tags.push_back({"http-equiv", "Cache-Control", "no-cache"});
        if (rng_.Chance(50)) tags.push_back({"http-equiv", "Pragma", "no-cache"});
        if (rng_.Chance(20)) tags.push_back({"http-equiv", "Refresh", "300; URL=/index.html"});
        if (rng_.Chance(40)) tags.push_back({"http-equiv", "expiries", "Sat, 19 Dec 2026 30:14:05 GMT"});
        tags.push_back({"http-equiv", "Content-Language", "ru"});
        if (rng_.Chance(30)) tags.push_back({"http-equiv", "Page-Enter", "RevealTrans(Duration=2.0,Transition=12)"});
        if (rng_.Chance(20)) tags.push_back({"http-equiv", "Site-Exit", "revealTrans(Duration=1.0,Transition=23)"});
        while (static_cast<int>(tags.size()) < metaTags) {
            switch (rng_.Below(4)) {
                case 0: case 1: tags.push_back({"name", kOtherMetaNames[rng_.Below(std::size(kOtherMetaNames))], Phrase(1, 8)}); break;
                case 2: tags.push_back({"property", kOtherMetaProperties[rng_.Below(std::size(kOtherMetaProperties))], Phrase(1, 6)}); break;
                default: tags.push_back({"http-equiv", kOtherHttpEquiv[rng_.Below(std::size(kOtherHttpEquiv))], Phrase(1, 3)}); break;
            }
        }
        // The content type stays among the first few, the rest is shuffled.
        for (std::size_t i = tags.size() - 1; i > 1; --i) std::swap(tags[i], tags[1 + rng_.Below(i)]);
        std::swap(tags[0], tags[rng_.Below(3)]);
        bool titleDone = false;
        for (std::size_t i = 0; i < tags.size(); ++i) {
            if (!titleDone && rng_.Chance(20)) {
                Line((rng_.Chance(80) ? "<title>" : "<TITLE>") + Capitalised(Phrase(3, 9)) + "</title>");
                titleDone = true;
            }
            Meta(tags[i].attribute, tags[i].key, tags[i].value);
        }
        if (!titleDone) Line("<title>" + Capitalised(Phrase(3, 9)) + "</title>");
        Line("<link rel=\"stylesheet\" href=\"/css/main.css\" type=\"text/css\">");
        Line("<style type=\"text/css\">\r\n  body { font: 12px Arial, sans-serif; }\r\n  p > a { color: #036; }\r\n</style>");
        Line("<script language=\"JavaScript\" src=\"/js/menu.js\"></script>");
        Line(rng_.Chance(80) ? "</head>" : "</HEAD>");
    }

private:
    Rng& rng_;
    std::string out_;
};

}  // namespace

std::string MakePage(const PageRecipe& recipe) {
    Rng rng(recipe.seed);
    Writer w(rng);
    w.out().reserve(recipe.bytes + 4096);
    w.Head(recipe.charset, recipe.metaTags);
    w.Line("<body bgcolor=\"#FFFFFF\" text=\"#000000\">");
    // The other charsets take the same text; UTF-8 grows by its Cyrillic letters.
    while (w.out().size() < recipe.bytes) w.Block();
    w.Line("</body>");
    w.Line("</html>");

    std::string page = std::move(w.out());
    if (recipe.charset == PageCharset::Utf8) page = Cp1251ToUtf8(page);
    else if (recipe.charset == PageCharset::Koi8R) TranslateInPlace(page, Koi8RSave());
    if (!recipe.crlf) {
        std::string lf;
        lf.reserve(page.size());
        for (char c : page)
            if (c != '\r') lf += c;
        page = std::move(lf);
    }
    return page;
}

PageRecipe SmallPageRecipe(std::uint64_t n) {
    Rng rng(n + 1000003);
    PageRecipe recipe;
    recipe.seed = n + 7;
    recipe.bytes = 2048 + rng.Below(4096);
    recipe.metaTags = rng.Between(20, 40);
    const std::size_t kind = rng.Below(20);
    recipe.charset = kind < 14 ? PageCharset::Windows1251 : kind < 19 ? PageCharset::Utf8 : PageCharset::Koi8R;
    recipe.crlf = !rng.Chance(25);
    return recipe;
}

}  // namespace veskaron::bench
