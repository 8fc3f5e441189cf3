// files.h: what the file-touching suites share: whole files written and read, and a fresh folder per test.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

inline void write_file(const std::string &name, const std::string &bytes)
{
    FILE *f = std::fopen(name.c_str(), "wb");
    ASSERT_NE(f, nullptr) << name;
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size()) << name;
    ASSERT_EQ(std::fclose(f), 0) << name;
}

// The file's bytes as they are on disk; "<missing>" when it cannot be opened, so that no file and an
// empty one tell apart.
inline std::string read_file(const std::string &name)
{
    FILE *f = std::fopen(name.c_str(), "rb");
    if (f == nullptr)
        return "<missing>";
    std::string bytes;
    for (int c; (c = std::fgetc(f)) != EOF;)
        bytes += static_cast<char>(c);
    std::fclose(f);
    return bytes;
}

// Picture file number of res/bitmaps, from the source folder the tests are given.
inline std::vector<unsigned char> bitmap_file(int number)
{
    const char *dir = std::getenv("DOVRA_SOURCE_DIR");
    char name[32];
    std::snprintf(name, sizeof name, "/res/bitmaps/bitmap%02d.bmp", number);
    std::string bytes = read_file(std::string(dir ? dir : ".") + name);
    EXPECT_NE(bytes, "<missing>") << name;
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

inline bool file_exists(const std::string &name)
{
    std::error_code ec;
    return std::filesystem::exists(name, ec);
}

// A new, empty folder under the system's temporary folder; an empty path when none could be made.
// Creating it is what claims the name, so tests running side by side never share one.
inline std::filesystem::path make_temp_folder(const std::string &prefix)
{
    namespace fs = std::filesystem;
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    if (ec)
        return {};
    for (int attempt = 0; attempt < 100; attempt++) {
        const fs::path candidate = base / (prefix + std::to_string(stamp) + "-" + std::to_string(counter++));
        if (fs::create_directory(candidate, ec))
            return candidate;
    }
    return {};
}

// Each test runs in a fresh folder of its own, made the current one because the program names its files
// relative to it; the folder and everything in it go when the test ends.
class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home_ = std::filesystem::current_path();
        folder_ = make_temp_folder("dovra-test-");
        ASSERT_FALSE(folder_.empty()) << "no temporary folder";
        std::filesystem::current_path(folder_);
    }

    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::current_path(home_, ec);
        if (!folder_.empty())
            std::filesystem::remove_all(folder_, ec);
    }

    const std::filesystem::path &folder() const { return folder_; }

private:
    std::filesystem::path home_;
    std::filesystem::path folder_;
};
