#include "platform/DirectoryNames.h"

#include "platform/NativeNames.h"

#include <bit>

namespace kadrix {

namespace {

// FNV-1a over the folded bytes.
size_t foldedHash(std::string_view name)
{
    quint64 hash = 1469598103934665603ULL;
    for (const char byte : name) {
        hash ^= static_cast<unsigned char>(foldedAsciiByte(byte));
        hash *= 1099511628211ULL;
    }
    return static_cast<size_t>(hash ^ (hash >> 29));
}

bool sameFolded(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (foldedAsciiByte(a[i]) != foldedAsciiByte(b[i]))
            return false;
    }
    return true;
}

} // namespace

void DirectoryNames::indexFoldedNames()
{
    slots_.assign(std::bit_ceil(entries_.size() * 2 + 2), 0);
    const size_t mask = slots_.size() - 1;
    for (size_t index = 0; index < entries_.size(); ++index) {
        size_t slot = foldedHash(name(index)) & mask;
        while (slots_[slot] != 0)
            slot = (slot + 1) & mask;
        slots_[slot] = static_cast<quint32>(index + 1);
    }
}

QStringList DirectoryNames::entriesLike(const QString& wanted) const
{
    QStringList found;
    if (slots_.empty())
        return found;
    const QByteArray bytes = encodeNativeName(wanted);
    const std::string_view key(bytes.constData(), static_cast<size_t>(bytes.size()));
    const size_t mask = slots_.size() - 1;
    for (size_t slot = foldedHash(key) & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
        const std::string_view candidate = name(slots_[slot] - 1);
        if (!sameFolded(candidate, key))
            continue;
        const QString entry = decodeNativeName(
            QByteArrayView(candidate.data(), static_cast<qsizetype>(candidate.size())));
        if (candidate == key)
            found.prepend(entry);
        else
            found.append(entry);
    }
    return found;
}

} // namespace kadrix
