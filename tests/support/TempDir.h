// A fresh folder below the system temporary folder, removed with everything in it when the
// object goes. Tests own one each, so they never share files.
#pragma once

#include <string>

class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    // The folder, without a trailing separator.
    const std::string &path() const { return m_path; }
    // path() + "/" + name.
    std::string file(const std::string &name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};
