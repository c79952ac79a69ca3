#pragma once
// A fresh settings and data folder per test, and the store messages captured.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/key_store.h"

namespace veskaron::testing {

namespace fs = std::filesystem;

class StoreFixture : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("veskaron-test-" + std::to_string(std::random_device{}()) + "-" +
                 std::to_string(std::random_device{}()));
        config_ = root_ / "config";
        data_ = root_ / "data";
        fs::create_directories(data_);
        ::setenv("VESKARON_CONFIG_DIR", config_.c_str(), 1);
        ::setenv("VESKARON_DATA_DIR", data_.c_str(), 1);
        ResetStoreStateForTests();
        SetStoreMessageSink([this](const std::string& m) { messages_.push_back(m); });
    }
    void TearDown() override {
        SetStoreMessageSink({});
        ResetStoreStateForTests();
        std::error_code ec;
        fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::permissions(config_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(root_, ec);
    }

    std::string StorePath() const { return (config_ / "Veskaron.reg").string(); }

    void WriteRaw(const std::string& path, const std::string& bytes) {
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string ReadRaw(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path root_, config_, data_;
    std::vector<std::string> messages_;
};

}  // namespace veskaron::testing
