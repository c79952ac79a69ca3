// The session's saves are journaled in the data folder: the tests keep it in
// a temporary folder, never in the user's home.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

class TemporaryDataFolder : public ::testing::Environment {
public:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / ("veskaron-session-data-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        ::setenv("VESKARON_DATA_DIR", folder_.c_str(), 0);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

private:
    std::filesystem::path folder_;
};

const auto* const kDataFolder = ::testing::AddGlobalTestEnvironment(new TemporaryDataFolder);

}  // namespace
