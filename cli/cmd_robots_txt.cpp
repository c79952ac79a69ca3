#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "engine/file_io.h"
#include "site/robots_txt.h"

namespace veskaron::cli {
namespace {

struct RobotsTxtArgs {
    std::string file;
    std::string agent;
    std::vector<std::string> urls;
};

// The path and query of an address ("https://x.ru/a?b#c" -> "/a?b").
std::string PathOf(std::string_view url) {
    url = url.substr(0, url.find('#'));
    std::size_t from = 0;
    if (const auto scheme = url.find("://"); scheme != std::string_view::npos) from = scheme + 3;
    else if (url.starts_with("//")) from = 2;
    else return url.empty() || url.front() != '/' ? "/" + std::string(url) : std::string(url);
    const auto path = url.find_first_of("/?", from);
    if (path == std::string_view::npos) return "/";
    return (url[path] == '?' ? "/" : "") + std::string(url.substr(path));
}

int RunRobotsTxt(const RobotsTxtArgs& args, Streams io) {
    const FileRead file = ReadWholeFile(args.file);
    if (!file.ok) {
        io.err << file.error << "\n";
        return kExitFileError;
    }
    const site::RobotsTxt robots = site::RobotsTxt::Parse(file.bytes);
    for (const site::RobotsTxtProblem& p : robots.Problems())
        io.err << args.file << ":" << p.line << ": " << p.message << "\n";
    for (const std::string& url : args.urls) {
        const site::RobotsTxtVerdict v = robots.Decide(std::vector<std::string>{args.agent}, PathOf(url));
        io.out << (v.allowed ? "allow" : "deny") << "\t" << url;
        if (v.line > 0) io.out << "\t" << args.file << ":" << v.line << ": " << v.rule;
        else io.out << "\t" << (v.group.empty() ? "no group for the agent" : "no rule of the group matches");
        io.out << "\n";
    }
    io.out.flush();
    return kExitOk;
}

}  // namespace

void AddRobotsTxtCommand(CLI::App& app, Streams io, int& status) {
    auto* cmd = app.add_subcommand("robots-txt", "Tell whether a robots.txt allows a robot to crawl addresses");
    auto args = std::make_shared<RobotsTxtArgs>();
    cmd->add_option("FILE", args->file, "The robots.txt file")->required();
    cmd->add_option("--agent", args->agent, "The robot's name as robots.txt calls it (Googlebot, Yandex, ...)")
        ->required();
    cmd->add_option("URL", args->urls, "Addresses or paths (https://example.com/a.html, /a.html)")->required();
    cmd->footer("Prints a line per address: allow or deny, the address and the deciding line of the file.\n"
                "Exit status: 0 success; 1 bad arguments; 2 the file could not be read.");
    cmd->callback([args, io, &status] { status = RunRobotsTxt(*args, io); });
}

}  // namespace veskaron::cli
