// links and the link findings of audit, run on a small folder.
#include <gtest/gtest.h>

#include <filesystem>

#include <nlohmann/json.hpp>

#include "tests/cli/cli_fixture.h"

namespace {

class LinkSiteCli : public CliTest {
protected:
    explicit LinkSiteCli(std::string command) : CliTest({std::move(command)}) {}
    void SetUp() override {
        CliTest::SetUp();
        std::filesystem::create_directories(dir_ / "site" / "dir");
        Put("site/index.html", "<html><head><title>t</title></head><body>\n<a href=\"dir/\">d</a>\n"
                               "<a href=\"gone.html\">g</a> <a href=\"https://example.com/dir/#top\">a</a>\n"
                               "<a href=\"https://other.org/\">o</a></body></html>");
        Put("site/dir/index.html", "<html><head><title>d</title></head><body><a href=\"../index.html#nope\">"
                                   "</a></body></html>");
        Put("site/lone.html", "<html><head><title>l</title></head><body></body></html>");
        site_ = (dir_ / "site").string();
    }
    std::string site_;
};

class LinksCli : public LinkSiteCli {
protected:
    LinksCli() : LinkSiteCli("links") {}
};

class LinkAuditCli : public LinkSiteCli {
protected:
    LinkAuditCli() : LinkSiteCli("audit") {}
};

TEST_F(LinksCli, ListsEveryLinkWithItsStatus) {
    // The last of a repeated option holds.
    ASSERT_EQ(Run({"-r", site_, "--base-url", "https://wrong.org", "--base-url", "https://example.com"}), 0)
        << err_.str();
    std::vector<std::string> lines;
    std::istringstream in(out_.str());
    for (std::string line; std::getline(in, line);) {
        const auto j = nlohmann::json::parse(line);
        lines.push_back(std::filesystem::relative(j["Source"].get<std::string>(), site_).string() + ":" +
                        std::to_string(j["Line"].get<int>()) + " " + j["Target"].get<std::string>() + " " +
                        j["Kind"].get<std::string>() + " " + j["Status"].get<std::string>());
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"dir/index.html:1 /index.html#nope a anchor-missing",
                                               "index.html:2 /dir/ a ok", "index.html:3 /gone.html a broken",
                                               "index.html:3 /dir/#top a ok", "index.html:4 https://other.org/ a external"}));
    EXPECT_NE(err_.str().find("links: 5, broken: 1"), std::string::npos) << err_.str();

    ASSERT_EQ(Run({"-r", site_, "--format", "csv", "--inbound", site_ + "/dir/index.html"}), 0);
    EXPECT_EQ(out_.str(), "Source,Line,Target,Kind,Status\r\n" + site_ + "/index.html,2,/dir/,a,ok\r\n");
}

TEST_F(LinkAuditCli, ReportsTheLinkFindingsFromTheStartPage) {
    Run({"-r", site_, "--format", "csv", "--base-url", "https://example.com"});
    EXPECT_NE(out_.str().find("index.html,error,link-broken"), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("lone.html,warning,orphan"), std::string::npos);
    Run({"-r", site_, "--format", "csv", "--home", site_ + "/lone.html"});
    EXPECT_NE(out_.str().find("index.html,info,depth"), std::string::npos);
    // A start page that is not in the folder is an error of the arguments, named.
    EXPECT_EQ(Run({"-r", site_, "--home", "nowhere.html"}), 1);
    EXPECT_NE(err_.str().find("nowhere.html"), std::string::npos);
}

}  // namespace
