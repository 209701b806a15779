#include "app/views/EntrySort.h"

#include "model/RFATreeNode.h"

#include <QString>

#include <algorithm>
#include <numeric>

namespace larkspan {

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Case aside, runs of digits by their value: b9 before B10. Not the
// locale's collation, which in the C locale compares numbers digit by digit.
int naturalCompare(const QString& a, const QString& b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            while (i < a.size() && a[i] == QLatin1Char('0'))
                ++i;
            while (j < b.size() && b[j] == QLatin1Char('0'))
                ++j;
            qsizetype endA = i;
            qsizetype endB = j;
            while (endA < a.size() && isDigit(a[endA]))
                ++endA;
            while (endB < b.size() && isDigit(b[endB]))
                ++endB;
            if (endA - i != endB - j)
                return endA - i < endB - j ? -1 : 1;
            if (const int digits = QStringView(a).sliced(i, endA - i).compare(QStringView(b).sliced(j, endB - j)))
                return digits;
            i = endA;
            j = endB;
            continue;
        }
        const QChar left = a[i].toCaseFolded();
        const QChar right = b[j].toCaseFolded();
        if (left != right)
            return left < right ? -1 : 1;
        ++i;
        ++j;
    }
    return i < a.size() ? 1 : j < b.size() ? -1 : 0;
}

} // namespace

std::vector<std::size_t> sortedPositions(const std::vector<EntrySortFields>& fields, const EntrySort& sort)
{
    std::vector<std::size_t> positions(fields.size());
    std::iota(positions.begin(), positions.end(), std::size_t{0});
    if (sort.key == EntrySortKey::None)
        return positions;
    const bool bySize = sort.key == EntrySortKey::Size;
    const bool descending = sort.order == Qt::DescendingOrder;
    std::stable_sort(positions.begin(), positions.end(), [&](std::size_t a, std::size_t b) {
        const EntrySortFields& left = fields[a];
        const EntrySortFields& right = fields[b];
        if (left.isFile != right.isFile)
            return !left.isFile;
        const int order = bySize ? (left.size < right.size ? -1 : left.size > right.size ? 1 : 0)
                                 : naturalCompare(left.text, right.text);
        return descending ? order > 0 : order < 0;
    });
    return positions;
}

std::vector<std::size_t> sortedPositions(std::size_t count, const EntryAt& entryAt, const EntrySort& sort,
                                         const EntrySize& sizeOf)
{
    if (sort.key == EntrySortKey::None)
        return sortedPositions(std::vector<EntrySortFields>(count), sort);
    // Keys are taken once: a folder of the game holds thousands of entries.
    std::vector<EntrySortFields> fields;
    fields.reserve(count);
    const bool bySize = sort.key == EntrySortKey::Size;
    for (std::size_t i = 0; i < count; ++i) {
        const RFATreeNode& node = entryAt(i);
        fields.push_back({node.isLeaf(),
                          bySize ? QString() : QString::fromStdString(sort.key == EntrySortKey::Path ? node.fullPath() : node.name()),
                          bySize ? sizeOf(node) : 0});
    }
    return sortedPositions(fields, sort);
}

} // namespace larkspan
