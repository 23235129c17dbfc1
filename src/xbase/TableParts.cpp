#include "TableParts.h"

#include <cctype>

namespace xbase::tableparts {

void removeIfThere(Env &env, const std::string &path)
{
    if (env.exists(path))
        (void)env.remove(path);
}

std::string companionPath(Env &env, const std::string &path, const std::string &ext)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    std::string base = path;
    bool lower = false;
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        base = path.substr(0, dot);
        const std::string oldExt = path.substr(dot + 1);
        lower = !oldExt.empty() && std::islower(static_cast<unsigned char>(oldExt[0]));
    }
    std::string lowerExt = ext;
    for (char &c : lowerExt)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string first = base + "." + (lower ? lowerExt : ext);
    const std::string second = base + "." + (lower ? ext : lowerExt);
    if (!env.exists(first) && env.exists(second))
        return second;
    return first;
}

std::string fileStem(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name = name.substr(0, dot);
    for (char &c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

std::string trimRight(std::string_view s)
{
    size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ')
        --n;
    return std::string(s.substr(0, n));
}

std::string trimBoth(std::string_view s)
{
    size_t b = 0;
    while (b < s.size() && s[b] == ' ')
        ++b;
    return trimRight(s.substr(b));
}

void collectReads(const ExpressionNode *n, std::vector<std::pair<uint32_t, uint32_t>> &out)
{
    if (!n)
        return;
    if (n->kind == NodeKind::Field || n->kind == NodeKind::EmptyMemo)
        out.emplace_back(n->offset, n->length);
    else if (n->kind == NodeKind::Deleted)
        out.emplace_back(0, 1);
    for (const auto &c : n->children)
        collectReads(c.get(), out);
}

char keyTypeOf(const Expression &e)
{
    switch (e.type()) {
    case ValueType::Character:
        return 'C';
    case ValueType::Logical:
        return 'L';
    default:
        return 'N';
    }
}

} // namespace xbase::tableparts
