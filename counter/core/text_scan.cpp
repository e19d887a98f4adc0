#include "text_pass.h"

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#include <tmmintrin.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace counter::detail {

namespace {

#if defined(__SSE2__)
// Eight code units at once. SSE2 is part of every x86-64 processor; elsewhere the plain
// loops below do all the work.
__m128i load8(const char16_t *p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
}
#endif

// The units that a scan picks out: the blanks, or one given unit; one at a time, or as
// the lanes of eight (all ones where a unit is picked).
struct Blanks {
    bool operator()(char16_t c) const { return c == u' ' || c == u'\u3000'; }
#if defined(__SSE2__)
    __m128i lanes(__m128i units) const
    {
        return _mm_or_si128(_mm_cmpeq_epi16(units, _mm_set1_epi16(u' ')),
                            _mm_cmpeq_epi16(units, _mm_set1_epi16(short(u'\u3000'))));
    }
#endif
};

struct OneUnit {
    char16_t unit;
    bool operator()(char16_t c) const { return c == unit; }
#if defined(__SSE2__)
    __m128i lanes(__m128i units) const
    {
        return _mm_cmpeq_epi16(units, _mm_set1_epi16(short(unit)));
    }
#endif
};

#if defined(__SSE2__)

// Counters kept in 16-bit lanes grow by at most one a round: sum them before one can
// pass 0x7FFF, the largest that the signed sum below reads right.
constexpr qsizetype lane_rounds = 0x7FFF;

qint64 sum_lanes(__m128i lanes)
{
    __m128i sums = _mm_madd_epi16(lanes, _mm_set1_epi16(1));
    sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, _MM_SHUFFLE(1, 0, 3, 2)));
    sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, _MM_SHUFFLE(2, 3, 0, 1)));
    return _mm_cvtsi128_si32(sums);
}

#if defined(__GNUC__)
// Eight units go out in one shuffled store, without those picked out and without a
// branch: SSSE3's byte shuffle, with one shuffle for each of the 256 patterns. The
// processor is asked once; every x86-64 processor of the last fifteen years has it.
#define COUNTER_HAVE_COMPACT_PATH 1

struct CompactTable {
    alignas(16) unsigned char shuffle[256][16];  // [picked]: moves the others to the front
    unsigned char kept[256];                     // [picked]: how many units stay
};

constexpr CompactTable make_compact_table()
{
    CompactTable table{};
    for (unsigned picked = 0; picked < 256; ++picked) {
        unsigned at = 0;
        for (unsigned lane = 0; lane < 8; ++lane) {
            if (!(picked >> lane & 1)) {
                table.shuffle[picked][2 * at] = static_cast<unsigned char>(2 * lane);
                table.shuffle[picked][2 * at + 1] = static_cast<unsigned char>(2 * lane + 1);
                ++at;
            }
        }
        table.kept[picked] = static_cast<unsigned char>(at);
        for (; at < 8; ++at)
            table.shuffle[picked][2 * at] = table.shuffle[picked][2 * at + 1] = 0x80;
    }
    return table;
}

constexpr CompactTable compact_table = make_compact_table();

// Copies the units not picked out, of whole rounds of eight from p[i] on; gives where it
// stopped. A store writes eight units wherever it keeps fewer, so `out` needs room for
// every unit of the range, which it has.
template <class Pick>
__attribute__((target("ssse3"))) qsizetype compact(const char16_t *p, qsizetype i, qsizetype to,
                                                   char16_t *out, qsizetype &kept, Pick pick)
{
    for (; to - i >= 8; i += 8) {
        const __m128i units = load8(p + i);
        // One bit per unit.
        const unsigned picked = unsigned(
            _mm_movemask_epi8(_mm_packs_epi16(pick.lanes(units), _mm_setzero_si128())));
        const __m128i shuffle =
            _mm_load_si128(reinterpret_cast<const __m128i *>(compact_table.shuffle[picked]));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + kept), _mm_shuffle_epi8(units, shuffle));
        kept += compact_table.kept[picked];
    }
    return i;
}
#endif
#endif

template <class Pick>
qint64 count_picked(QStringView text, qsizetype from, qsizetype to, Pick pick)
{
    const char16_t *p = text.utf16();
    qsizetype i = from;
    qint64 picked = 0;
#if defined(__SSE2__)
    while (to - i >= 8) {
        const qsizetype rounds = std::min((to - i) / 8, lane_rounds);
        __m128i lanes = _mm_setzero_si128();
        for (qsizetype r = 0; r < rounds; ++r, i += 8)
            lanes = _mm_sub_epi16(lanes, pick.lanes(load8(p + i)));
        picked += sum_lanes(lanes);
    }
#endif
    for (; i < to; ++i)
        picked += pick(p[i]);
    return picked;
}

template <class Pick>
qsizetype copy_unpicked(QStringView text, qsizetype from, qsizetype to, char16_t *out, Pick pick)
{
    const char16_t *p = text.utf16();
    qsizetype i = from;
    qsizetype kept = 0;
#if defined(COUNTER_HAVE_COMPACT_PATH)
    static const bool has_ssse3 = __builtin_cpu_supports("ssse3");
    if (has_ssse3)
        i = compact(p, i, to, out, kept, pick);
#endif
    for (; i < to; ++i) {
        out[kept] = p[i];
        kept += !pick(p[i]);
    }
    return kept;
}

}  // namespace

qint64 count_pairs_ending_in(QStringView text, qsizetype from, qsizetype to)
{
    // An LF at index 0 has no CR before it.
    qsizetype i = std::max<qsizetype>(from, 1);
    const char16_t *p = text.utf16();
    qint64 pairs = 0;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi16(u'\n');
    const __m128i cr = _mm_set1_epi16(u'\r');
    while (to - i >= 8) {
        const qsizetype rounds = std::min((to - i) / 8, lane_rounds);
        __m128i lanes = _mm_setzero_si128();
        for (qsizetype r = 0; r < rounds; ++r, i += 8) {
            const __m128i is_lf = _mm_cmpeq_epi16(load8(p + i), lf);
            const __m128i after_cr = _mm_cmpeq_epi16(load8(p + i - 1), cr);
            lanes = _mm_sub_epi16(lanes, _mm_and_si128(is_lf, after_cr));
        }
        pairs += sum_lanes(lanes);
    }
#endif
    for (; i < to; ++i)
        pairs += (p[i] == u'\n') & (p[i - 1] == u'\r');
    return pairs;
}

qint64 count_blanks(QStringView text, qsizetype from, qsizetype to)
{
    return count_picked(text, from, to, Blanks{});
}

qint64 count_unit(QStringView text, qsizetype from, qsizetype to, char16_t unit)
{
    return count_picked(text, from, to, OneUnit{unit});
}

qsizetype copy_non_blanks(QStringView text, qsizetype from, qsizetype to, char16_t *out)
{
    return copy_unpicked(text, from, to, out, Blanks{});
}

qsizetype copy_without_unit(QStringView text, qsizetype from, qsizetype to, char16_t unit,
                            char16_t *out)
{
    return copy_unpicked(text, from, to, out, OneUnit{unit});
}

qsizetype find_unit(QStringView text, qsizetype from, qsizetype to, char16_t unit)
{
    const char16_t *p = text.utf16();
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi16(short(unit));
    for (; to - i >= 8; i += 8) {
        const int hits = _mm_movemask_epi8(_mm_cmpeq_epi16(load8(p + i), wanted));
        if (hits != 0)
            return i + __builtin_ctz(unsigned(hits)) / 2;
    }
#endif
    for (; i < to; ++i) {
        if (p[i] == unit)
            return i;
    }
    return to;
}

qsizetype find_difference(QStringView first, QStringView second, qsizetype from, qsizetype to)
{
    const char16_t *a = first.utf16();
    const char16_t *b = second.utf16();
    qsizetype i = from;
#if defined(__SSE2__)
    // Sixteen units a round, the usual case being all equal; the round that differs is
    // looked at again unit by unit.
    for (; to - i >= 16; i += 16) {
        const __m128i low = _mm_cmpeq_epi16(load8(a + i), load8(b + i));
        const __m128i high = _mm_cmpeq_epi16(load8(a + i + 8), load8(b + i + 8));
        if (_mm_movemask_epi8(_mm_and_si128(low, high)) != 0xFFFF)
            break;
    }
#endif
    for (; i < to; ++i) {
        if (a[i] != b[i])
            return i;
    }
    return to;
}

void advise_large_buffer(void *data, std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // Touching a fresh buffer costs one page fault per 4 KiB page, which on a virtual
    // machine takes tens of microseconds each: a text of ten million characters would
    // spend longer faulting its copy in than copying it. Large pages cut that to a few
    // faults. Only advice: where the system declines, nothing changes.
    constexpr std::uintptr_t large_page = 2 << 20;
    if (bytes < 4 * large_page)
        return;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + large_page - 1) & ~(large_page - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(large_page - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

}  // namespace counter::detail
