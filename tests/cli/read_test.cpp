#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "tests/cli/cli_fixture.h"

namespace fs = std::filesystem;

namespace {

class ReadCommand : public CliTest {
protected:
    ReadCommand() : CliTest({"read", "--now", "2026-12-07T10:22:31"}) {}

    std::vector<nlohmann::json> Lines() const {
        std::vector<nlohmann::json> lines;
        std::istringstream in(out_.str());
        for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
        return lines;
    }

};

}  // namespace

TEST_F(ReadCommand, PrintsOneObjectPerPage) {
    const std::string a = Put("a.htm",
        "<html><head>\n<title>\xCF\xF0\xE8\xE2\xE5\xF2</title>\n"
        "<meta name=\"author\" content=\"\xC0\xED\xED\xE0\">\n"
        "<meta http-equiv=\"page-enter\" content=\"RevealTrans(Duration=2.0,Transition=12)\">\n"
        "</head></html>\n");
    const std::string b = Put("b.htm",
        "<head>\r\n<meta http-equiv=\"content-type\" content=\"text/html; charset=koi8-r\">\r\n"
        "<title>\xF0\xD2\xC9\xD7\xC5\xD4</title>\r\n</head>\r\n");
    ASSERT_EQ(Run({a, b}), 0) << err_.str();
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]["Path"], a);
    EXPECT_EQ(lines[0]["Title"], "Привет");
    EXPECT_EQ(lines[0]["Author"], "Анна");
    EXPECT_EQ(lines[0]["PageEnter"], (nlohmann::json{{"On", true}, {"Duration", 2}, {"Effect", 12}}));
    EXPECT_EQ(lines[0]["Passes"], 1);
    EXPECT_TRUE(lines[0]["Converted"].is_null());
    EXPECT_EQ(lines[0]["ExpiriesText"], "Mon, 07 Dec 2026 22:10:31 GMT");
    EXPECT_EQ(lines[0]["ExpiriesDate"], "2026-12-07");
    EXPECT_EQ(lines[0]["ExpiriesTime"], "10:22:31");
    EXPECT_FALSE(lines[0].contains("Error"));
    EXPECT_EQ(lines[1]["Title"], "Привет");
    EXPECT_EQ(lines[1]["Converted"], "koi8-r");
    EXPECT_EQ(lines[1]["Passes"], 2);
    EXPECT_EQ(lines[1]["Charset"], 3);
    // Page b has no page-enter tag: reset to the absent values.
    EXPECT_EQ(lines[1]["PageEnter"], (nlohmann::json{{"On", false}, {"Duration", 4}, {"Effect", 23}}));
}

TEST_F(ReadCommand, FreshWindowValuesForTheFirstPage) {
    const std::string a = Put("a.htm", "<head>\n<meta name=\"robots\" content=\"unknown\">\n</head>\n");
    ASSERT_EQ(Run({a}), 0);
    const auto j = Lines().at(0);
    // Words the list cannot say: no list entry, the page's own words instead.
    EXPECT_EQ(j["Robots"], 0);
    EXPECT_EQ(j["RobotsText"], "unknown");
    EXPECT_EQ(j["CacheControlText"], "");
    EXPECT_EQ(j["RevisitCount"], 30);
    EXPECT_EQ(j["Charset"], -1);
    EXPECT_EQ(j["RefreshSeconds"], 5);
    EXPECT_EQ(j["Size"], 57);
    EXPECT_EQ(j["DownloadTime"], "0.01 cек.");
}

TEST_F(ReadCommand, MissingFileAndConversionError) {
    const std::string bad = Put("bad.htm", "<head>\n<meta name=\"revisit-after\" content=\"x day\">\n</head>\n");
    const std::string good = Put("good.htm", "<title>ok</title>");
    EXPECT_EQ(Run({bad}), 1);
    EXPECT_EQ(Lines().at(0)["Error"], "'x' is not a valid integer value");
    EXPECT_EQ(err_.str(), bad + ": 'x' is not a valid integer value\n");
    EXPECT_EQ(Run({(dir_ / "missing.htm").string(), good}), 2);
    EXPECT_NE(err_.str().find("missing.htm"), std::string::npos);
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_EQ(Lines()[0]["Title"], "ok");
}

TEST_F(ReadCommand, BadNowOrModemIsRefused) {
    const std::string a = Put("a.htm", "");
    std::vector<const char*> argv = {"veskaron-meta", "read", "--now", "yesterday", a.c_str()};
    EXPECT_NE(veskaron::cli::Main(5, argv.data(), {out_, err_}), 0);
    EXPECT_EQ(Run({"--modem", "fast", a}), 1);
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(err_.str(), "read: --modem 'fast' is not a whole number of bits per second\n");
}

TEST_F(ReadCommand, ModemSpeedFromTheStoreUnlessGiven) {
    const std::string a = Put("a.htm", std::string(2398, 'x'));  // 2400 bytes as counted
    fs::create_directories(dir_ / "config");
    std::ofstream(dir_ / "config" / "Veskaron.reg", std::ios::binary)
        << "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SoftWare\\Varnok-Soft\\Veskaron]\r\n"
           "\"Modem\"=dword:00000002\r\n";  // 2400 bit/s
    ASSERT_EQ(Run({a}), 0);
    EXPECT_EQ(Lines().at(0)["DownloadTime"], "8.00 cек.");
    ASSERT_EQ(Run({"--modem", "4800", a}), 0);
    EXPECT_EQ(Lines().at(0)["DownloadTime"], "4.00 cек.");
}

TEST_F(ReadCommand, EncodingAndRealCharacters) {
    const std::string u = Put("u.htm", "<head><meta charset=\"utf-8\"><title>Ёлка</title></head>");
    const std::string l = Put("l.htm", "<head><meta http-equiv=\"content-type\" content=\"text/html; "
                                       "charset=iso-8859-1\"><title>\xC9lan</title></head>");
    ASSERT_EQ(Run({u, l}), 0) << err_.str();
    const auto lines = Lines();
    EXPECT_EQ(lines.at(0)["Title"], "Ёлка");
    EXPECT_EQ(lines.at(0)["Encoding"], "utf-8");
    EXPECT_EQ(lines.at(0)["EncodingSource"], "meta-charset");
    EXPECT_EQ(lines.at(1)["Title"], "Élan");
    EXPECT_EQ(lines.at(1)["Encoding"], "iso-8859-1");
    EXPECT_EQ(lines.at(1)["CharsetText"], "iso-8859-1");
}
