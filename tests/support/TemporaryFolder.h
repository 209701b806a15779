#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string_view>

namespace larkspan::fixtures {

// A fresh folder under the system's temporary folder, removed with its
// contents when the test ends.
class TemporaryFolder {
public:
    TemporaryFolder()
    {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() / ("larkspan-test-" + std::to_string(seed()) + "-" +
                                                          std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view relative) const { return path_ / relative; }

    // Writes a file below the folder, making the folders on the way.
    std::filesystem::path write(const std::filesystem::path& relative, std::string_view content) const
    {
        const std::filesystem::path full = path_ / relative;
        std::filesystem::create_directories(full.parent_path());
        std::ofstream(full, std::ios::binary).write(content.data(), static_cast<std::streamsize>(content.size()));
        return full;
    }

private:
    std::filesystem::path path_;
};

} // namespace larkspan::fixtures
