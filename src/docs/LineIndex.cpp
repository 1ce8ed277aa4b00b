#include "docs/LineIndex.h"

#include <algorithm>

#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
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

// Counts the line ends in a prefix of the bytes, sixteen at a time, and
// tells how far it came; the rest is left to the plain loop.
qint64 countSixteenAtATime(const char* bytes, qint64 size, qint64& counted)
{
    qint64 ends = 0;
    qint64 at = 0;
#if defined(__SSE2__) && defined(__x86_64__)
    const __m128i feed = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i zero = _mm_setzero_si128();
    // Each step reads seventeen bytes: the sixteen counted and the next.
    while (size - at >= 17) {
        // Byte-wide counters hold 255 steps at most.
        const qint64 steps = std::min<qint64>((size - at - 1) / 16, 255);
        __m128i counts = zero;
        for (qint64 step = 0; step < steps; ++step, at += 16) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at + 1));
            const __m128i feeds = _mm_cmpeq_epi8(here, feed);
            const __m128i lone =
                _mm_andnot_si128(_mm_cmpeq_epi8(next, feed), _mm_cmpeq_epi8(here, cr));
            counts = _mm_sub_epi8(counts, _mm_or_si128(feeds, lone));
        }
        const __m128i sums = _mm_sad_epu8(counts, zero);
        ends += _mm_cvtsi128_si64(sums) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums));
    }
#else
    Q_UNUSED(bytes);
    Q_UNUSED(size);
#endif
    counted = at;
    return ends;
}

} // namespace

qint64 count(const char* bytes, qint64 size, int following)
{
    qint64 at = 0;
    qint64 ends = countSixteenAtATime(bytes, size, at);
    for (; at < size; ++at)
        ends += endsHere(bytes, at, size, following) ? 1 : 0;
    return ends;
}

qint64 find(const char* bytes, qint64 size, int following, qint64 n)
{
    for (qint64 at = 0; at < size && n > 0; ++at) {
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
