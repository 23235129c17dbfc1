#include "TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "corvantis-test-XXXXXX").string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = buf.data();
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}
