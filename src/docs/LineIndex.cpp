#include "docs/LineIndex.h"

#include <algorithm>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define KADRIX_WIDE_COUNT 1
#endif

namespace kadrix {

namespace lineends {

namespace {

bool endsHere(const char* bytes, qint64 at, qint64 size, int following)
{
    if (bytes[at] == '\n')
        return true;
    if (bytes[at] != '\r')
        return false;
    return (at + 1 < size ? bytes[at + 1] : following) != '\n';
}

#ifdef KADRIX_WIDE_COUNT
// Counts the line ends in a prefix of the bytes, 32 at a time, and tells
// how far it came; the rest is left to the plain loop.
__attribute__((target("avx2"))) qint64 countWithAvx2(const char* bytes, qint64 size,
                                                     qint64& counted, bool& ascii)
{
    __m256i seen = _mm256_setzero_si256();
    const __m256i feed = _mm256_set1_epi8('\n');
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i zero = _mm256_setzero_si256();
    qint64 ends = 0;
    qint64 at = 0;
    // Each step reads 33 bytes: the 32 counted and the next.
    while (size - at >= 33) {
        // Byte-wide counters hold 255 steps at most.
        const qint64 steps = std::min<qint64>((size - at - 1) / 32, 255);
        __m256i counts = zero;
        for (qint64 step = 0; step < steps; ++step, at += 32) {
            const __m256i here = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + at));
            const __m256i next =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + at + 1));
            const __m256i feeds = _mm256_cmpeq_epi8(here, feed);
            const __m256i lone =
                _mm256_andnot_si256(_mm256_cmpeq_epi8(next, feed), _mm256_cmpeq_epi8(here, cr));
            counts = _mm256_sub_epi8(counts, _mm256_or_si256(feeds, lone));
            seen = _mm256_or_si256(seen, here);
        }
        const __m256i sums = _mm256_sad_epu8(counts, zero);
        ends += _mm256_extract_epi64(sums, 0) + _mm256_extract_epi64(sums, 1) +
                _mm256_extract_epi64(sums, 2) + _mm256_extract_epi64(sums, 3);
    }
    ascii = _mm256_movemask_epi8(seen) == 0;
    counted = at;
    return ends;
}

// The same sixteen at a time, as every x86-64 processor can.
qint64 countWithSse2(const char* bytes, qint64 size, qint64& counted, bool& ascii)
{
    __m128i seen = _mm_setzero_si128();
    const __m128i feed = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i zero = _mm_setzero_si128();
    qint64 ends = 0;
    qint64 at = 0;
    while (size - at >= 17) {
        const qint64 steps = std::min<qint64>((size - at - 1) / 16, 255);
        __m128i counts = zero;
        for (qint64 step = 0; step < steps; ++step, at += 16) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at + 1));
            const __m128i feeds = _mm_cmpeq_epi8(here, feed);
            const __m128i lone =
                _mm_andnot_si128(_mm_cmpeq_epi8(next, feed), _mm_cmpeq_epi8(here, cr));
            counts = _mm_sub_epi8(counts, _mm_or_si128(feeds, lone));
            seen = _mm_or_si128(seen, here);
        }
        const __m128i sums = _mm_sad_epu8(counts, zero);
        ends += _mm_cvtsi128_si64(sums) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums));
    }
    ascii = _mm_movemask_epi8(seen) == 0;
    counted = at;
    return ends;
}
#endif

qint64 countManyAtATime(const char* bytes, qint64 size, qint64& counted, bool& ascii)
{
    counted = 0;
    ascii = true;
#ifdef KADRIX_WIDE_COUNT
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2 ? countWithAvx2(bytes, size, counted, ascii)
                : countWithSse2(bytes, size, counted, ascii);
#else
    Q_UNUSED(bytes);
    Q_UNUSED(size);
    return 0;
#endif
}

} // namespace

qint64 count(const char* bytes, qint64 size, int following, bool* ascii)
{
    qint64 at = 0;
    bool seven = true;
    qint64 ends = countManyAtATime(bytes, size, at, seven);
    for (; at < size; ++at) {
        ends += endsHere(bytes, at, size, following) ? 1 : 0;
        seven = seven && static_cast<unsigned char>(bytes[at]) < 0x80;
    }
    if (ascii)
        *ascii = seven;
    return ends;
}

qint64 find(const char* bytes, qint64 size, int following, qint64 n)
{
    // Whole blocks are counted at once as far as they hold fewer ends.
    constexpr qint64 kBlock = 256;
    qint64 at = 0;
    for (; size - at > kBlock && n > 0; at += kBlock) {
        const qint64 ends = count(bytes + at, kBlock, bytes[at + kBlock]);
        if (ends >= n)
            break;
        n -= ends;
    }
    for (; at < size && n > 0; ++at) {
        if (endsHere(bytes, at, size, following) && --n == 0)
            return at;
    }
    return -1;
}

qint64 findLast(const char* bytes, qint64 size, int following)
{
    for (qint64 at = size - 1; at >= 0; --at) {
        if (endsHere(bytes, at, size, following))
            return at;
    }
    return -1;
}

} // namespace lineends

LineIndex::LineIndex(qint64 checkpoint, qint64 expectedSize)
    : checkpoint_(checkpoint)
{
    endsBefore_.reserve(size_t(qMax<qint64>(expectedSize, 0) / checkpoint_ + 1));
    endsBefore_.push_back(0);
}

LineIndex::State LineIndex::state() const
{
    const std::lock_guard lock(mutex_);
    return state_;
}

void LineIndex::extend(const std::vector<qint64>& endsBefore, const State& state)
{
    const std::lock_guard lock(mutex_);
    endsBefore_.insert(endsBefore_.end(), endsBefore.begin(), endsBefore.end());
    state_ = state;
}

qint64 LineIndex::endsBefore(qint64 k) const
{
    const std::lock_guard lock(mutex_);
    return endsBefore_[size_t(qBound<qint64>(0, k, qint64(endsBefore_.size()) - 1))];
}

qint64 LineIndex::lastCheckpointBelow(qint64 ends) const
{
    const std::lock_guard lock(mutex_);
    const auto first = std::lower_bound(endsBefore_.begin(), endsBefore_.end(), ends);
    return qMax<qint64>(0, (first - endsBefore_.begin()) - 1);
}

qint64 LineIndex::bytes() const
{
    const std::lock_guard lock(mutex_);
    return qint64(sizeof(*this) + endsBefore_.capacity() * sizeof(qint64));
}

} // namespace kadrix
