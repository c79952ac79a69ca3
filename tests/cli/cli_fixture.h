#pragma once
// Runs veskaron-meta in-process on pages made in a temporary folder, with the
// settings and program folders pointed there too.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"

class CliTest : public ::testing::Test {
protected:
    // `prefix` goes before the arguments of every Run: the command and its fixed options.
    explicit CliTest(std::vector<std::string> prefix) : prefix_(std::move(prefix)) {}

    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("veskaron_" + prefix_.front() + "_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ / "config");
        std::filesystem::create_directories(dir_ / "data");
        ::setenv("VESKARON_CONFIG_DIR", (dir_ / "config").c_str(), 1);
        ::setenv("VESKARON_DATA_DIR", (dir_ / "data").c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Put(const std::string& name, const std::string& bytes) {
        const std::filesystem::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }
    static std::string Get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    int Run(std::vector<std::string> args) {
        args.insert(args.begin(), prefix_.begin(), prefix_.end());
        args.insert(args.begin(), "veskaron-meta");
        std::vector<const char*> argv;
        for (const auto& a : args) argv.push_back(a.c_str());
        out_.str("");
        err_.str("");
        return veskaron::cli::Main(static_cast<int>(argv.size()), argv.data(), {out_, err_});
    }

    std::vector<std::string> prefix_;
    std::filesystem::path dir_;
    std::ostringstream out_, err_;
};
